#include "hospitaldb.h"
#include "procedures.h"

namespace chemodesk::hospital {

void registerProcedures(db::ProcedureRegistry &registry)
{
    registerSessionProcedures(registry);
    registerPatientProcedures(registry);
    registerChargingProcedures(registry);
}

} // namespace chemodesk::hospital
