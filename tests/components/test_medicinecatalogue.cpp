// The drug catalogue component on the demo database: items at a location and
// anywhere, inactive items, prices, generic names, and the stock card with
// the balance procedure that follows it.

#include "components/medicinecatalogue.h"
#include "database/sqltext.h"
#include "support/enginetest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace chemodesk;
using components::MedicineCatalogue;
using platform::StockCardKind;

namespace {

class DrugCatalogueOnEngine : public test::EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (!db)
            return;
        catalogue = std::make_unique<MedicineCatalogue>(*db);
    }

    double onHand(const char *item, const char *location)
    {
        Recordset rs = db->Execute(
            QStringLiteral("SELECT OnHand FROM INVENTORY..tbinvent WHERE ItemID = '%1' AND "
                           "LocationID = '%2'")
                .arg(QLatin1String(item), QLatin1String(location)));
        return rs.atEnd() ? -1 : rs.Fields(QStringLiteral("OnHand")).toDouble();
    }
    long cards(const QString &slip)
    {
        return db
            ->Execute(QStringLiteral("SELECT * FROM INVENTORY..tbInvStockCard WHERE RefNum = ") +
                      sql::quote(slip))
            .RecordCount();
    }
    void updateBalance(const char *item, const char *location)
    {
        db->Execute(QStringLiteral("Inventory..sp_Inv_UpdateBalance '%1', '%2'")
                        .arg(QLatin1String(item), QLatin1String(location)));
    }

    std::unique_ptr<MedicineCatalogue> catalogue;
};

TEST_P(DrugCatalogueOnEngine, AdoptsOnlyItsOwnConnection)
{
    EXPECT_TRUE(catalogue->InitConnect(QString()));
    EXPECT_TRUE(catalogue->InitConnect(db->ConnectionString()));
    EXPECT_FALSE(catalogue->InitConnect(QStringLiteral("Provider=elsewhere")));
}

TEST_P(DrugCatalogueOnEngine, ItemsAtALocationOrAnywhere)
{
    platform::Drug &drug = catalogue->Drug();
    const struct {
        const char *code;
        const char *location;
        bool found;
        const char *name;
        bool inactive;
        double priceIn, priceOut;
    } cases[] = {
        {"10001", "20", true, "CISPLATIN 50MG/50ML VIAL", false, 1667.5, 1450},
        {" 10001 ", "", true, "CISPLATIN 50MG/50ML VIAL", false, 1667.5, 1450},
        {"10017", "22", true, "ONDANSETRON 8MG/4ML AMPULE", false, 212.75, 185},
        {"10013", "20", true, "IRINOTECAN 100MG/5ML VIAL", true, 4715, 4100},
        {"20001", "21", true, "IV CANNULA G22", false, 74.75, 65},
        {"10001", "21", false, "", false, 0, 0}, // not stocked at the supply room
        {"99999", "", false, "", false, 0, 0},
        {"10001'", "20", false, "", false, 0, 0},
        {"", "20", false, "", false, 0, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.code) + " at " + c.location);
        // A hit first, so a miss must clear what it left.
        ASSERT_TRUE(drug.SearchDrug(QStringLiteral("10022"), QString()));
        EXPECT_EQ(drug.SearchDrug(QLatin1String(c.code), QLatin1String(c.location)), c.found);
        EXPECT_EQ(drug.DrugCode(), c.found ? QLatin1String(c.code).trimmed() : QString());
        EXPECT_EQ(drug.DrugName(), QLatin1String(c.name));
        EXPECT_EQ(drug.Status(), c.inactive);
        EXPECT_DOUBLE_EQ(drug.Invent().SellingPriceIn, c.priceIn);
        EXPECT_DOUBLE_EQ(drug.Invent().SellingPriceOut, c.priceOut);
    }
}

TEST_P(DrugCatalogueOnEngine, GenericNamesOfMedicinesOnly)
{
    platform::DrugGeneric &generic = catalogue->Drug().Generic();
    ASSERT_TRUE(generic.search(QStringLiteral("10015")));
    EXPECT_EQ(generic.GenericName(), QStringLiteral("CALCIUM FOLINATE"));
    EXPECT_EQ(generic.ClassificationName(), QStringLiteral("ANTIDOTE"));
    // A supply has a class but no generic name.
    EXPECT_FALSE(generic.search(QStringLiteral("20001")));
    EXPECT_TRUE(generic.GenericName().isEmpty());
    EXPECT_TRUE(generic.ClassificationName().isEmpty());
    EXPECT_FALSE(generic.search(QStringLiteral("99999")));
}

