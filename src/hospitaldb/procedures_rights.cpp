#include "procedures.h"

namespace chemodesk::hospital {

using db::arg;
using sql::quote;

namespace {

// The ten rights in the order the rights screen sends them.
const char *const RightColumns[] = {
    "isCashAssessment", "isNurseActivity", "isPostCharge", "isCSRReqeust",
    "isPHRequest",      "isMaintenance",   "isReports",    "isReceivableEntry",
    "isPatientLedger",  "isCancelCharges",
};

// Arguments: employee id, then the ten rights as 0 or 1. Writes the row,
// creating it the first time the employee's rights are saved.
Recordset saveUserSetting(db::ProcedureContext &db, const QStringList &args)
{
    const QString employee = arg(args, 0).trimmed();
    if (employee.isEmpty())
        throw DatabaseError(QStringLiteral("sp_Cancer_SaveUserSetting: the employee id is empty."));
    QStringList assignments;
    QStringList columns{QStringLiteral("EmpID")};
    QStringList values{quote(employee)};
    for (int i = 0; i < 10; ++i) {
        const QString value = arg(args, i + 1).trimmed();
        if (value != QLatin1String("0") && value != QLatin1String("1"))
            throw DatabaseError(
                QStringLiteral("sp_Cancer_SaveUserSetting: right %1 is '%2', not 0 or 1.")
                    .arg(QLatin1String(RightColumns[i]), value));
        assignments << QLatin1String(RightColumns[i]) + QStringLiteral(" = ") + value;
        columns << QLatin1String(RightColumns[i]);
        values << value;
    }
    const QString key = QStringLiteral(" WHERE EmpID = ") + quote(employee);
    db.exec(
        QStringLiteral("UPDATE CLINICAL_AREA..tbCancerUserSetting SET %1, UpdatedDate = getdate()")
            .arg(assignments.join(QStringLiteral(", "))) +
        key);
    if (db.query(QStringLiteral("SELECT EmpID FROM CLINICAL_AREA..tbCancerUserSetting") + key)
            .atEnd())
        db.exec(QStringLiteral("INSERT INTO CLINICAL_AREA..tbCancerUserSetting (%1, UpdatedDate) "
                               "VALUES (%2, getdate())")
                    .arg(columns.join(QStringLiteral(", ")), values.join(QStringLiteral(", "))));
    return {};
}

} // namespace

void registerRightsProcedures(db::ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("CLINICAL_AREA"), QStringLiteral("sp_Cancer_SaveUserSetting"),
                 saveUserSetting);
}

} // namespace chemodesk::hospital
