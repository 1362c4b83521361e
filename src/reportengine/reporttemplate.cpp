#include "reporttemplate.h"

#include "database/translator.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

namespace chemodesk::reportengine {

using platform::ParameterType;
using platform::ReportError;

namespace {

class Parser {
public:
    Parser(const QString &text, const QString &path) : path_(path)
    {
        lines_ = text.split(QLatin1Char('\n'));
        for (QString &line : lines_)
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
        templ_.path = path;
        templ_.main.name = QStringLiteral("main");
    }

    ReportTemplate run()
    {
        for (int i = 0; i < lines_.size(); ++i) {
            lineNo_ = i + 1;
            const QString &line = lines_.at(i);
            const QString trimmed = line.trimmed();
            if (startsSection(trimmed))
                continue;
            if (kind_ == Kind::Source || kind_ == Kind::HeaderSource) {
                QString &target = kind_ == Kind::Source ? section().source : section().headerSource;
                int &first =
                    kind_ == Kind::Source ? section().sourceLine : section().headerSourceLine;
                if (target.isEmpty() && trimmed.isEmpty())
                    continue;
                if (target.isEmpty())
                    first = lineNo_;
                target += line + QLatin1Char('\n');
                continue;
            }
            if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')) ||
                trimmed.startsWith(QLatin1Char(';')))
                continue;
            switch (kind_) {
            case Kind::None:
                fail(QStringLiteral("text before the first section"));
            case Kind::Report:
                reportKey(trimmed);
                break;
            case Kind::Subreport:
                subreportKey(trimmed);
                break;
            case Kind::Parameters:
                parameter(trimmed);
                break;
            case Kind::Header:
                section().header.push_back(textLine(trimmed));
                break;
            case Kind::Footer:
                section().footer.push_back(textLine(trimmed));
                break;
            case Kind::Columns:
                column(trimmed);
                break;
            case Kind::Group:
                groupKey(trimmed);
                break;
            case Kind::Totals:
                totalsKey(trimmed);
                break;
            default:
                break;
            }
        }
        lineNo_ = 0;
        // Blank lines before the next section belong to no source.
        for (int s = 0; s < templ_.sectionCount(); ++s) {
            SectionSpec &def = s == 0 ? templ_.main : templ_.subreports[size_t(s - 1)];
            for (QString *text : {&def.source, &def.headerSource})
                while (!text->isEmpty() && text->back().isSpace())
                    text->chop(1);
        }
        for (int s = 0; s < templ_.sectionCount(); ++s)
            check(s);
        return templ_;
    }

private:
    enum class Kind {
        None,
        Report,
        Subreport,
        Parameters,
        Source,
        HeaderSource,
        Header,
        Columns,
        Group,
        Totals,
        Footer
    };

    [[noreturn]] void fail(const QString &problem) const
    {
        const QString where = lineNo_ > 0 ? QStringLiteral(", line %1").arg(lineNo_) : QString();
        throw ReportError(
            QStringLiteral("Report template \"%1\"%2: %3.").arg(path_, where, problem));
    }

    SectionSpec &section()
    {
        return templ_.subreports.empty() ? templ_.main : templ_.subreports.back();
    }

