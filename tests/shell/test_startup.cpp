#include "mainwindowfixture.h"

#include "shell/backgroundarea.h"
#include "support/recordingconnection.h"

#include <QAction>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTimer>

namespace chemodesk::test {
namespace {

using testing::RecordingConnection;

// Records the settings made on the connection among the texts it is sent.
class SettingsRecordingConnection : public RecordingConnection {
public:
    QStringList events;
    Recordset Execute(const QString &text) override
    {
        events.append(text);
        return RecordingConnection::Execute(text);
    }
    void setCommandTimeout(int seconds) override
    {
        events.append(QStringLiteral("CommandTimeout %1").arg(seconds));
        RecordingConnection::setCommandTimeout(seconds);
    }
    void setDefaultDatabase(const QString &database) override
    {
        events.append(QStringLiteral("DefaultDatabase ") + database);
        RecordingConnection::setDefaultDatabase(database);
    }
};

class FakeUser : public platform::UserComponent {
public:
    explicit FakeUser(bool connects) : connects_(connects) {}
    void setPasswordDeptCode(const QString &code) override { passwordDeptCode = code; }
    void sethwndParentForm(QWidget *parent) override { parentForm = parent; }
    void ShowMain() override { ++shown; }
    bool Connected() const override { return connects_; }
    Connection *SQLConnection() const override { return connects_ ? &connection : nullptr; }
    QString EmployeeCode() const override { return QStringLiteral("1001"); }
    QString EmployeeName() const override { return QStringLiteral("DELA CRUZ, ROSARIO MANALO"); }
    QString ServerName() const override { return QStringLiteral("WARD-SERVER"); }
    QString Database() const override { return {}; }
    QString UserId() const override { return {}; }
    QString serverpassword() const override { return {}; }

