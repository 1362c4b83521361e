#include "procedures.h"

#include "database/hostedconnection.h"

namespace chemodesk::hospital {

using db::arg;
using sql::quote;

namespace {

// The employee when the scrambled access code matches and the employee may
// confirm saves of the given station. On the shared server the workstation
// cannot read the codes: the server compares them itself.
Recordset checkUserDepartmentAccess(db::ProcedureContext &db, const QStringList &args)
{
    const QString employee = quote(arg(args, 0).trimmed());
    const QString code = quote(arg(args, 1).trimmed());
    const QString station = quote(arg(args, 2).trimmed());
    if (db::HostedConnection *server = db.hosted();
        server && server->dialect() == db::Dialect::PostgreSQL)
        return server->executeNative(
            QStringLiteral("SELECT * FROM public.chemodesk_check_access(%1, %2, %3)")
                .arg(employee, code, station));
    return db.query(
        QStringLiteral(
            "SELECT EmployeeID, LastName, FirstName, MiddleName FROM PASSWORD..tbPasswordMaster "
            "WHERE EmployeeID = %1 AND AccessCode = %2 AND DepartmentID = %3 AND isActive = 1")
            .arg(employee, code, station));
}

} // namespace

void registerSessionProcedures(db::ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("CLINICAL_AREA"), QStringLiteral("sp_Check_User_Department_Access"),
                 checkUserDepartmentAccess);
}

} // namespace chemodesk::hospital
