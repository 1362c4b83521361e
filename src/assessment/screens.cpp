#include "screens.h"

#include "components/shared.h"
#include "frmassessmententry.h"
#include "frmassessstatus.h"
#include "platform/mainpanel.h"
#include "platform/usercomponent.h"
#include "session/globals.h"
#include "widgets/messages.h"
#include "widgets/screenregistry.h"

namespace chemodesk::assessment {

namespace {

void openEntry(platform::MainPanel &panel)
{
    auto &g = session::globals();
    if (!g.DbConnection)
        return;
    QWidget *parent = panel.screenParent();
    components::SharedComponents &shared = components::sharedComponents(*g.DbConnection, parent);
    AssessmentPatient patient;
    patient.idNum = g.SelIdNum;
    patient.hospNum = g.SelHospNum;
    patient.inOut = panel.patient().inOut;
    if (platform::UserComponent *user = panel.currentUser())
        patient.employeeCode = user->EmployeeCode();
    frmAssessmentEntry screen(*g.DbConnection,
                              {*shared.lookup, *shared.drugs, *shared.drugList, shared.keys},
                              patient, parent);
    screen.setPackageDialog(opdPackageDialog(*g.DbConnection));
    widgets::execModal(screen);
}

void openStatus(platform::MainPanel &panel)
{
    if (Connection *c = session::globals().DbConnection) {
        frmAssessStatus screen(*c, panel.screenParent());
        widgets::execModal(screen);
    }
}

} // namespace

void registerScreens(widgets::ScreenRegistry &registry)
{
    // The File menu's Assessment runs the button's action; the Request menu's opens it too.
    registry.set(QStringLiteral("cmdCash"), openEntry);
    registry.set(QStringLiteral("mnuCashAssessment"), openEntry);
    registry.set(QStringLiteral("mnuAssessment"), openEntry);
    registry.set(QStringLiteral("mnuReportStatus"), openStatus);
}

} // namespace chemodesk::assessment
