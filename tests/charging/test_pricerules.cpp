// Surcharges by the server's calendar and the base price of a charge line,
// on every engine with the server clock fixed; the exact texts on a
// recording connection.

#include "charging/pricerules.h"
#include "charging/serviceprice.h"
#include "support/enginetest.h"
#include "support/recordingconnection.h"

#include <gtest/gtest.h>

using namespace chemodesk;
using namespace chemodesk::charging;
using chemodesk::testing::RecordingConnection;
using chemodesk::testing::table;

namespace {

QDateTime at(int year, int month, int day, int hour, int minute = 0, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

// 2026-12-05 and 2027-02-06 are Saturdays, 2026-12-06 a Sunday; 2026-12-08
// (a Tuesday) and 2026-12-25 are holidays filed as fixed, 2027-02-06 one
// filed for that year only.
struct CalendarCase {
    const char *what;
    QDateTime moment;
    const char *code;
    const char *holiday;
};

const CalendarCase Calendar[] = {
    {"holiday Saturday evening", at(2027, 2, 6, 18), "7", "CHINESE NEW YEAR"},
    {"fixed holiday a year on, Saturday evening", at(2027, 12, 25, 18), "7", "CHRISTMAS DAY"},
    {"weekday holiday evening", at(2026, 12, 8, 18), "6", "FEAST OF THE IMMACULATE CONCEPTION"},
    {"holiday Saturday morning", at(2027, 2, 6, 10), "5", "CHINESE NEW YEAR"},
    {"ordinary Saturday evening", at(2026, 12, 5, 18), "4", ""},
    {"ordinary Sunday morning", at(2026, 12, 6, 9), "3", ""},
    {"a year-only holiday a year on is a plain Sunday", at(2028, 2, 6, 10), "3", ""},
    {"weekday one second after five", at(2026, 12, 2, 17, 0, 1), "2", ""},
    {"weekday just before midnight", at(2026, 12, 7, 23, 59, 59), "2", ""},
    {"weekday holiday at five sharp", at(2026, 12, 8, 17), "1",
     "FEAST OF THE IMMACULATE CONCEPTION"},
    {"weekday holiday at midnight", at(2026, 12, 8, 0), "1", "FEAST OF THE IMMACULATE CONCEPTION"},
    {"weekday at five sharp", at(2026, 12, 2, 17), "X", ""},
};

class PriceRules : public test::EngineTest {
protected:
    void exec(const QString &text) { db->Execute(text); }
    // Each combination's percentage is its own code number, so the column a
    // code reads shows in the price: 100 becomes 100 + code.
    void percentagesByCode()
    {
        exec(QStringLiteral("UPDATE HEMODIALYSIS..tbHemo_settings SET HolidayRate = 1, "
                            "AfterFivePmRate = 2, WeekendRate = 3, WeekendAfterFive = 4, "
                            "HolidayAndWeekend = 5, HolidayAndAfterFivePmRate = 6, "
                            "MaxMarkupRate = 7"));
    }
    QString codeAt(const QDateTime &moment, RateSettings &settings)
    {
        db->setClockFixed(moment);
        return GetMarkupCode(*db, settings);
    }
};

TEST_P(PriceRules, EveryCombinationPicksItsCodeAndPercentage)
{
    percentagesByCode();
    RateSettings settings;
    LoadRateSettings(*db, settings);
    for (const CalendarCase &c : Calendar) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(codeAt(c.moment, settings), QLatin1String(c.code));
        settings.BasePrice = 100;
        const QString code = QLatin1String(c.code);
        EXPECT_DOUBLE_EQ(ApplyMarkup(*db, settings),
                         code == QLatin1String("X") ? 100.0 : 100.0 + code.toInt());
        // The holiday is asked only while the earlier rules need it; ask it
        // outright for the name.
        IsHolidayToday(*db, settings);
        EXPECT_EQ(settings.HolidayName, QLatin1String(c.holiday));
    }
    db->setClockFixed(at(2027, 2, 6, 18));
    IsHolidayToday(*db, settings);
    EXPECT_EQ(settings.HolidayGreeting, QStringLiteral("Kung Hei Fat Choi!"));
}

TEST_P(PriceRules, DemoPercentagesAndPlainArithmetic)
{
    RateSettings settings;
    LoadRateSettings(*db, settings);
    db->setClockFixed(at(2027, 2, 6, 18));
    settings.BasePrice = 100;
    EXPECT_DOUBLE_EQ(ApplyMarkup(*db, settings), 150.0); // MaxMarkupRate 50
    db->setClockFixed(at(2026, 12, 6, 9));
    EXPECT_DOUBLE_EQ(ApplyMarkup(*db, settings), 120.0); // WeekendRate 20
    // Nothing is cut to cents on the way.
    settings.BasePrice = 333.33;
    EXPECT_DOUBLE_EQ(ApplyMarkup(*db, settings), 333.33 + 0.2 * 333.33);
}

TEST_P(PriceRules, SurchargesThatAreOffNeverApply)
{
    percentagesByCode();
    RateSettings settings;
    // Not loaded yet: every flag is off.
    EXPECT_EQ(codeAt(at(2027, 2, 6, 18), settings), QStringLiteral("X"));

    exec(QStringLiteral("UPDATE HEMODIALYSIS..tbHemo_settings SET isAllowWeekendRate = 0"));
    LoadRateSettings(*db, settings);
    EXPECT_EQ(codeAt(at(2027, 2, 6, 18), settings), QStringLiteral("6"));
    EXPECT_EQ(codeAt(at(2027, 2, 6, 10), settings), QStringLiteral("1"));
    EXPECT_EQ(codeAt(at(2026, 12, 5, 18), settings), QStringLiteral("2"));
    EXPECT_EQ(codeAt(at(2026, 12, 6, 9), settings), QStringLiteral("X"));

    // With the holiday rate off, a holiday evening keeps the after-five
    // rate instead of a holiday combination set to nothing.
    exec(QStringLiteral("UPDATE HEMODIALYSIS..tbHemo_settings SET isAllowWeekendRate = 1, "
                        "isAllowHolidayRate = 0, isAllowAfterFivePMRate = 0"));
    LoadRateSettings(*db, settings);
    EXPECT_EQ(codeAt(at(2027, 2, 6, 18), settings), QStringLiteral("3"));
    EXPECT_EQ(codeAt(at(2026, 12, 8, 18), settings), QStringLiteral("X"));

    // A missing settings row leaves the flags of the last load; the mark-up
    // then finds no percentages and leaves the price.
    exec(QStringLiteral("UPDATE HEMODIALYSIS..tbHemo_settings SET isAllowHolidayRate = 1, "
                        "isAllowAfterFivePMRate = 1"));
    LoadRateSettings(*db, settings);
    exec(QStringLiteral("DELETE FROM HEMODIALYSIS..tbHemo_settings"));
    LoadRateSettings(*db, settings);
    EXPECT_TRUE(settings.isAllowWeekendRate);
    EXPECT_EQ(codeAt(at(2027, 2, 6, 18), settings), QStringLiteral("7"));
    settings.BasePrice = 100;
    EXPECT_DOUBLE_EQ(ApplyMarkup(*db, settings), 100.0);
}

TEST_P(PriceRules, WeekendWindowIsBetweenItsTimesOrWrapsPastMidnight)
{
    // Saturday's window is an ordinary one (08:00 to 17:00), Sunday's wraps
    // from 13:00 through midnight to 08:00.
    exec(QStringLiteral("UPDATE HEMODIALYSIS..tbHemo_settings SET "
                        "dtWeekendStartMarkup = '1900-01-01 08:00:00', "
                        "dtWeekendEndMarkup = '1900-01-01 17:00:00', "
                        "dtSundayStartMarkup = '1900-01-01 13:00:00', "
                        "dtSundayEndMarkup = '1900-01-01 08:00:00'"));
    RateSettings settings;
    LoadRateSettings(*db, settings);
    const std::pair<QDateTime, bool> cases[] = {
        {at(2026, 12, 5, 7, 59, 59), false}, {at(2026, 12, 5, 8, 0, 0), true},
        {at(2026, 12, 5, 12, 0), true},      {at(2026, 12, 5, 17, 0, 0), true},
        {at(2026, 12, 5, 17, 0, 1), false},  {at(2026, 12, 5, 23, 30), false},
        {at(2026, 12, 6, 0, 30), true},      {at(2026, 12, 6, 8, 0, 0), true},
        {at(2026, 12, 6, 8, 0, 1), false},   {at(2026, 12, 6, 12, 59, 59), false},
        {at(2026, 12, 6, 13, 0, 0), true},   {at(2026, 12, 7, 14, 0), false},
    };
    for (const auto &[moment, weekend] : cases) {
        SCOPED_TRACE(moment.toString(Qt::ISODate).toStdString());
        db->setClockFixed(moment);
        EXPECT_EQ(IsWeekendMarkup(*db, settings), weekend);
    }

    // A day the settings row has no window for keeps the hospital row's.
    exec(QStringLiteral("UPDATE HEMODIALYSIS..tbHemo_settings SET "
                        "dtSundayStartMarkup = NULL, dtSundayEndMarkup = NULL"));
    exec(QStringLiteral("UPDATE PATIENT_DATA..tbHospitalInfo SET "
                        "dtWeekendStartMarkup = '1900-01-01 10:00:00', "
                        "dtWeekendEndMarkup = '1900-01-01 11:00:00'"));
    db->setClockFixed(at(2026, 12, 6, 10, 30));
    EXPECT_TRUE(IsWeekendMarkup(*db, settings));
    db->setClockFixed(at(2026, 12, 6, 9, 30));
    EXPECT_FALSE(IsWeekendMarkup(*db, settings));
    db->setClockFixed(at(2026, 12, 5, 9, 30));
    EXPECT_TRUE(IsWeekendMarkup(*db, settings));
}

TEST_P(PriceRules, ServiceBasePriceByPatient)
{
    // Distinct room-class rates as the code search would hand them over.
    const ServiceRates rates{1500, 1650, 1800, 1950, 2100};
    RateSettings settings;
    struct Case {
        const char *what;
        const char *update; // of the settings row, before pricing
        const char *patientClass;
        const char *idNum;
        const char *section;
        const char *item;
        double price;
        const char *text;
    };
    const Case cases[] = {
        {"ICU room, rule on", "isAllowICURate = 1", "I", "261001", "ON", "8001", 1875, "1875.00"},
        {"PICU room, rule on", "isAllowICURate = 1", "I", "261008", "ON", "8001", 1875, "1875.00"},
        {"ICU room, no unit rate on file: class D", "isAllowICURate = 1", "I", "261001", "LB",
         "1001", 1950, "1950"},
        {"ICU room, rule off: class D", "isAllowICURate = 0", "I", "261001", "ON", "8001", 1950,
         "1950"},
        {"class C room", "isAllowICURate = 0", "I", "261018", "ON", "8001", 1800, "1800"},
        {"nursery room counts as intensive care", "isAllowICURate = 1", "I", "261006", "ON", "8001",
         1875, "1875.00"},
        {"class A ward room, rule on", "isAllowICURate = 1", "I", "261011", "ON", "8001", 1500,
         "1500"},
        {"ER patient, rule on", "isAllowERRate = 1", "O", "2650005B", "ON", "8001", 1800,
         "1800.00"},
        // With the ER rule on, a registration is enough: the HMO rule is not reached.
        {"HMO patient, ER rule on, no ER number", "isAllowERRate = 1", "O", "2650001B", "ON",
         "8001", 1800, "1800.00"},
        {"no registration, ER rule on: regular rate", "isAllowERRate = 1", "O", "2659999B", "ON",
         "8001", 1500, "1500"},
        {"HMO patient, section's own HMO rate", "isAllowERRate = 0", "O", "2650001B", "LB", "1001",
         400, "400.00"},
        {"company account", "isAllowERRate = 0", "O", "2650002B", "ON", "8001", 1500, "1500"},
        {"HMO patient, HMO rule off", "isAllowHMORate = 0", "O", "2650001B", "ON", "8001", 1500,
         "1500"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        exec(QStringLiteral("UPDATE HEMODIALYSIS..tbHemo_settings SET ") + QLatin1String(c.update));
        const ServicePrice price =
            ServiceBasePrice(*db, settings, QLatin1String(c.patientClass), QLatin1String(c.idNum),
                             QLatin1String(c.section), QLatin1String(c.item), rates);
        EXPECT_DOUBLE_EQ(price.value, c.price);
        EXPECT_EQ(price.text, QLatin1String(c.text));
    }
}

TEST_P(PriceRules, StatInPatientPriceAndOtherLookups)
{
    EXPECT_EQ(StatPrice(*db, 200), QStringLiteral("250.00")); // HemoStatRate 25
    EXPECT_EQ(StatPrice(*db, 99.99), QStringLiteral("124.99"));
    EXPECT_TRUE(GetIPDPrice(*db, QStringLiteral("261001")));    // admitted
    EXPECT_FALSE(GetIPDPrice(*db, QStringLiteral("261061")));   // discharged
    EXPECT_FALSE(GetIPDPrice(*db, QStringLiteral("2650001B"))); // out-patient

    EXPECT_TRUE(IsMarkupAllowed(*db, QStringLiteral("LB"), QStringLiteral("1001")));
    EXPECT_FALSE(IsMarkupAllowed(*db, QStringLiteral("LB"), QStringLiteral("1021")));
    EXPECT_FALSE(IsMarkupAllowed(*db, QStringLiteral("LB"), QStringLiteral("9999")));
    EXPECT_EQ(GetLabSectionID(*db, QStringLiteral("1007")), QStringLiteral("CH"));
    EXPECT_EQ(GetLabSectionID(*db, QStringLiteral("9999")), QString());
    EXPECT_DOUBLE_EQ(GetFirstRate(*db, QStringLiteral("ON"), QStringLiteral("8001"), false), 1500);
    EXPECT_DOUBLE_EQ(GetFirstRate(*db, QStringLiteral("ON"), QStringLiteral("8001"), true), 1350);
    EXPECT_DOUBLE_EQ(GetFirstRate(*db, QStringLiteral("ON"), QStringLiteral("9999"), true), 0);

    exec(QStringLiteral("DELETE FROM CLINICAL_AREA..tbCancer_settings"));
    EXPECT_EQ(StatPrice(*db, 200), QStringLiteral("200.00"));
}

CHEMODESK_ENGINE_TESTS(PriceRules);

TEST(PriceRuleTexts, CalendarTestsAskTheServerOnlyWhenTheirRateIsOn)
{
    RecordingConnection db;
    RateSettings settings;
    EXPECT_FALSE(IsWeekendMarkup(db, settings));
    EXPECT_FALSE(IsAfterFivePM(db, settings));
    EXPECT_FALSE(IsMarkupAllowed(db, QStringLiteral("CS"), QStringLiteral("1")));
    EXPECT_FALSE(IsMarkupAllowed(db, QStringLiteral("PH"), QStringLiteral("1")));
    EXPECT_TRUE(db.texts().isEmpty());

    settings.isAllowWeekendRate = settings.isAllowAfterFivePMRate = true;
    IsWeekendMarkup(db, settings);
    IsAfterFivePM(db, settings);
    IsHolidayToday(db, settings);
    IsMarkupAllowed(db, QStringLiteral("L'B"), QStringLiteral("1'1"));
    GetFirstRate(db, QStringLiteral("O'N"), QStringLiteral("8001"), false);
    GetFirstRate(db, QStringLiteral("ON"), QStringLiteral("8001"), true);
    GetLabSectionID(db, QStringLiteral("1'7"));
    EXPECT_EQ(db.texts(),
              (QStringList{
                  QStringLiteral("select getdate()as  Time, * from Patient_data..tbhospitalinfo"),
                  QStringLiteral("Select getdate() as Time from patient_data..tbhospitalinfo"),
                  QStringLiteral("Build_file..Build_GetHolidayToday"),
                  QStringLiteral("Select FixRate from Billing..tbBillExamListing where RevenueID "
                                 "= 'L''B' and ItemID = '1''1'"),
                  QStringLiteral("Patient_data..OPD_GetFirstRate 'O''N', '8001', '1'"),
                  QStringLiteral("Patient_data..OPD_GetFirstRate 'ON', '8001', '2'"),
                  QStringLiteral("Select isnull(LabSectionID,'') LabSectionID from "
                                 "Build_File..tbcoLabExam where LabExamID = '1''7'"),
              }));
}

TEST(PriceRuleTexts, ServicePriceAsksInOrder)
{
    RecordingConnection db;
    // A settings row with every rule on.
    const QStringList flags = {"isAllowNewHemoStatRate",
                               "isAllowHolidayRate",
                               "isAllowAfterFivePMRate",
                               "isAllowWeekendRate",
                               "isAllowAfterFiveLabChemOnly",
                               "isAllowAfterFiveAllRevenues",
                               "isAssesmentMarkUp",
                               "isPostChargeMarkUp",
                               "isAllowafter11amMarkup",
                               "isAllowOFWRate",
                               "IsAllowOPDShowLabSpecimen",
                               "isAllowERRate",
                               "isAllowICURate",
                               "isAllowHMORate"};
    db.answer(QStringLiteral("Select * from HemoDialysis..tbHemo_settings"),
              table(flags, {std::vector<QVariant>(size_t(flags.size()), QVariant(1))}));
    RateSettings settings;
    ServiceBasePrice(db, settings, QStringLiteral("I"), QStringLiteral("26'1"),
                     QStringLiteral("ON"), QStringLiteral("80'1"), {});
    ServiceBasePrice(db, settings, QStringLiteral("O"), QStringLiteral("26'B"),
                     QStringLiteral("L'B"), QStringLiteral("10'1"), {});
    StatPrice(db, 1);
    GetIPDPrice(db, QStringLiteral("26'1"));
    const QString settingsText = QStringLiteral("Select * from HemoDialysis..tbHemo_settings");
    EXPECT_EQ(db.texts(),
              (QStringList{
                  settingsText,
                  QStringLiteral("Select B.StationID From PATIENT_DATA..tbPatient A INNER JOIN "
                                 "BUILD_FILE..TbCoRoom B ON A.RoomID = B.RoomID Where A.IdNum =  "
                                 "'26''1'"),
                  QStringLiteral("select Isnull(B.RoomClassID,'A')RoomClassID from "
                                 "Patient_data..tbPatient A Left Outer Join BUILD_FILE..TbCoRoom "
                                 "B on A.RoomID = B.RoomID where A.Idnum = '26''1'"),
                  settingsText,
                  // With the ER rule on, the HMO rule is never asked.
                  QStringLiteral("Select ERNum from PATIENT_DATA..tboutpatient where IDNum = "
                                 "'26''B'"),
                  QStringLiteral("Select * from Clinical_Area..tbCancer_settings"),
                  QStringLiteral("SELECT isnull(HEMODIALYSIS.dbo.fn_HemoIPDPrice('26''1'),'N') "
                                 "as IPDPrice"),
              }));

    // The unit's own rates are looked up by the texts the server knows.
    db.clearRecord();
    db.answer(QStringLiteral("Select B.StationID From PATIENT_DATA..tbPatient A INNER JOIN "
                             "BUILD_FILE..TbCoRoom B ON A.RoomID = B.RoomID Where A.IdNum =  '1'"),
              table({QStringLiteral("StationID")}, {{QStringLiteral("NUR ")}}));
    db.answer(QStringLiteral("Select ERNum from PATIENT_DATA..tboutpatient where IDNum = '2B'"),
              table({QStringLiteral("ERNum")}, {{QStringLiteral("ER1")}}));
    db.answer(
        QStringLiteral("Select Accountnum from PATIENT_DATA..tboutpatient where IDNum = '2B'"),
        table({QStringLiteral("AccountNum")}, {{QStringLiteral("HLTHPLUS")}}));
    ServiceBasePrice(db, settings, QStringLiteral("I"), QStringLiteral("1"), QStringLiteral("ON"),
                     QStringLiteral("8'1"), {});
    ServiceBasePrice(db, settings, QStringLiteral("O"), QStringLiteral("2B"), QStringLiteral("ON"),
                     QStringLiteral("8'1"), {});
    // The HMO rate is asked for only with the ER rule off.
    std::vector<QVariant> withoutEr(size_t(flags.size()), QVariant(1));
    withoutEr[size_t(flags.indexOf(QStringLiteral("isAllowERRate")))] = QVariant(0);
    db.answerOnce(settingsText, table(flags, {withoutEr}));
    RateSettings hmoOnly;
    ServiceBasePrice(db, hmoOnly, QStringLiteral("O"), QStringLiteral("2B"), QStringLiteral("ON"),
                     QStringLiteral("8'1"), {});
    const QString unitRate = QStringLiteral("Select * from BUILD_FILE..TbCoOtherRevenue where "
                                            "OtherSectionID = 'ON' And OtherRevenueID = '8''1'");
    EXPECT_EQ(db.texts().count(unitRate), 2);
    EXPECT_TRUE(db.texts().contains(
        QStringLiteral("Select * from BUILD_FILE..TbCoOtherRevenue Where OtherSectionID = 'ON' And "
                       "OtherRevenueID = '8''1'")));
}

TEST(PriceRuleTexts, BannerTextsAndTyping)
{
    const std::pair<const char *, const char *> texts[] = {
        {"7", "Holiday Rate, Weekend Rate, and After 5PM Rate are activated."},
        {"8", "After 11am CHEMISTRY Rate are activated."},
        {"6", "Holiday Rate and After 5PM Rate are activated."},
        {"5", "Holiday Rate And Weekend Rate are activated."},
        {"4", "Weekend Rate and After 5PM Rate are activated."},
        {"3", "Weekend Rate is activated."},
        {"2", "After 5PM Rate is activated."},
        {"1", "Holiday Rate is activated."},
        {"X", ""},
        {"9", ""},
    };
    for (const auto &[code, text] : texts)
        EXPECT_EQ(ratesBannerText(QLatin1String(code)), QLatin1String(text)) << code;

    const QString text = QStringLiteral("Holiday");
    QString caption;
    QStringList steps;
    for (int i = 0; i < 9; ++i)
        steps << (caption = nextBannerCaption(caption, text));
    EXPECT_EQ(steps,
              (QStringList{"H", "Ho", "Hol", "Holi", "Holid", "Holida", "Holiday", "", "H"}));
    // A new text takes over where the old one had got to.
    EXPECT_EQ(nextBannerCaption(QStringLiteral("Hol"), QStringLiteral("Weekend")),
              QStringLiteral("Week"));

    RateSettings settings;
    settings.isAllowNewHemoStatRate = true;
    EXPECT_FALSE(ratesBannerActive(settings));
    settings.isAssesmentMarkUp = true;
    EXPECT_TRUE(ratesBannerActive(settings));
}

TEST(PriceRuleTexts, PriceListsAndFormats)
{
    EXPECT_EQ(MedicinePrice(true, false, 10, 12), 10);
    EXPECT_EQ(MedicinePrice(false, false, 10, 12), 12);
    EXPECT_EQ(MedicinePrice(true, true, 10, 12), 12);
    EXPECT_EQ(formatRate(1875), QStringLiteral("1875.00"));
    EXPECT_EQ(formatRate(0.5), QStringLiteral(".50"));
    EXPECT_EQ(formatStat(0.5), QStringLiteral("0.50"));
    EXPECT_EQ(formatStat(1234567.891), QStringLiteral("1234567.89"));
    EXPECT_EQ(formatStored(1650), QStringLiteral("1650"));
    EXPECT_EQ(formatStored(412.5), QStringLiteral("412.5"));
}

} // namespace
