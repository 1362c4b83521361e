// The surcharge settings screen: which boxes each surcharge opens, the order
// the rates are checked in, the save call, and a save read back on every
// engine.

#include "charging/frmopdsettings.h"
#include "charging/pricerules.h"
#include "support/enginetest.h"
#include "support/recordingconnection.h"
#include "support/scriptedmessages.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimeEdit>

#include <gtest/gtest.h>

using namespace chemodesk;
using charging::frmOPDsettings;
using charging::RateSettings;
using chemodesk::testing::RecordingConnection;

namespace {

std::vector<QLineEdit *> rateBoxes(const frmOPDsettings &s)
{
    return {s.txtStatRate,         s.txtHolidayRate,    s.txtAfterFivePmRate, s.txtWeekendRate,
            s.txtHolidayAfterFive, s.txtHolidayWeekend, s.txtStatAfterFive,   s.txtStatWeekend,
            s.txtAfterFiveWeekend, s.txtMaximumRate};
}

// The object names of the enabled rate boxes.
QStringList enabled(const frmOPDsettings &s)
{
    QStringList out;
    for (QLineEdit *box : rateBoxes(s))
        if (box->isEnabled())
            out << box->objectName();
    return out;
}

TEST(OpdSettingsScreen, EachSurchargeOpensItsBoxesAndTheCombinationsItCompletes)
{
    test::ScriptedMessages messages;
    RecordingConnection db;
    RateSettings settings;
    frmOPDsettings screen(db, settings);
    screen.show();
    EXPECT_EQ(screen.windowTitle(), QStringLiteral("System's Settings"));
    EXPECT_TRUE(enabled(screen).isEmpty());
    EXPECT_FALSE(screen.dtStartTime->isEnabled());

    screen.chkHolidayRate->click();
    EXPECT_EQ(enabled(screen), QStringList{"txtHolidayRate"});
    screen.chkAfterFivePmRate->click();
    EXPECT_EQ(enabled(screen),
              (QStringList{"txtHolidayRate", "txtAfterFivePmRate", "txtHolidayAfterFive"}));
    EXPECT_TRUE(screen.optChemOnly->isEnabled());
    screen.chkWeekendRate->click();
    EXPECT_EQ(enabled(screen),
              (QStringList{"txtHolidayRate", "txtAfterFivePmRate", "txtWeekendRate",
                           "txtHolidayAfterFive", "txtHolidayWeekend", "txtAfterFiveWeekend",
                           "txtMaximumRate"}));
    EXPECT_TRUE(screen.dtEndTime2->isEnabled());
    screen.chkOPStatRate->click();
    EXPECT_EQ(enabled(screen).size(), 10);

    for (QLineEdit *box : rateBoxes(screen))
        box->setText(QStringLiteral("9"));
    // Clearing the holiday rate closes and zeroes every box it is part of.
    screen.chkHolidayRate->click();
    EXPECT_EQ(enabled(screen),
              (QStringList{"txtStatRate", "txtAfterFivePmRate", "txtWeekendRate",
                           "txtStatAfterFive", "txtStatWeekend", "txtAfterFiveWeekend"}));
    QStringList values;
    for (QLineEdit *box : rateBoxes(screen))
        values << box->text();
    EXPECT_EQ(values, (QStringList{"9", "0", "9", "9", "0", "0", "9", "9", "9", "0"}));
    // The daily time rate has nowhere to be kept.
    EXPECT_FALSE(screen.chkDailytime->isEnabled());
    EXPECT_FALSE(screen.txtDailyTime->isEnabled());
}

TEST(OpdSettingsScreen, RatesAreCheckedInOrderAndTheSaveCallIsExact)
{
    test::ScriptedMessages messages;
    RecordingConnection db;
    RateSettings settings;
    frmOPDsettings screen(db, settings);
    screen.show();
    QApplication::setActiveWindow(&screen);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));
    db.clearRecord();
    for (QCheckBox *box : {screen.chkOPStatRate, screen.chkHolidayRate, screen.chkAfterFivePmRate,
                           screen.chkWeekendRate})
        box->click();
    const std::pair<QLineEdit *, const char *> order[] = {
        {screen.txtStatRate, "Please enter a valid Stat rate."},
        {screen.txtHolidayRate, "Please enter a valid Holiday rate."},
        {screen.txtAfterFivePmRate, "Please enter a valid After 5PM rate."},
        {screen.txtHolidayAfterFive,
         "Please enter a valid rate for a combination of Holiday and After 5PM."},
        {screen.txtStatAfterFive,
         "Please enter a valid rate for a combination of Stat and After 5PM."},
        {screen.txtWeekendRate, "Please enter a valid Weekend rate."},
        {screen.txtStatWeekend, "Please enter a valid rate for a combination of Stat and Weekend."},
        {screen.txtHolidayWeekend,
         "Please enter a valid rate for a combination of Holiday and Weekend."},
        {screen.txtAfterFiveWeekend,
         "Please enter a valid rate for a combination of Weekend and After 5PM."},
        {screen.txtMaximumRate, "Please enter a valid rate for the maximum rate."},
    };
    const char *const bad[] = {"", "abc", "-5", "1..2", " ", "x", "5%", "-0.1", "--", "?"};
    for (size_t i = 0; i < std::size(order); ++i)
        order[i].first->setText(QLatin1String(bad[i]));
    for (size_t i = 0; i < std::size(order); ++i) {
        messages.clear();
        screen.cmdSaveSettings->click();
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.lastText(), QLatin1String(order[i].second));
        EXPECT_EQ(messages.lastTitle(), QStringLiteral("Warning"));
        EXPECT_TRUE(order[i].first->hasFocus()) << order[i].second;
        order[i].first->setText(QString::number(i * 5));
    }
    EXPECT_TRUE(db.texts().isEmpty());

    // Weekend off: its boxes go to "0" and are no longer checked.
    screen.chkWeekendRate->click();
    screen.txtStatRate->setText(QStringLiteral(" 12.5 "));
    screen.optAllRevenues->setChecked(true);
    screen.chkAssessment->setChecked(true);
    screen.chkShowSpecimen->setChecked(true);
    screen.dtStartTime->setTime(QTime(12, 1, 0));
    screen.dtEndTime->setTime(QTime(23, 59, 59));
    screen.dtStartTime2->setTime(QTime(0, 0, 0));
    screen.dtEndTime2->setTime(QTime(18, 30, 0));
    messages.clear();
    screen.cmdSaveSettings->click();
    EXPECT_EQ(db.texts().value(0),
              QStringLiteral("Hemodialysis..spHEmo_SaveSettings  '1', '1', '1', '0', '0', '1', "
                             "'12.5', '5', '10', '0', '0', '20', '0', '0', '15', '0', "
                             "'12:01:00', '23:59:59', '1', '0', '00:00:00', '18:30:00','1'"));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.lastText(), QStringLiteral("Data was successfully save."));
    EXPECT_EQ(messages.shown().front().icon, widgets::MessageService::Information);
    // The program's settings are read again after the save.
    EXPECT_EQ(db.texts().value(1), QStringLiteral("Select * from HemoDialysis..tbHemo_settings"));

    EXPECT_EQ(charging::SaveSettingsText({"a'b", "c"}),
              QStringLiteral("Hemodialysis..spHEmo_SaveSettings  'a''b','c'"));
}

