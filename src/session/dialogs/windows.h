#pragma once

// The window helpers of the shared module: closing what the user left open
// and fading a window.

class QWidget;

namespace chemodesk::session {

// Closes every window and MDI child except the main window and the patient
// list, leaving the user at the main window.
void CloseOtherForms();

// Window opacity as a level 0 (clear) to 255 (opaque). Returns 0 when set,
// 1 for a level outside 0..255 (window untouched), 2 when there is no window.
int SetTranslucent(QWidget *window, int level);

} // namespace chemodesk::session
