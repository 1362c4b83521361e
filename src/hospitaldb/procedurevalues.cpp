#include "procedurevalues.h"

#include "database/sqltext.h"

#include <QDateTime>

#include <cmath>
#include <optional>
#include <utility>

namespace chemodesk::hospital::values {

using sql::quote;

QString value(const QStringList &args, int index)
{
    if (index < 0 || index >= args.size())
        return {};
    // Nearly every value comes without blanks around it: shared, not trimmed anew.
    const QString &text = args.at(index);
    if (text.isEmpty() || (!text.front().isSpace() && !text.back().isSpace()))
        return text;
    return text.trimmed();
}

QString orNull(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("NULL") : quote(text);
}

void refuse(const QString &procedure, const QString &why)
{
    throw DatabaseError(procedure + QStringLiteral(": ") + why);
}

QString required(const QString &procedure, const char *what, const QString &text)
{
    if (text.isEmpty())
        refuse(procedure, QStringLiteral("the %1 is empty.").arg(QLatin1String(what)));
    return text;
}

double number(const QString &procedure, const char *what, const QString &text)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        refuse(procedure,
               QStringLiteral("the %1 '%2' is not a number.").arg(QLatin1String(what), text));
    return v;
}

QString literal(double v)
{
    return QString::number(v, 'g', 15);
}

std::optional<QString> plainDecimal(QStringView text)
{
    // Digits, at most one point, digits: nothing else (no sign, no exponent, no blank).
    const qsizetype n = text.size();
    qsizetype point = n;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c == '.' && point == n)
            point = i;
        else if (c < '0' || c > '9')
            return {};
    }
    if (n == 0 || n == (point < n ? 1 : 0))
        return {};
    qsizetype first = 0; // the first digit of the whole part that is not a leading zero
    while (first < point && text[first] == QLatin1Char('0'))
        ++first;
    qsizetype last = n; // one past the fraction's last digit that is not a trailing zero
    if (point < n) {
        while (last > point + 1 && text[last - 1] == QLatin1Char('0'))
            --last;
        if (last == point + 1)
            last = point;
    }
    const qsizetype whole = point - first;
    const qsizetype fraction = last > point ? last - point - 1 : 0;
    qsizetype significant = whole + fraction;
    if (whole == 0) {
        if (fraction == 0)
            return QStringLiteral("0");
        // Below 0.0001 the literal is written with an exponent.
        qsizetype zeros = 0;
        while (zeros < fraction && text[point + 1 + zeros] == QLatin1Char('0'))
            ++zeros;
        if (zeros > 3)
            return {};
        significant -= zeros;
    }
    // Fifteen significant digits come back from a double as written, and
    // 1e15 and above is written with an exponent.
    if (significant > 15 || whole > 15)
        return {};
    QString out;
    out.reserve(whole + fraction + 2);
    if (whole == 0)
        out += QLatin1Char('0');
    else
        out += text.mid(first, whole);
    if (fraction > 0) {
        out += QLatin1Char('.');
        out += text.mid(point + 1, fraction);
    }
    return out;
}

QString quantity(const QString &procedure, const QString &text)
{
    // Every line of every save passes here: a plain decimal is its own literal
    // without the round trip through a double.
    if (std::optional<QString> plain = plainDecimal(text)) {
        if (*plain == QLatin1String("0"))
            refuse(procedure, QStringLiteral("the quantity '%1' is not above zero.").arg(text));
        return *std::move(plain);
    }
    const double q = number(procedure, "quantity", text);
    if (q <= 0)
        refuse(procedure, QStringLiteral("the quantity '%1' is not above zero.").arg(text));
    return literal(q);
}

QString amount(const QString &procedure, const QString &text)
{
    if (std::optional<QString> plain = plainDecimal(text))
        return *std::move(plain);
    return literal(number(procedure, "amount", text));
}

QString numberOrZero(const QString &procedure, const char *what, const QString &text)
{
    if (text.isEmpty())
        return QStringLiteral("0");
    if (std::optional<QString> plain = plainDecimal(text))
        return *std::move(plain);
    return literal(number(procedure, what, text));
}

