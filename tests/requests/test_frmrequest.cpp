// The examination order lists against the demo build files, driven by keys
// in the entry grid with the program's own code search component.

#include "components/itemlookup.h"
#include "components/keyaid.h"
#include "requests/frmrequest.h"
#include "support/enginetest.h"
#include "support/recordingconnection.h"
#include "support/scriptedmessages.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace chemodesk;
using requests::ExamOrder;
using requests::frmRequest;
using Icon = widgets::MessageService::Icon;

namespace {

class ExamOrders : public test::EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (db)
            lookup = std::make_unique<components::ItemLookup>(*db);
    }

    void open(const char *department, const char *rateClass, QStringList ordersList = {})
    {
        screen.reset();
        screen = std::make_unique<frmRequest>(*db, requests::ExamOrderComponents{*lookup, &keys},
                                              QLatin1String(department), QLatin1String(rateClass),
                                              std::move(ordersList));
        screen->show();
        box = screen->txtEntry;
        grid = screen->mshflexEntry;
    }
    void enter(const QString &text)
    {
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    // The line as code|description|qty|amount|section|stat|remarks.
    QString line(int n) const
    {
        QStringList cells;
        for (int column = 1; column <= 7; ++column)
            cells << grid->text(n, column);
        return cells.join(QLatin1Char('|'));
    }
    // The pick list takes its row `row`.
    void pickRow(int row)
    {
        messages.onDialog([row](QDialog &shown) {
            shown.findChild<QTableView *>()->selectRow(row);
            shown.accept();
            return shown.result();
        });
    }

    test::ScriptedMessages messages;
    components::KeyAid keys;
    std::unique_ptr<components::ItemLookup> lookup;
    std::unique_ptr<frmRequest> screen;
    widgets::EntryGrid *grid = nullptr;
    QLineEdit *box = nullptr;
};

TEST_P(ExamOrders, ALaboratoryLineIsPricedAtTheRateClassAndHandedBack)
{
    open("LB", "C");
    EXPECT_EQ(screen->txtDept->text(), QStringLiteral("LB"));
    EXPECT_EQ(screen->lblMessage->text(),
              QStringLiteral("Type the Examination Code or First Letter(s) of the Examination "
                             "name then Press the <Enter> Key"));
    enter(QStringLiteral("1001"));
    EXPECT_EQ(line(1), QStringLiteral("1001|COMPLETE BLOOD COUNT (CBC)|1|420.00|HE|N|"));
    EXPECT_EQ(grid->currentColumn(), frmRequest::colQuantity);

    // The amount follows the quantity from the class rate, however often it is typed.
    enter(QStringLiteral("2"));
    EXPECT_EQ(grid->text(1, frmRequest::colAmount), QStringLiteral("840.00"));
    QTest::keyClick(box, Qt::Key_Left);
    ASSERT_EQ(grid->currentColumn(), frmRequest::colQuantity);
    enter(QStringLiteral("3"));
    EXPECT_EQ(grid->text(1, frmRequest::colAmount), QStringLiteral("1260.00"));
    EXPECT_EQ(screen->lblMessage->text(),
              QStringLiteral("Type [Y]-YES if the Exam. is STAT and [N]-NO if it is Routine"));
    enter(QStringLiteral("x")); // neither Y nor N: stays
    EXPECT_EQ(grid->currentColumn(), frmRequest::colStat);
    enter(QStringLiteral("y"));
    EXPECT_EQ(screen->lblMessage->text(), QStringLiteral("Type additional Remarks....."));
    enter(QStringLiteral("fasting"));
    EXPECT_EQ(grid->lineCount(), 2);
    EXPECT_EQ(grid->currentLine(), 2);

    // A second line by name: the pick list of laboratory examinations.
    pickRow(0);
    enter(QStringLiteral("crea"));
    EXPECT_EQ(line(2), QStringLiteral("1007|CREATININE|1|265.00|CH|N|"));
    EXPECT_TRUE(messages.shown().empty());

    screen->cmdOK->click();
    EXPECT_EQ(screen->result(), QDialog::Accepted);
    const std::vector<ExamOrder> expected = {
        {QStringLiteral("1001"), QStringLiteral("COMPLETE BLOOD COUNT (CBC)"), QStringLiteral("3"),
         QStringLiteral("1260.00"), QStringLiteral("HE"), QStringLiteral("Y"),
         QStringLiteral("FASTING")},
        {QStringLiteral("1007"), QStringLiteral("CREATININE"), QStringLiteral("1"),
         QStringLiteral("265.00"), QStringLiteral("CH"), QStringLiteral("N"), QString()}};
    EXPECT_EQ(screen->orders(), expected);
}

