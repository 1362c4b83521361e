// Assessment Status on each engine's demo database: three assessments of one
// patient saved for the test, one left open, one paid at the cashier and one
// revoked, listed, reprinted and revoked as the screen's rules allow.

#include "assessment/assessmentsave.h"
#include "assessment/frmassessstatus.h"
#include "database/forwardingconnection.h"
#include "session/globals.h"
#include "support/enginetest.h"
#include "support/scriptedmessages.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace chemodesk;
using namespace chemodesk::assessment;
using Icon = widgets::MessageService::Icon;

namespace {

class AssessStatus : public test::EngineTest {
protected:
    void SetUp() override
    {
        session::resetGlobals();
        EngineTest::SetUp();
        if (!db)
            return;
        db->setClockFixed(QDateTime(QDate(2026, 12, 1), QTime(11, 0)));
        AssessmentHeader h;
        h.patientName = QStringLiteral("ZAMORA, LIGAYA");
        h.idNum = QStringLiteral("2650005B");
        h.hospNum = QStringLiteral("1000085");
        h.doctorId = QStringLiteral("0");
        h.employeeCode = QStringLiteral("1005");
        const std::vector<AssessmentLine> lines{{QStringLiteral("LB"),
                                                 QStringLiteral("1001"),
                                                 QStringLiteral("CBC"),
                                                 QStringLiteral("350.00"),
                                                 QStringLiteral("1"),
                                                 QStringLiteral("350.00"),
                                                 {}},
                                                {QStringLiteral("XR"),
                                                 QStringLiteral("2001"),
                                                 QStringLiteral("CHEST PA"),
                                                 QStringLiteral("450.00"),
                                                 QStringLiteral("1"),
                                                 QStringLiteral("450.00"),
                                                 {}}};
        open = saveAssessment(*db, h, lines);
        paid = saveAssessment(*db, h, lines);
        revoked = saveAssessment(*db, h, lines);
        db->Execute(QStringLiteral("UPDATE BILLING..tbCashAssessment SET ORNumber = 'OR204611', "
                                   "PaidDate = '2026-12-01 11:00:00' WHERE RefNum = '") +
                    paid + QLatin1Char('\''));
        db->Execute(QStringLiteral("UPDATE BILLING..tbCashAssessment SET Revoked = 1 WHERE "
                                   "RefNum = '") +
                    revoked + QLatin1Char('\''));
        screen = std::make_unique<frmAssessStatus>(*db);
        screen->setSlipPrinter(
            [this](const charging::SlipPrint &print, QWidget *) { printed.push_back(print); });
        screen->show();
    }
    void TearDown() override
    {
        screen.reset();
        session::resetGlobals();
    }

    void search(const QString &text, bool previous)
    {
        screen->chkShowPrevious->setChecked(previous);
        screen->txtEntry->setText(text);
        QTest::keyClick(screen->txtEntry, Qt::Key_Return);
    }
    // Makes the row of `ref` current; false when the grid does not hold it.
    bool choose(const QString &ref)
    {
        for (int row = 0; row < screen->grdTable->rowCount(); ++row) {
            if (screen->grdTable->item(row, colRefNum)->text() == ref) {
                screen->grdTable->setCurrentCell(row, colRefNum);
                return true;
            }
        }
        return false;
    }
    QStringList listed() const
    {
        QStringList refs;
        for (int row = 0; row < screen->grdTable->rowCount(); ++row)
            refs << screen->grdTable->item(row, colRefNum)->text();
        return refs;
    }

