#include "procedures.h"
#include "hospitaldb.h"

namespace chemodesk::hospital {

void registerProcedures(db::ProcedureRegistry &registry)
{
    registerSessionProcedures(registry);
    registerRightsProcedures(registry);
    registerPatientProcedures(registry);
    registerChargingProcedures(registry);
    registerWardProcedures(registry);
    registerPricingProcedures(registry);
    registerInventoryProcedures(registry);
    registerChargeProcedures(registry);
    registerChargeSaveProcedures(registry);
    registerRequestProcedures(registry);
    registerPackageProcedures(registry);
    registerAssessmentProcedures(registry);
}

} // namespace chemodesk::hospital
