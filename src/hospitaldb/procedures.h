#pragma once

// Our implementations of the hospital server's stored procedures, one file
// per subsystem. Each body is a few texts in the screens' dialect.

#include "database/procedurehost.h"
#include "database/sqltext.h"

namespace chemodesk::hospital {

void registerPatientProcedures(db::ProcedureRegistry &registry);
void registerChargingProcedures(db::ProcedureRegistry &registry);
void registerSessionProcedures(db::ProcedureRegistry &registry);
void registerRightsProcedures(db::ProcedureRegistry &registry);
void registerWardProcedures(db::ProcedureRegistry &registry);
void registerPricingProcedures(db::ProcedureRegistry &registry);
void registerInventoryProcedures(db::ProcedureRegistry &registry);
void registerChargeProcedures(db::ProcedureRegistry &registry);
void registerChargeSaveProcedures(db::ProcedureRegistry &registry);
void registerRequestProcedures(db::ProcedureRegistry &registry);
void registerPackageProcedures(db::ProcedureRegistry &registry);
void registerAssessmentProcedures(db::ProcedureRegistry &registry);

} // namespace chemodesk::hospital
