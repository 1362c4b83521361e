#pragma once

namespace chemodesk::widgets {
class ScreenRegistry;
}

namespace chemodesk::datasheet {

// Puts this subsystem's screens and start-up reads into `registry`.
void registerScreens(widgets::ScreenRegistry &registry);

} // namespace chemodesk::datasheet