TEST(OpdSettingsScreen, AFailedSaveKeepsWhatWasTyped)
{
    test::ScriptedMessages messages;
    RecordingConnection db;
    RateSettings settings;
    frmOPDsettings screen(db, settings);
    screen.show();
    screen.chkOPStatRate->click();
    screen.txtStatRate->setText(QStringLiteral("30"));
    db.failOn(charging::SaveSettingsText(screen.saveValues()), QStringLiteral("server down"));
    EXPECT_FALSE(screen.save());
    EXPECT_EQ(messages.lastText(), QStringLiteral("server down"));
    EXPECT_EQ(messages.shown().front().icon, widgets::MessageService::Critical);
    EXPECT_EQ(screen.txtStatRate->text(), QStringLiteral("30"));
    EXPECT_TRUE(screen.isVisible());
}

class OpdSettings : public test::EngineTest {
protected:
};

TEST_P(OpdSettings, SavedSettingsReadBack)
{
    test::ScriptedMessages messages;
    RateSettings settings;
    {
        frmOPDsettings screen(*db, settings);
        screen.show();
        // Opening loads the program's settings too.
        EXPECT_TRUE(settings.isAllowHolidayRate);
        EXPECT_TRUE(screen.chkHolidayRate->isChecked());
        EXPECT_TRUE(screen.optAllRevenues->isChecked());
        EXPECT_FALSE(screen.optChemOnly->isChecked());
        EXPECT_EQ(screen.txtMaximumRate->text(), QStringLiteral("50"));
        EXPECT_EQ(screen.txtHolidayWeekend->text(), QStringLiteral("40"));
        EXPECT_EQ(screen.dtEndTime->time(), QTime(23, 59, 59));

        screen.chkHolidayRate->click();
        screen.txtStatRate->setText(QStringLiteral("12.5"));
        screen.chkPostCharge->setChecked(false);
        screen.optChemOnly->setChecked(true);
        screen.dtStartTime->setTime(QTime(13, 0, 0));
        screen.dtEndTime2->setTime(QTime(22, 0, 0));
        EXPECT_TRUE(screen.save());
        EXPECT_FALSE(settings.isAllowHolidayRate);
        EXPECT_FALSE(settings.isPostChargeMarkUp);
    }
    frmOPDsettings again(*db, settings);
    again.show();
    EXPECT_FALSE(again.chkHolidayRate->isChecked());
    EXPECT_FALSE(again.txtHolidayRate->isEnabled());
    EXPECT_EQ(again.txtHolidayRate->text(), QStringLiteral("0"));
    EXPECT_EQ(again.txtMaximumRate->text(), QStringLiteral("0"));
    EXPECT_EQ(again.txtStatRate->text(), QStringLiteral("12.5"));
    EXPECT_EQ(again.txtWeekendRate->text(), QStringLiteral("20"));
    EXPECT_TRUE(again.optChemOnly->isChecked());
    EXPECT_FALSE(again.chkPostCharge->isChecked());
    EXPECT_TRUE(again.chkAssessment->isChecked());
    EXPECT_EQ(again.dtStartTime->time(), QTime(13, 0, 0));
    EXPECT_EQ(again.dtEndTime2->time(), QTime(22, 0, 0));
    EXPECT_EQ(again.saveValues().size(), 23);

    // Without a settings row the save creates it.
    db->Execute(QStringLiteral("DELETE FROM HEMODIALYSIS..tbHemo_settings"));
    EXPECT_TRUE(again.save());
    const Recordset row =
        db->Execute(QStringLiteral("Select * from HEMODIALYSIS..tbHemo_settings"));
    ASSERT_EQ(row.RecordCount(), 1);
    EXPECT_DOUBLE_EQ(row.Fields(QStringLiteral("HemoStatRate")).toDouble(), 12.5);
    EXPECT_EQ(row.Fields(QStringLiteral("dtSundayEndMarkup")).toDateTime().time(), QTime(22, 0, 0));
}