    bool startsSection(const QString &trimmed)
    {
        static const QRegularExpression header(
            QStringLiteral("^\\[\\s*(report|parameters|source|header\\s+source|header|columns|"
                           "group|totals|footer|subreport(?:\\s+(.*?))?)\\s*\\]$"),
            QRegularExpression::CaseInsensitiveOption);
        const auto m = header.match(trimmed);
        if (!m.hasMatch()) {
            // Outside a source a bracketed line can only be a misspelt section.
            static const QRegularExpression bracketed(QStringLiteral("^\\[[^\\]]*\\]$"));
            if (kind_ != Kind::Source && kind_ != Kind::HeaderSource &&
                bracketed.match(trimmed).hasMatch())
                fail(QStringLiteral("unknown section %1").arg(trimmed));
            return false;
        }
        const QString word = m.captured(1).toLower().simplified();
        if (word.startsWith(QLatin1String("subreport"))) {
            const QString name = m.captured(2).trimmed();
            if (name.isEmpty())
                fail(QStringLiteral("a subreport needs a name: [subreport NAME]"));
            for (const SectionSpec &s : templ_.subreports)
                if (s.name.compare(name, Qt::CaseInsensitive) == 0)
                    fail(QStringLiteral("the subreport \"%1\" is defined twice").arg(name));
            SectionSpec sub;
            sub.name = name;
            sub.title = name;
            sub.database = templ_.main.database;
            templ_.subreports.push_back(sub);
            kind_ = Kind::Subreport;
            return true;
        }
        if (word == QLatin1String("report")) {
            if (!templ_.subreports.empty())
                fail(QStringLiteral("[report] must come before the first subreport"));
            kind_ = Kind::Report;
        } else if (word == QLatin1String("parameters")) {
            kind_ = Kind::Parameters;
        } else if (word == QLatin1String("source")) {
            if (!section().source.isEmpty())
                fail(QStringLiteral("a second [source]"));
            kind_ = Kind::Source;
        } else if (word == QLatin1String("header source")) {
            if (!section().headerSource.isEmpty())
                fail(QStringLiteral("a second [header source]"));
            kind_ = Kind::HeaderSource;
        } else if (word == QLatin1String("header")) {
            kind_ = Kind::Header;
        } else if (word == QLatin1String("columns")) {
            kind_ = Kind::Columns;
        } else if (word == QLatin1String("group")) {
            section().groups.push_back({});
            kind_ = Kind::Group;
        } else if (word == QLatin1String("totals")) {
            section().totals.present = true;
            kind_ = Kind::Totals;
        } else if (word == QLatin1String("footer")) {
            kind_ = Kind::Footer;
        }
        return true;
    }

    std::pair<QString, QString> keyValue(const QString &line)
    {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            fail(QStringLiteral("expected \"key = value\", found \"%1\"").arg(line));
        return {line.left(eq).trimmed().toLower(), line.mid(eq + 1).trimmed()};
    }

    QString database(const QString &value)
    {
        if (!db::Translator::isDatabase(value))
            fail(QStringLiteral("\"%1\" is not one of the hospital's databases").arg(value));
        return value.toUpper();
    }

    void reportKey(const QString &line)
    {
        const auto [key, value] = keyValue(line);
        if (key == QLatin1String("title")) {
            templ_.main.title = value;
        } else if (key == QLatin1String("paper")) {
            const QString v = value.toLower();
            if (v != QLatin1String("letter") && v != QLatin1String("a4") &&
                v != QLatin1String("legal"))
                fail(QStringLiteral("paper must be letter, a4 or legal"));
            templ_.paper = v;
        } else if (key == QLatin1String("orientation")) {
            const QString v = value.toLower();
            if (v != QLatin1String("portrait") && v != QLatin1String("landscape"))
                fail(QStringLiteral("orientation must be portrait or landscape"));
            templ_.landscape = v == QLatin1String("landscape");
        } else if (key == QLatin1String("font")) {
            bool ok = false;
            const int size = value.toInt(&ok);
            if (!ok || size < 6 || size > 16)
                fail(QStringLiteral("font must be a size from 6 to 16"));
            templ_.fontSize = size;
        } else if (key == QLatin1String("database")) {
            templ_.main.database = database(value);
        } else if (key == QLatin1String("empty")) {
            templ_.main.emptyText = value;
        } else {
            fail(QStringLiteral("unknown key \"%1\" in [report]").arg(key));
        }
    }

    void subreportKey(const QString &line)
    {
        const auto [key, value] = keyValue(line);
        if (key == QLatin1String("title"))
            section().title = value;
        else if (key == QLatin1String("database"))
            section().database = database(value);
        else if (key == QLatin1String("empty"))
            section().emptyText = value;
        else
            fail(QStringLiteral("unknown key \"%1\" in [subreport]").arg(key));
    }

