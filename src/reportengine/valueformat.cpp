#include "valueformat.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace chemodesk::reportengine {

namespace {

const QLocale English(QLocale::English, QLocale::UnitedStates);

enum class Part {
    Literal,
    Year,
    Month,
    MonthName,
    Day,
    DayName,
    Hour,
    Minute,
    Second,
    AmPm,
    MonthOrMinute
};

struct Token {
    Part part;
    QString text; // the Qt pattern, or the literal text
};

std::vector<Token> dateTokens(const QString &format)
{
    std::vector<Token> out;
    const QString lower = format.toLower();
    qsizetype i = 0;
    auto run = [&](QChar c) {
        qsizetype n = 0;
        while (i + n < lower.size() && lower.at(i + n) == c)
            ++n;
        return n;
    };
    while (i < lower.size()) {
        const QChar c = lower.at(i);
        if (lower.mid(i, 5) == QLatin1String("am/pm")) {
            out.push_back(
                {Part::AmPm, format.at(i).isUpper() ? QStringLiteral("AP") : QStringLiteral("ap")});
            i += 5;
            continue;
        }
        const qsizetype n = run(c);
        if (c == QLatin1Char('y')) {
            out.push_back({Part::Year, n >= 3 ? QStringLiteral("yyyy") : QStringLiteral("yy")});
        } else if (c == QLatin1Char('m')) {
            if (n >= 4)
                out.push_back({Part::MonthName, QStringLiteral("MMMM")});
            else if (n == 3)
                out.push_back({Part::MonthName, QStringLiteral("MMM")});
            else
                out.push_back(
                    {Part::MonthOrMinute, n == 2 ? QStringLiteral("mm") : QStringLiteral("m")});
        } else if (c == QLatin1Char('d')) {
            if (n >= 3)
                out.push_back(
                    {Part::DayName, n >= 4 ? QStringLiteral("dddd") : QStringLiteral("ddd")});
            else
                out.push_back({Part::Day, n == 2 ? QStringLiteral("dd") : QStringLiteral("d")});
        } else if (c == QLatin1Char('h')) {
            out.push_back({Part::Hour, n >= 2 ? QStringLiteral("hh") : QStringLiteral("h")});
        } else if (c == QLatin1Char('n')) {
            out.push_back({Part::Minute, n >= 2 ? QStringLiteral("mm") : QStringLiteral("m")});
        } else if (c == QLatin1Char('s')) {
            out.push_back({Part::Second, n >= 2 ? QStringLiteral("ss") : QStringLiteral("s")});
        } else {
            if (!out.empty() && out.back().part == Part::Literal)
                out.back().text += format.mid(i, n);
            else
                out.push_back({Part::Literal, format.mid(i, n)});
        }
        i += n;
    }
    // "mm" after an hour or before seconds is minutes, as the hospital's formats mean it.
    for (size_t k = 0; k < out.size(); ++k) {
        if (out[k].part != Part::MonthOrMinute)
            continue;
        auto neighbour = [&](int step) -> Part {
            for (long j = static_cast<long>(k) + step; j >= 0 && j < static_cast<long>(out.size());
                 j += step)
                if (out[size_t(j)].part != Part::Literal)
                    return out[size_t(j)].part;
            return Part::Literal;
        };
        const bool minute = neighbour(-1) == Part::Hour || neighbour(1) == Part::Second;
        out[k].part = minute ? Part::Minute : Part::Month;
        if (!minute)
            out[k].text = out[k].text.toUpper();
    }
    return out;
}

} // namespace

