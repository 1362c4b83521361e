#include "procedures.h"

namespace chemodesk::hospital {

using db::arg;
using sql::quote;

namespace {

// The employee when the scrambled access code matches and the employee may
// confirm saves of the given station.
Recordset checkUserDepartmentAccess(db::ProcedureContext &db, const QStringList &args)
{
    return db.query(
        QStringLiteral(
            "SELECT EmployeeID, LastName, FirstName, MiddleName FROM PASSWORD..tbPasswordMaster "
            "WHERE EmployeeID = %1 AND AccessCode = %2 AND DepartmentID = %3 AND isActive = 1")
            .arg(quote(arg(args, 0).trimmed()), quote(arg(args, 1).trimmed()),
                 quote(arg(args, 2).trimmed())));
}

} // namespace

void registerSessionProcedures(db::ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("CLINICAL_AREA"), QStringLiteral("sp_Check_User_Department_Access"),
                 checkUserDepartmentAccess);
}

} // namespace chemodesk::hospital
