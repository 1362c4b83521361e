#pragma once

// The main window's panel as the screens see it, without the window: the
// patient on show, the gated actions' states and receivable entry, for the
// tests of screens that talk to the main window.

#include "platform/mainpanel.h"
#include "platform/screencontext.h"

#include <QString>

#include <map>
#include <stdexcept>

namespace chemodesk::test {

class FakePanel : public platform::MainPanel {
public:
    using Action = platform::MainAction;

    // The five gated buttons and the eight gated menu items, in the order
    // states() writes them.
    static constexpr Action Buttons[] = {Action::CashAssessment, Action::NurseActivity,
                                         Action::PostCharge, Action::CSRRequest,
                                         Action::PharmacyRequest};
    static constexpr Action Menus[] = {
        Action::CashAssessment,  Action::NurseActivity, Action::PostCharge, Action::CSRRequest,
        Action::PharmacyRequest, Action::Maintenance,   Action::Reports,    Action::Ledger};

    FakePanel() { setAll(true); }

    platform::PanelPatient patient() const override { return patient_; }
    void showPatient(const platform::PanelPatient &patient) override
    {
        patient_ = patient;
        shown = true;
    }
    void setButtonEnabled(Action action, bool enabled) override
    {
        if (hasButton(action))
            buttons_[action] = enabled;
    }
    void setMenuEnabled(Action action, bool enabled) override
    {
        if (hasMenu(action))
            menus_[action] = enabled;
    }
    bool isButtonEnabled(Action action) const override
    {
        const auto found = buttons_.find(action);
        return found != buttons_.end() && found->second;
    }
    bool isMenuEnabled(Action action) const override
    {
        const auto found = menus_.find(action);
        return found != menus_.end() && found->second;
    }
    void enterReceivableMode() override
    {
        for (Action action : {Action::PatientList, Action::Register, Action::PharmacyRequest,
                              Action::CSRRequest, Action::NurseActivity})
            setButtonEnabled(action, false);
        postChargeCaption = QStringLiteral("Receivable Entry");
    }
    int datasheetTab() const override { return 0; }
    QString resultCategory() const override { return {}; }
    platform::UserComponent *currentUser() const override { return nullptr; }
    QWidget *screenParent() const override { return nullptr; }

    // Every button and menu item on or off; the patient's ledger item starts
    // off, as on the main window, until a patient is chosen.
    void setAll(bool enabled)
    {
        for (Action action : {Action::PatientList, Action::Register})
            buttons_[action] = enabled;
        for (Action action : Buttons)
            buttons_[action] = enabled;
        for (Action action : Menus)
            menus_[action] = enabled;
        menus_[Action::PatientLedger] = false;
    }

    // "1" or "0" for each control: the five buttons, then the eight menu items.
    QString states() const
    {
        QString out;
        for (Action action : Buttons)
            out += isButtonEnabled(action) ? QLatin1Char('1') : QLatin1Char('0');
        out += QLatin1Char(' ');
        for (Action action : Menus)
            out += isMenuEnabled(action) ? QLatin1Char('1') : QLatin1Char('0');
        return out;
    }

    // The main window's button of that objectName.
    static Action buttonNamed(const QString &name)
    {
        static const std::map<QString, Action> names{
            {QStringLiteral("cmdPatientList"), Action::PatientList},
            {QStringLiteral("cmdRegister"), Action::Register},
            {QStringLiteral("cmdCash"), Action::CashAssessment},
            {QStringLiteral("cmdResultEntry"), Action::NurseActivity},
            {QStringLiteral("cmdPostCharge"), Action::PostCharge},
            {QStringLiteral("cmdCSRRequest"), Action::CSRRequest},
            {QStringLiteral("cmdPharmacy"), Action::PharmacyRequest}};
        const auto found = names.find(name);
        if (found == names.end())
            throw std::invalid_argument("no such button: " + name.toStdString());
        return found->second;
    }
    bool buttonEnabled(const char *name) const
    {
        return isButtonEnabled(buttonNamed(QLatin1String(name)));
    }
    void setButton(const char *name, bool enabled)
    {
        setButtonEnabled(buttonNamed(QLatin1String(name)), enabled);
    }

    // The panel's frame is on show (a patient was chosen).
    bool shown = false;
    QString postChargeCaption = QStringLiteral("Post &Charge");

private:
    static bool hasButton(Action action)
    {
        switch (action) {
        case Action::Maintenance:
        case Action::Reports:
        case Action::Ledger:
        case Action::PatientLedger:
            return false;
        default:
            return true;
        }
    }
    static bool hasMenu(Action action)
    {
        return action != Action::PatientList && action != Action::Register;
    }

    platform::PanelPatient patient_;
    std::map<Action, bool> buttons_;
    std::map<Action, bool> menus_;
};

// What the main window would open a screen with while `panel` shows its patient.
inline platform::ScreenContext contextOf(Connection &connection, FakePanel &panel,
                                         const QString &employeeCode = {})
{
    const platform::PanelPatient shown = panel.patient();
    platform::SelectedPatient patient;
    patient.hospNum = shown.hospNum;
    patient.idNum = shown.idNum;
    patient.name = shown.name;
    patient.inOut = shown.inOut;
    patient.billingDate = shown.billingDate;
    platform::ScreenContext context(connection, panel);
    context.employeeCode = employeeCode;
    context.patient = patient;
    return context;
}

} // namespace chemodesk::test
