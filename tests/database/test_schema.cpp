// Upgrades happen in place: a table or column added to the definitions
// appears in an existing database without touching the rows it holds.

#include "database/schemabuilder.h"
#include "support/enginetest.h"

#include <gtest/gtest.h>

using namespace chemodesk;
using namespace chemodesk::db;

namespace {

class SchemaTest : public test::EngineTest {
protected:
    SchemaTest() : EngineTest(Contents::Empty) {}
};

TEST_P(SchemaTest, UpgradeAddsTablesColumnsAndIndexesAndKeepsRows)
{
    TableDef probe{QStringLiteral("CLINICAL_AREA"), QStringLiteral("tbUpgradeProbe"),
                   columns(QStringLiteral("ProbeID identity, Code varchar(10) not null, Amount decimal(19,4) default 0")),
                   {QStringLiteral("ProbeID")}, {}};
    applySchema(*db, {probe}, 50);
    db->Execute(QStringLiteral(
        "INSERT INTO Clinical_Area..tbUpgradeProbe (Code, Amount) VALUES ('A''1', 12.5)"));
    EXPECT_EQ(storedSchemaVersion(*db), 50);

    probe.columns.push_back(columns(QStringLiteral("Remarks varchar(20) default 'none'")).front());
    probe.columns.push_back(columns(QStringLiteral("Posted datetime not null")).front());
    probe.indexes.push_back(IndexDef{{QStringLiteral("Code")}, false, true});
    const TableDef added{QStringLiteral("BILLING"), QStringLiteral("tbUpgradeAdded"),
                         columns(QStringLiteral("K int not null, V varchar(5)")), {QStringLiteral("K")}, {}};
    applySchema(*db, {probe, added}, 51);
    applySchema(*db, {probe, added}, 51); // repeating it changes nothing

    Recordset rs = db->Execute(QStringLiteral("select * from CLINICAL_AREA..tbUpgradeProbe"));
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Fields(QStringLiteral("Code")).toString(), QStringLiteral("A'1"));
    EXPECT_DOUBLE_EQ(rs.Fields(QStringLiteral("Amount")).toDouble(), 12.5);
    EXPECT_EQ(rs.Fields(QStringLiteral("Remarks")).toString(), QStringLiteral("none"));
    EXPECT_TRUE(rs.Fields(QStringLiteral("Posted")).IsNull()); // old rows have no value for it
    db->Execute(QStringLiteral("INSERT INTO Billing..tbUpgradeAdded (K, V) VALUES (1, 'x')"));
    EXPECT_EQ(storedSchemaVersion(*db), 51);
}

// Every hospital database lives in the one file (SQLite cannot attach
// eleven) or one server database, and a join across several works.
TEST_P(SchemaTest, AllDatabasesMeetInOneStatement)
{
    EXPECT_NO_THROW(db->Execute(QStringLiteral(
        "select count(*) from PATIENT_DATA..tbPatient A inner join BUILD_FILE..TbCoRoom B on "
        "A.RoomID = B.RoomID "
        "inner join CLINICAL_AREA..tbCancerCharges C on C.IdNum = A.IdNum inner join "
        "INVENTORY..tbinvent D on "
        "D.ItemID = C.ItemID inner join LABORATORY..tbLabRequest E on E.IdNum = A.IdNum inner join "
        "RADIOLOGY..tbRadioRequest F on F.IdNum = A.IdNum inner join PASSWORD..tbPasswordMaster G "
        "on "
        "G.EmployeeID = C.UserID inner join BILLING..tbBillExamListing H on H.ItemID = C.ItemID "
        "inner join "
        "HEMODIALYSIS..tbKidneyChargeSlip I on I.EmployeeID = G.EmployeeID inner join "
        "INVENTORY..tbInvLocation J "
        "on J.LocationID = D.LocationID inner join PATIENT_DATA..tbMaster K on K.HospNum = "
        "A.HospNum "
        "inner join BUILD_FILE..tbCoDoctor L on L.DoctorID = C.DoctorID")));
}

CHEMODESK_ENGINE_TESTS(SchemaTest);

} // namespace
