// The rights screen and its employee search: loading, ticking, saving on
// every engine, and the signed-in employee's own rights applied at once.

#include "support/fakepanel.h"

#include "session/dialogs/frmusersearching.h"
#include "session/dialogs/frmusersetting.h"
#include "session/rights.h"
#include "support/enginetest.h"
#include "support/recordingconnection.h"
#include "support/scriptedmessages.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace chemodesk;
using session::frmUserSearching;
using session::frmUserSetting;

namespace {

// The ten boxes as "0"/"1" in screen order.
QString ticks(const frmUserSetting &screen)
{
    QString out;
    for (QCheckBox *box : {screen.chkCashAssessment, screen.chkNurseActivity, screen.chkPostCharge,
                           screen.chkCsr, screen.chkPh, screen.chkMaintenance, screen.chkReports,
                           screen.chkReceivable, screen.chkPatientLedger, screen.chkCancelCharges})
        out += box->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    return out;
}

QStringList listed(const frmUserSearching &search)
{
    QStringList out;
    for (int row = 0; row < search.MSHFlexList->rowCount(); ++row)
        out << search.MSHFlexList->item(row, 0)->text() + QLatin1Char('|') +
                   search.MSHFlexList->item(row, 1)->text();
    return out;
}

class UserSetting : public test::EngineTest {
protected:
    // The screen as the department password opens it, employee loaded.
    std::unique_ptr<frmUserSetting> open(const QString &employee, const QString &signedIn)
    {
        auto screen = std::make_unique<frmUserSetting>(*db, &main, signedIn);
        screen->txtEmpID->setText(employee);
        screen->show();
        return screen;
    }
    test::FakePanel main;
};

TEST_P(UserSetting, SaveReloadAndOwnRightsApplied)
{
    test::ScriptedMessages messages;
    // 1004 changes his own rights: post charge and maintenance on, CSR off.
    auto screen = open(QStringLiteral("1004"), QStringLiteral("1004"));
    EXPECT_EQ(ticks(*screen), QStringLiteral("0101100000"));
    EXPECT_EQ(screen->txtEmpName->text(), QStringLiteral("GARCIA , MARK ANTHONY"));
    EXPECT_TRUE(screen->cmdSave->isEnabled());
    EXPECT_TRUE(screen->fraRights->isEnabled());
    screen->chkPostCharge->click();
    screen->chkMaintenance->click();
    screen->chkCsr->click();
    screen->cmdSave->click();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.lastText(), QStringLiteral("User Settings Successfully Saved! "));
    EXPECT_EQ(messages.lastTitle(), QStringLiteral("Message"));
    EXPECT_EQ(main.states(), QStringLiteral("01101 01101100"));

    auto again = open(QStringLiteral("1004"), QStringLiteral("1004"));
    EXPECT_EQ(ticks(*again), QStringLiteral("0110110000"));
}

TEST_P(UserSetting, RightsOfAnotherEmployeeLeaveTheWindowToTheSignedInOne)
{
    test::ScriptedMessages messages;
    // 1003 has no row yet: the save creates it; 1001 (signed in) keeps all.
    auto screen = open(QStringLiteral("1003"), QStringLiteral("1001"));
    EXPECT_EQ(ticks(*screen), QStringLiteral("0000000000"));
    screen->chkReports->click();
    screen->chkCancelCharges->click();
    screen->cmdSave->click();
    EXPECT_EQ(messages.lastText(), QStringLiteral("User Settings Successfully Saved! "));
    EXPECT_EQ(main.states(), QStringLiteral("11111 11111111"));
    const session::UserRights saved = session::ReadUserRights(*db, QStringLiteral("1003"));
    EXPECT_TRUE(saved.hasRow);
    EXPECT_TRUE(saved.Reports);
    EXPECT_TRUE(saved.CancelCharges);
    EXPECT_FALSE(saved.PostCharge);

    // Null flags load as unticked and save as 0.
    auto nulls = open(QStringLiteral("1007"), QStringLiteral("1001"));
    EXPECT_EQ(ticks(*nulls), QStringLiteral("0000000000"));
}

TEST_P(UserSetting, UnknownOrChangedEmployeeCannotBeSaved)
{
    test::ScriptedMessages messages;
    auto screen = open(QStringLiteral("9999"), QStringLiteral("1001"));
    EXPECT_EQ(messages.lastText(), QStringLiteral("Employee ID 9999 was not found."));
    EXPECT_FALSE(screen->cmdSave->isEnabled());
    EXPECT_FALSE(screen->fraRights->isEnabled());

    // Typing another id locks the boxes until it is loaded with Enter, so one
    // employee's ticks are never saved under another's id.
    screen->txtEmpID->clear();
    QTest::keyClicks(screen->txtEmpID, QStringLiteral("1002"));
    EXPECT_FALSE(screen->cmdSave->isEnabled());
    QTest::keyClick(screen->txtEmpID, Qt::Key_Return);
    EXPECT_TRUE(screen->cmdSave->isEnabled());
    EXPECT_EQ(ticks(*screen), QStringLiteral("0111101010"));
    screen->txtEmpID->setFocus();
    QTest::keyClick(screen->txtEmpID, Qt::Key_Backspace);
    EXPECT_FALSE(screen->cmdSave->isEnabled());
    EXPECT_TRUE(screen->txtEmpName->text().isEmpty());
}

