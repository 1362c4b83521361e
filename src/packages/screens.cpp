#include "screens.h"

#include "widgets/screenregistry.h"

namespace chemodesk::packages {

// None of this subsystem's screens is built yet: their buttons and menu items
// stay disabled until one is registered here.
void registerScreens(widgets::ScreenRegistry &) {}

} // namespace chemodesk::packages
