#pragma once

namespace chemodesk::widgets {
class ScreenRegistry;
}

namespace chemodesk::charging {

// Post Charge (button and menu item), the department settings and the
// charge-slip change, and the rate settings read at start.
void registerScreens(widgets::ScreenRegistry &registry);

} // namespace chemodesk::charging
