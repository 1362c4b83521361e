// The assessment's rules without its window: the stat day at opening, a
// package's items as rows and the departments' records (plain values); the
// banner, the stat day, the departments and the surcharge labels as the
// server gives them (every engine, the server clock fixed).

#include "assessment/assessmentpackage.h"
#include "assessment/assessmentrules.h"
#include "charging/pricerules.h"
#include "support/enginetest.h"

#include <gtest/gtest.h>

using namespace chemodesk;
using namespace chemodesk::assessment;
using platform::ListKind;

namespace {

QDateTime at(int year, int month, int day, int hour, int minute = 0, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

// 2026-12-01 is a Tuesday, 2026-12-05 a Saturday, 2026-12-06 a Sunday.
TEST(AssessmentRules, StatAtOpeningByHolidayWeekdayAndHospital)
{
    const std::vector<QDate> fixed = {QDate(2019, 12, 8), QDate(2000, 12, 25), QDate(2024, 2, 29)};
    struct Case {
        const char *what;
        QDate today;
        QDate clockDay;
        const char *client;
        bool stat;
    };
    const Case cases[] = {
        {"fixed holiday of another year", QDate(2026, 12, 8), QDate(2026, 12, 8), "QXR", true},
        {"day before it", QDate(2026, 12, 7), QDate(2026, 12, 7), "MVMC", false},
        {"same day of another month", QDate(2026, 11, 25), QDate(2026, 11, 25), "MVMC", false},
        {"leap-day holiday on a leap day", QDate(2028, 2, 29), QDate(2028, 2, 29), "QXR", true},
        {"leap-day holiday, no leap day", QDate(2027, 3, 1), QDate(2027, 3, 1), "QXR", false},
        {"date unread: no holiday", QDate(), QDate(2026, 12, 1), "MVMC", false},
        {"plain Tuesday", QDate(2026, 12, 1), QDate(2026, 12, 1), "MVMC", false},
        {"Saturday", QDate(2026, 12, 5), QDate(2026, 12, 5), "MVMC", true},
        {"Sunday", QDate(2026, 12, 6), QDate(2026, 12, 6), "MVMC", true},
        {"Saturday at QXR", QDate(2026, 12, 5), QDate(2026, 12, 5), "QXR", false},
        {"Sunday at QXR", QDate(2026, 12, 6), QDate(2026, 12, 6), "QXR", true},
        {"Saturday at ZVT", QDate(2026, 12, 5), QDate(2026, 12, 5), "ZVT", true},
        {"Sunday at ZVT", QDate(2026, 12, 6), QDate(2026, 12, 6), "ZVT", false},
        {"the hospital code is trimmed", QDate(2026, 12, 5), QDate(2026, 12, 5), " QXR ", false},
        // The weekday is the hospital row's clock's, read after the date.
        {"clock already on Saturday", QDate(2026, 12, 4), QDate(2026, 12, 5), "MVMC", true},
        {"clock unread: no weekend", QDate(2026, 12, 5), QDate(), "MVMC", false},
    };
    for (const Case &c : cases) {
        const StatCalendar calendar{c.today, fixed, c.clockDay};
        EXPECT_EQ(statAtOpening(calendar, QLatin1String(c.client)), c.stat) << c.what;
    }
    EXPECT_FALSE(onFixedHoliday(QDate(2026, 12, 8), {}));
    // A holiday filed without a date matches no day.
    EXPECT_FALSE(onFixedHoliday(QDate(2026, 12, 8), {QDate()}));
}

TEST(AssessmentRules, PackageItemsBecomeRowsAtThePackagesPrices)
{
    struct Case {
        const char *what;
        packages::PackageItem item;
        const char *dept;
        double price;
        const char *quantity;
        double amount;
        bool stocked;
    };
    const Case cases[] = {
        {"exam", {"LB", "1001", "CBC", "2", "700", ""}, "LB", 350, "2", 700, false},
        {"department upper-cased",
         {"xr", "2001", "CHEST", "1", "450", ""},
         "XR",
         450,
         "1",
         450,
         false},
        {"no quantity: one",
         {"US", "3001", "WHOLE ABDOMEN", "", "1200", ""},
         "US",
         1200,
         "1",
         1200,
         false},
        {"quantity 0: the amount is the price",
         {"LB", "1002", "PLT", "0", "200", ""},
         "LB",
         200,
         "0",
         200,
         false},
        {"medicine", {"ph", "10001", "PACLITAXEL", "3", "7500", ""}, "PH", 2500, "3", 7500, true},
        {"supply", {"CS", "20001", "SYRINGE", "4", "60", ""}, "CS", 15, "4", 60, true},
        {"located item of another department",
         {"KM", "30001", "KIT", "1", "90", "199"},
         "KM",
         90,
         "1",
         90,
         true},
        {"free item", {"LB", "1003", "FREE", "1", "0", ""}, "LB", 0, "1", 0, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const AssessmentRow row = packageRow(c.item);
        EXPECT_EQ(row.dept, QLatin1String(c.dept));
        EXPECT_EQ(row.code, c.item.item);
        EXPECT_EQ(row.particular, c.item.description);
        EXPECT_DOUBLE_EQ(row.price, c.price);
        EXPECT_DOUBLE_EQ(row.baseRate, c.price);
        EXPECT_EQ(row.quantity, QLatin1String(c.quantity));
        ASSERT_TRUE(row.amount.has_value());
        EXPECT_DOUBLE_EQ(*row.amount, c.amount);
        EXPECT_EQ(row.stocked, c.stocked);
        EXPECT_EQ(row.location, c.item.location);
        // A package's price stands: no surcharge, no stat, no section.
        EXPECT_FALSE(row.markup);
        EXPECT_FALSE(row.stat);
        EXPECT_FALSE(row.labSection.has_value());
    }

    // The dialog's target hands every item over as its row, in order.
    std::vector<AssessmentRow> rows;
    AssessmentPackageTarget target([&rows](const AssessmentRow &row) { rows.push_back(row); });
    target.appendPackageItem({}, cases[0].item);
    target.appendPackageItem({}, cases[4].item);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].code, QStringLiteral("1001"));
    EXPECT_EQ(rows[1].code, QStringLiteral("10001"));
}

TEST(AssessmentRules, EachDepartmentsRecordAndWhetherItIsMarkedUp)
{
    struct Case {
        const char *dept;
        ListKind kind;
        const char *nameField;
    };
    const Case cases[] = {
        {"LB", ListKind::LABExam, "LabExam"},
        {"PA", ListKind::PTExam, "PTExam"},
        {"PT", ListKind::PTExam, "PTExam"},
        {"XR", ListKind::XRayExam, "XrayExam"},
        {"CT", ListKind::CTExam, "ctExam"},
        {"US", ListKind::UltraSound, "Ultraexam"},
        {"AU", ListKind::AudioExam, "AudioExam"},
        {"NU", ListKind::NuclearExam, "nuclearExam"},
        {"HS", ListKind::HSExam, "hsExam"},
        {"RT", ListKind::RTSExam, "RtsExam"},
        {" lb ", ListKind::LABExam, "LabExam"},
        {"DA", ListKind::OtherRevenue, "OtherRevenue"},
        {"UR", ListKind::OtherRevenue, "OtherRevenue"},
        {"", ListKind::OtherRevenue, "OtherRevenue"},
    };
    charging::RateSettings surchargesOnly;
    surchargesOnly.isAllowNewHemoStatRate = true;
    charging::RateSettings markupOnly;
    markupOnly.isAssesmentMarkUp = true;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.dept);
        const ExamRecord record = examRecord(QLatin1String(c.dept));
        EXPECT_EQ(record.kind, c.kind);
        EXPECT_STREQ(record.nameField, c.nameField);
        // Other revenue items follow the assessment mark-up, examinations
        // the surcharges' own switch.
        const bool other = c.kind == ListKind::OtherRevenue;
        EXPECT_EQ(markupApplies(record.kind, surchargesOnly), !other);
        EXPECT_EQ(markupApplies(record.kind, markupOnly), other);
    }
}

