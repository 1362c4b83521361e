#include "characterfile.h"

#include <QFile>

namespace chemodesk::assistant {

namespace {

const QStringList Eyes{QStringLiteral("open"), QStringLiteral("closed"), QStringLiteral("wide"),
                       QStringLiteral("left"), QStringLiteral("right")};
const QStringList Mouths{QStringLiteral("closed"), QStringLiteral("open"), QStringLiteral("smile")};

class Parser {
public:
    std::optional<CharacterDefinition> run(const QString &text, QString *error)
    {
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (int i = 0; i < lines.size(); ++i) {
            lineNumber_ = i + 1;
            const QString line = lines.at(i).trimmed();
            if (line.isEmpty() || line.startsWith(QLatin1Char(';')) ||
                line.startsWith(QLatin1Char('#')))
                continue;
            const bool ok = line.startsWith(QLatin1Char('[')) ? section(line) : entry(line);
            if (!ok)
                return fail(error);
        }
        lineNumber_ = 0;
        if (!finish())
            return fail(error);
        return def_;
    }

private:
    bool section(const QString &line)
    {
        if (!line.endsWith(QLatin1Char(']')))
            return wrong(QStringLiteral("a section header needs its closing ]"));
        const QStringList words = line.mid(1, line.size() - 2).simplified().split(QLatin1Char(' '));
        kind_ = words.value(0).toLower();
        item_ = words.value(1);
        if (kind_ == QLatin1String("character") || kind_ == QLatin1String("colours"))
            return words.size() == 1 || wrong(QStringLiteral("[%1] takes no name").arg(kind_));
        if (kind_ != QLatin1String("pose") && kind_ != QLatin1String("animation"))
            return wrong(QStringLiteral("unknown section [%1]").arg(kind_));
        if (words.size() != 2)
            return wrong(QStringLiteral("[%1 NAME] needs one name").arg(kind_));
        if (kind_ == QLatin1String("pose")) {
            if (def_.poses.contains(item_))
                return wrong(QStringLiteral("pose %1 defined twice").arg(item_));
            def_.poses.insert(item_, Pose{});
            def_.poseOrder.append(item_);
        } else if (def_.animations.contains(item_)) {
            return wrong(QStringLiteral("animation %1 defined twice").arg(item_));
        }
        return true;
    }

    bool entry(const QString &line)
    {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0)
            return wrong(QStringLiteral("expected key=value"));
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (kind_.isEmpty())
            return wrong(QStringLiteral("a value before any section"));
        if (kind_ == QLatin1String("character"))
            return characterValue(key, value);
        if (kind_ == QLatin1String("colours")) {
            const QColor colour = QColor::fromString(value);
            if (!colour.isValid())
                return wrong(QStringLiteral("not a colour: %1").arg(value));
            def_.colours.insert(key, colour);
            return true;
        }
        if (kind_ == QLatin1String("pose"))
            return poseValue(def_.poses[item_], key, value);
        if (key != QLatin1String("frames"))
            return wrong(QStringLiteral("an animation has only frames="));
        frameTexts_.insert(item_, {value, lineNumber_});
        return true;
    }

    bool characterValue(const QString &key, const QString &value)
    {
        if (key == QLatin1String("name")) {
            def_.name = value;
            return !value.isEmpty() || wrong(QStringLiteral("the character needs a name"));
        }
        int number = 0;
        if (!integer(value, 1, 2000, &number))
            return false;
        if (key == QLatin1String("width"))
            def_.size.setWidth(number);
        else if (key == QLatin1String("height"))
            def_.size.setHeight(number);
        else if (key == QLatin1String("frameMs"))
            def_.frameMs = number;
        else
            return wrong(QStringLiteral("unknown character value %1").arg(key));
        return true;
    }

