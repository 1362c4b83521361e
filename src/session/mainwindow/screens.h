#pragma once

// Where the main window finds the screens its buttons and menu items open.
// Each action is keyed by the objectName of its control ("cmdPostCharge",
// "mnuBuildPack", ...). The main window makes its checks and copies the
// selected patient into the program-wide context, then runs what is
// registered here; the screen reads that context. A menu item whose screen
// is not registered stays disabled. The patient list's links are keyed by
// theirs: "lblReceivableEntry" (the receivable list) and "Label7" (the
// datasheet on the tab the main window's datasheetTab() names). Screens are
// registered before the main window is made, which enables their items.

#include <QHash>
#include <QString>

#include <functional>
#include <vector>

namespace chemodesk {
class Connection;
}

namespace chemodesk::shell {

class ScreenRegistry {
public:
    void set(const QString &action, std::function<void()> open)
    {
        screens_.insert(action, std::move(open));
    }
    void remove(const QString &action) { screens_.remove(action); }
    void clear()
    {
        screens_.clear();
        startup_.clear();
    }
    bool has(const QString &action) const { return screens_.contains(action); }
    // Opens the screen of `action`; false when there is none.
    bool run(const QString &action) const;

    // Settings a subsystem reads once at start, after the hospital and
    // department settings (the rate settings, for one).
    void onStartup(std::function<void(Connection &)> load) { startup_.push_back(std::move(load)); }
    void runStartup(Connection &connection) const
    {
        for (const auto &load : startup_)
            load(connection);
    }

private:
    QHash<QString, std::function<void()>> screens_;
    std::vector<std::function<void(Connection &)>> startup_;
};

// The program's one registry.
ScreenRegistry &screens();

} // namespace chemodesk::shell
