#include "mainwindowfixture.h"

#include "session/dialogs/frmdeletepassword.h"
#include "session/dialogs/frmstandby.h"
#include "shell/frmabout.h"
#include "widgets/messages.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>

namespace chemodesk::test {
namespace {

const QString Closed =
    QStringLiteral("The patient's account has already been closed . If you have charges to "
                   "make, notify the Billing staff immediately for further instructions.");
const QString ClosedForCharges =
    QStringLiteral("The patient's account has already been closed . If you have "
                   "charges to make, notify the Billing staff immediateley for "
                   "further instructions.");
const QString CashBasis =
    QStringLiteral("The patient's account has been placed under cash basis by the Billing "
                   "Officer. Please refer to Billing Department for further instructions.");
const QString Personal =
    QStringLiteral("This patient is under personal account. Please update account if necessary.");
const QString NoRights = QStringLiteral("You don't have enough rights to perform this operation.");

// Current admissions of the demo data, by what their account allows.
const QString Admissions =
    QStringLiteral("select top 1 P.IdNum from PATIENT_DATA..tbPatient P inner join "
                   "PATIENT_DATA..tbPatient2 F on F.IdNum = P.IdNum "
                   "where P.DcrDate is null and ");
const QString ChargeAccount =
    QStringLiteral(" and P.AccountNum is not null and P.AccountNum <> P.HospNum");

enum class Patient { None, Chargeable, Billed, Personal, NoSupplies, NoMedicines };

QString admissionWhere(Patient patient)
{
    switch (patient) {
    case Patient::Chargeable:
        return QStringLiteral("P.BillingDate is null and F.OkeyCS = 1 and F.OkeyPH = 1") +
               ChargeAccount;
    case Patient::Billed:
        return QStringLiteral("P.BillingDate is not null and F.OkeyCS = 1 and F.OkeyPH = 1") +
               ChargeAccount;
    case Patient::Personal:
        return QStringLiteral(
            "P.BillingDate is null and (P.AccountNum is null or P.AccountNum = P.HospNum)");
    case Patient::NoSupplies:
        return QStringLiteral("P.BillingDate is null and F.OkeyCS = 0");
    case Patient::NoMedicines:
        return QStringLiteral("P.BillingDate is null and F.OkeyPH = 0");
    case Patient::None:
        break;
    }
    return {};
}

class MainWindowActions : public MainWindowTest {
protected:
    // Screens of the checked actions, under their buttons' and menu items'
    // names, counting how often they open.
    void registerScreens()
    {
        for (const char *name :
             {"cmdPostCharge", "cmdResultEntry", "cmdCSRRequest", "cmdPharmacy", "cmdCash",
              "mnuPostCharge", "mnuNurseActivity", "mnuCsr", "mnuPhRequest", "mnuCashAssessment"})
            widgets::screens().set(
                QLatin1String(name),
                [this, key = QString::fromLatin1(name)](const platform::ScreenContext &context) {
                    opened.append(key);
                    given.push_back(context.patient);
                });
    }

    QString admission(Patient patient)
    {
        const QString idNum = first(Admissions + admissionWhere(patient));
        EXPECT_FALSE(idNum.isEmpty()) << "no demo admission of that kind";
        return idNum;
    }

    void trigger(shell::frmMain &w, const QString &control)
    {
        if (auto *button = w.findChild<QPushButton *>(control))
            button->click();
        else if (auto *item = w.findChild<QAction *>(control))
            item->trigger();
        else
            ADD_FAILURE() << "no control " << control.toStdString();
    }