class AssessmentRulesOnEngines : public test::EngineTest {
protected:
    void settingsSet(const QString &assignments)
    {
        db->Execute(QStringLiteral("UPDATE HEMODIALYSIS..tbHemo_settings SET ") + assignments);
    }
};

// 2026-12-08 and 2026-12-25 are fixed holidays, 2027-02-06 (a Saturday) one
// of that year only; the weekend window runs from Saturday noon.
TEST_P(AssessmentRulesOnEngines, BannerByMomentHolidayAndSwitches)
{
    struct Case {
        const char *what;
        QDateTime moment;
        bool surcharges;
        bool assessmentMarkup;
        const char *banner;
    };
    const Case cases[] = {
        {"weekday holiday morning", at(2026, 12, 8, 10), true, true, "Holiday Rate is activated."},
        {"weekday holiday evening", at(2026, 12, 8, 18), true, true,
         "Holiday Rate and After 5PM Rate are activated."},
        {"holiday Saturday morning", at(2027, 2, 6, 10), true, true,
         "Holiday Rate And Weekend Rate are activated."},
        {"holiday Saturday evening", at(2027, 2, 6, 18), true, true,
         "Holiday Rate, Weekend Rate, and After 5PM Rate are activated."},
        {"ordinary Saturday evening", at(2026, 12, 5, 18), true, true,
         "Weekend Rate and After 5PM Rate are activated."},
        {"ordinary Sunday morning", at(2026, 12, 6, 9), true, true, "Weekend Rate is activated."},
        {"weekday one second after five", at(2026, 12, 2, 17, 0, 1), true, true,
         "After 5PM Rate is activated."},
        {"weekday at five sharp", at(2026, 12, 2, 17), true, true, ""},
        {"holiday, surcharges off", at(2026, 12, 8, 10), false, true, ""},
        {"holiday, assessment mark-up off", at(2026, 12, 8, 10), true, false, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        settingsSet(QStringLiteral("isAllowHolidayRate = 1, isAllowWeekendRate = 1, "
                                   "isAllowAfterFivePMRate = 1, isAllowNewHemoStatRate = %1, "
                                   "isAssesmentMarkUp = %2")
                        .arg(int(c.surcharges))
                        .arg(int(c.assessmentMarkup)));
        charging::RateSettings settings;
        charging::LoadRateSettings(*db, settings);
        db->setClockFixed(c.moment);
        const QString banner = ratesBanner(*db, settings);
        EXPECT_EQ(banner, QLatin1String(c.banner));
        // The scroll turns the banner round, one character a step.
        QString scrolled = banner;
        for (int i = 0; i < banner.size(); ++i)
            scrolled = scrollBanner(scrolled);
        EXPECT_EQ(scrolled, banner);
        if (banner.size() > 1) {
            EXPECT_EQ(scrollBanner(banner), banner.mid(1) + banner.at(0));
        }
    }
}

TEST_P(AssessmentRulesOnEngines, StatOnOpeningReadsTheServersCalendar)
{
    struct Case {
        const char *what;
        QDateTime moment;
        const char *client;
        bool surcharges;
        bool stat;
    };
    const Case cases[] = {
        {"fixed holiday", at(2026, 12, 8, 10), "MVMC", true, true},
        {"fixed holiday a year on", at(2027, 12, 8, 10), "MVMC", true, true},
        {"a year-only holiday is not fixed", at(2027, 2, 6, 10), "QXR", true, false},
        {"surcharges off", at(2026, 12, 8, 10), "MVMC", false, false},
        {"plain Tuesday", at(2026, 12, 1, 10), "MVMC", true, false},
        {"Saturday", at(2026, 12, 5, 10), "MVMC", true, true},
        {"Sunday at ZVT", at(2026, 12, 6, 10), "ZVT", true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        settingsSet(QStringLiteral("isAllowNewHemoStatRate = %1").arg(int(c.surcharges)));
        charging::RateSettings settings;
        charging::LoadRateSettings(*db, settings);
        db->setClockFixed(c.moment);
        EXPECT_EQ(statOnOpening(*db, settings, QLatin1String(c.client)), c.stat);
    }
}

TEST_P(AssessmentRulesOnEngines, DepartmentsTakenAndHowTheirItemsAreChosen)
{
    struct Case {
        const char *dept;
        bool accepted;
        ItemKind kind;
        const char *location;
    };
    const Case cases[] = {
        {"LB", true, ItemKind::Exam, ""},       // an examination department
        {"MD", true, ItemKind::Exam, ""},       // listed, though priced as an exam
        {"PH", true, ItemKind::Medicine, "20"}, // the pharmacy
        {"CS", true, ItemKind::Supply, "21"},   // stock of its own
        {"ON", false, ItemKind::Exam, ""},      // neither listed nor stocked
        {"ZZ", false, ItemKind::Exam, ""},      // unknown
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.dept);
        const QString dept = QLatin1String(c.dept);
        EXPECT_EQ(acceptedDepartment(*db, dept), c.accepted);
        EXPECT_EQ(itemKind(*db, dept), c.kind);
        EXPECT_EQ(departmentLocation(*db, dept), QLatin1String(c.location));
    }

    // The list beside the grid: the unit's active departments only.
    QStringList ids;
    for (const Department &d : activeDepartments(*db))
        ids << d.id;
    EXPECT_TRUE(ids.contains(QStringLiteral("LB")));
    EXPECT_TRUE(ids.contains(QStringLiteral("PH")));
    EXPECT_FALSE(ids.contains(QStringLiteral("KS")));
    EXPECT_FALSE(ids.contains(QStringLiteral("OR")));
}

TEST_P(AssessmentRulesOnEngines, SurchargeLabelsFromTheSettingsRow)
{
    settingsSet(QStringLiteral("HemoStatRate = 12.5, AfterFivePmRate = 10, WeekendRate = 20, "
                               "HolidayRate = 30"));
    SurchargeLabels labels = readSurchargeLabels(*db);
    EXPECT_EQ(labels.stat, QStringLiteral("Stat: 12.5%"));
    EXPECT_EQ(labels.afterFive, QStringLiteral("After 5PM: 10%"));
    EXPECT_EQ(labels.weekend, QStringLiteral("Weekend: 20%"));
    EXPECT_EQ(labels.holiday, QStringLiteral("Holiday: 30%"));

    db->Execute(QStringLiteral("DELETE FROM HEMODIALYSIS..tbHemo_settings"));
    labels = readSurchargeLabels(*db);
    EXPECT_EQ(labels.stat, QStringLiteral("Stat: 0%"));
    EXPECT_EQ(labels.holiday, QStringLiteral("Holiday: 0%"));
}

// Medicines and supplies keep their listed price whatever the calendar or
// stat; examinations take both.
TEST_P(AssessmentRulesOnEngines, RowPriceSurchargesExamsOnly)
{
    charging::RateSettings settings;
    charging::LoadRateSettings(*db, settings);
    db->setClockFixed(at(2026, 12, 8, 10)); // holiday 30%, stat 25%
    EXPECT_DOUBLE_EQ(rowPrice(*db, settings, 350, true, true, true), 350);
    EXPECT_DOUBLE_EQ(rowPrice(*db, settings, 350, false, true, true), 568.75);
    EXPECT_DOUBLE_EQ(rowPrice(*db, settings, 350, false, true, false), 455);
    EXPECT_DOUBLE_EQ(rowPrice(*db, settings, 350, false, false, true), 437.5);
}

CHEMODESK_ENGINE_TESTS(AssessmentRulesOnEngines);

} // namespace
