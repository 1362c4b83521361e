// The program's own wiring: "Post Charge" opens the charge screen on the
// chosen patient, and the rate settings are read at start.

#include "app/screens.h"
#include "charging/frmcharge.h"
#include "charging/pricerules.h"
#include "reports/frmreportrange.h"
#include "reports/reportprocs.h"
#include "session/dialogs/frmdeletepassword.h"
#include "session/dialogs/frmstandby.h"

#include "shell/mainwindowfixture.h"
#include <QAction>

#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

using namespace chemodesk;

namespace {

class ProgramScreens : public test::MainWindowTest {};

TEST_F(ProgramScreens, PostChargeOpensTheChargeScreenOnTheChosenPatient)
{
    registerScreens();
    charging::rateSettings() = {};
    shell::frmMain &w = start();
    EXPECT_TRUE(charging::rateSettings().isAllowWeekendRate) << "rate settings not read at start";

    ASSERT_TRUE(choose(w, 0, QStringLiteral("261018")));
    QString shownName, shownIdNum;
    messages.onDialog([&](QDialog &dialog) {
        auto *screen = qobject_cast<charging::frmCharge *>(&dialog);
        if (screen) {
            shownName = screen->findChild<QLineEdit *>(QStringLiteral("txtPxName"))->text();
            shownIdNum = screen->findChild<QLineEdit *>(QStringLiteral("txtIdnum"))->text();
        }
        return int(QDialog::Rejected);
    });
    w.cmdPostCharge->click();
    EXPECT_EQ(messages.dialogsShown(), 1) << messages.lastText().toStdString();
    EXPECT_EQ(shownIdNum, QStringLiteral("261018"));
    EXPECT_EQ(shownName, w.txtPatName->text());
}

} // namespace

namespace {

TEST_F(ProgramScreens, ReportMenuOpensTheRangeScreen)
{
    registerScreens();
    shell::frmMain &w = start();
    auto *audit = w.findChild<QAction *>(QStringLiteral("mnuReportAudit"));
    ASSERT_NE(audit, nullptr);
    EXPECT_TRUE(audit->isEnabled());
    bool range = false;
    messages.onDialog([&](QDialog &dialog) {
        range = qobject_cast<reports::frmReportRange *>(&dialog) != nullptr;
        return int(QDialog::Rejected);
    });
    audit->trigger();
    EXPECT_TRUE(range);
}

} // namespace

namespace {

// Controls that act on the main window itself rather than open a screen.
const QStringList OwnActions{"cmdPatientList", "cmdClosePatient", "cmdRegister", "mnuPatientList",
                             "mnuReceivable",  "mnuUserSetting",  "mnuExit2",    "mnuHemoTransac",
                             "mnuExit",        "mnuLock",         "mnuAbout"};

void collectItems(const QMenu *menu, QList<QAction *> &items)
{
    for (QAction *item : menu->actions()) {
        if (item->menu())
            collectItems(item->menu(), items);
        else if (!item->isSeparator())
            items.append(item);
    }
}

// With the screens the program has so far, nothing the user can press may do
// nothing: each enabled button, menu item or list link opens its screen, and
// a control whose screen is not built yet is disabled. The employee has every
// right and a patient every check passes, so only a missing screen can stop it.
TEST_F(ProgramScreens, EveryControlOpensItsScreenOrIsDisabled)
{
    registerScreens();
    shell::frmMain &w = start(QStringLiteral("1001"));
    const QString idNum = first(QStringLiteral(
        "select top 1 P.IdNum from PATIENT_DATA..tbPatient P inner join PATIENT_DATA..tbPatient2 "
        "F on F.IdNum = P.IdNum where P.DcrDate is null and P.BillingDate is null and "
        "F.OkeyCS = 1 and F.OkeyPH = 1 and P.AccountNum is not null and "
        "P.AccountNum <> P.HospNum"));
    ASSERT_TRUE(choose(w, 0, idNum));
    patients::frmSearchPatient *list = w.patientList();

    QList<QObject *> controls;
    for (QPushButton *button :
         w.findChild<QFrame *>(QStringLiteral("fraButtons"))->findChildren<QPushButton *>())
        controls.append(button);
    QList<QAction *> items;
    for (QAction *menu : w.menuBar()->actions())
        collectItems(menu->menu(), items);
    for (QAction *item : items)
        controls.append(item);
    // The list's links last: receivable entry changes the buttons while it lasts.
    for (QObject *link : std::initializer_list<QObject *>{list->Label7[0], list->lblProcedures,
                                                          list->lblReceivableEntry})
        controls.append(link);
    ASSERT_GT(controls.size(), 40);

    // The real screens stay registered; each is only counted instead of shown.
    QStringList opened;
    for (QObject *control : controls) {
        const QString name = control->objectName();
        if (widgets::screens().has(name))
            widgets::screens().set(name,
                                   [&opened, name](platform::MainPanel &) { opened.append(name); });
    }
    const QString password =
        first(QStringLiteral("select OPDPassword from PATIENT_DATA..tbHospitalInfo"));
    messages.onDialog([&](QDialog &dialog) {
        if (auto *asked = qobject_cast<session::frmDeletePassword *>(&dialog)) {
            asked->txtPassword->setText(password);
            asked->cmdEnter->click();
        }
        return dialog.result();
    });

    for (QObject *control : controls) {
        const QString name = control->objectName();
        SCOPED_TRACE(name.toStdString());
        if (OwnActions.contains(name))
            continue;
        auto *button = qobject_cast<QPushButton *>(control);
        auto *item = qobject_cast<QAction *>(control);
        if (button ? !button->isEnabled() : !item->isEnabled())
            continue;
        messages.clear();
        const qsizetype before = opened.size();
        if (button)
            button->click();
        else
            item->trigger();
        EXPECT_EQ(opened.size(), before + 1)
            << "enabled but opened nothing; said: " << messages.lastText().toStdString();
    }
    // The four main actions are enabled exactly when their screens are registered.
    for (QPushButton *button : {w.cmdCash, w.cmdResultEntry, w.cmdCSRRequest, w.cmdPharmacy})
        EXPECT_EQ(button->isEnabled(), widgets::screens().has(button->objectName()))
            << button->objectName().toStdString();
}

// The report log-on names whoever is signed in now, not who started the program.
TEST_F(ProgramScreens, UnlockingAnotherEmployeeRenewsTheReportLogOn)
{
    registerScreens();
    shell::frmMain &w = start(QStringLiteral("1001"));
    EXPECT_EQ(reports::reportLogOn().EmployeeCode, QStringLiteral("1001"));
    writeSettings(QStringLiteral("1005"), test::accessCodeOf(QStringLiteral("1005")));
    messages.onDialog([](QDialog &dialog) {
        if (auto *lock = qobject_cast<session::frmStandBy *>(&dialog))
            lock->unlock();
        return dialog.result();
    });
    w.mnuLock->trigger();
    ASSERT_EQ(w.currentUser()->EmployeeCode(), QStringLiteral("1005"));
    EXPECT_EQ(reports::reportLogOn().EmployeeCode, QStringLiteral("1005"));
}

} // namespace