    test::ScriptedMessages messages;
    std::unique_ptr<frmAssessStatus> screen;
    std::vector<charging::SlipPrint> printed;
    QString open, paid, revoked;
};

TEST_P(AssessStatus, ListsByLastNameWithTheirStatus)
{
    search(QStringLiteral("zamora"), true);
    EXPECT_EQ(screen->grdTable->columnCount(), 10);
    ASSERT_EQ(listed().size(), 3);
    ASSERT_TRUE(choose(paid));
    EXPECT_EQ(screen->cell(colStatus), QStringLiteral("OR204611"));
    EXPECT_EQ(screen->cell(colKey), QStringLiteral("1000085"));
    EXPECT_EQ(screen->cell(colSlipValue), QStringLiteral("2650005B"));
    EXPECT_EQ(screen->cell(4).toDouble(), 800.0);
    ASSERT_TRUE(choose(revoked));
    EXPECT_EQ(screen->cell(colStatus), QStringLiteral("REVOKED"));
    ASSERT_TRUE(choose(open));
    EXPECT_EQ(screen->cell(colStatus), QStringLiteral("OPEN"));

    // Toggling Show Previous without a text only reminds.
    screen->txtEntry->clear();
    screen->chkShowPrevious->click();
    EXPECT_EQ(messages.lastText(), QStringLiteral("Please enter a search text."));
    EXPECT_EQ(listed().size(), 3);
}

TEST_P(AssessStatus, ARevokedRowIsNeitherRevokedNorReprinted)
{
    search(QStringLiteral("ZAMORA"), true);
    ASSERT_TRUE(choose(revoked));
    screen->cmdRevoke->click();
    EXPECT_EQ(messages.lastText(), QStringLiteral("Cannot Reprint Revoked Assessments."));
    EXPECT_EQ(messages.shown().back().icon, Icon::Information);
    screen->cmdPrint->click();
    EXPECT_EQ(messages.shown().size(), size_t(2));
    EXPECT_EQ(messages.lastText(), QStringLiteral("Cannot Reprint Revoked Assessments."));
    EXPECT_TRUE(printed.empty());
}

TEST_P(AssessStatus, APaidRowIsNotRevokedButIsReprinted)
{
    search(QStringLiteral("ZAMORA"), true);
    ASSERT_TRUE(choose(paid));
    screen->cmdRevoke->click();
    EXPECT_EQ(messages.lastText(), QStringLiteral("Can't Revoke this Assessment! It is already "
                                                  "been PROCESSED BY the CASHIER.."));
    EXPECT_EQ(messages.lastTitle(), QStringLiteral("Message"));
    EXPECT_FALSE(screen->cmdRevoke->isEnabled());
    screen->cmdPrint->click();
    ASSERT_EQ(printed.size(), size_t(1));
    EXPECT_EQ(printed[0].parameters.at(0).toString(), paid + QStringLiteral(" Assessment Slip :"));
    EXPECT_EQ(printed[0].parameters.at(1).toString(), QStringLiteral("2650005B"));
    EXPECT_EQ(printed[0].parameters.at(2).toString(), QStringLiteral("ON"));
    EXPECT_EQ(db->Execute(QStringLiteral("SELECT count(*) FROM BILLING..tbCashAssessment WHERE "
                                         "Revoked = 1 AND RefNum = '") +
                          paid + QLatin1Char('\''))
                  .Fields(0)
                  .toDouble(),
              0.0);
}

TEST_P(AssessStatus, ARevocationShowsTheRefreshedListAfterwards)
{
    search(QStringLiteral("ZAMORA"), false);
    ASSERT_TRUE(choose(open));
    messages.answer(QMessageBox::No);
    screen->cmdRevoke->click();
    EXPECT_EQ(messages.lastText(), QStringLiteral("Are you sure to revoke?"));
    screen->cmdRevoke->click();
    EXPECT_EQ(messages.lastText(), QStringLiteral("Assessment has been revoked."));

    Recordset refresh = db->Execute(QStringLiteral("Clinical_Area..spCancer_AssessmentStatus"));
    QStringList expected;
    for (; !refresh.atEnd(); refresh.MoveNext())
        expected << refresh.Fields(QStringLiteral("RefNum")).toString();
    EXPECT_EQ(listed(), expected);
    EXPECT_GT(expected.size(), 3); // the demo's open ones too, not only the last search
    ASSERT_TRUE(choose(open));
    EXPECT_EQ(screen->cell(colStatus), QStringLiteral("REVOKED"));

    // The server refuses a second revocation of the same assessment.
    messages.clear();
    screen->grdTable->item(screen->grdTable->currentRow(), colStatus)
        ->setText(QStringLiteral("OPEN"));
    screen->cmdRevoke->click();
    ASSERT_EQ(messages.shown().size(), size_t(2));
    EXPECT_TRUE(messages.lastText().contains(QStringLiteral("already revoked")));
}

TEST_P(AssessStatus, ClosingAsksFirst)
{
    messages.answer(QMessageBox::Cancel);
    screen->cmdClose->click();
    EXPECT_EQ(messages.lastText(), QStringLiteral("Are you sure to close this program?"));
    EXPECT_EQ(messages.lastTitle(), QStringLiteral("OPD Registration System"));
    EXPECT_TRUE(screen->isVisible());
    screen->cmdClose->click();
    EXPECT_FALSE(screen->isVisible());
}

CHEMODESK_ENGINE_TESTS(AssessStatus);

} // namespace
