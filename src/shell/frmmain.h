#pragma once

// The main window: the program's frame and its start. It signs the employee
// in through the user component, reads the hospital's and the department's
// settings, shows who is signed in, the server and its clock, holds the panel
// of the selected patient and offers the department's actions as buttons and
// menu items, each gated by the employee's rights. Every action takes the
// panel's patient into a screen context (platform/screencontext.h), lets the
// registry's gate and its own checks pass it, and opens its screen (see
// widgets/screenregistry.h), handing it this window as the screens' panel
// (platform/mainpanel.h). Closing it ends the program.

#include "patients/frmsearchpatient.h"
#include "platform/mainpanel.h"
#include "platform/screencontext.h"
#include "platform/usercomponent.h"
#include "session/rights.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;

namespace chemodesk {
class Connection;
}

namespace chemodesk::assistant {
class AgentCharacter;
}

namespace chemodesk::components {
class SharedComponents;
}

namespace chemodesk::shell {

class BackgroundArea;
class SingleInstance;

struct MainWindowOptions {
    // The user component's settings file; empty means its own default.
    QString userSettingsPath;
    // Where the background picture and the assistant's character file are
    // looked for; empty means the program's folder.
    QString programFolder;
    // The lock a running copy holds; empty means the user's default.
    QString instanceLockPath;
    // Makes a user component (start and lock screen); empty means the
    // hospital's own, on userSettingsPath.
    std::function<std::unique_ptr<platform::UserComponent>()> userFactory;
};

class frmMain : public QMainWindow, public platform::MainPanel {
    Q_OBJECT
public:
    explicit frmMain(MainWindowOptions options = {}, QWidget *parent = nullptr);
    ~frmMain() override;

    // The start: single copy, sign-in, settings, rights, clock, background,
    // assistant and patient list. False when the program must end; the
    // window has closed then.
    bool startUp();

    // The department settings (shared settings table).
    void GetHospitalInfo();

    patients::frmSearchPatient *patientList() const { return patientList_; }
    assistant::AgentCharacter *agent() const { return Agent1; }
    const session::UserRights &userRights() const { return rights_; }
    // Status bar panel 1 to 4.
    QString statusPanel(int panel) const;
    QString programFolder() const;

    // The panel the screens see.
    platform::PanelPatient patient() const override;
    void showPatient(const platform::PanelPatient &patient) override;
    void setButtonEnabled(platform::MainAction action, bool enabled) override;
    void setMenuEnabled(platform::MainAction action, bool enabled) override;
    bool isButtonEnabled(platform::MainAction action) const override;
    bool isMenuEnabled(platform::MainAction action) const override;
    void enterReceivableMode() override;
    int datasheetTab() const override { return datasheetTab_; }
    QString resultCategory() const override { return resultCategory_; }
    platform::UserComponent *currentUser() const override { return user_.get(); }
    QWidget *screenParent() const override { return const_cast<frmMain *>(this); }

    // What a screen opened now would be given: the panel's patient at this moment. Needs a
    // signed-in employee.
    platform::ScreenContext screenContext();

    // Selected-patient panel.
    QFrame *fraPat = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *txtIDNum = nullptr;
    QLineEdit *txtHospNum = nullptr;
    QLineEdit *txtPatName = nullptr;
    QLineEdit *txtPatInOut = nullptr;
    QFrame *fraHidden = nullptr;
    QLineEdit *txtBillingDate = nullptr;

    QPushButton *cmdPatientList = nullptr;
    QPushButton *cmdClosePatient = nullptr;
    QPushButton *cmdPostCharge = nullptr;
    QPushButton *cmdCash = nullptr;
    QPushButton *cmdResultEntry = nullptr;
    QPushButton *cmdCSRRequest = nullptr;
    QPushButton *cmdPharmacy = nullptr;
    QPushButton *cmdDatasheet = nullptr;
    QPushButton *cmdRegister = nullptr;

    QMenu *mnuFile = nullptr;
    QMenu *mnuRequest = nullptr;
    QMenu *mnuResult = nullptr;
    QMenu *mnuReport = nullptr;
    QMenu *mnuMaintenance = nullptr;

