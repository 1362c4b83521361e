#include "screens.h"

#include "frmreprintrequestform.h"
#include "widgets/screenregistry.h"

namespace chemodesk::requests {

void registerScreens(widgets::ScreenRegistry &registry)
{
    // No main-window control bears this name: the pharmacy and supply request
    // screens open the dialog through openReprintRequestForm with their own
    // request type and caption. Registered for the pharmacy's all the same.
    registry.set(QStringLiteral("frmReprintRequestForm"), [](platform::MainPanel &panel) {
        openReprintRequestForm(panel, QStringLiteral("PH"),
                               QStringLiteral("Reprint Pharmacy Request Form"));
    });
}

} // namespace chemodesk::requests
