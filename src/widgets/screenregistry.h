#pragma once

// Where the main window finds the screens its buttons and menu items open.
// Each subsystem registers its own (see its registerScreens) before the main
// window is made; each action is keyed by the objectName of its control
// ("cmdPostCharge", "mnuBuildPack", ...). The main window makes its checks and
// copies the selected patient into the program-wide context, then runs what
// is registered here; the screen reads that context and talks back to the
// main window through the panel it is given. A button, menu item or link
// whose screen is not registered stays disabled, whatever the employee's
// rights; a menu item that runs a button's action (File > Post Charge runs
// "cmdPostCharge") waits for both names. The patient list's links are keyed
// by theirs: "lblReceivableEntry" (the receivable list) and "Label7" (the
// datasheet on the tab the panel's datasheetTab() names).

#include <QHash>
#include <QString>

#include <functional>
#include <vector>

namespace chemodesk {
class Connection;
}

namespace chemodesk::platform {
class MainPanel;
}

namespace chemodesk::widgets {

class ScreenRegistry {
public:
    using Open = std::function<void(platform::MainPanel &)>;
    using Startup = std::function<void(Connection &, platform::MainPanel &)>;

    void set(const QString &action, Open open) { screens_.insert(action, std::move(open)); }
    void remove(const QString &action) { screens_.remove(action); }
    void clear()
    {
        screens_.clear();
        startup_.clear();
    }
    bool has(const QString &action) const { return screens_.contains(action); }
    // Opens the screen of `action`; false when there is none. A database or
    // report error the screen lets out is shown, not raised.
    bool run(const QString &action, platform::MainPanel &panel) const;

    // Settings a subsystem reads once at start, after the hospital and
    // department settings (the rate settings, for one), and again whenever
    // another employee signs in. Errors are raised to the caller.
    void onStartup(Startup load) { startup_.push_back(std::move(load)); }
    void runStartup(Connection &connection, platform::MainPanel &panel) const
    {
        for (const auto &load : startup_)
            load(connection, panel);
    }

private:
    QHash<QString, Open> screens_;
    std::vector<Startup> startup_;
};

// The program's one registry.
ScreenRegistry &screens();

// Runs `work`; a database or report error it raises is shown to the user at
// this edge instead of travelling further. False when one was shown.
bool showingErrors(const std::function<void()> &work);

} // namespace chemodesk::widgets