TEST_P(ExamOrders, TheSameExaminationIsRefusedInTheGridAndAgainstTheOrdersList)
{
    open("LB", "A", {QStringLiteral(" 1002 ")});
    enter(QStringLiteral("1001"));
    for (int i = 0; i < 3; ++i)
        enter(QString()); // quantity, stat, remarks: on to line 2
    ASSERT_EQ(grid->currentLine(), 2);

    struct Case {
        const char *typed;
        const char *message;
        const char *title;
    };
    const Case cases[] = {
        {"1001", "Can't Request the Same Examination!", "Message"},
        {"1002", "Examination is already in the Orders List!", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        messages.clear();
        enter(QLatin1String(c.typed));
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.lastText(), QLatin1String(c.message));
        const QString title = QLatin1String(c.title);
        EXPECT_EQ(messages.lastTitle(), title.isEmpty() ? widgets::defaultTitle() : title);
        EXPECT_EQ(messages.shown().back().icon, Icon::Exclamation);
        EXPECT_TRUE(box->text().isEmpty());
        EXPECT_EQ(grid->currentColumn(), frmRequest::colCode);
        EXPECT_TRUE(grid->text(2, frmRequest::colCode).isEmpty());
    }
    // Neither refusal touched the first line; a new code still goes in.
    enter(QStringLiteral("1003"));
    EXPECT_EQ(grid->text(2, frmRequest::colCode), QStringLiteral("1003"));
    EXPECT_EQ(screen->orders().size(), 2u);
}

TEST_P(ExamOrders, XRayAndUltrasoundByCodeAndByName)
{
    open("XR", "E");
    pickRow(1);
    enter(QStringLiteral("chest"));
    EXPECT_EQ(line(1), QStringLiteral("2002|CHEST PA / LATERAL|1|1050.00||N|"));

    open("US", "B");
    enter(QStringLiteral("3001"));
    EXPECT_EQ(line(1), QStringLiteral("3001|WHOLE ABDOMEN ULTRASOUND|1|3080.00||N|"));
    for (int i = 0; i < 3; ++i)
        enter(QString());
    pickRow(0);
    enter(QStringLiteral("thyroid"));
    EXPECT_EQ(line(2), QStringLiteral("3004|THYROID ULTRASOUND|1|1760.00||N|"));
    // Nothing chosen: the code stays typed for another try.
    messages.onDialog([](QDialog &) { return int(QDialog::Rejected); });
    for (int i = 0; i < 3; ++i)
        enter(QString());
    enter(QStringLiteral("KUB"));
    EXPECT_EQ(grid->currentColumn(), frmRequest::colCode);
    EXPECT_EQ(box->text(), QStringLiteral("KUB"));
    EXPECT_TRUE(grid->text(3, frmRequest::colCode).isEmpty());
    EXPECT_TRUE(messages.shown().empty());
}

TEST_P(ExamOrders, DeletingAsksFirstAndAnEmptyLineCannotBeDeleted)
{
    open("LB", "A");
    screen->cmdDelete->click();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.lastText(),
              QStringLiteral("Row cannot be deleted because there are no entries yet."));
    EXPECT_EQ(messages.lastTitle(), QStringLiteral("MESSAGE"));

    enter(QStringLiteral("1001"));
    for (int i = 0; i < 3; ++i)
        enter(QString());
    enter(QStringLiteral("1002"));
    QTest::keyClick(box, Qt::Key_Up);
    ASSERT_EQ(grid->currentLine(), 1);

    messages.clear();
    messages.answer(QMessageBox::No);
    screen->cmdDelete->click();
    EXPECT_EQ(messages.lastText(), QStringLiteral("Are you sure to delete the request?"));
    EXPECT_EQ(grid->text(1, frmRequest::colCode), QStringLiteral("1001"));

    QTest::keyClick(box, Qt::Key_F3); // F3 deletes too; the default answer is Yes
    EXPECT_EQ(grid->text(1, frmRequest::colCode), QStringLiteral("1002"));
    EXPECT_EQ(grid->text(1, 0), QStringLiteral("1"));
    // The only line left is emptied, not removed.
    screen->cmdDelete->click();
    EXPECT_EQ(grid->lineCount(), 1);
    EXPECT_TRUE(grid->text(1, frmRequest::colCode).isEmpty());
    EXPECT_TRUE(screen->orders().empty());
}

CHEMODESK_ENGINE_TESTS(ExamOrders);

// Ultrasound codes are read with the section's own text, the code as a value.
TEST(ExamOrderTexts, AnUltrasoundCodeIsReadByItsText)
{
    test::ScriptedMessages messages;
    chemodesk::testing::RecordingConnection connection;
    const QString text =
        QStringLiteral("select * from build_file..tbcoultraexam where ultraexamid = '3''001'");
    connection.answer(text, chemodesk::testing::table(
                                {QStringLiteral("ultraexamid"), QStringLiteral("Ultraexam"),
                                 QStringLiteral("RateA"), QStringLiteral("RateD")},
                                {{QStringLiteral("3'001"), QStringLiteral("ODD"), 100.0, 130.0}}));
    components::ItemLookup lookup(connection);
    frmRequest screen(connection, {lookup, nullptr}, QStringLiteral("us"), QStringLiteral(" d "),
                      {});
    screen.show();
    QTest::keyClicks(screen.txtEntry, QStringLiteral("3'001"));
    QTest::keyClick(screen.txtEntry, Qt::Key_Return);
    ASSERT_FALSE(connection.texts().isEmpty());
    EXPECT_EQ(connection.texts().front(), text);
    EXPECT_EQ(screen.rateClass(), QStringLiteral("D"));
    EXPECT_EQ(screen.mshflexEntry->text(1, frmRequest::colAmount), QStringLiteral("130.00"));
}

} // namespace