TEST_P(DrugCatalogueOnEngine, StockCardAndBalanceFollowAnIssueAndItsReversal)
{
    const QDateTime moment(QDate(2027, 3, 4), QTime(14, 25, 0));
    db->setClockFixed(moment);
    platform::Drug &drug = catalogue->Drug();
    // The cards of an untouched item already add up to its stock.
    const double cisplatin = onHand("10001", "20");
    updateBalance("10001", "20");
    EXPECT_DOUBLE_EQ(onHand("10001", "20"), cisplatin);

    ASSERT_DOUBLE_EQ(onHand("10017", "22"), 40);
    const double mainPharmacy = onHand("10017", "20");
    const QString slip = QStringLiteral("G7'C");
    drug.AppendStockCard(slip, QStringLiteral("10017"), QStringLiteral("22"), 3,
                         QStringLiteral("PH"), StockCardKind::Issue);
    EXPECT_DOUBLE_EQ(onHand("10017", "22"), 40); // the card alone moves nothing
    updateBalance("10017", "22");
    EXPECT_DOUBLE_EQ(onHand("10017", "22"), 37);
    EXPECT_DOUBLE_EQ(onHand("10017", "20"), mainPharmacy);

    drug.AppendStockCard(slip, QStringLiteral("10017"), QStringLiteral("22"), 3,
                         QStringLiteral("PH"), StockCardKind::Reversal);
    updateBalance("10017", "22");
    EXPECT_DOUBLE_EQ(onHand("10017", "22"), 40);

    Recordset rs = db->Execute(
        QStringLiteral("SELECT * FROM INVENTORY..tbInvStockCard WHERE RefNum = 'G7''C' ORDER BY "
                       "StockCardID"));
    ASSERT_EQ(rs.RecordCount(), 2);
    for (const char *type : {"I", "C"}) {
        SCOPED_TRACE(type);
        const bool issue = *type == 'I';
        EXPECT_EQ(rs.Fields(QStringLiteral("TransType")).toString(), QLatin1String(type));
        EXPECT_EQ(rs.Fields(QStringLiteral("ItemID")).toString(), QStringLiteral("10017"));
        EXPECT_EQ(rs.Fields(QStringLiteral("LocationID")).toString(), QStringLiteral("22"));
        EXPECT_EQ(rs.Fields(QStringLiteral("RevenueID")).toString(), QStringLiteral("PH"));
        EXPECT_DOUBLE_EQ(rs.Fields(QStringLiteral("QuantityOut")).toDouble(), issue ? 3 : 0);
        EXPECT_DOUBLE_EQ(rs.Fields(QStringLiteral("QuantityIn")).toDouble(), issue ? 0 : 3);
        EXPECT_DOUBLE_EQ(rs.Fields(QStringLiteral("UnitCost")).toDouble(), 185 * 0.7);
        EXPECT_EQ(rs.Fields(QStringLiteral("TransDate")).toDateTime(), moment);
        rs.MoveNext();
    }
}

TEST_P(DrugCatalogueOnEngine, CardsThatNoBalanceCouldCountAreRefused)
{
    platform::Drug &drug = catalogue->Drug();
    const struct {
        const char *item;
        const char *location;
        double quantity;
    } refused[] = {
        {"10017", "22", 0},
        {"10017", "22", -2},
        {"10017", "22", std::numeric_limits<double>::quiet_NaN()},
        {"10017", "21", 1}, // not stocked there
        {"99999", "22", 1},
    };
    for (const auto &r : refused) {
        SCOPED_TRACE(std::string(r.item) + " at " + r.location + " x " +
                     std::to_string(r.quantity));
        EXPECT_THROW(drug.AppendStockCard(QStringLiteral("G9C"), QLatin1String(r.item),
                                          QLatin1String(r.location), r.quantity,
                                          QStringLiteral("PH"), StockCardKind::Issue),
                     DatabaseError);
    }
    EXPECT_EQ(cards(QStringLiteral("G9C")), 0);
}

CHEMODESK_ENGINE_TESTS(DrugCatalogueOnEngine);

} // namespace
