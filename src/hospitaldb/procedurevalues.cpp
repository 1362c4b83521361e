#include "procedurevalues.h"

#include "database/sqltext.h"

#include <QDateTime>

#include <cmath>
#include <cstdio>
#include <optional>
#include <utility>

namespace chemodesk::hospital::values {

using sql::quote;

QString value(const QStringList &args, int index)
{
    return db::arg(args, index).trimmed();
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

QString quantity(const QString &procedure, const QString &text)
{
    const double q = number(procedure, "quantity", text);
    if (q <= 0)
        refuse(procedure, QStringLiteral("the quantity '%1' is not above zero.").arg(text));
    return literal(q);
}

QString amount(const QString &procedure, const QString &text)
{
    return literal(number(procedure, "amount", text));
}

QString numberOrZero(const QString &procedure, const char *what, const QString &text)
{
    return text.isEmpty() ? QStringLiteral("0") : literal(number(procedure, what, text));
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

} // namespace

QString storedDateTime(const QString &procedure, const QString &text)
{
    const QString upper = text.trimmed().toUpper();
    const std::optional<std::pair<QDate, QTime>> when = screenDateTime(upper);
    if (!when)
        refuse(procedure, QStringLiteral("the date '%1' is not a date and time "
                                         "(MM/DD/YYYY hh:mm:ss AM/PM).")
                              .arg(text));
    char stored[24];
    const auto &[d, t] = *when;
    std::snprintf(stored, sizeof stored, "%04d-%02d-%02d %02d:%02d:%02d", d.year(), d.month(),
                  d.day(), t.hour(), t.minute(), t.second());
    return QString::fromLatin1(stored);
}

QString now(db::ProcedureContext &db)
{
    return quote(db.now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

QString doctorName(db::ProcedureContext &db, const QString &doctor)
{
    if (doctor.isEmpty())
        return {};
    const Recordset rs =
        db.query(QStringLiteral("SELECT LastName + ', ' + isnull(FirstName, '') AS Name "
                                "FROM BUILD_FILE..tbCoDoctor WHERE DoctorID = ?"),
                 {doctor});
    return rs.atEnd() ? QString() : QStringLiteral("DR. ") + rs.Fields(0).trimmed();
}

} // namespace chemodesk::hospital::values
