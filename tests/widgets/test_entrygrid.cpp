// The shared entry grid on its own, configured as a small screen would:
// five columns, one exempt, Enter rules as callbacks, driven by keys.

#include "platform/keyfilter.h"
#include "widgets/entrygrid.h"
#include "widgets/gridformat.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace chemodesk;
using widgets::EntryGrid;
using widgets::GridColumn;
using widgets::KeyClass;

namespace {

// Counts the keys it was asked about, so a test sees the filter is used.
class CountingKeys : public platform::KeyFilter {
public:
    int AllUppers(int keyCode) override
    {
        ++asked;
        return QChar(keyCode).toUpper().unicode();
    }
    int asked = 0;
};

enum { Code = 1, Name = 2, Qty = 3, Price = 4, Remark = 5 };

class EntryGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<QWidget>();
        prompt = new QLabel(window.get());
        grid = new EntryGrid(&keys, window.get());
        grid->setGeometry(0, 30, 700, 300);
        grid->setPromptLabel(prompt);
        grid->setCodeColumns(Code, {Remark});
        grid->setRequiredColumns({Code, Qty});
        EntryGrid::Rules rules;
        rules.onEnter = [this](int line, int column, const QString &text) {
            entered.append(QStringLiteral("%1:%2:%3").arg(line).arg(column).arg(text));
            if (text == QLatin1String("BAD"))
                return EntryGrid::Enter::Stay;
            grid->setText(line, column, text);
            if (column == Code)
                grid->setText(line, Name, QStringLiteral("NAME OF ") + text);
            return EntryGrid::Enter::Next;
        };
        rules.onDeleteKey = [this] { ++deleteKeys; };
        grid->setRules(rules);
        grid->setColumns(QStringLiteral("<# |<Code |<Name   |>Qty |>Price |<Remark"),
                         {{{}, 300, 0, KeyClass::NotTyped, {}, false},
                          {{}, 900, 6, KeyClass::Upper, QStringLiteral("Type the code"), true},
                          {{}, 3000, 20, KeyClass::NotTyped, {}, true},
                          {{}, 900, 0, KeyClass::Digits, QStringLiteral("Type the quantity"), true},
                          {{}, 900, 0, KeyClass::Decimal, {}, true},
                          {{}, 1500, 10, KeyClass::Any, {}, true}});
        grid->setExemptColumns({Name});
        window->resize(720, 340);
        window->show();
        box = grid->txtEntry;
    }

    void type(const QString &text) { QTest::keyClicks(box, text); }
    void key(Qt::Key k) { QTest::keyClick(box, k); }
    // Fills the current line from its code column: code, quantity, remark.
    void fillLine(const QString &code, const QString &qty, const QString &remark = {})
    {
        type(code);
        key(Qt::Key_Return);
        type(qty);
        key(Qt::Key_Return);
        key(Qt::Key_Return); // price left empty
        type(remark);
        key(Qt::Key_Return);
    }
    QStringList column(int c) const
    {
        QStringList out;
        for (int line = 1; line <= grid->lineCount(); ++line)
            out << grid->text(line, c);
        return out;
    }

    CountingKeys keys;
    std::unique_ptr<QWidget> window;
    QLabel *prompt = nullptr;
    EntryGrid *grid = nullptr;
    QLineEdit *box = nullptr;
    QStringList entered;
    int deleteKeys = 0;
};