    void parameter(const QString &line)
    {
        const auto [name, type] = keyValue(line);
        static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
        const QString original = line.left(line.indexOf(QLatin1Char('='))).trimmed();
        if (!identifier.match(original).hasMatch())
            fail(QStringLiteral("\"%1\" cannot name a parameter").arg(original));
        if (section().parameterIndex(original) >= 0)
            fail(QStringLiteral("the parameter \"%1\" is listed twice").arg(original));
        static const QHash<QString, ParameterType> types = {
            {QStringLiteral("text"), ParameterType::Text},
            {QStringLiteral("number"), ParameterType::Number},
            {QStringLiteral("date"), ParameterType::Date},
            {QStringLiteral("datetime"), ParameterType::DateTime},
            {QStringLiteral("date-time"), ParameterType::DateTime},
            {QStringLiteral("boolean"), ParameterType::Boolean},
            {QStringLiteral("time"), ParameterType::Time},
        };
        const auto it = types.constFind(type.toLower());
        if (it == types.constEnd())
            fail(QStringLiteral("unknown parameter type \"%1\" (text, number, date, datetime, "
                                "boolean or time)")
                     .arg(type));
        section().parameters.push_back({original, it.value()});
    }

    TextLineSpec textLine(const QString &line)
    {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            fail(QStringLiteral("expected \"STYLE = TEXT\", found \"%1\"").arg(line));
        TextLineSpec def;
        def.text = line.mid(eq + 1).trimmed();
        for (const QString &word : line.left(eq).simplified().toLower().split(QLatin1Char(' '))) {
            bool number = false;
            const int size = word.toInt(&number);
            if (number && size >= 6 && size <= 24)
                def.size = size;
            else if (word == QLatin1String("left"))
                def.align = Qt::AlignLeft;
            else if (word == QLatin1String("center") || word == QLatin1String("centre"))
                def.align = Qt::AlignHCenter;
            else if (word == QLatin1String("right"))
                def.align = Qt::AlignRight;
            else if (word == QLatin1String("bold"))
                def.bold = true;
            else if (word == QLatin1String("italic"))
                def.italic = true;
            else if (word == QLatin1String("optional"))
                def.optional = true;
            else if (word != QLatin1String("text") && word != QLatin1String("line"))
                fail(QStringLiteral("unknown style \"%1\" (left, center, right, bold, italic, "
                                    "optional or a size from 6 to 24)")
                         .arg(word));
        }
        checkBraces(def.text);
        return def;
    }

    void column(const QString &line)
    {
        const QStringList parts = line.split(QLatin1Char('|'));
        ColumnSpec c;
        c.field = parts.value(0).trimmed();
        if (c.field.isEmpty())
            fail(QStringLiteral("a column needs a field"));
        c.caption = parts.size() > 1 ? parts.at(1).trimmed() : c.field;
        if (parts.size() > 2 && !parts.at(2).trimmed().isEmpty()) {
            bool ok = false;
            c.width = parts.at(2).trimmed().toDouble(&ok);
            if (!ok || c.width <= 0 || c.width > 200)
                fail(QStringLiteral("the width of column \"%1\" must be a number from 1 to 200")
                         .arg(c.field));
        }
        c.format = parts.value(3).trimmed();
        const QString align = parts.value(4).trimmed().toLower();
        if (align == QLatin1String("left"))
            c.align = Qt::AlignLeft;
        else if (align == QLatin1String("right"))
            c.align = Qt::AlignRight;
        else if (align == QLatin1String("center") || align == QLatin1String("centre"))
            c.align = Qt::AlignHCenter;
        else if (!align.isEmpty())
            fail(QStringLiteral("the alignment of column \"%1\" must be left, right or center")
                     .arg(c.field));
        if (parts.size() > 5)
            fail(QStringLiteral(
                "a column has at most five parts: field | caption | width | format | align"));
        section().columns.push_back(c);
    }

    QStringList list(const QString &value)
    {
        QStringList out;
        for (const QString &part : value.split(QLatin1Char(',')))
            if (!part.trimmed().isEmpty())
                out << part.trimmed();
        return out;
    }

    void groupKey(const QString &line)
    {
        const auto [key, value] = keyValue(line);
        GroupSpec &g = section().groups.back();
        if (key == QLatin1String("field"))
            g.field = value;
        else if (key == QLatin1String("header"))
            g.header = value;
        else if (key == QLatin1String("footer"))
            g.footer = value;
        else if (key == QLatin1String("sum"))
            g.sums = list(value);
        else
            fail(QStringLiteral("unknown key \"%1\" in [group]").arg(key));
        checkBraces(value);
    }

    void totalsKey(const QString &line)
    {
        const auto [key, value] = keyValue(line);
        TotalsSpec &t = section().totals;
        if (key == QLatin1String("label"))
            t.label = value;
        else if (key == QLatin1String("sum"))
            t.sums = list(value);
        else
            fail(QStringLiteral("unknown key \"%1\" in [totals]").arg(key));
        checkBraces(value);
    }

