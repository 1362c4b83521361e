// The package procedures on each engine against the demo packages: the
// lists the pick dialogs show, the items a package line is saved from, the
// charges of a package already applied, and the saved package item.

#include "support/enginetest.h"

#include <gtest/gtest.h>

using namespace chemodesk;

namespace {

class PackageProcedures : public test::EngineTest {
protected:
    Recordset run(const char *text) { return db->Execute(QString::fromUtf8(text)); }
};

TEST_P(PackageProcedures, TheListGivesEachPackageItsGrossTotal)
{
    Recordset rs = run("Clinical_Area..sp_Get_AdmPackages 15");
    ASSERT_EQ(rs.RecordCount(), 3);
    EXPECT_EQ(rs.Fields(QStringLiteral("Code")).trimmed(), QStringLiteral("PKG01"));
    EXPECT_EQ(rs.Fields(QStringLiteral("Description")).trimmed(),
              QStringLiteral("CHEMO DAY CARE PACKAGE (HMO)"));
    // An HMO package is priced as a whole...
    EXPECT_DOUBLE_EQ(rs.Fields(QStringLiteral("GrossTotal")).toDouble(), 6500);
    rs.MoveNext();
    // ...a NON - HMO package by its items.
    const Recordset sum = run("select sum(Amount) as Total from hemodialysis..tbhemopackage "
                              "where packagecode = 'PKG02'");
    EXPECT_DOUBLE_EQ(rs.Fields(QStringLiteral("GrossTotal")).toDouble(),
                     sum.Fields(QStringLiteral("Total")).toDouble());
    EXPECT_GT(sum.Fields(QStringLiteral("Total")).toDouble(), 0);
}

TEST_P(PackageProcedures, ItemsCarryTheirLocationsInBothItemLists)
{
    for (const char *text : {"Clinical_Area..sp_Get_ADMPackage_Items 'PKG02',15",
                             "STATION..sp_Get_ADMPackage_Items 'PKG02'"}) {
        SCOPED_TRACE(text);
        Recordset rs = run(text);
        ASSERT_EQ(rs.RecordCount(), 6);
        int stocked = 0;
        for (; !rs.atEnd(); rs.MoveNext()) {
            const QString revenue = rs.Fields(QStringLiteral("Revenue")).trimmed();
            const QString location = rs.Fields(QStringLiteral("Location")).trimmed();
            EXPECT_EQ(location, revenue == QLatin1String("KM")   ? QStringLiteral("199")
                                : revenue == QLatin1String("KU") ? QStringLiteral("200")
                                                                 : QString());
            stocked += !location.isEmpty();
            for (const char *column : {"Code", "Description", "Qty", "Amt"})
                EXPECT_FALSE(rs.Fields(QLatin1String(column)).IsNull()) << column;
        }
        EXPECT_EQ(stocked, 4);
    }
    EXPECT_EQ(run("STATION..sp_Get_ADMPackage_Items 'NOSUCH'").RecordCount(), 0);
}

TEST_P(PackageProcedures, PackageItemsForSavingNameTheirStockCardDepartment)
{
    Recordset rs = run("Clinical_Area..spCancer_GetPackageItems 'PKG01'");
    ASSERT_EQ(rs.RecordCount(), 7);
    bool sawMedicine = false, sawService = false;
    for (; !rs.atEnd(); rs.MoveNext()) {
        const QString revenue = rs.Fields(QStringLiteral("RevenueID")).trimmed();
        EXPECT_FALSE(rs.Fields(QStringLiteral("ItemDescription")).trimmed().isEmpty());
        EXPECT_GT(rs.Fields(QStringLiteral("Quantity")).toDouble(), 0);
        if (revenue == QLatin1String("KM")) {
            sawMedicine = true;
            EXPECT_EQ(rs.Fields(QStringLiteral("InvCode")).trimmed(), QStringLiteral("KM"));
            EXPECT_EQ(rs.Fields(QStringLiteral("LocationID")).trimmed(), QStringLiteral("199"));
        } else if (revenue == QLatin1String("ON")) {
            sawService = true;
            EXPECT_EQ(rs.Fields(QStringLiteral("LocationID")).trimmed(), QString());
        }
    }
    EXPECT_TRUE(sawMedicine && sawService);
}

TEST_P(PackageProcedures, TheChargesOfAnAppliedPackageAreThoseOfItsSlip)
{
    const Recordset patient = run("select max(IdNum) as IdNum from Clinical_Area..tbCancerCharges "
                                  "where ChargeSlip = 'K5012C'");
    const QString idNum = patient.Fields(QStringLiteral("IdNum")).trimmed();
    ASSERT_FALSE(idNum.isEmpty());
    Recordset rs =
        db->Execute(QStringLiteral("HEMODIALYSIS..spKidney_GetPackageCharges 'K5012C','%1','PKG02'")
                        .arg(idNum));
    EXPECT_EQ(rs.RecordCount(), 6);
    EXPECT_EQ(rs.Fields(QStringLiteral("RequestStatus")).trimmed(), QStringLiteral("X"));
    EXPECT_EQ(
        db->Execute(QStringLiteral("HEMODIALYSIS..spKidney_GetPackageCharges 'K5012C','%1','PKG01'")
                        .arg(idNum))
            .RecordCount(),
        0);
    // Its stocked items' cards are tied to the package, and the stations'
    // stock adds up.
    const Recordset tied = run("select count(*) as N from INVENTORY..tbInvStockCard "
                               "where RefNum = 'K5012C' and PackageID = 'PKG02'");
    EXPECT_EQ(tied.Fields(QStringLiteral("N")).toLongLong(), 4);
    const Recordset stock = run(
        "select I.OnHand, (select sum(QuantityIn) - sum(QuantityOut) from "
        "INVENTORY..tbInvStockCard C where C.ItemID = I.ItemID and C.LocationID = I.LocationID) "
        "as Cards from INVENTORY..tbinvent I where I.LocationID = '199' and I.ItemID = '10003'");
    ASSERT_FALSE(stock.atEnd());
    EXPECT_DOUBLE_EQ(stock.Fields(QStringLiteral("OnHand")).toDouble(),
                     stock.Fields(QStringLiteral("Cards")).toDouble());
}

TEST_P(PackageProcedures, ASavedPackageItemIsAChargeOfThePackage)
{
    run("Clinical_Area..spCancer_AppendChargingNew '1000018','261018','10017','851','2',"
        "'12/01/2026 02:05:09 PM','KM','X','1005','ONDANSETRON 8MG/4ML AMPULE','D','G1520C',"
        "'199','PKG01'");
    Recordset rs = run("select PackageID, PatientType, TransDate, LocationID, ChargeType from "
                       "Clinical_Area..tbCancerCharges where ChargeSlip = 'G1520C'");
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Fields(QStringLiteral("PackageID")).trimmed(), QStringLiteral("PKG01"));
    EXPECT_EQ(rs.Fields(QStringLiteral("PatientType")).trimmed(), QStringLiteral("I"));
    EXPECT_EQ(rs.Fields(QStringLiteral("TransDate")).toDateTime(),
              QDateTime(QDate(2026, 12, 1), QTime(14, 5, 9)));
    EXPECT_EQ(run("select count(*) as N from Clinical_Area..tbCancerLogBook where ChargeSlip = "
                  "'G1520C'")
                  .Fields(QStringLiteral("N"))
                  .toLongLong(),
              1);
    // A malformed line is refused, naming the procedure.
    for (const char *text :
         {"Clinical_Area..spCancer_AppendChargingNew '1000018','261018','10017','851','0',"
          "'12/01/2026 02:05:09 PM','KM','X','1005','X','D','G1520C','199','PKG01'",
          "Clinical_Area..spCancer_AppendChargingNew '1000018','261018','10017','851','1',"
          "'2026-12-01','KM','X','1005','X','D','G1520C','199','PKG01'",
          "Clinical_Area..spCancer_AppendChargingNew '1000018','261018','10017','851','1',"
          "'12/01/2026 02:05:09 PM','KM','X','1005','X','D','G1520C','199',''"}) {
        SCOPED_TRACE(text);
        try {
            run(text);
            ADD_FAILURE() << "accepted";
        } catch (const DatabaseError &e) {
            EXPECT_TRUE(e.message().startsWith(QLatin1String("spCancer_AppendChargingNew")))
                << e.message().toStdString();
        }
    }
}

CHEMODESK_ENGINE_TESTS(PackageProcedures);

} // namespace
