#include "screens.h"

#include "frmcsrentry.h"
#include "frmphentry.h"
#include "frmreprintrequestform.h"
#include "requestentry.h"
#include "widgets/openscreen.h"
#include "widgets/screenregistry.h"

namespace chemodesk::requests {

RequestPatient requestPatientOf(const platform::ScreenContext &context)
{
    const platform::SelectedPatient &chosen = context.patient;
    return {chosen.hospNum, chosen.idNum, chosen.inOut, chosen.name, context.employeeCode};
}

void registerScreens(widgets::ScreenRegistry &registry)
{
    registry.set(QStringLiteral("cmdPharmacy"), widgets::openEntryScreen<frmPHEntry>);
    registry.set(QStringLiteral("mnuPhRequest"), widgets::openEntryScreen<frmPHEntry>);
    registry.set(QStringLiteral("cmdCSRRequest"), widgets::openEntryScreen<frmCSREntry>);
    registry.set(QStringLiteral("mnuCsr"), widgets::openEntryScreen<frmCSREntry>);
    // No main-window control bears this name: the pharmacy requests' reprint for the context's
    // patient, for whichever screen wants to offer it.
    registry.set(ReprintScreen, [](const platform::ScreenContext &context) {
        openReprintRequestForm(context.connection, context.patient.hospNum, QStringLiteral("PH"),
                               QStringLiteral("Reprint Pharmacy Request Form"), context.parent);
    });
}

} // namespace chemodesk::requests
