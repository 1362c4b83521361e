#include "procedurevalues.h"

#include "database/sqltext.h"

#include <QDateTime>

#include <cmath>

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

QString storedDateTime(const QString &procedure, const QString &text)
{
    const QString upper = text.trimmed().toUpper();
    const qsizetype space = upper.indexOf(QLatin1Char(' '));
    const QDate date = QDate::fromString(upper.left(space), QStringLiteral("M/d/yyyy"));
    const QTime time = QTime::fromString(upper.mid(space + 1), QStringLiteral("h:mm:ss AP"));
    if (space < 0 || !date.isValid() || !time.isValid())
        refuse(procedure, QStringLiteral("the date '%1' is not a date and time "
                                         "(MM/DD/YYYY hh:mm:ss AM/PM).")
                              .arg(text));
    return date.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') +
           time.toString(QStringLiteral("HH:mm:ss"));
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
                                "FROM BUILD_FILE..tbCoDoctor WHERE DoctorID = %1")
                     .arg(quote(doctor)));
    return rs.atEnd() ? QString() : QStringLiteral("DR. ") + rs.Fields(0).trimmed();
}

} // namespace chemodesk::hospital::values
