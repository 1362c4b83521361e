// The price of an entry line as the charge entry and the assessments share
// it: the rate column by room class and the selling price by patient kind
// (plain values), the surcharges on a base price and the stock on hand (on
// every engine, the server clock fixed).

#include "charging/linepricing.h"
#include "charging/pricerules.h"
#include "components/stockonhand.h"
#include "support/enginetest.h"

#include <gtest/gtest.h>

using namespace chemodesk;
using namespace chemodesk::charging;

namespace {

// Every column its own figure, so the column chosen shows in the price.
const ServiceRates Rates = [] {
    ServiceRates r;
    r.RateA = 100;
    r.RateB = 200;
    r.RateC = 300;
    r.RateD = 400;
    r.RateE = 500;
    r.RateH = 800;
    r.RateI = 900;
    r.RateG = 700;
    return r;
}();

TEST(LinePricing, RateColumnByRoomClass)
{
    const std::pair<const char *, double> cases[] = {
        {"A", 100},
        {"B", 200},
        {"C", 300},
        {"D", 400},
        {"E", 500},
        // Classes are stored upper case; anything else is priced as class A.
        {"", 100},
        {"F", 100},
        {"c", 100},
        {"AB", 100},
    };
    for (const auto &[roomClass, price] : cases)
        EXPECT_DOUBLE_EQ(classRate(Rates, QLatin1String(roomClass)), price) << roomClass;

    EXPECT_DOUBLE_EQ(assessmentRate(Rates, true), 700);
    EXPECT_DOUBLE_EQ(assessmentRate(Rates, false), 100);
}

TEST(LinePricing, SellingPriceByPatientKind)
{
    // In-patient price 10, out-patient price 12.
    struct Case {
        const char *patientType;
        double assessment; // patientSellingPrice
    };
    const Case cases[] = {
        {"O", 12},
        {"I", 10},
        {"W", 10},
        {"C", 10},
        {"", 10},
        // The type is compared as the screen holds it.
        {"o", 10},
        {" O", 10},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(patientSellingPrice(QLatin1String(c.patientType), 10, 12), c.assessment)
            << '"' << c.patientType << '"';

    // The charge entry follows the in-patient price flag and the discount box.
    struct Charge {
        bool ipd;
        bool discounted;
        double price;
    };
    const Charge charges[] = {
        {true, false, 10}, {false, false, 12}, {true, true, 12}, {false, true, 12}};
    for (const Charge &c : charges)
        EXPECT_DOUBLE_EQ(MedicinePrice(c.ipd, c.discounted, 10, 12), c.price)
            << c.ipd << c.discounted;
}

class LinePricingOnEngines : public test::EngineTest {};

// The demo's percentages: holiday 30, weekend 20, holiday with weekend and
// after five 50; stat 25 (the unit's own row).
TEST_P(LinePricingOnEngines, SurchargesByCalendarThenStat)
{
    struct Case {
        const char *what;
        QDateTime at;
        double base;
        bool markup;
        bool stat;
        double price;
    };
    const QDateTime weekday(QDate(2026, 12, 2), QTime(10, 0));
    const QDateTime holiday(QDate(2026, 12, 8), QTime(10, 0));
    const QDateTime sunday(QDate(2026, 12, 6), QTime(9, 0));
    const QDateTime holidaySaturdayEvening(QDate(2027, 2, 6), QTime(18, 0));
    const Case cases[] = {
        {"weekday, nothing asked", weekday, 100, false, false, 100},
        {"weekday: no surcharge in force", weekday, 100, true, false, 100},
        {"weekday stat", weekday, 100, true, true, 125},
        {"holiday", holiday, 100, true, false, 130},
        {"holiday, stat on the surcharged price", holiday, 100, true, true, 162.5},
        {"holiday, mark-up not asked", holiday, 100, false, true, 125},
        {"Sunday", sunday, 100, true, false, 120},
        {"holiday Saturday evening", holidaySaturdayEvening, 100, true, false, 150},
        // The calendar step keeps every digit, the stat step rounds to cents.
        {"holiday, odd base", holiday, 333.33, true, false, 333.33 * 1.3},
        {"stat rounds to cents", weekday, 99.99, false, true, 124.99},
    };
    RateSettings settings;
    LoadRateSettings(*db, settings);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        db->setClockFixed(c.at);
        settings.BasePrice = 0;
        EXPECT_DOUBLE_EQ(surchargedPrice(*db, settings, c.base, c.markup, c.stat), c.price);
        // The mark-up reads its base from the settings, left as it was given.
        EXPECT_DOUBLE_EQ(settings.BasePrice, c.markup ? c.base : 0);
    }
}

TEST_P(LinePricingOnEngines, StockOnHandOfAnItemAtALocation)
{
    db->Execute(QStringLiteral("INSERT INTO INVENTORY..tbinvent (ItemID, LocationID, OnHand) "
                               "VALUES ('T-1', '20', 12.5)"));
    db->Execute(QStringLiteral("INSERT INTO INVENTORY..tbinvent (ItemID, LocationID, OnHand) "
                               "VALUES ('T-1', '21', 0)"));
    db->Execute(QStringLiteral("INSERT INTO INVENTORY..tbinvent (ItemID, LocationID, OnHand) "
                               "VALUES ('T-2', '20', NULL)"));
    db->Execute(QStringLiteral("INSERT INTO INVENTORY..tbinvent (ItemID, LocationID, OnHand) "
                               "VALUES ('O''1', '20', 3)"));
    struct Case {
        const char *item;
        const char *location;
        double onHand;
    };
    const Case cases[] = {
        {"T-1", "20", 12.5}, {"T-1", "21", 0}, // each location its own shelf
        {"T-1", "CS", 0},    {"T-9", "20", 0}, // not stocked there, not stocked at all
        {"T-2", "20", 0},                      // a shelf never counted
        {"O'1", "20", 3},                      // a code with an apostrophe
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(
            components::stockOnHand(*db, QLatin1String(c.item), QLatin1String(c.location)),
            c.onHand)
            << c.item << " at " << c.location;
}

CHEMODESK_ENGINE_TESTS(LinePricingOnEngines);

} // namespace
