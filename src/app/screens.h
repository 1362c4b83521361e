#pragma once

namespace chemodesk {

// Lets every subsystem put its screens into the program's registry. Called
// once, before the main window is made.
void registerScreens();

} // namespace chemodesk
