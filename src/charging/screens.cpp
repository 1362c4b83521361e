#include "screens.h"

#include "components/shared.h"
#include "frmcharge.h"
#include "frmchargeslipverification.h"
#include "frmopdsettings.h"
#include "platform/mainpanel.h"
#include "platform/usercomponent.h"
#include "pricerules.h"
#include "session/globals.h"
#include "widgets/messages.h"
#include "widgets/screenregistry.h"

namespace chemodesk::charging {

namespace {

void openCharge(platform::MainPanel &panel)
{
    auto &g = session::globals();
    if (!g.DbConnection)
        return;
    QWidget *parent = panel.screenParent();
    components::SharedComponents &shared = components::sharedComponents(*g.DbConnection, parent);
    const platform::PanelPatient chosen = panel.patient();
    ChargePatient patient;
    patient.name = chosen.name;
    patient.hospNum = g.SelHospNum;
    patient.idNum = g.SelIdNum;
    if (chosen.inOut == QLatin1String("O"))
        patient.room = QStringLiteral("OPD");
    if (platform::UserComponent *user = panel.currentUser())
        patient.employeeCode = user->EmployeeCode();
    frmCharge screen(*g.DbConnection,
                     {*shared.lookup, *shared.drugs, *shared.drugList, shared.keys}, patient,
                     &panel, parent);
    widgets::execModal(screen);
}

void openSettings(platform::MainPanel &panel)
{
    if (Connection *c = session::globals().DbConnection) {
        frmOPDsettings screen(*c, rateSettings(), panel.screenParent());
        widgets::execModal(screen);
    }
}

void openChargeSlipVerification(platform::MainPanel &panel)
{
    if (Connection *c = session::globals().DbConnection) {
        frmChargeSlipVerification screen(*c, panel.screenParent());
        widgets::execModal(screen);
    }
}

} // namespace

void registerScreens(widgets::ScreenRegistry &registry)
{
    // The surcharge tests answer "no" until the rate settings are read; read
    // them at start rather than at the first priced charge.
    registry.onStartup([](Connection &connection, platform::MainPanel &) {
        LoadRateSettings(connection, rateSettings());
    });
    registry.set(QStringLiteral("cmdPostCharge"), openCharge);
    registry.set(QStringLiteral("mnuPostCharge"), openCharge);
    // Reached through the department password ("Cancer System Settings").
    registry.set(QStringLiteral("mnuSetup"), openSettings);
    registry.set(QStringLiteral("mnuChange"), openChargeSlipVerification);
}

} // namespace chemodesk::charging
