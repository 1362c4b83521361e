#include "screens.h"

#include "widgets/screenregistry.h"

namespace chemodesk::datasheet {

// None of this subsystem's screens is built yet: their buttons and menu items
// stay disabled until one is registered here.
void registerScreens(widgets::ScreenRegistry &) {}

} // namespace chemodesk::datasheet
