#include "screens.h"

#include "frmcharge.h"
#include "frmchargeslipverification.h"
#include "frmopdsettings.h"
#include "pricerules.h"
#include "widgets/messages.h"
#include "widgets/openscreen.h"
#include "widgets/screenregistry.h"

namespace chemodesk::charging {

ChargePatient chargePatientOf(const platform::ScreenContext &context)
{
    const platform::SelectedPatient &chosen = context.patient;
    ChargePatient patient;
    patient.name = chosen.name;
    patient.hospNum = chosen.hospNum;
    patient.idNum = chosen.idNum;
    patient.inOut = chosen.inPatient() ? QStringLiteral("I") : QStringLiteral("O");
    if (!chosen.inPatient())
        patient.room = QStringLiteral("OPD");
    patient.employeeCode = context.employeeCode;
    return patient;
}

namespace {

void openSettings(const platform::ScreenContext &context)
{
    frmOPDsettings screen(context.connection, rateSettings(), context.parent);
    widgets::execModal(screen);
}

void openChargeSlipVerification(const platform::ScreenContext &context)
{
    frmChargeSlipVerification screen(context.connection, context.parent);
    widgets::execModal(screen);
}

} // namespace

void registerScreens(widgets::ScreenRegistry &registry)
{
    // The surcharge tests answer "no" until the rate settings are read; read
    // them at start rather than at the first priced charge.
    registry.onStartup([](Connection &connection, platform::MainPanel &) {
        LoadRateSettings(connection, rateSettings());
    });
    registry.set(QStringLiteral("cmdPostCharge"), widgets::openEntryScreen<frmCharge>);
    registry.set(QStringLiteral("mnuPostCharge"), widgets::openEntryScreen<frmCharge>);
    // Reached through the department password ("Cancer System Settings").
    registry.set(QStringLiteral("mnuSetup"), openSettings);
    registry.set(QStringLiteral("mnuChange"), openChargeSlipVerification);
}

} // namespace chemodesk::charging