    QAction *mnuPatientList = nullptr;
    QAction *mnuCashAssessment = nullptr;
    QAction *mnuPostCharge = nullptr;
    QAction *mnuNurseActivity = nullptr;
    QAction *mnuCsr = nullptr;
    QAction *mnuPhRequest = nullptr;
    QAction *mnuLedger = nullptr;
    QAction *mnuReceivable = nullptr;
    QAction *mnuUserSetting = nullptr;
    QAction *mnuExit2 = nullptr;
    QAction *mnuAssessment = nullptr;
    QAction *mnuHemoTransac = nullptr;
    QAction *mnuCash = nullptr;
    QAction *mnuExit = nullptr;
    QAction *mnuMLedger = nullptr;
    QAction *mnuDischargeNotice = nullptr;
    QAction *mnuViewResults = nullptr;
    QAction *mnuSetup = nullptr;
    QAction *mnuLock = nullptr;
    QAction *mnuAbout = nullptr;

    QTimer *tmrServerDateTime = nullptr;
    QTimer *tmrNotice = nullptr;
    QTimer *tmrMerlin = nullptr;
    assistant::AgentCharacter *Agent1 = nullptr;

    // The actions, as the buttons and menu items run them.
    void PatientList();
    void ClosePatient();
    void PostCharge();
    void CashAssessment();
    void NurseActivity();
    void CSRRequest();
    void PharmacyRequest();
    void Datasheet();
    void Register();
    void PatientLedger();
    void ViewResults();
    void DepartmentPassword(int getForm);
    void DischargeNotice();
    void Lock();
    void About();
    // The discharge-notice check (tmrNotice).
    void CheckDischargeNotices();

Q_SIGNALS:
    // The window has closed: the program ends.
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void buildPanel(QWidget *central);
    QPushButton *addButton(const char *name, const QString &caption, void (frmMain::*action)());
    QAction *addItem(QMenu *menu, const char *name, const QString &caption);
    // Controls of screens that are not built stay disabled, whoever enables
    // them. A menu item that runs a button's action waits for both screens.
    void gateOnScreen(QAction *item, const QPushButton *runs = nullptr);
    void gateOnScreen(QPushButton *button);
    void declareGates();
    // Opens the screen registered for `action` over this window, through its gate.
    void openScreen(const QString &action);
    // The same, with the action's own checks between the gate and the screen: they may refuse
    // (false, having said why) or add to the context. A database error they raise is shown.
    void launch(const QString &action,
                const std::function<bool(platform::ScreenContext &)> &checks);
    platform::ScreenComponents sharedComponents();
    QPushButton *buttonOf(platform::MainAction action) const;
    QAction *menuOf(platform::MainAction action) const;

    bool signIn();
    bool loadAssistant();
    void loadBackground();
    void showPatientList();
    void patientListUnloaded();
    void openReceivableList();
    void leaveReceivableMode();
    // Names and numbers of patients stay out of sight while the window is locked.
    void hidePatientData(bool hidden);
    void applyRights(const session::UserRights &rights);
    void refreshStatusBar();
    void serverClockTick();
    void merlinTick();
    Connection *connection() const;

    // Shared steps of the actions' checks; true when the action must stop.
    bool refusedClosedAccount(const platform::SelectedPatient &patient, bool chargeAction) const;
    void requestAction(QPushButton *button, bool pharmacy);

    MainWindowOptions options_;
    std::unique_ptr<SingleInstance> instance_;
    std::unique_ptr<platform::UserComponent> user_;
    // Made on first use for the signed-in employee's connection; let go before it changes hands.
    std::unique_ptr<components::SharedComponents> components_;
    session::UserRights rights_;
    BackgroundArea *mdiArea_ = nullptr;
    QPointer<patients::frmSearchPatient> patientList_;
    QLabel *panels_[4] = {};
    int datasheetTab_ = 0;
    QString resultCategory_;
    bool closing_ = false;
};

} // namespace chemodesk::shell
