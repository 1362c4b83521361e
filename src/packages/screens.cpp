#include "screens.h"

#include "widgets/screenregistry.h"

namespace chemodesk::packages {

// The package dialogs open from the charge screen and the cash assessment,
// not from the main window. Its one package control, "Build Package"
// (mnuBuildPack), stays disabled until the builder screen is registered here.
void registerScreens(widgets::ScreenRegistry &) {}

} // namespace chemodesk::packages
