// The program's own wiring: "Post Charge" opens the charge screen on the
// chosen patient, and the rate settings are read at start.

#include "app/screens.h"
#include "charging/frmcharge.h"
#include "charging/pricerules.h"
#include "reports/frmreportrange.h"

#include "shell/mainwindowfixture.h"
#include <QAction>

#include <QLineEdit>
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