namespace {

// Reads 1 to `most` digits at `i`; -1 when there are none.
int digits(QStringView t, qsizetype &i, int most)
{
    int value = 0;
    int n = 0;
    while (i < t.size() && n < most && t[i] >= QLatin1Char('0') && t[i] <= QLatin1Char('9')) {
        value = value * 10 + (t[i].unicode() - '0');
        ++i;
        ++n;
    }
    return n == 0 ? -1 : value;
}

bool skip(QStringView t, qsizetype &i, char c)
{
    if (i >= t.size() || t[i] != QLatin1Char(c))
        return false;
    ++i;
    return true;
}

// "M/d/yyyy h:mm:ss AP" read by hand: every line of every save passes here. A date and a
// time apart, never a QDateTime: a wall-clock value must not pass through the workstation's
// time zone (02:30 on the night clocks go forward would move).
std::optional<std::pair<QDate, QTime>> screenDateTime(QStringView t)
{
    qsizetype i = 0;
    const int month = digits(t, i, 2);
    if (month < 0 || !skip(t, i, '/'))
        return {};
    const int day = digits(t, i, 2);
    if (day < 0 || !skip(t, i, '/'))
        return {};
    const qsizetype yearAt = i;
    const int year = digits(t, i, 4);
    if (i - yearAt != 4 || !skip(t, i, ' '))
        return {};
    const int hour = digits(t, i, 2);
    if (hour < 1 || hour > 12 || !skip(t, i, ':'))
        return {};
    qsizetype at = i;
    const int minute = digits(t, i, 2);
    if (i - at != 2 || !skip(t, i, ':'))
        return {};
    at = i;
    const int second = digits(t, i, 2);
    if (i - at != 2 || !skip(t, i, ' ') || t.size() - i != 2 || t[i + 1] != QLatin1Char('M'))
        return {};
    const bool pm = t[i] == QLatin1Char('P');
    if (!pm && t[i] != QLatin1Char('A'))
        return {};
    const QDate date(year, month, day);
    const QTime time(hour % 12 + (pm ? 12 : 0), minute, second);
    if (!date.isValid() || !time.isValid())
        return {};
    return std::pair{date, time};
}

// By hand: QDateTime::toString goes through the calendar and the locale, and
// snprintf through its format, for every line saved.
QString dateTimeText(QDate d, QTime t)
{
    char16_t text[19];
    auto put = [&text](int at, int value, int width) {
        for (int i = at + width - 1; i >= at; --i, value /= 10)
            text[i] = static_cast<char16_t>(u'0' + value % 10);
    };
    put(0, d.year(), 4);
    text[4] = u'-';
    put(5, d.month(), 2);
    text[7] = u'-';
    put(8, d.day(), 2);
    text[10] = u' ';
    put(11, t.hour(), 2);
    text[13] = u':';
    put(14, t.minute(), 2);
    text[16] = u':';
    put(17, t.second(), 2);
    return QString(reinterpret_cast<const QChar *>(text), 19);
}

} // namespace

QString storedDateTime(const QString &procedure, const QString &text)
{
    const QString upper = text.trimmed().toUpper();
    const std::optional<std::pair<QDate, QTime>> when = screenDateTime(upper);
    if (!when)
        refuse(procedure, QStringLiteral("the date '%1' is not a date and time "
                                         "(MM/DD/YYYY hh:mm:ss AM/PM).")
                              .arg(text));
    const auto &[d, t] = *when;
    return dateTimeText(d, t);
}

QString dateTimeText(const QDateTime &moment)
{
    return dateTimeText(moment.date(), moment.time());
}

QString now(db::ProcedureContext &db)
{
    return quote(dateTimeText(db.now()));
}

QString doctorName(db::ProcedureContext &db, const QString &doctor)
{
    if (doctor.isEmpty())
        return {};
    const Recordset rs =
        db.query(db::FixedText(u"SELECT LastName + ', ' + isnull(FirstName, '') AS Name "
                               "FROM BUILD_FILE..tbCoDoctor WHERE DoctorID = ?"),
                 {doctor});
    return rs.atEnd() ? QString() : QStringLiteral("DR. ") + rs.Fields(0).trimmed();
}

} // namespace chemodesk::hospital::values
