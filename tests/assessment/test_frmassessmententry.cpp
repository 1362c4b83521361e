// Assessment Entry against the demo hospital with the program's own
// components, driven by keys in the entry grid, the server clock fixed. The
// patient is O'CAMPO, NORMA (hospital number 1000018, admission 261018).

#include "assessment/frmassessmententry.h"
#include "charging/frmchargeslipno.h"
#include "charging/pricerules.h"
#include "database/forwardingconnection.h"
#include "packages/packagedialogs.h"
#include "session/globals.h"
#include "session/module1.h"
#include "support/chargeparts.h"
#include "support/enginetest.h"
#include "support/scriptedmessages.h"
#include "support/textrecorder.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

using namespace chemodesk;
using namespace chemodesk::assessment;
using Icon = widgets::MessageService::Icon;

namespace {

using chemodesk::testing::TextRecorder;

// A Tuesday of the demo, before five.
const QDateTime Weekday(QDate(2026, 12, 1), QTime(10, 0));

class AssessmentEntry : public test::EngineTest {
protected:
    void SetUp() override
    {
        session::resetGlobals();
        EngineTest::SetUp();
        if (!db)
            return;
        g.DbConnection = db.get();
        session::ReadHospitalInfoA(*db);
        session::ReadHospitalInfoB(*db);
        session::GetHospitalInfo(*db);
        parts = std::make_unique<test::ChargeParts>(*db);
        recorder = std::make_unique<TextRecorder>(*db);
    }
    void TearDown() override
    {
        screen.reset();
        session::resetGlobals();
        charging::rateSettings() = {};
    }

    void open(const QDateTime &at = Weekday)
    {
        screen.reset();
        db->setClockFixed(at);
        screen = std::make_unique<frmAssessmentEntry>(
            *recorder, parts->refs(),
            AssessmentPatient{QStringLiteral("261018"), QStringLiteral("1000018"),
                              QStringLiteral("I"), QStringLiteral("1005")});
        screen->show();
        grid = screen->grdTable;
    }
    void enter(const QString &text)
    {
        QTest::keyClicks(screen->txtEntry, text);
        QTest::keyClick(screen->txtEntry, Qt::Key_Return);
    }
    // Department, code, quantity and past the stat column.
    void line(const char *dept, const char *code, const char *quantity = "1")
    {
        enter(QLatin1String(dept));
        enter(QLatin1String(code));
        QTest::keyClick(screen->txtEntry, Qt::Key_Backspace);
        enter(QLatin1String(quantity));
        enter(QString());
    }
    QString cell(int row, int column) const { return grid->text(row, column); }
    // Saves and reads the number the slip-number dialog showed.
    QString saveAndReadNumber()
    {
        QString shown;
        messages.onDialog([&shown](QDialog &dialog) {
            shown = dynamic_cast<charging::frmChargeSlipNo &>(dialog).ChargeSlip();
            return int(QDialog::Accepted);
        });
        screen->cmdSave->click();
        return shown;
    }
    QStringList assessmentTexts() const
    {
        return recorder->texts.filter(QStringLiteral("spPatient_data_Assessment"));
    }

    test::ScriptedMessages messages;
    std::unique_ptr<test::ChargeParts> parts;
    std::unique_ptr<TextRecorder> recorder;
    std::unique_ptr<frmAssessmentEntry> screen;
    widgets::EntryGrid *grid = nullptr;
    session::Globals &g = session::globals();
};

TEST_P(AssessmentEntry, OpensWithThePatientTheGridAndTheDepartments)
{
    open();
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("Assessment Entry"));
    EXPECT_EQ(screen->txtIdnum->text(), QStringLiteral("261018"));
    EXPECT_EQ(screen->txtSname->text(), QStringLiteral("O'CAMPO, NORMA"));
    EXPECT_EQ(screen->txtDoctorID->text(), QStringLiteral("102"));
    EXPECT_EQ(screen->txtDoctor->text(), QStringLiteral("(PF) DR. SANTIAGO, MARIA LOURDES"));
    ASSERT_EQ(grid->columnCount(), assessColumnCount);
    const QStringList headers{"",      "Department", "Code",  "Particular",
                              "Price", "Quantity",   "Amount"};
    for (int c = 1; c < headers.size(); ++c)
        EXPECT_EQ(grid->horizontalHeaderItem(c)->text(), headers[c]) << c;
    EXPECT_EQ(grid->horizontalHeaderItem(colStat)->text(), QStringLiteral("Stat"));
    for (int hidden : {7, 8, 9, 10, 12, 13})
        EXPECT_TRUE(grid->isColumnHidden(hidden)) << hidden;
    EXPECT_FALSE(screen->chkStat->isChecked());
    EXPECT_TRUE(screen->lblMessageRates->text().isEmpty());
    EXPECT_TRUE(screen->grdRevenue->rowCount() > 5);
    EXPECT_FALSE(screen->cmdPackage->isEnabled()); // no package dialog handed in
    EXPECT_TRUE(messages.shown().empty()) << messages.lastText().toStdString();
}