    bool poseValue(Pose &pose, const QString &key, const QString &value)
    {
        if (key == QLatin1String("eyes")) {
            pose.eyes = value.toLower();
            return Eyes.contains(pose.eyes) ||
                   wrong(QStringLiteral("eyes are one of ") + Eyes.join(QLatin1Char('|')));
        }
        if (key == QLatin1String("mouth")) {
            pose.mouth = value.toLower();
            return Mouths.contains(pose.mouth) ||
                   wrong(QStringLiteral("a mouth is one of ") + Mouths.join(QLatin1Char('|')));
        }
        struct Range {
            const char *key;
            int Pose::*field;
            int low, high;
        };
        static const Range ranges[] = {{"leftArm", &Pose::leftArm, -30, 180},
                                       {"rightArm", &Pose::rightArm, -30, 180},
                                       {"bob", &Pose::bob, -20, 20},
                                       {"lean", &Pose::lean, -20, 20},
                                       {"glow", &Pose::glow, 0, 3}};
        for (const Range &range : ranges)
            if (key == QLatin1String(range.key))
                return integer(value, range.low, range.high, &(pose.*range.field));
        return wrong(QStringLiteral("unknown pose value %1").arg(key));
    }

    bool integer(const QString &text, int low, int high, int *out)
    {
        bool ok = false;
        const int number = text.toInt(&ok);
        if (!ok || number < low || number > high)
            return wrong(
                QStringLiteral("expected a whole number from %1 to %2").arg(low).arg(high));
        *out = number;
        return true;
    }

    // Frames are read last, so an animation may name a pose defined below it.
    bool finish()
    {
        if (def_.name.isEmpty())
            return wrong(QStringLiteral("no [character] name"));
        if (def_.size.width() <= 0 || def_.size.height() <= 0)
            return wrong(QStringLiteral("the character needs a width and a height"));
        if (def_.poses.isEmpty())
            return wrong(QStringLiteral("no pose defined"));
        for (auto it = frameTexts_.cbegin(); it != frameTexts_.cend(); ++it) {
            lineNumber_ = it.value().second;
            std::vector<Frame> frames;
            for (const QString &piece :
                 it.value().first.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                const QStringList parts = piece.trimmed().split(QLatin1Char(':'));
                Frame frame{parts.value(0).trimmed(), def_.frameMs};
                if (!def_.poses.contains(frame.pose))
                    return wrong(QStringLiteral("unknown pose %1").arg(frame.pose));
                if (parts.size() > 2 ||
                    (parts.size() == 2 && !integer(parts.at(1).trimmed(), 10, 10000, &frame.ms)))
                    return wrong(QStringLiteral("a frame is pose or pose:ms"));
                frames.push_back(frame);
            }
            if (frames.empty())
                return wrong(QStringLiteral("animation %1 has no frames").arg(it.key()));
            def_.animations.insert(it.key(), std::move(frames));
        }
        return true;
    }

    bool wrong(const QString &why)
    {
        message_ = lineNumber_ > 0 ? QStringLiteral("line %1: %2").arg(lineNumber_).arg(why) : why;
        return false;
    }

    std::optional<CharacterDefinition> fail(QString *error)
    {
        if (error)
            *error = message_;
        return std::nullopt;
    }

    CharacterDefinition def_;
    QHash<QString, std::pair<QString, int>> frameTexts_;
    QString kind_;
    QString item_;
    QString message_;
    int lineNumber_ = 0;
};

} // namespace

QString CharacterDefinition::restPose() const
{
    if (poses.contains(QStringLiteral("rest")))
        return QStringLiteral("rest");
    return poseOrder.value(0);
}

std::optional<CharacterDefinition> parseCharacterFile(const QString &text, QString *error)
{
    return Parser().run(text, error);
}

std::optional<CharacterDefinition> readCharacterFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        if (error)
            *error = QStringLiteral("cannot read %1").arg(path);
        return std::nullopt;
    }
    return parseCharacterFile(QString::fromUtf8(file.readAll()), error);
}

} // namespace chemodesk::assistant
