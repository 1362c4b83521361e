#pragma once

// Says plainly, in the main window's title and status bar, that the program
// runs on the demonstration database rather than the hospital's own data.

class QMainWindow;

namespace chemodesk {
class Connection;
}

namespace chemodesk::shell {

// True when `connection` is one of ours on a database marked as holding the
// demonstration data.
bool runsOnDemoDatabase(Connection *connection);

// Adds the notice to the title and the status bar when `demo`; does nothing
// otherwise. Call after the title is set.
void showDemoNotice(QMainWindow &window, bool demo);

} // namespace chemodesk::shell