    void checkBraces(const QString &text)
    {
        QString rest = text;
        rest.replace(QLatin1String("{{"), QString());
        for (const Placeholder &p : placeholders(rest))
            rest.replace(p.start, p.length, QString(p.length, QLatin1Char(' ')));
        if (rest.contains(QLatin1Char('{')))
            fail(QStringLiteral("an unclosed \"{\" in \"%1\"").arg(text));
    }

    bool knownInSource(const SectionSpec &s, const QString &name) const
    {
        return name.startsWith(QLatin1Char('@')) || isSpecialName(name) ||
               s.parameterIndex(name) >= 0 || templ_.main.parameterIndex(name) >= 0;
    }

    void checkSource(const SectionSpec &s, const QString &text, int firstLine)
    {
        for (const Placeholder &p : placeholders(text)) {
            if (knownInSource(s, p.name))
                continue;
            lineNo_ = firstLine + static_cast<int>(text.left(p.start).count(QLatin1Char('\n')));
            fail(QStringLiteral("the source names {%1}, which is no parameter").arg(p.name));
        }
    }

    void check(int index)
    {
        const SectionSpec &s = templ_.section(index);
        const QString which = index == 0 ? QStringLiteral("the report")
                                         : QStringLiteral("the subreport \"%1\"").arg(s.name);
        checkSource(s, s.source, s.sourceLine);
        checkSource(s, s.headerSource, s.headerSourceLine);
        if (s.source.trimmed().isEmpty() &&
            (!s.columns.empty() || !s.groups.empty() || s.totals.present))
            fail(QStringLiteral("%1 has columns, groups or totals but no [source]").arg(which));
        auto isColumn = [&](const QString &field) {
            for (const ColumnSpec &c : s.columns)
                if (c.field.compare(field, Qt::CaseInsensitive) == 0)
                    return true;
            return false;
        };
        auto checkSums = [&](const QStringList &sums) {
            for (const QString &field : sums)
                if (!isColumn(field))
                    fail(QStringLiteral("%1 sums \"%2\", which is not one of its columns")
                             .arg(which, field));
        };
        for (const GroupSpec &g : s.groups) {
            if (g.field.isEmpty())
                fail(QStringLiteral("a [group] of %1 has no field").arg(which));
            checkSums(g.sums);
        }
        checkSums(s.totals.sums);
    }

    QString path_;
    QStringList lines_;
    int lineNo_ = 0;
    Kind kind_ = Kind::None;
    ReportTemplate templ_;
};

} // namespace

int SectionSpec::parameterIndex(const QString &name) const
{
    for (size_t i = 0; i < parameters.size(); ++i)
        if (parameters[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

bool isSpecialName(const QString &name)
{
    static const QSet<QString> names = {QStringLiteral("hospital"), QStringLiteral("reporttext"),
                                        QStringLiteral("printdate"), QStringLiteral("title"),
                                        QStringLiteral("count")};
    return names.contains(name.toLower());
}

std::vector<Placeholder> placeholders(const QString &text)
{
    std::vector<Placeholder> out;
    static const QRegularExpression pattern(
        QStringLiteral("\\{\\{|\\{(@?[A-Za-z_][A-Za-z0-9_]*)(?::([^{}]*))?\\}"));
    auto it = pattern.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        if (m.captured(0) == QLatin1String("{{"))
            continue;
        out.push_back({m.capturedStart(0), m.capturedLength(0), m.captured(1), m.captured(2)});
    }
    return out;
}

ReportTemplate parseTemplate(const QString &text, const QString &path)
{
    return Parser(text, path).run();
}

ReportTemplate readTemplate(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        throw ReportError(
            QStringLiteral("Report template \"%1\" cannot be opened: the file does not exist.")
                .arg(path));
    if (!file.open(QIODevice::ReadOnly))
        throw ReportError(QStringLiteral("Report template \"%1\" cannot be opened: %2.")
                              .arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (bytes.contains('\0'))
        throw ReportError(
            QStringLiteral("Report template \"%1\" cannot be opened: it is not a text template.")
                .arg(path));
    return parseTemplate(QString::fromUtf8(bytes), path);
}

} // namespace chemodesk::reportengine
