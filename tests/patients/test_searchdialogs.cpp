// The generic code search and the ultrasound exam picker: the texts they
// send, and picking from the keyboard and the mouse.

#include "patients/frmsearch.h"
#include "patients/frmsearcher.h"
#include "patients/ultrasoundpick.h"
#include "support/enginetest.h"
#include "support/recordingconnection.h"
#include "support/scriptedmessages.h"
#include "widgets/messages.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace chemodesk;
using chemodesk::testing::RecordingConnection;
using chemodesk::testing::table;
using patients::frmSearch;
using patients::frmSearcher;

namespace {

const QString CodeQuery = QStringLiteral(
    "select RevenueID, Description from BUILD_FILE..tbCoRevenue where Description like '##%'");

QString codeQuery(const char *typed)
{
    return QString(CodeQuery).replace(QStringLiteral("##"), QString::fromUtf8(typed));
}

Recordset codes(std::vector<std::vector<QVariant>> rows)
{
    return table({QStringLiteral("RevenueID"), QStringLiteral("Description")}, std::move(rows));
}

void clickCell(QTableWidget *grid, int row, int column, bool twice = false)
{
    const QPoint at = grid->visualItemRect(grid->item(row, column)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    // The view takes a double click only where the first press landed.
    if (twice)
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

TEST(GenericSearch, ThePlaceholderTakesTheTypedTextEscaped)
{
    test::ScriptedMessages messages;
    RecordingConnection db;
    db.answer(codeQuery("LA"), codes({{"LB", "LABORATORY"}}));
    frmSearch dialog(db);
    dialog.SearchCaption = QStringLiteral("Revenue Codes");
    dialog.Query = CodeQuery;
    dialog.Criteria = QStringLiteral("LA");

    // As a caller shows it; the scripted answer plays the user.
    messages.onDialog([&](QDialog &shown) {
        auto &d = static_cast<frmSearch &>(shown);
        d.show();
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Revenue Codes"));
        EXPECT_EQ(d.txtSearchStr->text(), QStringLiteral("LA"));
        EXPECT_EQ(d.grdDispWindow->rowCount(), 1);
        EXPECT_TRUE(d.cmdSelect->isEnabled());
        d.txtSearchStr->clear();
        QTest::keyClicks(d.txtSearchStr, QStringLiteral("O'B"));
        EXPECT_EQ(d.grdDispWindow->rowCount(), 0);
        EXPECT_FALSE(d.cmdSelect->isEnabled());
        QTest::keyClick(d.txtSearchStr, Qt::Key_Return); // nothing to select
        EXPECT_TRUE(d.isVisible());
        d.cmdCancel->click();
        return d.result();
    });
    EXPECT_EQ(widgets::execModal(dialog), QDialog::Rejected);
    EXPECT_FALSE(dialog.Valid);
    EXPECT_EQ(db.texts(),
              (QStringList{codeQuery("LA"), codeQuery("O"), codeQuery("O''"), codeQuery("O''B")}));
    EXPECT_TRUE(messages.shown().empty());
}

TEST(GenericSearch, AQueryWithoutPlaceholderRunsUnchanged)
{
    test::ScriptedMessages messages;
    RecordingConnection db;
    const QString fixed =
        QStringLiteral("select RevenueID, Description from BUILD_FILE..tbCoRevenue");
    db.answer(fixed, codes({{"LB", "LABORATORY"}, {"XR", "X-RAY"}}));
    frmSearch dialog(db);
    dialog.Query = fixed;
    dialog.show();
    QTest::keyClicks(dialog.txtSearchStr, QStringLiteral("X'"));
    EXPECT_EQ(db.texts(), QStringList(3, fixed));
    EXPECT_EQ(dialog.grdDispWindow->rowCount(), 2);
}

TEST(GenericSearch, PickingByKeyboardAndMouse)
{
    test::ScriptedMessages messages;
    RecordingConnection db;
    db.answer(codeQuery(""), codes({{"LB", "LABORATORY"}, {"XR", "X-RAY"}, {"US", "ULTRASOUND"}}));

    { // Enter in the box takes the first row.
        frmSearch dialog(db);
        dialog.Query = CodeQuery;
        dialog.show();
        QTest::keyClick(dialog.txtSearchStr, Qt::Key_Return);
        EXPECT_TRUE(dialog.Valid);
        EXPECT_EQ(dialog.ResultCode, QStringLiteral("LB"));
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    { // Down to the grid, down a row, Enter.
        frmSearch dialog(db);
        dialog.Query = CodeQuery;
        dialog.show();
        dialog.txtSearchStr->setFocus();
        QTest::keyClick(dialog.txtSearchStr, Qt::Key_Down);
        QTest::keyClick(dialog.grdDispWindow, Qt::Key_Down);
        QTest::keyClick(dialog.grdDispWindow, Qt::Key_Return);
        EXPECT_TRUE(dialog.Valid);
        EXPECT_EQ(dialog.ResultCode, QStringLiteral("XR"));
    }
    { // A click copies the code into the box without narrowing the list away.
        frmSearch dialog(db);
        dialog.Query = CodeQuery;
        dialog.show();
        db.clearRecord();
        clickCell(dialog.grdDispWindow, 2, 1);
        EXPECT_EQ(dialog.txtSearchStr->text(), QStringLiteral("US"));
        EXPECT_TRUE(db.texts().isEmpty());
        EXPECT_EQ(dialog.grdDispWindow->rowCount(), 3);
        dialog.cmdSelect->click();
        EXPECT_TRUE(dialog.Valid);
        EXPECT_EQ(dialog.ResultCode, QStringLiteral("US"));
    }
    { // A double click picks; Escape cancels.
        frmSearch dialog(db);
        dialog.Query = CodeQuery;
        dialog.show();
        clickCell(dialog.grdDispWindow, 1, 0, true);
        EXPECT_TRUE(dialog.Valid);
        EXPECT_EQ(dialog.ResultCode, QStringLiteral("XR"));

        frmSearch other(db);
        other.Query = CodeQuery;
        other.show();
        QTest::keyClick(other.grdDispWindow, Qt::Key_Escape);
        EXPECT_FALSE(other.Valid);
        EXPECT_EQ(other.result(), QDialog::Rejected);
    }
}

TEST(GenericSearch, DisabledSearchStillListsTheCriteria)
{
    test::ScriptedMessages messages;
    RecordingConnection db;
    db.answer(codeQuery("X"), codes({{"XR", "X-RAY"}}));
    frmSearch dialog(db);
    dialog.Query = CodeQuery;
    dialog.Criteria = QStringLiteral("X");
    dialog.DisableSearch = true;
    dialog.show();
    EXPECT_FALSE(dialog.txtSearchStr->isEnabled());
    EXPECT_EQ(dialog.grdDispWindow->rowCount(), 1);
    QTest::keyClick(dialog.grdDispWindow, Qt::Key_Return);
    EXPECT_EQ(dialog.ResultCode, QStringLiteral("XR"));
}

TEST(GenericSearch, AFailingQueryIsShownAndNothingCanBePicked)
{
    test::ScriptedMessages messages;
    RecordingConnection db;
    db.failOn(codeQuery(""), QStringLiteral("Invalid object name"));
    frmSearch dialog(db);
    dialog.Query = CodeQuery;
    dialog.show();
    EXPECT_EQ(messages.lastText(), QStringLiteral("Invalid object name"));
    EXPECT_FALSE(dialog.cmdSelect->isEnabled());
}

class SearchOnEngines : public test::EngineTest {};

TEST_P(SearchOnEngines, TypedApostrophesReachTheDatabaseAsText)
{
    test::ScriptedMessages messages;

    frmSearch dialog(*db);
    dialog.Query = QStringLiteral("select UltraExamID, UltraExam from BUILD_FILE..tbcoultraexam "
                                  "where UltraExam like '##%' order by UltraExam");
    dialog.show();
    EXPECT_EQ(dialog.grdDispWindow->rowCount(), 6);
    QTest::keyClicks(dialog.txtSearchStr, QStringLiteral("KUB'"));
    EXPECT_EQ(dialog.grdDispWindow->rowCount(), 0);
    QTest::keyClick(dialog.txtSearchStr, Qt::Key_Backspace);
    EXPECT_EQ(dialog.grdDispWindow->rowCount(), 1);

    frmSearcher picker(*db);
    picker.show();
    EXPECT_EQ(picker.grdExam->rowCount(), 6);
    QTest::keyClicks(picker.txtSearch, QStringLiteral("THY"));
    ASSERT_EQ(picker.grdExam->rowCount(), 1);
    QTest::keyClick(picker.txtSearch, Qt::Key_Return);
    EXPECT_EQ(picker.pick().UltraExamName, QStringLiteral("THYROID ULTRASOUND"));
    EXPECT_FALSE(picker.pick().UltraExamID.isEmpty());
    EXPECT_TRUE(messages.shown().empty());
}

CHEMODESK_ENGINE_TESTS(SearchOnEngines);

TEST(UltrasoundPicker, SendsItsTwoTextsAndKeepsOrClearsThePick)
{
    test::ScriptedMessages messages;
    RecordingConnection db;
    const QString all = QStringLiteral(
        "select ultraexam as UtraExam, ultraexamid as UltraExamId from build_file..tbcoultraexam");
    const QString narrowed = QStringLiteral(
        "select ultraexam, ultraexamid from build_file..tbcoultraexam where ultraexam like'P''%'");
    db.answer(all, table({"UtraExam", "UltraExamId"},
                         {{"PELVIC ULTRASOUND", "3003"}, {"KUB ULTRASOUND", "3006"}}));
    db.answer(narrowed, table({"ultraexam", "ultraexamid"}, {{"P'S EXAM", "3999"}}));

    frmSearcher picker(db);
    picker.show();
    EXPECT_EQ(picker.grdExam->horizontalHeaderItem(0)->text(), QStringLiteral("Ultra Exam"));
    EXPECT_EQ(picker.grdExam->horizontalHeaderItem(1)->text(), QStringLiteral("Ultra ExamID"));
    EXPECT_EQ(picker.grdExam->rowCount(), 2);
    QTest::keyClicks(picker.txtSearch, QStringLiteral("P'"));
    EXPECT_EQ(db.texts().last(), narrowed);
    ASSERT_EQ(picker.grdExam->rowCount(), 1);
    picker.cmdSelect->click();
    EXPECT_EQ(picker.pick().UltraExamName, QStringLiteral("P'S EXAM"));
    EXPECT_EQ(picker.pick().UltraExamID, QStringLiteral("3999"));
    EXPECT_EQ(db.texts().first(), all);
    // Cancelled afterwards, the picker holds no pick.
    picker.reject();
    EXPECT_TRUE(picker.pick().UltraExamName.isEmpty());
    EXPECT_TRUE(picker.pick().UltraExamID.isEmpty());

    frmSearcher again(db);
    again.show();
    again.cmdCancel->click();
    EXPECT_TRUE(again.pick().UltraExamName.isEmpty());
    EXPECT_TRUE(again.pick().UltraExamID.isEmpty());
    EXPECT_EQ(again.result(), QDialog::Rejected);
}

} // namespace