TEST_P(AssessmentEntry, ExamsMedicinesAndQuantitiesArePricedAndTotalled)
{
    open();
    line("lb", "1001", "2");
    EXPECT_EQ(cell(1, colDept), QStringLiteral("LB"));
    EXPECT_EQ(cell(1, colParticular), QStringLiteral("COMPLETE BLOOD COUNT (CBC)"));
    EXPECT_EQ(cell(1, colPrice), QStringLiteral("350.00"));
    EXPECT_EQ(cell(1, colAmount), QStringLiteral("700.00"));
    EXPECT_EQ(cell(1, colStat), QStringLiteral("N"));
    line("ph", "10001", "10");
    EXPECT_EQ(cell(2, colDept), QStringLiteral("PH"));
    EXPECT_EQ(cell(2, colFlag), QStringLiteral("20"));
    EXPECT_EQ(screen->txtGross->text(),
              QString::number(700 + cell(2, colAmount).toDouble(), 'f', 2));
    EXPECT_EQ(grid->currentLine(), 3);

    // Refusals, each leaving the cursor where it was.
    enter(QStringLiteral("zz"));
    EXPECT_EQ(messages.lastText(), QStringLiteral("Invalid Code"));
    QTest::keyClick(screen->txtEntry, Qt::Key_Backspace);
    QTest::keyClick(screen->txtEntry, Qt::Key_Backspace);
    enter(QStringLiteral("lb"));
    enter(QStringLiteral("1001"));
    EXPECT_EQ(messages.lastText(), QStringLiteral("Exam already selected."));
    EXPECT_TRUE(cell(3, colCode).isEmpty());
    screen->txtEntry->clear();
    enter(QStringLiteral("1002"));
    for (const auto &[typed, text, icon, title] :
         {std::tuple{"x", "Invalid Quantity..", Icon::Critical, "Information"},
          std::tuple{"", "Input quantity.", Icon::Exclamation, ""}}) {
        screen->txtEntry->clear();
        enter(QLatin1String(typed));
        ASSERT_FALSE(messages.shown().empty());
        EXPECT_EQ(messages.shown().back().text, QLatin1String(text));
        EXPECT_EQ(messages.shown().back().icon, icon);
        if (*title) {
            EXPECT_EQ(messages.shown().back().title, QLatin1String(title));
        }
        EXPECT_EQ(grid->currentColumn(), colQuantity);
    }
}

TEST_P(AssessmentEntry, StockBeyondTheShelfIsRefusedAndTheQuantityReset)
{
    open();
    const double stock = db->Execute(QStringLiteral("SELECT OnHand FROM INVENTORY..tbinvent "
                                                    "WHERE ItemID = '10001' AND LocationID = '20'"))
                             .Fields(0)
                             .toDouble();
    enter(QStringLiteral("ph"));
    enter(QStringLiteral("10001"));
    QTest::keyClick(screen->txtEntry, Qt::Key_Backspace);
    enter(QString::number(stock + 1));
    EXPECT_TRUE(messages.lastText().startsWith(
        QStringLiteral("Available stockOnhand for this item is : (") + QString::number(stock) +
        QStringLiteral(") \r\n")));
    EXPECT_EQ(cell(1, colQuantity), QStringLiteral("1"));
    EXPECT_EQ(grid->currentColumn(), colQuantity);
}

TEST_P(AssessmentEntry, TheNinthItemIsRefused)
{
    open();
    for (int i = 1; i <= MaxItems; ++i)
        line("lb", qPrintable(QString::number(1000 + i)));
    EXPECT_EQ(grid->lineCount(), MaxItems);
    EXPECT_EQ(messages.lastText(), QStringLiteral("Data entry is limited to 8 items only."));
    EXPECT_EQ(screen->gridLines().size(), size_t(MaxItems));
}

TEST_P(AssessmentEntry, TwoSavesGiveConsecutiveNumbersDoctorZeroPassesAndQuotesAreDoubled)
{
    open();
    line("lb", "1001");
    screen->txtDoctorID->setText(QStringLiteral("0"));
    screen->txtDoctor->setText(QStringLiteral("DR. D'SOUZA"));
    EXPECT_EQ(saveAndReadNumber(), QStringLiteral("OC1015"));
    EXPECT_EQ(screen->result(), QDialog::Accepted);
    ASSERT_EQ(assessmentTexts().size(), 1);
    EXPECT_EQ(assessmentTexts().at(0),
              QStringLiteral("Patient_Data..spPatient_data_Assessment 'OC1015', 'O''CAMPO, NORMA', "
                             "'1001', 'LB', '1', '350', 'OC', '1005', '261018', '1000018', '0', "
                             "'DR. D''SOUZA', '', ''"));

    open();
    line("us", "3001");
    EXPECT_EQ(saveAndReadNumber(), QStringLiteral("OC1016"));
}

