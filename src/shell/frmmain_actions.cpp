// The main window's actions: the checks each makes on the selected patient,
// the copy of the patient into the program-wide context, and the screen it
// then opens.

#include "assistant/agentcharacter.h"
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

// The buttons are reachable through their menu items even when disabled; a
// disabled button means the employee lacks the right.
bool frmMain::refusedForRights(const QPushButton *button)
{
    if (button->isEnabled())
        return false;
    widgets::msgInformation(noRightsMessage(), Information);
    return true;
}

bool frmMain::refusedWithoutPatient()
{
    if (!txtHospNum->text().trimmed().isEmpty())
        return false;
    widgets::messages().message(selectPatientMessage(), widgets::defaultTitle(),
                                widgets::MessageService::NoIcon);
    return true;
}

// The billing date in the panel is the one of the patient the action is for,
// written there when the patient was chosen. It is read even when the list
// the patient came from has been closed or opened anew since.
bool frmMain::refusedClosedAccount(bool chargeAction)
{
    if (chargeAction && globals().ReceivableMode)
        return false;
    if (chosenBillingDate().trimmed().isEmpty())
        return false;
    widgets::msgExclamation(closedAccountMessage(chargeAction), Message);
    return true;
}

QString frmMain::chosenBillingDate() const
{
    return txtBillingDate->text();
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
    if (refusedForRights(cmdPostCharge) || refusedWithoutPatient() || refusedClosedAccount(true))
        return;
    auto &g = globals();
    Connection *c = connection();
    try {
        g.OpenedFromMain = true;
        if (inPatient(txtPatInOut)) {
            g.SelPatientClass = QStringLiteral("I");
            g.SelRoomClassID = RoomClassOf(*c, txtIDNum->text());
        } else {
            g.SelRoomClassID = QStringLiteral("A");
            g.SelPatientClass = QStringLiteral("O");
        }
        g.SelHospNum = txtHospNum->text();
        g.SelIdNum = txtIDNum->text();
        if (!session::IsChargeAccount(*c, g.SelIdNum)) {
            widgets::msgInformation(personalAccountMessage(), Information);
            return;
        }
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message());
        return;
    }
    openScreen(cmdPostCharge->objectName());
}

// The menu item and the button are checked alike: an employee without a
// rights row keeps the menu item enabled, and must not pass through it.
void frmMain::CashAssessment()
{
    if (refusedWithoutPatient())
        return;
    if (!mnuCashAssessment->isEnabled() || !cmdCash->isEnabled()) {
        widgets::msgInformation(noRightsMessage(), Information);
        return;
    }
    auto &g = globals();
    g.SelHospNum = txtHospNum->text();
    g.SelIdNum = txtIDNum->text();
    openScreen(cmdCash->objectName());
}

void frmMain::NurseActivity()
{
    if (refusedForRights(cmdResultEntry) || refusedWithoutPatient() || refusedClosedAccount(false))
        return;
    auto &g = globals();
    g.SelPatientClass = inPatient(txtPatInOut) ? QStringLiteral("I") : QStringLiteral("O");
    g.DatasheetHospNum = txtHospNum->text();
    g.DatasheetIdNum = txtIDNum->text();
    g.OpenedFromMain = true;
    openScreen(cmdResultEntry->objectName());
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
    if (refusedForRights(button) || refusedWithoutPatient() || refusedClosedAccount(false))
        return;
    auto &g = globals();
    Connection *c = connection();
    const QString idNum = txtIDNum->text();
    try {
        const bool chargeable = RequestChargeable(
            *c, pharmacy ? RequestKind::Pharmacy : RequestKind::CentralSupply, idNum);
        if (session::IsNumeric(idNum) && !chargeable) {
            widgets::msgExclamation(cashBasisMessage(), Message);
            return;
        }
        const QString roomClass =
            pharmacy && inPatient(txtPatInOut) ? RoomClassOf(*c, idNum) : QStringLiteral("A");
        g.SelPatientClass = txtPatInOut->text();
        g.SelHospNum = txtHospNum->text();
        g.SelIdNum = idNum;
        if (pharmacy)
            g.SelRoomClassID = roomClass;
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message());
        return;
    }
    openScreen(button->objectName());
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
    auto &g = globals();
    g.DatasheetIdNum = txtIDNum->text();
    g.DatasheetHospNum = txtHospNum->text();
    if (txtHospNum->text().trimmed().isEmpty()) {
        widgets::msgInformation(QStringLiteral("Please Select a Patient to Edit Registration!"),
                                Message);
        return;
    }
    openScreen(mnuLedger->objectName());
}

void frmMain::ViewResults()
{
    auto &g = globals();
    g.SelPatientClass = inPatient(txtPatInOut) ? QStringLiteral("I") : QStringLiteral("O");
    g.DatasheetHospNum = txtHospNum->text();
    g.DatasheetIdNum = txtIDNum->text();
    openScreen(mnuViewResults->objectName());
}

// 2: the rights screen (from "User Settings" and "Receivable Entry");
// 3: the department settings.
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
