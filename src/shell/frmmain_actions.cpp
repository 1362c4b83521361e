// The main window's actions: the checks each makes on the selected patient
// beyond its screen's gate, what it adds to the screen's context, and the
// screen it then opens.

#include "assistant/agentcharacter.h"
#include "components/shared.h"
#include "frmabout.h"
#include "frmmain.h"
#include "mainrules.h"
#include "patients/frmsearchpatient.h"
#include "platform/connection.h"
#include "session/dialogs/frmdeletepassword.h"
#include "session/dialogs/frmstandby.h"
#include "session/dialogs/windows.h"
#include "session/globals.h"
#include "session/module1.h"
#include "usercomponent/currentuser.h"
#include "widgets/messages.h"
#include "widgets/screenregistry.h"

#include <QAction>
#include <QFrame>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>

namespace chemodesk::shell {

using session::globals;

namespace {

const QString Information = QStringLiteral("Information");
const QString Message = QStringLiteral("Message");

bool inPatient(const QLineEdit *patientClass)
{
    return patientClass->text() == QLatin1String("I");
}

} // namespace

// ------------------------------------------------------------ shared checks

platform::ScreenContext frmMain::screenContext()
{
    platform::SelectedPatient chosen;
    chosen.hospNum = txtHospNum->text();
    chosen.idNum = txtIDNum->text();
    chosen.name = txtPatName->text();
    chosen.inOut = inPatient(txtPatInOut) ? QStringLiteral("I") : QStringLiteral("O");
    chosen.billingDate = txtBillingDate->text();
    if (chosen.isEmpty())
        chosen.inOut.clear();
    platform::ScreenContext context(*connection(), *this);
    context.parent = this;
    context.employeeCode = user_ ? user_->EmployeeCode() : QString();
    context.patient = chosen;
    context.components = [this] { return sharedComponents(); };
    return context;
}

platform::ScreenComponents frmMain::sharedComponents()
{
    if (!components_)
        components_ = std::make_unique<components::SharedComponents>(*connection(), this,
                                                                     globals().DrugListByGeneric);
    return components_->parts();
}

void frmMain::launch(const QString &action,
                     const std::function<bool(platform::ScreenContext &)> &checks)
{
    const widgets::ScreenRegistry &registry = widgets::screens();
    if (!connection() || !registry.has(action))
        return;
    platform::ScreenContext context = screenContext();
    if (!registry.admits(action, context))
        return;
    if (checks) {
        bool passed = false;
        if (!widgets::showingErrors([&] { passed = checks(context); }) || !passed)
            return;
    }
    registry.open(action, context);
}

// The billing date is the one of the patient the action is for, written into the panel when the
// patient was chosen. It is read even when the list the patient came from has been closed or
// opened anew since.
bool frmMain::refusedClosedAccount(const platform::SelectedPatient &patient,
                                   bool chargeAction) const
{
    if (chargeAction && globals().ReceivableMode)
        return false;
    if (patient.billingDate.trimmed().isEmpty())
        return false;
    widgets::msgExclamation(closedAccountMessage(chargeAction), Message);
    return true;
}

// ------------------------------------------------------------------ actions

// Closes the open list; a closed one comes back, so the button (and its menu
// item) is never left without anything to do.
void frmMain::PatientList()
{
    if (!globals().PatientListLoaded || !patientList_) {
        showPatientList();
        return;
    }
    if (auto *sub = qobject_cast<QMdiSubWindow *>(patientList_->parentWidget()))
        sub->close();
    else
        patientList_->close();
}

void frmMain::ClosePatient()
{
    for (QLineEdit *box : {txtPatName, txtHospNum, txtIDNum, txtPatInOut, txtBillingDate})
        box->clear();
    fraPat->hide();
    session::CloseOtherForms();
}

void frmMain::PostCharge()
{
    launch(cmdPostCharge->objectName(), [this](platform::ScreenContext &context) {
        platform::SelectedPatient &patient = context.patient;
        if (refusedClosedAccount(patient, true))
            return false;
        patient.roomClass = patient.inPatient() ? RoomClassOf(context.connection, patient.idNum)
                                                : QStringLiteral("A");
        if (!session::IsChargeAccount(context.connection, patient.idNum, patient.inOut)) {
            widgets::msgInformation(personalAccountMessage(), Information);
            return false;
        }
        return true;
    });
}

void frmMain::CashAssessment()
{
    openScreen(cmdCash->objectName());
}

void frmMain::NurseActivity()
{
    launch(cmdResultEntry->objectName(), [this](platform::ScreenContext &context) {
        return !refusedClosedAccount(context.patient, false);
    });
}

void frmMain::CSRRequest()
{
    requestAction(cmdCSRRequest, false);
}

void frmMain::PharmacyRequest()
{
    requestAction(cmdPharmacy, true);
}

// Out-patients (registration numbers are not numeric) may always request; an
// admission only while billing lets it charge the service to its account.
void frmMain::requestAction(QPushButton *button, bool pharmacy)
{
    launch(button->objectName(), [this, pharmacy](platform::ScreenContext &context) {
        platform::SelectedPatient &patient = context.patient;
        if (refusedClosedAccount(patient, false))
            return false;
        Connection &c = context.connection;
        const bool chargeable = RequestChargeable(
            c, pharmacy ? RequestKind::Pharmacy : RequestKind::CentralSupply, patient.idNum);
        if (session::IsNumeric(patient.idNum) && !chargeable) {
            widgets::msgExclamation(cashBasisMessage(), Message);
            return false;
        }
        if (pharmacy)
            patient.roomClass =
                patient.inPatient() ? RoomClassOf(c, patient.idNum) : QStringLiteral("A");
        return true;
    });
}

void frmMain::Datasheet()
{
    openScreen(cmdDatasheet->objectName());
}

void frmMain::Register()
{
    for (QPushButton *button : {cmdCash, cmdPostCharge, cmdResultEntry, cmdCSRRequest, cmdPharmacy})
        button->setEnabled(false);
    mnuViewResults->setEnabled(false);
}

void frmMain::PatientLedger()
{
    openScreen(mnuLedger->objectName());
}

void frmMain::ViewResults()
{
    openScreen(mnuViewResults->objectName());
}

void frmMain::DepartmentPassword(int getForm)
{
    Connection *c = connection();
    if (!c)
        return;
    session::frmDeletePassword dialog(*c, this);
    dialog.setGetForm(getForm);
    dialog.setUserSettingContext(this, user_->EmployeeCode());
    dialog.setDepartmentSettings([this] { openScreen(QStringLiteral("mnuSetup")); });
    widgets::execModal(dialog);
    if (getForm != 2 || !dialog.DeleteOK())
        return;
    // The rights screen applies a saved change itself; keep what it saved, so
    // the buttons go back to it when the patient list closes.
    try {
        rights_ = session::ReadUserRights(*c, user_->EmployeeCode());
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message());
    }
}