TEST_P(AssessmentEntry, RefusedSavesWriteNothing)
{
    open();
    screen->cmdSave->click();
    EXPECT_EQ(messages.lastText(), QStringLiteral("Cannot continue. No Data to save !"));
    line("lb", "1001");
    screen->txtDoctorID->setText(QStringLiteral("999"));
    screen->cmdSave->click();
    EXPECT_EQ(messages.lastText(), QStringLiteral("Please enter patient's requesting doctor"));
    EXPECT_EQ(messages.lastTitle(), QStringLiteral("Assessment"));
    EXPECT_TRUE(assessmentTexts().isEmpty());
    EXPECT_FALSE(screen->isHidden());
}

// Stat at opening: fixed holidays by month and day, weekend days by the
// hospital's code, only while surcharges are on.
TEST_P(AssessmentEntry, StatIsCheckedAtOpeningOnFixedHolidaysAndWeekends)
{
    struct Case {
        QDateTime at;
        const char *client;
        bool surcharges;
        bool stat;
    };
    const Case cases[] = {
        {QDateTime(QDate(2026, 12, 8), QTime(10, 0)), "MVMC", true, true},   // a Tuesday holiday
        {QDateTime(QDate(2027, 12, 8), QTime(10, 0)), "MVMC", true, true},   // the next year's
        {QDateTime(QDate(2027, 2, 6), QTime(10, 0)), "QXR", true, false},    // not a fixed one
        {QDateTime(QDate(2026, 12, 8), QTime(10, 0)), "MVMC", false, false}, // surcharges off
        {Weekday, "MVMC", true, false},
        {QDateTime(QDate(2026, 12, 5), QTime(10, 0)), "MVMC", true, true}, // Saturday
        {QDateTime(QDate(2026, 12, 5), QTime(10, 0)), "QXR", true, false},
        {QDateTime(QDate(2026, 12, 6), QTime(10, 0)), "QXR", true, true}, // Sunday
        {QDateTime(QDate(2026, 12, 6), QTime(10, 0)), "ZVT", true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.at.toString().toStdString() + " " + c.client);
        db->Execute(QStringLiteral("UPDATE HEMODIALYSIS..tbHemo_settings SET "
                                   "isAllowNewHemoStatRate = ") +
                    (c.surcharges ? QStringLiteral("1") : QStringLiteral("0")));
        g.ClientName = QLatin1String(c.client);
        open(c.at);
        EXPECT_EQ(screen->chkStat->isChecked(), c.stat);
    }
}

TEST_P(AssessmentEntry, StatAndTheHolidaySurchargePriceEveryExamAndTheBannerScrolls)
{
    open(QDateTime(QDate(2026, 12, 8), QTime(10, 0)));
    ASSERT_TRUE(screen->chkStat->isChecked());
    EXPECT_TRUE(
        screen->lblMessageRates->text().startsWith(QStringLiteral("Holiday Rate is activated.")));
    const QString banner = screen->lblMessageRates->text();
    EXPECT_EQ(scrollBanner(banner), banner.mid(1) + banner.at(0));
    line("lb", "1001");
    // 350 with the holiday's 30%, then stat's 25%.
    EXPECT_EQ(cell(1, colPrice), QStringLiteral("568.75"));
    EXPECT_EQ(cell(1, colStat), QStringLiteral("Y"));
    screen->chkStat->click();
    EXPECT_EQ(cell(1, colPrice), QStringLiteral("455.00"));
    EXPECT_EQ(cell(1, colStat), QStringLiteral("N"));
    EXPECT_EQ(screen->txtGross->text(), QStringLiteral("455.00"));
}