bool isDateFormat(const QString &format)
{
    static const QRegularExpression letters(QStringLiteral("[ymdhns]|am/pm"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression digits(QStringLiteral("[0#]"));
    return letters.match(format).hasMatch() && !digits.match(format).hasMatch();
}

QString formatDateTime(const QDateTime &value, const QString &format)
{
    if (!value.isValid())
        return {};
    QString pattern;
    for (const Token &t : dateTokens(format)) {
        if (t.part == Part::Literal) {
            QString literal = t.text;
            literal.replace(QLatin1Char('\''), QLatin1String("''"));
            pattern += QLatin1Char('\'') + literal + QLatin1Char('\'');
        } else {
            pattern += t.text;
        }
    }
    return English.toString(value, pattern);
}

QString formatNumber(double value, const QString &format)
{
    if (!std::isfinite(value))
        return {};
    const auto placeAt = std::find_if(format.begin(), format.end(), [](QChar c) {
        return c == QLatin1Char('0') || c == QLatin1Char('#');
    });
    const qsizetype first = placeAt == format.end() ? -1 : placeAt - format.begin();
    if (format.isEmpty() || first < 0) {
        if (value == std::floor(value) && std::fabs(value) < 1e15)
            return QString::number(static_cast<qlonglong>(value));
        return QString::number(value, 'g', 15);
    }
    qsizetype last = first;
    for (qsizetype i = first; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('0') || c == QLatin1Char('#') || c == QLatin1Char(',') ||
            c == QLatin1Char('.'))
            last = i;
        else
            break;
    }
    const QString body = format.mid(first, last - first + 1);
    const qsizetype dot = body.indexOf(QLatin1Char('.'));
    const int decimals = dot < 0 ? 0 : static_cast<int>(body.size() - dot - 1);
    // "0" places always print; "#" places only when they are not zero.
    const int required = dot < 0 ? 0 : static_cast<int>(body.mid(dot + 1).count(QLatin1Char('0')));
    const bool grouping = body.left(dot < 0 ? body.size() : dot).contains(QLatin1Char(','));
    QString digits = QString::number(std::fabs(value), 'f', decimals);
    if (decimals > required) {
        qsizetype keep = digits.size() - (decimals - required);
        while (digits.size() > keep && digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        if (digits.endsWith(QLatin1Char('.')))
            digits.chop(1);
    }
    if (grouping) {
        const qsizetype point = digits.indexOf(QLatin1Char('.'));
        qsizetype pos = (point < 0 ? digits.size() : point) - 3;
        for (; pos > 0; pos -= 3)
            digits.insert(pos, QLatin1Char(','));
    }
    // Zero after rounding prints without a sign.
    const bool negative = value < 0 && std::any_of(digits.begin(), digits.end(), [](QChar c) {
                              return c >= QLatin1Char('1') && c <= QLatin1Char('9');
                          });
    return format.left(first) + (negative ? QStringLiteral("-") : QString()) + digits +
           format.mid(last + 1);
}

std::optional<QDateTime> parseDateText(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    static const QRegularExpression us(QStringLiteral(
        R"(^(\d{1,2})/(\d{1,2})/(\d{4})(?:\s+(\d{1,2}):(\d{2})(?::(\d{2}))?(?:\.\d+)?\s*([AaPp][Mm])?)?$)"));
    static const QRegularExpression iso(QStringLiteral(
        R"(^(\d{4})-(\d{2})-(\d{2})(?:[T ](\d{2}):(\d{2})(?::(\d{2}))?(?:\.\d+)?)?(?:Z|[+-]\d{2}(?::?\d{2})?)?$)"));
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (const auto m = us.match(t); m.hasMatch()) {
        month = m.captured(1).toInt(), day = m.captured(2).toInt(), year = m.captured(3).toInt();
        hour = m.captured(4).toInt(), minute = m.captured(5).toInt(),
        second = m.captured(6).toInt();
        const QString half = m.captured(7).toUpper();
        if (!half.isEmpty() && (hour < 1 || hour > 12))
            return std::nullopt;
        if (half == QLatin1String("PM") && hour < 12)
            hour += 12;
        if (half == QLatin1String("AM") && hour == 12)
            hour = 0;
    } else if (const auto m2 = iso.match(t); m2.hasMatch()) {
        year = m2.captured(1).toInt(), month = m2.captured(2).toInt(), day = m2.captured(3).toInt();
        hour = m2.captured(4).toInt(), minute = m2.captured(5).toInt(),
        second = m2.captured(6).toInt();
    } else {
        return std::nullopt;
    }
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time);
}

std::optional<QDateTime> toDateTime(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    switch (value.metaType().id()) {
    case QMetaType::QDateTime:
        return value.toDateTime().isValid() ? std::optional(value.toDateTime()) : std::nullopt;
    case QMetaType::QDate:
        return value.toDate().isValid() ? std::optional(QDateTime(value.toDate(), QTime(0, 0)))
                                        : std::nullopt;
    case QMetaType::QString:
    case QMetaType::QByteArray:
        return parseDateText(value.toString());
    default:
        return std::nullopt;
    }
}

std::optional<double> toNumber(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    bool ok = false;
    const double number = value.metaType().id() == QMetaType::QString
                              ? value.toString().trimmed().toDouble(&ok)
                              : value.toDouble(&ok);
    return ok ? std::optional(number) : std::nullopt;
}

QString formatValue(const QVariant &value, const QString &format)
{
    if (!value.isValid() || value.isNull())
        return {};
    if (isDateFormat(format)) {
        const auto moment = toDateTime(value);
        return moment ? formatDateTime(*moment, format) : value.toString();
    }
    const int type = value.metaType().id();
    const bool numeric = type == QMetaType::Double || type == QMetaType::Float ||
                         type == QMetaType::Int || type == QMetaType::LongLong ||
                         type == QMetaType::UInt || type == QMetaType::ULongLong;
    if (!format.isEmpty()) {
        const auto number = toNumber(value);
        return number ? formatNumber(*number, format) : value.toString();
    }
    if (numeric)
        return formatNumber(value.toDouble(), QString());
    if (type == QMetaType::QDateTime || type == QMetaType::QDate ||
        (type == QMetaType::QString && value.toString().size() >= 10 &&
         value.toString().at(4) == QLatin1Char('-'))) {
        if (const auto moment = toDateTime(value)) {
            const bool timed = moment->time() != QTime(0, 0);
            return formatDateTime(*moment, timed ? QStringLiteral("mm/dd/yyyy hh:mm:ss AM/PM")
                                                 : QStringLiteral("mm/dd/yyyy"));
        }
    }
    return value.toString();
}

} // namespace chemodesk::reportengine