    mutable SettingsRecordingConnection connection;
    QString passwordDeptCode;
    QWidget *parentForm = nullptr;
    int shown = 0;

private:
    bool connects_;
};

using MainWindowStartup = MainWindowTest;

TEST_F(MainWindowStartup, StartsInTheDepartmentsOrder)
{
    // A subsystem's start-up read (the rate settings) runs once the
    // department settings are in, so no surcharge test starts from nothing.
    widgets::screens().onStartup([](Connection &c, platform::MainPanel &) {
        c.Execute(QStringLiteral("Select * from HemoDialysis..tbHemo_settings"));
    });
    // The notice list exists, so the notices are counted last.
    widgets::screens().set(QStringLiteral("mnuDischargeNotice"),
                           [](const platform::ScreenContext &) {});
    FakeUser *user = nullptr;
    shell::MainWindowOptions o = options(QStringLiteral("1001"));
    o.userFactory = [&user] {
        auto made = std::make_unique<FakeUser>(true);
        // An employee with the Maintenance right, who can open the notices.
        made->connection.answer(
            QStringLiteral("Select * from CLINICAL_AREA..tbCancerUserSetting where EmpID = '1001'"),
            testing::table(
                {"isCashAssessment", "isNurseActivity", "isPostCharge", "isCSRReqeust",
                 "isPHRequest", "isMaintenance", "isReports", "isReceivableEntry",
                 "isPatientLedger", "isCancelCharges"},
                {{false, false, false, false, false, true, false, false, false, false}}));
        user = made.get();
        return made;
    };
    shell::frmMain &w = window(o);
    ASSERT_TRUE(w.startUp());
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(user->shown, 1);
    EXPECT_EQ(user->passwordDeptCode, QStringLiteral("9"));
    EXPECT_EQ(user->parentForm, &w);

    QStringList expected{
        QStringLiteral("DefaultDatabase CLINICAL_AREA"),
        QStringLiteral("select * from PATIENT_DATA..tbhospitalInfo"),
        QStringLiteral("CommandTimeout 120"),
        QStringLiteral("Select top 1 Getdate() [ServerDate]"),
        QStringLiteral("SELECT * FROM HEMODIALYSIS..tbKidneySettings"),
        QStringLiteral("Select * from HemoDialysis..tbHemo_settings"),
        QStringLiteral("Select GetDate() As ServerDate From Patient_Data..tbHospitalInfo"),
        QStringLiteral("Select * from CLINICAL_AREA..tbCancerUserSetting where EmpID = '1001'"),
        QStringLiteral("Clinical_Area..spCancer_GetPatient '"),
        QStringLiteral("Clinical_Area..spCancer_LoadDischargeNoticeCount "),
    };
    ASSERT_EQ(user->connection.events.size(), expected.size())
        << user->connection.events.join(QLatin1Char('\n')).toStdString();
    for (qsizetype i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(user->connection.events.at(i).startsWith(expected.at(i)))
            << i << ": " << user->connection.events.at(i).toStdString();
    EXPECT_EQ(w.statusPanel(2), QStringLiteral("Server :WARD-SERVER"));
}

TEST_F(MainWindowStartup, ShowsTitleStatusAndTheSettingsItRead)
{
    shell::frmMain &w = start();
    const auto &g = session::globals();
    // The fixture's database holds the demonstration data, and the window says so.
    EXPECT_EQ(w.windowTitle(), QStringLiteral("TOLVEX - CHEMOTHERAPY DEPARTMENT. Version: ") +
                                   QStringLiteral(CHEMODESK_VERSION) +
                                   QStringLiteral(" - DEMONSTRATION DATABASE"));
    EXPECT_TRUE(w.isVisible());

    const QLocale us(QLocale::English, QLocale::UnitedStates);
    ASSERT_TRUE(g.ServerDate.isValid());
    EXPECT_EQ(w.statusPanel(1), QStringLiteral("DELA CRUZ, ROSARIO MANALO"));
    EXPECT_EQ(w.statusPanel(2), QStringLiteral("Server :(local)"));
    EXPECT_EQ(w.statusPanel(3), us.toString(g.ServerDate.date(), QLocale::LongFormat));
    EXPECT_EQ(w.statusPanel(4), us.toString(g.ServerDate.time(), QStringLiteral("hh:mm AP")));

    EXPECT_EQ(g.DepartmentCode, QStringLiteral("8"));
    EXPECT_EQ(g.DepartmentName, QStringLiteral("CANCER"));
    EXPECT_EQ(g.PasswordDeptCode, QStringLiteral("9"));
    EXPECT_EQ(g.StationCode, QStringLiteral("ON"));
    EXPECT_EQ(g.StationName, QStringLiteral("Visual Tolvex - Cancer Service"));
    EXPECT_EQ(g.RefNumCode, QStringLiteral("C"));
    EXPECT_EQ(g.HospitalName, QStringLiteral("MABINI VALLEY MEDICAL CENTER"));
    EXPECT_EQ(g.HospitalPhone, QStringLiteral("(049) 501-2345"));
    EXPECT_TRUE(g.allowZeroOnHand());
    // The department settings are loaded, not left empty for the day.
    EXPECT_EQ(g.HemoPackageId, QStringLiteral("PKG"));
    EXPECT_EQ(g.ShowPackagedetail, QStringLiteral("Y"));
    EXPECT_TRUE(g.EnableAssessment);
    EXPECT_TRUE(g.AllowRegisterPatient);
    EXPECT_TRUE(g.AllowPrintRequestForm);
    EXPECT_FALSE(g.AllowEditAmount);

    ASSERT_NE(w.currentUser(), nullptr);
    EXPECT_EQ(g.DbConnection, w.currentUser()->SQLConnection());
    EXPECT_EQ(g.DbConnection->CommandTimeout(), 120);
    EXPECT_EQ(g.DbConnection->DefaultDatabase(), QStringLiteral("CLINICAL_AREA"));
    EXPECT_TRUE(w.tmrServerDateTime->isActive());
    EXPECT_EQ(w.tmrServerDateTime->interval(), 1000);
    EXPECT_FALSE(w.mnuMLedger->isEnabled());
    EXPECT_TRUE(g.PatientListLoaded);
    ASSERT_NE(w.patientList(), nullptr);
    EXPECT_GT(w.patientList()->ListView1->topLevelItemCount(), 0);
    EXPECT_TRUE(w.agent()->isLoaded());
    EXPECT_TRUE(messages.shown().empty()) << messages.lastText().toStdString();
}

TEST_F(MainWindowStartup, ServerClockRefreshesTheStatusBar)
{
    shell::frmMain &w = start();
    session::globals().ServerDate = QDateTime();
    w.findChild<QLabel *>(QStringLiteral("sbPanel3"))->clear();
    EXPECT_TRUE(waitFor(
        [&] { return session::globals().ServerDate.isValid() && !w.statusPanel(3).isEmpty(); },
        3000));
}

struct RightsCase {
    const char *employee;
    // cmdCash, cmdResultEntry, cmdPostCharge, cmdCSRRequest, cmdPharmacy,
    // mnuMaintenance, mnuReport, mnuLedger
    bool enabled[8];
};

class MainWindowRights : public MainWindowTest, public ::testing::WithParamInterface<RightsCase> {};

TEST_P(MainWindowRights, AppliesTheEmployeesRightsRow)
{
    // With their screens present the buttons, their menu items and the ledger
    // item show their rights.
    for (const char *name :
         {"mnuLedger", "cmdCash", "cmdResultEntry", "cmdPostCharge", "cmdCSRRequest", "cmdPharmacy",
          "mnuCashAssessment", "mnuNurseActivity", "mnuPostCharge", "mnuCsr", "mnuPhRequest"})
        widgets::screens().set(QLatin1String(name), [](const platform::ScreenContext &) {});
    const RightsCase c = GetParam();
    shell::frmMain &w = start(QLatin1String(c.employee));
    const char *buttons[] = {"cmdCash", "cmdResultEntry", "cmdPostCharge", "cmdCSRRequest",
                             "cmdPharmacy"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(w.findChild<QPushButton *>(QLatin1String(buttons[i]))->isEnabled(), c.enabled[i])
            << buttons[i];
    const char *menus[] = {"mnuMaintenance", "mnuReport", "mnuLedger"};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(w.findChild<QAction *>(QLatin1String(menus[i]))->isEnabled(), c.enabled[5 + i])
            << menus[i];
    // Without a row the paired menu items keep their state: they lead to the
    // buttons' rights message.
    if (QLatin1String(c.employee) == QLatin1String("1003")) {
        for (QAction *item :
             {w.mnuCashAssessment, w.mnuNurseActivity, w.mnuPostCharge, w.mnuCsr, w.mnuPhRequest})
            EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
    }
    EXPECT_EQ(w.userRights().hasRow, QLatin1String(c.employee) != QLatin1String("1003"));
}

INSTANTIATE_TEST_SUITE_P(
    DemoEmployees, MainWindowRights,
    ::testing::Values(RightsCase{"1001", {true, true, true, true, true, true, true, true}},
                      RightsCase{"1003", {false, false, false, false, false, false, false, false}},
                      RightsCase{"1004", {false, true, false, true, true, false, false, false}}),
    [](const auto &info) { return std::string("Employee") + info.param.employee; });

TEST_F(MainWindowStartup, ItemsOfScreensNotBuiltStayDisabled)
{
    widgets::screens().set(QStringLiteral("mnuBuildPack"), [](const platform::ScreenContext &) {});
    shell::frmMain &w = start();
    for (const char *name :
         {"mnuLedger", "mnuAssessment", "mnuCash", "mnuDischargeNotice", "mnuViewResults",
          "mnuSetup", "mnuReportAudit", "mnuCensus", "mnuReportStatus", "mnuChange"})
        EXPECT_FALSE(w.findChild<QAction *>(QLatin1String(name))->isEnabled()) << name;
    EXPECT_TRUE(w.findChild<QAction *>(QStringLiteral("mnuBuildPack"))->isEnabled());
    // Whatever the rights say (this employee has them all).
    for (QPushButton *button : {w.cmdDatasheet, w.cmdCash, w.cmdResultEntry, w.cmdPostCharge,
                                w.cmdCSRRequest, w.cmdPharmacy})
        EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
    for (QAction *item :
         {w.mnuCashAssessment, w.mnuNurseActivity, w.mnuPostCharge, w.mnuCsr, w.mnuPhRequest})
        EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
    for (QAction *item :
         {w.mnuPatientList, w.mnuHemoTransac, w.mnuLock, w.mnuAbout, w.mnuUserSetting, w.mnuExit})
        EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();

    // Choosing a patient enables the ledger item only where the ledger exists.
    const QString idNum = first(
        QStringLiteral("select top 1 IdNum from PATIENT_DATA..tbPatient where DcrDate is null"));
    ASSERT_TRUE(choose(w, 0, idNum));
    EXPECT_FALSE(w.mnuMLedger->isEnabled());
}

TEST_F(MainWindowStartup, BackgroundPictureFromTheParentFolder)
{
    ASSERT_TRUE(QFile::copy(resourceFile(QStringLiteral("background.jpg")),
                            dir->filePath(QStringLiteral("background.jpg"))));
    shell::frmMain &w = start();
    auto *area = w.findChild<shell::BackgroundArea *>(QStringLiteral("mdiArea"));
    ASSERT_NE(area, nullptr);
    EXPECT_TRUE(area->hasPicture());
}

TEST_F(MainWindowStartup, SecondCopyIsRefused)
{
    start();
    int made = 0;
    shell::MainWindowOptions o = options(QStringLiteral("1001"));
    o.userFactory = [&made]() -> std::unique_ptr<platform::UserComponent> {
        ++made;
        return std::make_unique<FakeUser>(true);
    };
    shell::frmMain &second = window(o);
    messages.clear();
    EXPECT_FALSE(second.startUp());
    EXPECT_EQ(made, 0);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.lastText(), QStringLiteral("Program Already Open"));
    EXPECT_EQ(messages.lastTitle(), QStringLiteral("Message"));
    EXPECT_EQ(messages.shown().back().icon, widgets::MessageService::Information);
    EXPECT_FALSE(second.isVisible());
}

TEST_F(MainWindowStartup, CopyThatEndedLeavesNoLock)
{
    {
        shell::frmMain &w = start();
        w.close();
        windows.clear();
    }
    start();
    EXPECT_TRUE(started);
}

TEST_F(MainWindowStartup, EndsWhenNobodySignsIn)
{
    shell::MainWindowOptions o = options(QStringLiteral("1001"));
    o.userFactory = [] { return std::make_unique<FakeUser>(false); };
    shell::frmMain &w = window(o);
    EXPECT_FALSE(w.startUp());
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(session::globals().DbConnection, nullptr);

    // A wrong access code: the user component says why, the program ends.
    shell::MainWindowOptions wrong = options(QStringLiteral("1001"));
    wrong.userSettingsPath = writeSettings(QStringLiteral("1001"), QStringLiteral("NOT-IT"));
    wrong.instanceLockPath = dir->filePath(QStringLiteral("other.lock"));
    EXPECT_FALSE(window(wrong).startUp());
}

struct AssistantFileCase {
    const char *name;
    const char *content; // nullptr: no file at all
};

class MainWindowAssistantFile : public MainWindowTest,
                                public ::testing::WithParamInterface<AssistantFileCase> {};

TEST_P(MainWindowAssistantFile, RefusedAndTheProgramEnds)
{
    const QString path = programFolder + QStringLiteral("/merlin.acs");
    QFile::remove(path);
    if (GetParam().content) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(GetParam().content);
    }
    shell::frmMain &w = window(options(QStringLiteral("1001")));
    EXPECT_FALSE(w.startUp());
    ASSERT_FALSE(messages.shown().empty());
    EXPECT_EQ(messages.lastText(), QStringLiteral("Verify ") + QDir::cleanPath(path));
    EXPECT_EQ(messages.shown().back().icon, widgets::MessageService::NoIcon);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.patientList(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Files, MainWindowAssistantFile,
    ::testing::Values(AssistantFileCase{"Missing", nullptr},
                      AssistantFileCase{"NotACharacter", "MZ\x01\x02 binary garbage"},
                      AssistantFileCase{"AnotherCharacter",
                                        "[character]\nname=genie\nwidth=10\nheight=10\n"
                                        "[pose rest]\n"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(MainWindowStartup, AnnouncesDischargeNoticesAfterStart)
{
    widgets::screens().set(QStringLiteral("mnuDischargeNotice"),
                           [](const platform::ScreenContext &) {});
    shell::frmMain &w = start();
    EXPECT_TRUE(w.tmrNotice->isActive());
    EXPECT_TRUE(w.tmrMerlin->isActive());
    assistant::AgentCharacter *agent = w.agent();
    EXPECT_TRUE(agent->isVisible());
    EXPECT_TRUE(waitFor(
        [&] { return agent->balloonText() == QStringLiteral("You have discharge notice."); }));
    const QPoint expected(std::min(650, w.width() - 1 - agent->width()),
                          std::min(450, w.height() - 1 - agent->height()));
    EXPECT_EQ(agent->pos(), expected);
    EXPECT_TRUE(waitFor([&] { return !agent->isBusy(); }));
}

TEST_F(MainWindowStartup, StaysQuietWithoutDischargeNotices)
{
    db->Execute(QStringLiteral("UPDATE PATIENT_DATA..tbPatient SET DischargeNotice = 0"));
    shell::frmMain &w = start();
    EXPECT_TRUE(w.tmrNotice->isActive());
    EXPECT_FALSE(w.tmrMerlin->isActive());
    EXPECT_FALSE(w.agent()->isVisible());
    EXPECT_FALSE(w.agent()->isBusy());
}

// The assistant speaks only to an employee who can open the notices: one
// with the Maintenance right, once the notice list exists.
TEST_F(MainWindowStartup, AnnouncesOnlyToWhoeverCanOpenTheNotices)
{
    const struct {
        const char *employee;
        bool noticeScreen;
        bool announced;
    } cases[] = {{"1001", true, true}, {"1001", false, false}, {"1003", true, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.employee) + (c.noticeScreen ? " with" : " without"));
        widgets::screens().clear();
        if (c.noticeScreen)
            widgets::screens().set(QStringLiteral("mnuDischargeNotice"),
                                   [](const platform::ScreenContext &) {});
        shell::frmMain &w = start(QLatin1String(c.employee));
        EXPECT_EQ(w.agent()->isVisible(), c.announced);
        EXPECT_EQ(w.tmrMerlin->isActive(), c.announced);
        windows.clear();
    }
}

// The assistant stands over the patient list: a click on it, or on its
// balloon, must reach the row beneath.
TEST_F(MainWindowStartup, AssistantLetsClicksThroughToTheList)
{
    widgets::screens().set(QStringLiteral("mnuDischargeNotice"),
                           [](const platform::ScreenContext &) {});
    shell::frmMain &w = start();
    assistant::AgentCharacter *agent = w.agent();
    ASSERT_TRUE(waitFor([&] { return !agent->balloonText().isEmpty(); }));
    auto *balloon = w.findChild<QWidget *>(QStringLiteral("assistantBubble"));
    ASSERT_NE(balloon, nullptr);
    for (QWidget *shown : {static_cast<QWidget *>(agent), balloon}) {
        SCOPED_TRACE(shown->objectName().toStdString());
        ASSERT_TRUE(shown->isVisible());
        QWidget *hit = w.childAt(shown->geometry().center());
        EXPECT_NE(hit, shown);
        EXPECT_FALSE(hit && shown->isAncestorOf(hit));
    }
}

} // namespace
} // namespace chemodesk::test