TEST_P(AssessmentEntry, APackageAppliedIsSavedWithEveryRowAndWithoutOneTheValueIsEmpty)
{
    open();
    QString typeAsked;
    screen->setPackageDialog([&](widgets::EntryGrid &target, const QString &type, QWidget *) {
        typeAsked = type;
        target.setText(1, colDept, QStringLiteral("LB"));
        target.setText(1, colCode, QStringLiteral("1007"));
        target.setText(1, colParticular, QStringLiteral("CREATININE"));
        target.setText(1, colPrice, QStringLiteral("200.00"));
        target.setText(1, colQuantity, QStringLiteral("1"));
        target.setText(1, colAmount, QStringLiteral("200.00"));
        return QStringLiteral("PKG0002");
    });
    ASSERT_TRUE(screen->cmdPackage->isEnabled());
    screen->cmdPackage->click();
    EXPECT_EQ(typeAsked, QStringLiteral("Assessment"));
    EXPECT_FALSE(screen->fraExams->isEnabled());
    EXPECT_EQ(screen->txtGross->text(), QStringLiteral("200.00"));
    saveAndReadNumber();
    ASSERT_EQ(assessmentTexts().size(), 1);
    EXPECT_TRUE(assessmentTexts().at(0).endsWith(QStringLiteral("'', 'PKG0002'")))
        << assessmentTexts().at(0).toStdString();

    open();
    line("lb", "1001");
    saveAndReadNumber();
    ASSERT_EQ(assessmentTexts().size(), 2);
    EXPECT_TRUE(assessmentTexts().at(1).endsWith(QStringLiteral("'', ''")));
}

TEST_P(AssessmentEntry, TheHospitalsPackageDialogFillsTheGridAndNamesThePackage)
{
    open();
    screen->setPackageDialog(opdPackageDialog(*db));
    QString chosen;
    messages.onDialog([&chosen](QDialog &dialog) {
        auto &pick = dynamic_cast<packages::frmOPDPackage &>(dialog);
        EXPECT_EQ(pick.ChargesType(), QStringLiteral("Assessment"));
        pick.choosePackage(0);
        chosen = pick.mshflexPackage->item(0, 0)->text().trimmed();
        pick.apply();
        return pick.result();
    });
    screen->cmdPackage->click();
    EXPECT_FALSE(chosen.isEmpty());
    EXPECT_EQ(screen->packageCode(), chosen);
    EXPECT_FALSE(screen->fraExams->isEnabled());
    ASSERT_FALSE(screen->gridLines().empty());
    EXPECT_GT(screen->txtGross->text().toDouble(), 0.0);
    saveAndReadNumber();
    ASSERT_EQ(assessmentTexts().size(), screen->gridLines().size());
    EXPECT_TRUE(assessmentTexts().back().endsWith(QStringLiteral(", '") + screen->packageCode() +
                                                  QStringLiteral("'")));
}

TEST_P(AssessmentEntry, SaveAndPrintDumpsTheLinesAndPrintsTheSlip)
{
    open();
    line("lb", "1001");
    std::vector<charging::SlipPrint> printed;
    screen->setSlipPrinter(
        [&printed](const charging::SlipPrint &print, QWidget *) { printed.push_back(print); });
    screen->cmdSavePrint->click();
    ASSERT_EQ(printed.size(), size_t(1));
    EXPECT_EQ(printed[0].parameters.at(0).toString(), QStringLiteral("OC1015 Assessment Slip :"));
    EXPECT_EQ(printed[0].parameters.at(2).toString(), QStringLiteral("HD"));
    EXPECT_EQ(printed[0].caption, QStringLiteral("Print ChargeSlip"));
    EXPECT_EQ(recorder->texts.filter(QStringLiteral("DumpChargeSlip 'LB1001'")).size(), 2);
    EXPECT_EQ(screen->result(), QDialog::Accepted);
}

TEST_P(AssessmentEntry, DeleteAsksAndTakesTheRowAway)
{
    open();
    screen->cmdDelete->click();
    EXPECT_EQ(messages.lastText(),
              QStringLiteral("Row cannot be deleted because there are no entries yet."));
    line("lb", "1001");
    line("lb", "1002");
    grid->PutTextBox(colDept, 1);
    messages.answer(QMessageBox::No);
    screen->cmdDelete->click();
    EXPECT_EQ(messages.lastText(), QStringLiteral("Are you sure to delete the request?"));
    EXPECT_EQ(grid->lineCount(), 3);
    screen->cmdDelete->click();
    EXPECT_EQ(cell(1, colCode), QStringLiteral("1002"));
    EXPECT_EQ(screen->txtGross->text(), QStringLiteral("200.00"));
}

CHEMODESK_ENGINE_TESTS(AssessmentEntry);

TEST(StatDays, ByTheHospitalsCode)
{
    EXPECT_TRUE(statDay(QStringLiteral("QXR"), QStringLiteral("Sunday")));
    EXPECT_FALSE(statDay(QStringLiteral("QXR"), QStringLiteral("Saturday")));
    EXPECT_TRUE(statDay(QStringLiteral("ZVT"), QStringLiteral("Saturday")));
    EXPECT_FALSE(statDay(QStringLiteral("ZVT"), QStringLiteral("Sunday")));
    EXPECT_TRUE(statDay(QStringLiteral("MVMC"), QStringLiteral("Sunday")));
    EXPECT_FALSE(statDay(QStringLiteral("MVMC"), QStringLiteral("Friday")));
}

} // namespace
