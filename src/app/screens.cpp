#include "screens.h"

#include "assessment/screens.h"
#include "cash/screens.h"
#include "charging/screens.h"
#include "datasheet/screens.h"
#include "ledger/screens.h"
#include "packages/screens.h"
#include "receivables/screens.h"
#include "reports/screens.h"
#include "requests/screens.h"
#include "ward/screens.h"
#include "widgets/screenregistry.h"

namespace chemodesk {

void registerScreens()
{
    widgets::ScreenRegistry &registry = widgets::screens();
    charging::registerScreens(registry);
    requests::registerScreens(registry);
    assessment::registerScreens(registry);
    packages::registerScreens(registry);
    datasheet::registerScreens(registry);
    ward::registerScreens(registry);
    receivables::registerScreens(registry);
    cash::registerScreens(registry);
    ledger::registerScreens(registry);
    reports::registerScreens(registry);
}

} // namespace chemodesk