    QStringList opened;
    // The patient each opened screen was given.
    std::vector<platform::SelectedPatient> given;
};

struct Refusal {
    const char *name;
    const char *employee;
    Patient patient;
    const char *control;
    QString text;
    QString title;
    widgets::MessageService::Icon icon;
};

class MainWindowRefusals : public MainWindowActions,
                           public ::testing::WithParamInterface<Refusal> {};

TEST_P(MainWindowRefusals, RefusesWithItsMessageAndOpensNothing)
{
    const Refusal c = GetParam();
    registerScreens();
    shell::frmMain &w = start(QLatin1String(c.employee));
    if (c.patient != Patient::None) {
        ASSERT_TRUE(choose(w, 0, admission(c.patient)));
    }
    messages.clear();

    trigger(w, QLatin1String(c.control));

    ASSERT_EQ(messages.shown().size(), 1u) << messages.lastText().toStdString();
    EXPECT_EQ(messages.lastText(), c.text);
    EXPECT_EQ(messages.lastTitle(), c.title.isEmpty() ? widgets::defaultTitle() : c.title);
    EXPECT_EQ(messages.shown().back().icon, c.icon);
    EXPECT_TRUE(opened.isEmpty()) << opened.join(QLatin1Char(' ')).toStdString();
}

using Icon = widgets::MessageService::Icon;
const QString Message = QStringLiteral("Message");
const QString Information = QStringLiteral("Information");

INSTANTIATE_TEST_SUITE_P(
    Checks, MainWindowRefusals,
    ::testing::Values(Refusal{"PostChargeNoPatient",
                              "1001",
                              Patient::None,
                              "cmdPostCharge",
                              QStringLiteral("Select a patient."),
                              {},
                              Icon::NoIcon},
                      Refusal{"NurseActivityNoPatient",
                              "1001",
                              Patient::None,
                              "cmdResultEntry",
                              QStringLiteral("Select a patient."),
                              {},
                              Icon::NoIcon},
                      Refusal{"CSRNoPatient",
                              "1001",
                              Patient::None,
                              "cmdCSRRequest",
                              QStringLiteral("Select a patient."),
                              {},
                              Icon::NoIcon},
                      Refusal{"PharmacyNoPatient",
                              "1001",
                              Patient::None,
                              "cmdPharmacy",
                              QStringLiteral("Select a patient."),
                              {},
                              Icon::NoIcon},
                      Refusal{"CashNoPatient",
                              "1001",
                              Patient::None,
                              "mnuCashAssessment",
                              QStringLiteral("Select a patient."),
                              {},
                              Icon::NoIcon},
                      Refusal{"PostChargeBilled", "1001", Patient::Billed, "cmdPostCharge",
                              ClosedForCharges, Message, Icon::Exclamation},
                      Refusal{"NurseActivityBilled", "1001", Patient::Billed, "mnuNurseActivity",
                              Closed, Message, Icon::Exclamation},
                      Refusal{"CSRBilled", "1001", Patient::Billed, "cmdCSRRequest", Closed,
                              Message, Icon::Exclamation},
                      Refusal{"PharmacyBilled", "1001", Patient::Billed, "mnuPhRequest", Closed,
                              Message, Icon::Exclamation},
                      Refusal{"PostChargePersonalAccount", "1001", Patient::Personal,
                              "mnuPostCharge", Personal, Information, Icon::Information},
                      Refusal{"CSRCashBasis", "1001", Patient::NoSupplies, "cmdCSRRequest",
                              CashBasis, Message, Icon::Exclamation},
                      Refusal{"PharmacyCashBasis", "1001", Patient::NoMedicines, "cmdPharmacy",
                              CashBasis, Message, Icon::Exclamation},
                      Refusal{"PostChargeRights", "1003", Patient::Chargeable, "mnuPostCharge",
                              NoRights, Information, Icon::Information},
                      Refusal{"NurseActivityRights", "1003", Patient::Chargeable,
                              "mnuNurseActivity", NoRights, Information, Icon::Information},
                      Refusal{"CSRRights", "1003", Patient::Chargeable, "mnuCsr", NoRights,
                              Information, Icon::Information},
                      Refusal{"PharmacyRights", "1003", Patient::Chargeable, "mnuPhRequest",
                              NoRights, Information, Icon::Information},
                      // No rights row leaves the menu item enabled; the action still refuses.
                      Refusal{"CashAssessmentRights", "1003", Patient::Chargeable,
                              "mnuCashAssessment", NoRights, Information, Icon::Information}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(MainWindowActions, RegisterLeavesOnlyTheRightsMessage)
{
    registerScreens();
    shell::frmMain &w = start();
    ASSERT_TRUE(choose(w, 0, admission(Patient::Chargeable)));
    w.cmdRegister->click();
    for (QPushButton *button :
         {w.cmdCash, w.cmdPostCharge, w.cmdResultEntry, w.cmdCSRRequest, w.cmdPharmacy})
        EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
    messages.clear();
    w.mnuPostCharge->trigger();
    EXPECT_EQ(messages.lastText(), NoRights);
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(MainWindowActions, PostChargeCopiesAnAdmissionWithItsRoomClass)
{
    registerScreens();
    shell::frmMain &w = start();
    const QString idNum = admission(Patient::Chargeable);
    ASSERT_TRUE(choose(w, 0, idNum));
    messages.clear();
    w.cmdPostCharge->click();
    EXPECT_TRUE(messages.shown().empty()) << messages.lastText().toStdString();
    EXPECT_EQ(opened, QStringList{QStringLiteral("cmdPostCharge")});
    ASSERT_EQ(given.size(), 1u);
    const QString roomClass =
        first(QStringLiteral("select R.RoomClassID from PATIENT_DATA..tbPatient P inner join "
                             "BUILD_FILE..TbCoRoom R on R.RoomID = P.RoomID where P.IdNum = '") +
              idNum + QLatin1Char('\''));
    ASSERT_FALSE(roomClass.isEmpty());
    EXPECT_EQ(given[0].inOut, QStringLiteral("I"));
    EXPECT_EQ(given[0].roomClass, roomClass);
    EXPECT_EQ(given[0].idNum, idNum);
    EXPECT_EQ(given[0].hospNum, w.txtHospNum->text());
    EXPECT_EQ(given[0].name, w.txtPatName->text());
}

TEST_F(MainWindowActions, PostChargeCopiesAnOutPatientAtRateA)
{
    registerScreens();
    shell::frmMain &w = start();
    const QString idNum = first(
        QStringLiteral("select top 1 IdNum from PATIENT_DATA..tbOutPatient where DcrDate is null "
                       "and BillingDate is null and "
                       "PatientType <> 'W' and AccountNum is not null and AccountNum <> HospNum"));
    ASSERT_TRUE(choose(w, 2, idNum));
    EXPECT_EQ(w.txtPatInOut->text(), QStringLiteral("O"));
    w.mnuPostCharge->trigger();
    EXPECT_TRUE(messages.shown().empty()) << messages.lastText().toStdString();
    EXPECT_EQ(opened, QStringList{QStringLiteral("cmdPostCharge")});
    ASSERT_EQ(given.size(), 1u);
    EXPECT_EQ(given[0].inOut, QStringLiteral("O"));
    EXPECT_EQ(given[0].roomClass, QStringLiteral("A"));
    EXPECT_EQ(given[0].idNum, idNum);
}

TEST_F(MainWindowActions, ReceivableEntryPostsToABilledAccount)
{
    registerScreens();
    shell::frmMain &w = start();
    ASSERT_TRUE(choose(w, 0, admission(Patient::Billed)));
    session::globals().ReceivableMode = true;
    w.cmdPostCharge->click();
    EXPECT_TRUE(messages.shown().empty()) << messages.lastText().toStdString();
    EXPECT_EQ(opened, QStringList{QStringLiteral("cmdPostCharge")});
}

TEST_F(MainWindowActions, RequestsAndDatasheetCopyThePatient)
{
    registerScreens();
    shell::frmMain &w = start();
    const QString idNum = admission(Patient::Chargeable);
    ASSERT_TRUE(choose(w, 0, idNum));
    w.cmdPharmacy->click();
    w.cmdCSRRequest->click();
    w.cmdResultEntry->click();
    ASSERT_EQ(given.size(), 3u);
    for (const platform::SelectedPatient &patient : given) {
        EXPECT_EQ(patient.inOut, QStringLiteral("I"));
        EXPECT_EQ(patient.idNum, idNum);
        EXPECT_EQ(patient.hospNum, w.txtHospNum->text());
    }
    // Only the pharmacy prices by the room: the others are not asked for it.
    EXPECT_FALSE(given[0].roomClass.isEmpty());
    EXPECT_NE(given[0].roomClass, QStringLiteral("A"));
    EXPECT_TRUE(given[1].roomClass.isEmpty());
    EXPECT_TRUE(given[2].roomClass.isEmpty());
    EXPECT_EQ(opened, (QStringList{QStringLiteral("cmdPharmacy"), QStringLiteral("cmdCSRRequest"),
                                   QStringLiteral("cmdResultEntry")}));
    EXPECT_TRUE(messages.shown().empty()) << messages.lastText().toStdString();
}

// An out-patient's registration number is not numeric: no cash-basis flag is asked of it.
TEST_F(MainWindowActions, OutPatientsRequestWithoutTheCashBasisFlag)
{
    registerScreens();
    shell::frmMain &w = start();
    const QString idNum = first(QStringLiteral("select top 1 IdNum from PATIENT_DATA..tbOutPatient "
                                               "where DcrDate is null and BillingDate is null and "
                                               "PatientType <> 'W'"));
    ASSERT_TRUE(choose(w, 2, idNum));
    w.cmdCSRRequest->click();
    EXPECT_EQ(opened, QStringList{QStringLiteral("cmdCSRRequest")});
    ASSERT_EQ(given.size(), 1u);
    EXPECT_EQ(given[0].inOut, QStringLiteral("O"));
}

// A billed account stays refused after the list it was chosen from has gone.
TEST_F(MainWindowActions, ClosedAccountCheckOutlivesThePatientList)
{
    registerScreens();
    shell::frmMain &w = start();
    ASSERT_TRUE(choose(w, 0, admission(Patient::Billed)));
    w.cmdPatientList->click();
    EXPECT_FALSE(session::globals().PatientListLoaded);
    w.mnuHemoTransac->trigger();
    ASSERT_NE(w.patientList(), nullptr);
    messages.clear();
    w.cmdPharmacy->click();
    EXPECT_EQ(messages.lastText(), Closed);
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(MainWindowActions, ClosingThePatientListRestoresEachButtonToItsRights)
{
    registerScreens();
    shell::frmMain &w = start(QStringLiteral("1004"));
    ASSERT_TRUE(choose(w, 0, admission(Patient::Chargeable)));
    w.cmdRegister->click();
    w.cmdPatientList->click();
    EXPECT_FALSE(session::globals().PatientListLoaded);
    EXPECT_TRUE(waitFor([&] { return w.patientList() == nullptr; }));
    EXPECT_TRUE(w.cmdResultEntry->isEnabled());
    EXPECT_TRUE(w.cmdCSRRequest->isEnabled());
    EXPECT_TRUE(w.cmdPharmacy->isEnabled());
    // Not simply enabled: this employee has neither right.
    EXPECT_FALSE(w.cmdCash->isEnabled());
    EXPECT_FALSE(w.cmdPostCharge->isEnabled());
    EXPECT_FALSE(w.mnuMLedger->isEnabled());

    // Pressed again with the list gone, the button brings it back.
    w.cmdPatientList->click();
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_NE(w.patientList(), nullptr);
}

// However the list went, its own button and menu item bring it back; while it
// is open the button closes it.
TEST_F(MainWindowActions, PatientListComesBackFromItsButtonOrMenuItem)
{
    shell::frmMain &w = start();
    const std::function<void()> closings[] = {
        [&] { w.cmdPatientList->click(); },
        [&] { w.patientList()->parentWidget()->close(); },
        [&] { w.cmdClosePatient->click(); },
    };
    for (const auto &closeList : closings) {
        for (QObject *reopen :
             std::initializer_list<QObject *>{w.cmdPatientList, w.mnuPatientList}) {
            SCOPED_TRACE(reopen->objectName().toStdString());
            ASSERT_NE(w.patientList(), nullptr);
            closeList();
            ASSERT_TRUE(waitFor([&] { return w.patientList() == nullptr; }));
            EXPECT_FALSE(session::globals().PatientListLoaded);
            trigger(w, reopen->objectName());
            ASSERT_NE(w.patientList(), nullptr);
            EXPECT_TRUE(w.patientList()->isVisible());
            EXPECT_TRUE(session::globals().PatientListLoaded);
        }
    }
    EXPECT_TRUE(messages.shown().empty()) << messages.lastText().toStdString();
}

// Receivable entry lasts as long as the receivable list: once it returns, a
// billed account is refused again and the buttons are the employee's own.
TEST_F(MainWindowActions, ReceivableEntryEndsWithTheReceivableList)
{
    registerScreens();
    bool modeInside = false;
    widgets::screens().set(
        QStringLiteral("lblReceivableEntry"),
        [&](const platform::ScreenContext &) { modeInside = session::globals().ReceivableMode; });
    shell::frmMain &w = start();
    ASSERT_TRUE(w.patientList()->lblReceivableEntry->isEnabled());
    w.patientList()->lblReceivableEntry->click();
    EXPECT_TRUE(modeInside);
    EXPECT_FALSE(session::globals().ReceivableMode);
    EXPECT_EQ(w.cmdPostCharge->text(), QStringLiteral("Post &Charge"));
    for (QPushButton *button : {w.cmdPatientList, w.cmdRegister, w.cmdPharmacy, w.cmdCSRRequest,
                                w.cmdResultEntry, w.cmdPostCharge})
        EXPECT_TRUE(button->isEnabled()) << button->objectName().toStdString();
    ASSERT_TRUE(choose(w, 0, admission(Patient::Billed)));
    messages.clear();
    w.cmdPostCharge->click();
    EXPECT_EQ(messages.lastText(), ClosedForCharges);
    EXPECT_TRUE(opened.isEmpty());
}

// Without a receivable list the link cannot start a mode nothing would end.
TEST_F(MainWindowActions, ReceivableEntryWaitsForTheReceivableList)
{
    shell::frmMain &w = start();
    EXPECT_FALSE(w.patientList()->lblReceivableEntry->isEnabled());
    w.patientList()->receivableEntry();
    EXPECT_FALSE(session::globals().ReceivableMode);
    EXPECT_EQ(w.cmdPostCharge->text(), QStringLiteral("Post &Charge"));
    EXPECT_TRUE(w.cmdPatientList->isEnabled());
}

// Whoever unlocks posts ordinary charges, even if receivable entry was on.
TEST_F(MainWindowActions, UnlockingEndsReceivableEntry)
{
    registerScreens();
    shell::frmMain &w = start();
    session::globals().ReceivableMode = true;
    w.enterReceivableMode();
    messages.onDialog([](QDialog &dialog) {
        dynamic_cast<session::frmStandBy &>(dialog).unlock();
        return dialog.result();
    });
    w.mnuLock->trigger();
    EXPECT_FALSE(session::globals().ReceivableMode);
    EXPECT_EQ(w.cmdPostCharge->text(), QStringLiteral("Post &Charge"));
    EXPECT_TRUE(w.cmdPatientList->isEnabled());
    EXPECT_TRUE(w.cmdPharmacy->isEnabled());
}

// While locked no patient's name or number shows; afterwards the same
// employee finds their patient again and another starts with none.
TEST_F(MainWindowActions, LockHidesPatientsAndAnotherEmployeeStartsWithoutOne)
{
    for (const char *next : {"1001", "1005"}) {
        SCOPED_TRACE(next);
        shell::frmMain &w = start(QStringLiteral("1001"));
        const QString idNum = admission(Patient::Chargeable);
        ASSERT_TRUE(choose(w, 0, idNum));
        writeSettings(QLatin1String(next), accessCodeOf(QLatin1String(next)));
        bool panelShown = true;
        bool listShown = true;
        messages.onDialog([&](QDialog &dialog) {
            panelShown = w.fraPat->isVisible();
            listShown = w.patientList() && w.patientList()->isVisible();
            dynamic_cast<session::frmStandBy &>(dialog).unlock();
            return dialog.result();
        });
        w.mnuLock->trigger();
        EXPECT_FALSE(panelShown);
        EXPECT_FALSE(listShown);
        ASSERT_EQ(w.currentUser()->EmployeeCode(), QLatin1String(next));
        const bool same = QLatin1String(next) == QLatin1String("1001");
        EXPECT_EQ(w.fraPat->isVisible(), same);
        EXPECT_EQ(w.txtIDNum->text(), same ? idNum : QString());
        EXPECT_EQ(w.txtHospNum->text().isEmpty(), !same);
        EXPECT_EQ(w.txtPatName->text().isEmpty(), !same);
        ASSERT_NE(w.patientList(), nullptr);
        EXPECT_TRUE(w.patientList()->isVisible());
        windows.clear();
    }
}

TEST_F(MainWindowActions, ClosePatientLeavesOnlyTheMainWindow)
{
    registerScreens();
    shell::frmMain &w = start();
    ASSERT_TRUE(choose(w, 0, admission(Patient::Chargeable)));
    EXPECT_TRUE(w.fraPat->isVisible());
    QWidget stray;
    stray.setObjectName(QStringLiteral("frmSomeScreen"));
    stray.show();
    w.cmdClosePatient->click();
    EXPECT_FALSE(w.fraPat->isVisible());
    for (QLineEdit *box : {w.txtIDNum, w.txtHospNum, w.txtPatName})
        EXPECT_TRUE(box->text().isEmpty()) << box->objectName().toStdString();
    EXPECT_FALSE(stray.isVisible());
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(waitFor([&] { return w.patientList() == nullptr; }));
    w.cmdPostCharge->click();
    EXPECT_EQ(messages.lastText(), QStringLiteral("Select a patient."));
}

TEST_F(MainWindowActions, RightsSavedInUserSettingsAreWhatTheListRestores)
{
    registerScreens();
    shell::frmMain &w = start(QStringLiteral("1004"));
    // The department password is right; meanwhile the rights row changes.
    messages.onDialog([this](QDialog &dialog) {
        auto &password = dynamic_cast<session::frmDeletePassword &>(dialog);
        db->Execute(QStringLiteral(
            "UPDATE CLINICAL_AREA..tbCancerUserSetting SET isPostCharge = 1 WHERE EmpID = '1004'"));
        password.txtPassword->setText(QStringLiteral("CANCER"));
        password.cmdEnter->click();
        return dialog.result();
    });
    messages.onDialog([](QDialog &) { return int(QDialog::Rejected); });
    w.mnuUserSetting->trigger();
    EXPECT_EQ(messages.dialogsShown(), 2);
    EXPECT_TRUE(w.userRights().PostCharge);
    w.cmdRegister->click();
    w.cmdPatientList->click();
    EXPECT_TRUE(w.cmdPostCharge->isEnabled());
    EXPECT_FALSE(w.cmdCash->isEnabled());
}

TEST_F(MainWindowActions, LockSignsTheNextEmployeeInWithTheirOwnRights)
{
    shell::frmMain &w = start();
    Connection *before = session::globals().DbConnection;
    writeSettings(QStringLiteral("1003"), QStringLiteral("ANA1003"));
    messages.onDialog([](QDialog &dialog) {
        dynamic_cast<session::frmStandBy &>(dialog).unlock();
        return dialog.result();
    });
    w.mnuLock->trigger();
    ASSERT_NE(w.currentUser(), nullptr);
    EXPECT_EQ(w.currentUser()->EmployeeCode(), QStringLiteral("1003"));
    EXPECT_NE(session::globals().DbConnection, before);
    EXPECT_EQ(session::globals().DbConnection, w.currentUser()->SQLConnection());
    EXPECT_EQ(w.statusPanel(1), QStringLiteral("BAUTISTA, ANA LIZA PEREZ"));
    EXPECT_FALSE(w.userRights().hasRow);
    EXPECT_FALSE(w.cmdPostCharge->isEnabled());
    EXPECT_FALSE(w.mnuReport->menuAction()->isEnabled());
    // The list works on the new connection.
    ASSERT_NE(w.patientList(), nullptr);
    ASSERT_TRUE(choose(w, 0, admission(Patient::Chargeable)));
    EXPECT_TRUE(w.isVisible());
}

TEST_F(MainWindowActions, ExitClosesTheWindow)
{
    shell::frmMain &w = start();
    bool ended = false;
    QObject::connect(&w, &shell::frmMain::unloaded, [&ended] { ended = true; });
    w.mnuExit2->trigger();
    EXPECT_TRUE(ended);
    EXPECT_FALSE(w.isVisible());
}

TEST(MainWindowAbout, FadesInAndOutByOpacitySteps)
{
    shell::frmAbout about;
    about.setStepInterval(0);
    about.show();
    EXPECT_LT(about.level(), 255);
    EXPECT_TRUE(waitFor([&] { return about.level() == 255; }));
    EXPECT_NEAR(about.windowOpacity(), 1.0, 0.01);
    about.accept();
    EXPECT_TRUE(about.isVisible());
    EXPECT_TRUE(waitFor([&] { return !about.isVisible(); }));
    EXPECT_EQ(about.level(), 0);
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

} // namespace
} // namespace chemodesk::test
