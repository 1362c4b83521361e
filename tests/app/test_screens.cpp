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
            widgets::screens().set(
                name, [&opened, name](const platform::ScreenContext &) { opened.append(name); });
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

// Request → Assessment is the older assessment, a screen of its own: until it is built the item
// is disabled, and whichever way it is reached it opens nothing (never the cash assessment on
// whatever patient an earlier action chose), for an employee with no rights least of all.
TEST_F(ProgramScreens, RequestAssessmentOpensNothingUntilItsScreenExists)
{
    registerScreens();
    shell::frmMain &w = start(QStringLiteral("1003"));
    ASSERT_TRUE(choose(w, 0, QStringLiteral("261018")));
    EXPECT_FALSE(w.mnuAssessment->isEnabled());
    EXPECT_FALSE(widgets::screens().has(QStringLiteral("mnuAssessment")));
    int dialogs = messages.dialogsShown();
    EXPECT_FALSE(widgets::screens().run(QStringLiteral("mnuAssessment"), w.screenContext()));
    EXPECT_EQ(messages.dialogsShown(), dialogs);
    // Its gate is the cash assessment's: the right, then the selected patient.
    const widgets::ScreenGate gate = widgets::screens().gate(QStringLiteral("mnuAssessment"));
    EXPECT_EQ(gate.right, platform::MainAction::CashAssessment);
    EXPECT_TRUE(gate.needsPatient);
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

// Every control that opens a screen, in the order the user meets them: the
// buttons, the menu items, then the patient list's links.
QList<QObject *> screenControls(shell::frmMain &w)
{
    QList<QObject *> controls;
    for (QPushButton *button :
         w.findChild<QFrame *>(QStringLiteral("fraButtons"))->findChildren<QPushButton *>())
        if (!OwnActions.contains(button->objectName()))
            controls.append(button);
    QList<QAction *> items;
    for (QAction *menu : w.menuBar()->actions())
        collectItems(menu->menu(), items);
    for (QAction *item : items)
        if (!OwnActions.contains(item->objectName()))
            controls.append(item);
    patients::frmSearchPatient *list = w.patientList();
    for (QObject *link : std::initializer_list<QObject *>{list->Label7[0], list->lblProcedures})
        controls.append(link);
    return controls;
}

// Uses a control as the user would; false when it is disabled.
bool use(QObject *control)
{
    if (auto *button = qobject_cast<QAbstractButton *>(control)) {
        if (!button->isEnabled())
            return false;
        button->click();
        return true;
    }
    auto *item = qobject_cast<QAction *>(control);
    if (!item->isEnabled())
        return false;
    item->trigger();
    return true;
}

// A screen learns its patient from what it was opened with, never from what an
// earlier action left behind: after patient A's charge screen, every control
// opens on patient B; without a patient, those that need one refuse; without
// the right, every path is refused.
class ScreensOnThePatient : public ProgramScreens {
protected:
    // Chargeable admissions: every check of every action passes for them.
    QStringList chargeable()
    {
        QStringList out;
        Recordset rs = db->Execute(QStringLiteral(
            "select top 2 P.IdNum from PATIENT_DATA..tbPatient P inner join "
            "PATIENT_DATA..tbPatient2 F on F.IdNum = P.IdNum where P.DcrDate is null and "
            "P.BillingDate is null and F.OkeyCS = 1 and F.OkeyPH = 1 and P.AccountNum is not "
            "null and P.AccountNum <> P.HospNum order by P.IdNum"));
        for (; !rs.atEnd(); rs.MoveNext())
            out << rs.Fields(0).toString();
        return out;
    }

    // Each registered screen records the patient it was given instead of showing itself.
    void recordScreens(const QList<QObject *> &controls)
    {
        for (QObject *control : controls) {
            const QString name = control->objectName();
            if (widgets::screens().has(name))
                widgets::screens().set(name, [this, name](const platform::ScreenContext &c) {
                    opened.append(name);
                    given.append(c.patient.idNum);
                });
        }
    }

    QStringList opened;
    QStringList given;
};

TEST_F(ScreensOnThePatient, EveryControlOpensOnTheSelectedPatient)
{
    registerScreens();
    shell::frmMain &w = start(QStringLiteral("1001"));
    const QStringList patients = chargeable();
    ASSERT_EQ(patients.size(), 2);
    const QString a = patients[0], b = patients[1];

    // The real entry screens, each shown on A and then on B: none shows the other's number.
    QStringList shownIds;
    const auto inspect = [&](QDialog &dialog) {
        QStringList ids;
        for (const QLineEdit *box : dialog.findChildren<QLineEdit *>())
            if (box->text() == a || box->text() == b)
                ids << box->text();
        ids.removeDuplicates();
        shownIds << dialog.objectName() + QLatin1Char(':') + ids.join(QLatin1Char(','));
        return int(QDialog::Rejected);
    };
    for (int i = 0; i < 8; ++i)
        messages.onDialog(inspect);
    for (const QString &patient : {a, b}) {
        ASSERT_TRUE(choose(w, 0, patient));
        for (QPushButton *button : {w.cmdPostCharge, w.cmdPharmacy, w.cmdCSRRequest, w.cmdCash})
            button->click();
    }
    const QStringList screens = {QStringLiteral("frmCharge"), QStringLiteral("frmPHEntry"),
                                 QStringLiteral("frmCSREntry"),
                                 QStringLiteral("frmAssessmentEntry")};
    QStringList expected;
    for (const QString &patient : {a, b})
        for (const QString &screen : screens)
            expected << screen + QLatin1Char(':') + patient;
    QStringList said;
    for (const auto &shown : messages.shown())
        said << shown.text;
    EXPECT_EQ(shownIds, expected) << said.join(QLatin1Char('|')).toStdString();

    // Then every control: each screen is given B.
    const QList<QObject *> controls = screenControls(w);
    recordScreens(controls);
    int used = 0;
    for (QObject *control : controls) {
        SCOPED_TRACE(control->objectName().toStdString());
        messages.clear();
        if (!use(control))
            continue;
        ++used;
        EXPECT_TRUE(messages.shown().empty()) << messages.lastText().toStdString();
    }
    EXPECT_GT(used, 20);
    EXPECT_EQ(given.size(), opened.size());
    EXPECT_EQ(given.count(b), given.size()) << opened.join(QLatin1Char(' ')).toStdString();
}

TEST_F(ScreensOnThePatient, WithoutAPatientThoseThatNeedOneSaySo)
{
    registerScreens();
    shell::frmMain &w = start(QStringLiteral("1001"));
    ASSERT_TRUE(choose(w, 0, chargeable().value(0)));
    w.cmdClosePatient->click();
    w.cmdPatientList->click();
    ASSERT_NE(w.patientList(), nullptr);
    ASSERT_TRUE(w.txtHospNum->text().isEmpty());
    const QList<QObject *> controls = screenControls(w);
    recordScreens(controls);
    int refused = 0;
    for (QObject *control : controls) {
        const QString name = control->objectName();
        SCOPED_TRACE(name.toStdString());
        messages.clear();
        const qsizetype before = opened.size();
        if (!use(control))
            continue;
        const widgets::ScreenGate gate = widgets::screens().gate(
            name == QLatin1String("lblProcedures") ? QStringLiteral("Label7") : name);
        if (!gate.needsPatient) {
            EXPECT_TRUE(messages.shown().empty()) << messages.lastText().toStdString();
            continue;
        }
        ++refused;
        EXPECT_EQ(opened.size(), before);
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.lastText(), name == QLatin1String("mnuLedger")
                                           ? QStringLiteral("Please Select a Patient to Edit "
                                                            "Registration!")
                                           : QStringLiteral("Select a patient."));
    }
    // The four entry screens and their menu items at least.
    EXPECT_GE(refused, 8);
    EXPECT_TRUE(given.isEmpty() || given.count(QString()) == given.size());
}

// An employee without a rights row: whichever way a gated screen is reached (a control, its menu
// item, or any other path to the registry), it is refused with the rights message.
TEST_F(ScreensOnThePatient, WithoutTheRightEveryPathIsRefused)
{
    registerScreens();
    shell::frmMain &w = start(QStringLiteral("1003"));
    ASSERT_TRUE(choose(w, 0, chargeable().value(0)));
    const QList<QObject *> controls = screenControls(w);
    recordScreens(controls);
    for (QObject *control : controls) {
        const QString name = control->objectName();
        SCOPED_TRACE(name.toStdString());
        const widgets::ScreenGate gate = widgets::screens().gate(name);
        if (!gate.right || !widgets::screens().has(name))
            continue;
        messages.clear();
        use(control);
        EXPECT_TRUE(opened.isEmpty()) << opened.join(QLatin1Char(' ')).toStdString();
        // Any other path ends at the registry with the context of the moment.
        EXPECT_FALSE(widgets::screens().run(name, w.screenContext()));
        EXPECT_EQ(messages.lastText(),
                  QStringLiteral("You don't have enough rights to perform this operation."));
        EXPECT_TRUE(opened.isEmpty());
    }
}

} // namespace