// The times typed for Saturday and for Sunday are the ones the weekend
// surcharge then keeps to, each on its own day.
TEST_P(OpdSettings, SavedWeekendTimesGovernTheWeekendSurcharge)
{
    test::ScriptedMessages messages;
    RateSettings settings;
    frmOPDsettings screen(*db, settings);
    screen.show();
    screen.dtStartTime->setTime(QTime(8, 0, 0));
    screen.dtEndTime->setTime(QTime(12, 0, 0));
    screen.dtStartTime2->setTime(QTime(14, 0, 0));
    screen.dtEndTime2->setTime(QTime(18, 0, 0));
    ASSERT_TRUE(screen.save());
    const std::pair<QDateTime, bool> cases[] = {
        {QDateTime(QDate(2026, 12, 5), QTime(9, 0)), true},   // Saturday
        {QDateTime(QDate(2026, 12, 5), QTime(15, 0)), false}, // Saturday
        {QDateTime(QDate(2026, 12, 6), QTime(9, 0)), false},  // Sunday
        {QDateTime(QDate(2026, 12, 6), QTime(15, 0)), true},  // Sunday
    };
    for (const auto &[moment, weekend] : cases) {
        SCOPED_TRACE(moment.toString(Qt::ISODate).toStdString());
        db->setClockFixed(moment);
        EXPECT_EQ(charging::IsWeekendMarkup(*db, settings), weekend);
    }
}

CHEMODESK_ENGINE_TESTS(OpdSettings);

} // namespace
