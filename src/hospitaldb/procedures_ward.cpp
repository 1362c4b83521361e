#include "procedures.h"

namespace chemodesk::hospital {

namespace {

// Admissions still in the ward whose discharge the doctor has ordered: the
// unit's reminder that patients are waiting to be cleared.
Recordset loadDischargeNoticeCount(db::ProcedureContext &db, const QStringList &)
{
    return db.query(QStringLiteral("SELECT count(*) AS recCount FROM PATIENT_DATA..tbPatient "
                                   "WHERE DcrDate IS NULL AND DischargeNotice = 1"));
}

} // namespace

void registerWardProcedures(db::ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("CLINICAL_AREA"),
                 QStringLiteral("spCancer_LoadDischargeNoticeCount"), loadDischargeNoticeCount);
}

} // namespace chemodesk::hospital
