#include "procedures.h"

#include "platform/patientlistrows.h"

namespace chemodesk::hospital {

using db::arg;
using sql::quote;

namespace {

// "AND column LIKE 'text%'" for each search box that holds something.
QString searchConditions(const QString &lastName, const QString &hospNum, const QString &idNum)
{
    QString out;
    if (!lastName.trimmed().isEmpty())
        out += QStringLiteral(" AND R.ListLastName LIKE ") +
               quote(lastName.trimmed() + QLatin1Char('%'));
    if (!hospNum.trimmed().isEmpty())
        out += QStringLiteral(" AND R.HospNum LIKE ") + quote(hospNum.trimmed() + QLatin1Char('%'));
    if (!idNum.trimmed().isEmpty())
        out += QStringLiteral(" AND R.IdNum LIKE ") + quote(idNum.trimmed() + QLatin1Char('%'));
    return out;
}

// The department's working list. Modes: I current in-patients, T previous
// admissions, C walk-in cash patients, O current out-patients, D previous
// out-patient registrations. Read from the registrations alone: each carries
// its patient's names (kept by the database), so an index of the registrations
// gives the first rows in the list's order, and the search stops there.
Recordset getPatient(db::ProcedureContext &db, const QStringList &args)
{
    const QString mode = arg(args, 0).trimmed().toUpper();
    QString table;
    QString condition;
    if (mode == QLatin1String("I")) {
        table = QStringLiteral("PATIENT_DATA..tbPatient");
        condition = QStringLiteral("R.DcrDate IS NULL");
    } else if (mode == QLatin1String("T")) {
        table = QStringLiteral("PATIENT_DATA..tbPatient");
        condition = QStringLiteral("R.DcrDate IS NOT NULL");
    } else if (mode == QLatin1String("C")) {
        // Walk-ins: the ones still here, or any of them once a box narrows
        // the search (the list has no "previous" mode of its own for them).
        table = QStringLiteral("PATIENT_DATA..tbOutPatient");
        const bool searching =
            !(arg(args, 1).trimmed().isEmpty() && arg(args, 2).trimmed().isEmpty() &&
              arg(args, 3).trimmed().isEmpty());
        condition = searching ? QStringLiteral("R.PatientType = 'W'")
                              : QStringLiteral("R.PatientType = 'W' AND R.DcrDate IS NULL");
    } else if (mode == QLatin1String("O")) {
        table = QStringLiteral("PATIENT_DATA..tbOutPatient");
        condition = QStringLiteral("R.DcrDate IS NULL AND R.PatientType <> 'W'");
    } else if (mode == QLatin1String("D")) {
        table = QStringLiteral("PATIENT_DATA..tbOutPatient");
        condition = QStringLiteral("R.DcrDate IS NOT NULL AND R.PatientType <> 'W'");
    } else {
        throw DatabaseError(QStringLiteral("spCancer_GetPatient: unknown mode '%1'.").arg(mode));
    }
    // The first rows in the list's order, and one more to tell that more match. A
    // registration without its patient on file is left out, as the list always has.
    return db.query(
        QStringLiteral("SELECT TOP %4 R.HospNum AS [Hospital #], R.IdNum AS [Admission #], "
                       "R.ListLastName + ', ' + isnull(R.ListFirstName, '') + ' ' + "
                       "isnull(R.ListMiddleName, '') AS [Patient Name], "
                       "convert(varchar(10), R.AdmDate, 101) AS [admission date], "
                       "convert(varchar(10), R.BillingDate, 101) AS [Billing Date] "
                       "FROM %1 R WHERE R.ListLastName IS NOT NULL AND %2%3 "
                       "ORDER BY R.ListLastName, R.ListFirstName, R.AdmDate DESC")
            .arg(table, condition, searchConditions(arg(args, 1), arg(args, 2), arg(args, 3)))
            .arg(platform::PatientListRows + 1));
}

// Registered out-patients with everything the registration look-up shows.
// Arguments: current only (1), what the text is (0 last name, 1 registration
// number), the text.
Recordset registeredOpd(db::ProcedureContext &db, const QStringList &args)
{
    const bool currentOnly = arg(args, 0).trimmed() == QLatin1String("1");
    const QString kind = arg(args, 1).trimmed();
    const QString text = arg(args, 2).trimmed();
    QString condition = kind == QLatin1String("1")
                            ? QStringLiteral("R.IdNum LIKE ") + quote(text + QLatin1Char('%'))
                            : QStringLiteral("M.LastName LIKE ") + quote(text + QLatin1Char('%'));
    if (currentOnly)
        condition += QStringLiteral(" AND R.DcrDate IS NULL");
    return db.query(
        QStringLiteral(
            "SELECT top 500 R.IdNum, R.HospNum, M.LastName, M.FirstName, M.MiddleName, "
            "R.AccountNum, "
            "C.Company, R.AdmDate, R.DcrDate, R.BillingDate, M.Sex, "
            "convert(varchar(10), M.BirthDate, 101) AS BirthDate, "
            // Completed years: a year less until this year's birthday.
            "datediff(year, M.BirthDate, getdate()) - CASE WHEN month(getdate()) * 100 + "
            "day(getdate()) < month(M.BirthDate) * 100 + day(M.BirthDate) THEN 1 ELSE 0 END "
            "AS Age, M.HouseStreet, M.Barangay, M.Town, "
            "M.Province, M.CivilStatus "
            "FROM PATIENT_DATA..tbOutPatient R INNER JOIN PATIENT_DATA..tbMaster M ON M.HospNum = "
            "R.HospNum "
            "LEFT OUTER JOIN BUILD_FILE..tbCoCompany C ON C.AccountNum = R.AccountNum "
            "WHERE %1 ORDER BY M.LastName, M.FirstName, R.AdmDate DESC")
            .arg(condition));
}

} // namespace

void registerPatientProcedures(db::ProcedureRegistry &registry)
{
    registry.addReadOnly(QStringLiteral("CLINICAL_AREA"), QStringLiteral("spCancer_GetPatient"),
                         getPatient);
    registry.addReadOnly(QStringLiteral("BILLING"), QStringLiteral("spGlobal_RegisteredOPD"),
                         registeredOpd);
}

} // namespace chemodesk::hospital
