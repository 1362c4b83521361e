#pragma once

namespace chemodesk::widgets {
class ScreenRegistry;
}

namespace chemodesk::reports {

// The Reports menu's range screens, the datasheet printout, and the report
// log-on taken from the signed-in user.
void registerScreens(widgets::ScreenRegistry &registry);

} // namespace chemodesk::reports
