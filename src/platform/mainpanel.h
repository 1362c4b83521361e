#pragma once

// What a screen may ask of the main window, by meaning: the selected
// patient's panel, the state of the gated actions, receivable entry and the
// signed-in employee. The main window implements it and hands it to the
// screens it opens; no screen looks the main window's controls up itself.

#include <QString>

class QWidget;

namespace chemodesk::platform {

class UserComponent;

// The main window's gated actions. An action has a button, a menu item (or a
// whole menu), or both; see MainPanel::setButtonEnabled/setMenuEnabled.
enum class MainAction {
    PatientList,     // button only
    Register,        // button only
    CashAssessment,  // button and File menu item
    NurseActivity,   // the result-entry button and its File menu item
    PostCharge,      // button and File menu item
    CSRRequest,      // button and File menu item
    PharmacyRequest, // button and File menu item
    Maintenance,     // the Maintenance menu
    Reports,         // the Reports menu
    Ledger,          // the File menu's ledger item
    PatientLedger,   // the Reports menu's ledger of the chosen patient
};

// The patient on show in the panel; all empty when none is chosen.
struct PanelPatient {
    QString hospNum;
    QString idNum;
    QString name;
    // "I" for an admission, "O" otherwise.
    QString inOut;
    // Empty while the account is open.
    QString billingDate;

    bool operator==(const PanelPatient &) const = default;
};

class MainPanel {
public:
    virtual ~MainPanel() = default;

    virtual PanelPatient patient() const = 0;
    // Fills the panel and shows it.
    virtual void showPatient(const PanelPatient &patient) = 0;

    // The action's button; actions without one are left alone.
    virtual void setButtonEnabled(MainAction action, bool enabled) = 0;
    // The action's menu item or menu; actions without one are left alone.
    virtual void setMenuEnabled(MainAction action, bool enabled) = 0;
    virtual bool isButtonEnabled(MainAction action) const = 0;
    virtual bool isMenuEnabled(MainAction action) const = 0;

    // Post Charge becomes "Receivable Entry" and the actions that do not
    // post receivables are disabled.
    virtual void enterReceivableMode() = 0;

    // What the patient list's datasheet shortcut last asked for: the tab to
    // open on and the result category ("XR" or empty).
    virtual int datasheetTab() const = 0;
    virtual QString resultCategory() const = 0;

    // The signed-in employee's component; null before sign-in.
    virtual UserComponent *currentUser() const = 0;
    // The window screens open over; may be null (tests).
    virtual QWidget *screenParent() const = 0;
};

// Whether the employee may run `action`: the rights switch its button off, or its menu item where
// it has no button. A disabled button stays reachable through its menu item and shortcuts, so the
// button decides; the cash assessment needs both, as an employee without a rights row keeps the
// menu item.
inline bool allows(const MainPanel &panel, MainAction action)
{
    switch (action) {
    case MainAction::CashAssessment:
        return panel.isButtonEnabled(action) && panel.isMenuEnabled(action);
    case MainAction::Maintenance:
    case MainAction::Reports:
    case MainAction::Ledger:
    case MainAction::PatientLedger:
        return panel.isMenuEnabled(action);
    case MainAction::PatientList:
    case MainAction::Register:
    case MainAction::NurseActivity:
    case MainAction::PostCharge:
    case MainAction::CSRRequest:
    case MainAction::PharmacyRequest:
        break;
    }
    return panel.isButtonEnabled(action);
}

} // namespace chemodesk::platform