void frmMain::DischargeNotice()
{
    tmrNotice->stop();
    tmrMerlin->stop();
    Agent1->Hide();
    openScreen(mnuDischargeNotice->objectName());
    CheckDischargeNotices();
}

void frmMain::Lock()
{
    if (!user_)
        return;
    auto factory = [this]() -> std::unique_ptr<platform::UserComponent> {
        if (options_.userFactory)
            return options_.userFactory();
        return std::make_unique<CurrentUser>(options_.userSettingsPath);
    };
    const QString lockedBy = user_->EmployeeCode();
    // They hold the connection the lock may let go of.
    components_.reset();
    session::frmStandBy lock(std::move(user_), factory, this);
    hidePatientData(true);
    widgets::execModal(lock);
    user_ = lock.takeCurrentUser();
    if (!lock.Unlocked()) {
        close();
        return;
    }
    // Another employee starts without the patient the previous one was on.
    if (user_->EmployeeCode() != lockedBy) {
        for (QLineEdit *box : {txtPatName, txtHospNum, txtIDNum, txtPatInOut, txtBillingDate})
            box->clear();
    }
    leaveReceivableMode();
    // Whoever unlocked works with their own rights and their own settings
    // (the report log-on among them), not those of the employee who locked.
    try {
        applyRights(session::ReadUserRights(*connection(), user_->EmployeeCode()));
        widgets::screens().runStartup(*connection(), *this);
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message());
    }
    refreshStatusBar();
    // The open list borrowed the previous user's connection, gone with it.
    if (patientList_) {
        patients::frmSearchPatient *old = patientList_;
        patientList_ = nullptr;
        if (auto *sub = qobject_cast<QMdiSubWindow *>(old->parentWidget()))
            sub->close();
        else
            old->close();
        showPatientList();
    }
    hidePatientData(false);
    CheckDischargeNotices();
}

void frmMain::About()
{
    frmAbout about(this);
    widgets::execModal(about);
}

} // namespace chemodesk::shell
