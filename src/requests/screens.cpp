#include "screens.h"

#include "components/shared.h"
#include "frmcsrentry.h"
#include "frmphentry.h"
#include "frmreprintrequestform.h"
#include "platform/mainpanel.h"
#include "platform/usercomponent.h"
#include "requestentry.h"
#include "session/globals.h"
#include "widgets/messages.h"
#include "widgets/screenregistry.h"

#include <utility>

namespace chemodesk::requests {

namespace {

// The main window has checked the patient and copied it into the context.
template <typename Screen> void openRequest(platform::MainPanel &panel)
{
    auto &g = session::globals();
    if (!g.DbConnection)
        return;
    QWidget *parent = panel.screenParent();
    components::SharedComponents &shared = components::sharedComponents(*g.DbConnection, parent);
    RequestPatient patient;
    patient.hospNum = g.SelHospNum;
    patient.idNum = g.SelIdNum;
    patient.inOut = g.SelPatientClass;
    patient.name = panel.patient().name;
    if (platform::UserComponent *user = panel.currentUser())
        patient.employeeCode = user->EmployeeCode();
    Screen screen(*g.DbConnection, {*shared.lookup, *shared.drugs, *shared.drugList, shared.keys},
                  patient, &panel, parent);
    widgets::execModal(screen);
}

} // namespace

void registerScreens(widgets::ScreenRegistry &registry)
{
    registry.set(QStringLiteral("cmdPharmacy"), openRequest<frmPHEntry>);
    registry.set(QStringLiteral("mnuPhRequest"), openRequest<frmPHEntry>);
    registry.set(QStringLiteral("cmdCSRRequest"), openRequest<frmCSREntry>);
    registry.set(QStringLiteral("mnuCsr"), openRequest<frmCSREntry>);

    // No main-window control bears this name: the request screens run it with
    // their type and caption set in pendingReprint(); without them it lists
    // pharmacy requests.
    registry.set(ReprintScreen, [](platform::MainPanel &panel) {
        ReprintRequest request = std::exchange(pendingReprint(), ReprintRequest{});
        if (request.requestType.isEmpty())
            request = {QStringLiteral("PH"), QStringLiteral("Reprint Pharmacy Request Form")};
        openReprintRequestForm(panel, request.requestType, request.caption);
    });
}

} // namespace chemodesk::requests
