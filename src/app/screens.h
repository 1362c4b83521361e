#pragma once

namespace chemodesk {

// Tells the main window which screens exist and what each subsystem reads at
// start. Called once, before the main window is made.
void registerScreens();

} // namespace chemodesk