TEST_P(UserSetting, SearchByNameOrIdAndChoose)
{
    test::ScriptedMessages messages;
    {
        // Lower case finds the upper-case names on both engines.
        frmUserSearching search(*db, QStringLiteral("dela"));
        EXPECT_EQ(listed(search), QStringList{QStringLiteral("1001|DELA CRUZ , ROSARIO")});
        search.txtSearchID->setText(QStringLiteral("1005"));
        QTest::keyClick(search.txtSearchID, Qt::Key_Return);
        EXPECT_EQ(listed(search), QStringList{QStringLiteral("1005|MENDOZA , LORNA")});
        search.txtSearchName->setText(QStringLiteral("O'"));
        QTest::keyClick(search.txtSearchName, Qt::Key_Return);
        EXPECT_TRUE(listed(search).isEmpty());
        search.cmdSelect->click();
        EXPECT_EQ(messages.lastText(), QStringLiteral("Please select an employee."));
        EXPECT_EQ(search.result(), QDialog::Rejected);
    }
    {
        frmUserSearching everyone(*db, QString());
        EXPECT_EQ(everyone.MSHFlexList->rowCount(), 7);
    }

    // From the rights screen: the search text goes along, the chosen
    // employee comes back loaded.
    QString handedOver;
    messages.onDialog([&](QDialog &d) {
        auto &search = dynamic_cast<frmUserSearching &>(d);
        handedOver = search.txtSearchName->text();
        search.MSHFlexList->selectRow(0);
        search.cmdSelect->click();
        return search.result();
    });
    auto screen = open(QString(), QStringLiteral("1001"));
    screen->txtSeach->setText(QStringLiteral("garc"));
    QTest::keyClick(screen->txtSeach, Qt::Key_Return);
    EXPECT_EQ(handedOver, QStringLiteral("GARC"));
    EXPECT_EQ(screen->txtEmpID->text(), QStringLiteral("1004"));
    EXPECT_EQ(screen->txtEmpName->text(), QStringLiteral("GARCIA , MARK ANTHONY"));
    EXPECT_EQ(ticks(*screen), QStringLiteral("0101100000"));
    EXPECT_TRUE(screen->cmdSave->isEnabled());
}

CHEMODESK_ENGINE_TESTS(UserSetting);

TEST(UserSettingScreen, AllBoxFollowsItsOwnState)
{
    chemodesk::testing::RecordingConnection db;
    db.answer(session::EmployeeSearchById(QStringLiteral("1001")),
              chemodesk::testing::table(
                  {QStringLiteral("EmployeeID"), QStringLiteral("EmployeeName")},
                  {{QStringLiteral("1001"), QStringLiteral("DELA CRUZ , ROSARIO")}}));
    frmUserSetting screen(db, nullptr, QStringLiteral("1001"));
    // Nobody loaded: the boxes are locked.
    screen.chkAll->click();
    EXPECT_EQ(ticks(screen), QStringLiteral("0000000000"));
    screen.txtEmpID->setText(QStringLiteral("1001"));
    screen.loadEmployee();
    screen.chkReports->setChecked(true);
    screen.chkAll->click();
    EXPECT_EQ(ticks(screen), QStringLiteral("1111111111"));
    screen.chkAll->click();
    EXPECT_EQ(ticks(screen), QStringLiteral("0000000000"));
}

TEST(UserSettingScreen, SaveTextAndAFailedSave)
{
    chemodesk::testing::RecordingConnection db;
    db.answer(session::EmployeeSearchById(QStringLiteral("1002")),
              chemodesk::testing::table(
                  {QStringLiteral("EmployeeID"), QStringLiteral("EmployeeName")},
                  {{QStringLiteral("1002"), QStringLiteral("VILLANUEVA , JOHN PAUL")}}));
    const QString save = QStringLiteral(
        "Clinical_Area..sp_Cancer_SaveUserSetting '1002','1','0','0','0','0','0','0','0','0','1'");
    db.failOn(save, QStringLiteral("deadlock"));
    test::ScriptedMessages messages;
    frmUserSetting screen(db, nullptr, QStringLiteral("1001"));
    screen.txtEmpID->setText(QStringLiteral(" 1002 "));
    screen.loadEmployee();
    screen.chkCashAssessment->click();
    screen.chkCancelCharges->click();
    db.clearRecord();
    screen.cmdSave->click();
    EXPECT_EQ(db.texts(), QStringList{save});
    EXPECT_EQ(messages.lastText(), QStringLiteral("deadlock"));
    EXPECT_EQ(messages.shown().size(), 1u);
    // Nothing lost: the ticks stay for another try.
    EXPECT_EQ(ticks(screen), QStringLiteral("1000000001"));
    EXPECT_TRUE(screen.cmdSave->isEnabled());
}

TEST(UserSearchingScreen, TextsAndHeader)
{
    EXPECT_EQ(session::EmployeeSearchById(QStringLiteral("10'5")),
              QStringLiteral(
                  "select EmployeeID , isnull(LastName,'') + ' , ' +  isnull(FirstName,'') "
                  "as EmployeeName from Password..tbpasswordmaster where employeeid = '10''5'"));
    EXPECT_EQ(session::EmployeeSearchByName(QStringLiteral("DE")),
              QStringLiteral(
                  "select EmployeeID , isnull(LastName,'') + ' , ' +  isnull(FirstName,'') "
                  "as EmployeeName from Password..tbpasswordmaster where LastNAme Like 'DE%'"));
    EXPECT_EQ(frmUserSearching::headers(),
              (QStringList{QStringLiteral("EMPLOYEEID.# "), QStringLiteral("EMPLOYEE NAME  ")}));
}

} // namespace