TEST(GridFormat, ParsesHeadersAndAlignments)
{
    const auto columns = widgets::parseFormatString(QStringLiteral("<# |^Mid|>Right |Plain"));
    ASSERT_EQ(columns.size(), 4);
    EXPECT_EQ(columns[0].header, QStringLiteral("# "));
    EXPECT_EQ(columns[1].alignment, Qt::AlignHCenter | Qt::AlignVCenter);
    EXPECT_EQ(columns[2].header, QStringLiteral("Right "));
    EXPECT_EQ(columns[2].alignment, Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(columns[3].header, QStringLiteral("Plain"));
    EXPECT_EQ(widgets::twipsToPixels(1500), 100);
}

TEST_F(EntryGridTest, OpensOnLineOneCodeColumnWithItsPrompt)
{
    EXPECT_EQ(grid->lineCount(), 1);
    EXPECT_EQ(grid->text(1, 0), QStringLiteral("1"));
    EXPECT_EQ(grid->currentLine(), 1);
    EXPECT_EQ(grid->currentColumn(), Code);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(prompt->text(), QStringLiteral("Type the code"));
    EXPECT_EQ(grid->horizontalHeaderItem(Qty)->text(), QStringLiteral("Qty"));
    EXPECT_EQ(grid->columnWidth(Name), 200);
}

TEST_F(EntryGridTest, ArrowsHomeAndEndSkipExemptColumns)
{
    EXPECT_TRUE(grid->ExcemptCol(Name));
    EXPECT_FALSE(grid->ExcemptCol(Qty));
    key(Qt::Key_Right);
    EXPECT_EQ(grid->currentColumn(), Qty);
    EXPECT_EQ(prompt->text(), QStringLiteral("Type the quantity"));
    key(Qt::Key_Left);
    EXPECT_EQ(grid->currentColumn(), Code);
    key(Qt::Key_Left); // nothing left of the first column
    EXPECT_EQ(grid->currentColumn(), Code);
    key(Qt::Key_End);
    EXPECT_EQ(grid->currentColumn(), Remark);
    key(Qt::Key_Right);
    EXPECT_EQ(grid->currentColumn(), Remark);
    key(Qt::Key_Home);
    EXPECT_EQ(grid->currentColumn(), Code);
    // The exempt column cannot be reached by PutTextBox either.
    EXPECT_FALSE(grid->PutTextBox(Name, 1));
    EXPECT_EQ(grid->currentColumn(), Code);
}

TEST_F(EntryGridTest, KeysFollowTheColumnsKeyClassAndMaximumLength)
{
    type(QStringLiteral("ab1cdefgh"));
    EXPECT_EQ(box->text(), QStringLiteral("AB1CDE"));
    EXPECT_GE(keys.asked, 6);
    key(Qt::Key_Right);
    // A refused point also holds back the digits after it: "2.5" must never
    // become 25.
    QSignalSpy refused(grid, &EntryGrid::keyRefused);
    type(QStringLiteral("2.5x"));
    EXPECT_EQ(box->text(), QStringLiteral("2"));
    EXPECT_EQ(refused.count(), 3);
    EXPECT_EQ(prompt->text(), QStringLiteral("Only whole numbers can be typed here: "
                                             "delete the number and type it again."));
    key(Qt::Key_Backspace);
    EXPECT_EQ(box->text(), QString());
    type(QStringLiteral("3"));
    EXPECT_EQ(box->text(), QStringLiteral("3"));
    EXPECT_EQ(refused.count(), 3);
    key(Qt::Key_Right);
    type(QStringLiteral("1.2.3a"));
    EXPECT_EQ(box->text(), QStringLiteral("1.23"));
    EXPECT_EQ(refused.count(), 5);
    EXPECT_EQ(prompt->text(), QStringLiteral("Only digits and one decimal point can be typed "
                                             "here."));
    key(Qt::Key_Right);
    type(QStringLiteral("free text"));
    EXPECT_EQ(box->text(), QStringLiteral("free text"));
    // Moving away without Enter leaves the cells as they were.
    EXPECT_TRUE(column(Code).join(QString()).isEmpty());
}

TEST_F(EntryGridTest, EnterRunsTheRuleThenMovesOnAndAddsALineAfterTheLastColumn)
{
    fillLine(QStringLiteral("a1"), QStringLiteral("3"), QStringLiteral("x"));
    EXPECT_EQ(entered, QStringList({"1:1:A1", "1:3:3", "1:4:", "1:5:x"}));
    EXPECT_EQ(grid->text(1, Name), QStringLiteral("NAME OF A1"));
    ASSERT_EQ(grid->lineCount(), 2);
    EXPECT_EQ(column(0), QStringList({"1", "2"}));
    EXPECT_EQ(grid->currentLine(), 2);
    EXPECT_EQ(grid->currentColumn(), Code);
    EXPECT_TRUE(grid->CompleteRow(1));
    EXPECT_FALSE(grid->CompleteRow(2));
}

TEST_F(EntryGridTest, StayKeepsTheBoxOnTheCellWithWhatWasTyped)
{
    type(QStringLiteral("bad"));
    key(Qt::Key_Return);
    EXPECT_EQ(grid->currentColumn(), Code);
    EXPECT_EQ(box->text(), QStringLiteral("BAD"));
    EXPECT_EQ(grid->text(1, Code), QString());
}

TEST_F(EntryGridTest, AnIncompleteLineGetsNoNewLine)
{
    type(QStringLiteral("c1"));
    key(Qt::Key_Return);
    key(Qt::Key_Return); // no quantity
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    EXPECT_EQ(grid->lineCount(), 1);
    EXPECT_EQ(grid->currentColumn(), Remark);
    EXPECT_FALSE(grid->AddRow());
    EXPECT_FALSE(grid->nextLine());
    EXPECT_EQ(grid->lineCount(), 1);
}

TEST_F(EntryGridTest, UpAndDownStayInsideTheLines)
{
    fillLine(QStringLiteral("a1"), QStringLiteral("1"));
    fillLine(QStringLiteral("a2"), QStringLiteral("1"));
    ASSERT_EQ(grid->lineCount(), 3);
    key(Qt::Key_Down);
    EXPECT_EQ(grid->currentLine(), 3);
    key(Qt::Key_Right);
    key(Qt::Key_Up);
    EXPECT_EQ(grid->currentLine(), 2);
    EXPECT_EQ(grid->currentColumn(), Qty);
    EXPECT_EQ(box->text(), QStringLiteral("1"));
    key(Qt::Key_Up);
    key(Qt::Key_Up);
    EXPECT_EQ(grid->currentLine(), 1);
}

TEST_F(EntryGridTest, DeleteRowRenumbersAndEmptiesTheOnlyLine)
{
    fillLine(QStringLiteral("a1"), QStringLiteral("1"));
    fillLine(QStringLiteral("a2"), QStringLiteral("2"));
    fillLine(QStringLiteral("a3"), QStringLiteral("3"));
    ASSERT_EQ(grid->lineCount(), 4);
    int changes = 0;
    QObject::connect(grid, &EntryGrid::linesChanged, [&changes] { ++changes; });
    grid->PutTextBox(Qty, 2);
    grid->DeleteRow();
    EXPECT_EQ(column(0), QStringList({"1", "2", "3"}));
    EXPECT_EQ(column(Code), QStringList({"A1", "A3", ""}));
    EXPECT_EQ(grid->currentLine(), 2);
    EXPECT_EQ(grid->currentColumn(), Qty);
    EXPECT_EQ(box->text(), QStringLiteral("3"));
    EXPECT_EQ(changes, 1);

    grid->resetLines();
    type(QStringLiteral("z9"));
    key(Qt::Key_Return);
    grid->DeleteRow();
    EXPECT_EQ(grid->lineCount(), 1);
    EXPECT_EQ(grid->text(1, 0), QStringLiteral("1"));
    EXPECT_EQ(grid->text(1, Code), QString());
    EXPECT_FALSE(grid->QualifiedRow(1));
}

TEST_F(EntryGridTest, CheckCodeFindsTheCodeOnAnotherLineWithTheSameGroup)
{
    fillLine(QStringLiteral("a1"), QStringLiteral("1"), QStringLiteral("g1"));
    fillLine(QStringLiteral("a2"), QStringLiteral("1"), QStringLiteral("g1"));
    EXPECT_TRUE(grid->Check_Code(QStringLiteral("a1 "), 2)); // trimmed, any case
    EXPECT_FALSE(grid->Check_Code(QStringLiteral("A1"), 1)); // its own line does not count
    EXPECT_FALSE(grid->Check_Code(QStringLiteral("A9"), 2));
    EXPECT_FALSE(grid->Check_Code(QString(), 2));
    grid->setText(2, Remark, QStringLiteral("g2"));
    EXPECT_FALSE(grid->Check_Code(QStringLiteral("A1"), 2));
}

TEST_F(EntryGridTest, F3GoesToTheScreensDeleteAndClicksPlaceTheBox)
{
    key(Qt::Key_F3);
    EXPECT_EQ(deleteKeys, 1);
    fillLine(QStringLiteral("a1"), QStringLiteral("4"));
    const QRect qty = grid->visualRect(grid->model()->index(0, Qty));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, qty.center());
    EXPECT_EQ(grid->currentLine(), 1);
    EXPECT_EQ(grid->currentColumn(), Qty);
    EXPECT_EQ(box->text(), QStringLiteral("4"));
    EXPECT_EQ(box->geometry().top(), qty.top());
    const QRect name = grid->visualRect(grid->model()->index(1, Name));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, name.center());
    EXPECT_EQ(grid->currentLine(), 1);
    EXPECT_EQ(grid->currentColumn(), Qty);
}

TEST_F(EntryGridTest, LineRulesSetTheExemptColumnsOfTheLineTheBoxMovesTo)
{
    // Lines whose code starts with "F" skip the quantity.
    EntryGrid::Rules rules;
    rules.onLineEntered = [this](int line) {
        grid->setExemptColumns(grid->text(line, Code).startsWith(QLatin1Char('F'))
                                   ? QList<int>{Name, Qty}
                                   : QList<int>{Name});
    };
    grid->setRules(rules);
    grid->setText(1, Code, QStringLiteral("F1"));
    grid->setText(1, Qty, QStringLiteral("1"));
    ASSERT_TRUE(grid->AddRow());
    grid->PutTextBox(Qty, 2);
    EXPECT_EQ(grid->currentColumn(), Qty);
    key(Qt::Key_Up); // quantity is exempt on line 1: the box goes to its first column
    EXPECT_EQ(grid->currentLine(), 1);
    EXPECT_EQ(grid->currentColumn(), Code);
    key(Qt::Key_Right);
    EXPECT_EQ(grid->currentColumn(), Price);
    EXPECT_EQ(grid->columnSum(Qty), 1.0);
}

} // namespace
