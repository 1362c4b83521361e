#pragma once

// Where the main window finds the screens its buttons and menu items open.
// Each subsystem registers its own (see its registerScreens) before the main
// window is made; each action is keyed by the objectName of its control
// ("cmdPostCharge", "mnuBuildPack", ...). The main window makes a screen
// context (platform/screencontext.h) when a control is used and hands it
// here; the registry lets it through the screen's gate (the employee's right,
// a chosen patient) whichever control, menu item or shortcut led here, and
// the screen then works on the context's patient and talks back to the main
// window through its panel. A button, menu item or link whose screen is not
// registered stays disabled, whatever the employee's rights; a menu item that
// runs a button's action (File > Post Charge runs "cmdPostCharge") waits for
// both names. The patient list's links are keyed by theirs:
// "lblReceivableEntry" (the receivable list) and "Label7" (the datasheet on
// the tab the panel's datasheetTab() names).

#include "messages.h"
#include "platform/mainpanel.h"
#include "platform/screencontext.h"

#include <QHash>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace chemodesk {
class Connection;
}

namespace chemodesk::widgets {

// The refusals of the gate, as the department's users know them.
QString noRightsMessage();
QString selectPatientMessage();

// A message box's text, title and icon.
struct Refusal {
    QString text;
    QString title; // empty: the program's default title
    MessageService::Icon icon = MessageService::NoIcon;
};

// Who may open a screen.
struct ScreenGate {
    // The employee needs the right of this action (see platform::allows); none: anyone may.
    std::optional<platform::MainAction> right;
    // The screen works on the selected patient: without one it is refused.
    bool needsPatient = false;
    // The cash assessment has always asked for the patient before the right.
    bool patientFirst = false;
    // What a missing patient is told; empty: "Select a patient.".
    Refusal noPatient;

    // Anyone with the right of `action`.
    static ScreenGate rightOf(platform::MainAction action)
    {
        ScreenGate gate;
        gate.right = action;
        return gate;
    }
    // The same, on the selected patient; no action: anyone, on the selected patient.
    static ScreenGate onPatient(std::optional<platform::MainAction> action)
    {
        ScreenGate gate;
        gate.right = action;
        gate.needsPatient = true;
        return gate;
    }
};

class ScreenRegistry {
public:
    using Open = std::function<void(const platform::ScreenContext &)>;
    using Startup = std::function<void(Connection &, platform::MainPanel &)>;

    void set(const QString &action, Open open) { screens_.insert(action, std::move(open)); }
    void remove(const QString &action) { screens_.remove(action); }
    void clear()
    {
        screens_.clear();
        gates_.clear();
        startup_.clear();
    }
    bool has(const QString &action) const { return screens_.contains(action); }

    // Gates are kept apart from the screens: the main window declares those of its controls (the
    // rights are its table), whoever registers the screens behind them, and in whichever order.
    void setGate(const QString &action, ScreenGate gate) { gates_.insert(action, std::move(gate)); }
    // The gate of `action`; an open one when none was declared.
    ScreenGate gate(const QString &action) const { return gates_.value(action); }

    // True when the gate of `action` lets `context` through; else its refusal has been shown.
    bool admits(const QString &action, const platform::ScreenContext &context) const;
    // Opens the screen of `action` without asking its gate (the caller has); false when there is
    // none. A database or report error the screen lets out is shown, not raised.
    bool open(const QString &action, const platform::ScreenContext &context) const;
    // The gate, then the screen: false when there is none or the gate refused.
    bool run(const QString &action, const platform::ScreenContext &context) const;

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
    QHash<QString, ScreenGate> gates_;
    std::vector<Startup> startup_;
};

// The program's one registry.
ScreenRegistry &screens();

// Runs `work`; a database or report error it raises is shown to the user at
// this edge instead of travelling further. False when one was shown.
bool showingErrors(const std::function<void()> &work);

} // namespace chemodesk::widgets
