// Upgrades happen in place: a table or column added to the definitions
// appears in an existing database without touching the rows it holds; numbered
// steps are applied once each, and a failing one leaves the version before.

#include "database/schemabuilder.h"
#include "support/enginetest.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace chemodesk;
using namespace chemodesk::db;

namespace {

class SchemaTest : public test::EngineTest {
protected:
    SchemaTest() : EngineTest(Contents::Empty) {}
};

TEST_P(SchemaTest, UpgradeAddsTablesColumnsAndIndexesAndKeepsRows)
{
    TableDef probe{
        QStringLiteral("CLINICAL_AREA"),
        QStringLiteral("tbUpgradeProbe"),
        columns(QStringLiteral(
            "ProbeID identity, Code varchar(10) not null, Amount decimal(19,4) default 0")),
        {QStringLiteral("ProbeID")},
        {}};
    applySchema(*db, {probe}, 50);
    db->Execute(QStringLiteral(
        "INSERT INTO Clinical_Area..tbUpgradeProbe (Code, Amount) VALUES ('A''1', 12.5)"));
    EXPECT_EQ(storedSchemaVersion(*db), 50);

    probe.columns.push_back(columns(QStringLiteral("Remarks varchar(20) default 'none'")).front());
    probe.columns.push_back(columns(QStringLiteral("Posted datetime not null")).front());
    probe.indexes.push_back(IndexDef{{QStringLiteral("Code")}, false, true});
    const TableDef added{QStringLiteral("BILLING"),
                         QStringLiteral("tbUpgradeAdded"),
                         columns(QStringLiteral("K int not null, V varchar(5)")),
                         {QStringLiteral("K")},
                         {}};
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

// A fresh database is at the hospital's version; these steps come after it.
TEST_P(SchemaTest, StepsAboveTheStoredVersionAreAppliedOnceEach)
{
    std::vector<int> filled;
    const TableDef probe{QStringLiteral("CLINICAL_AREA"),
                         QStringLiteral("tbStepProbe"),
                         columns(QStringLiteral("K int not null, V varchar(10)")),
                         {QStringLiteral("K")},
                         {}};
    const SchemaStep created{
        60, {probe}, [&](HostedConnection &c) {
            filled.push_back(60);
            c.Execute(
                QStringLiteral("INSERT INTO Clinical_Area..tbStepProbe (K, V) VALUES (1, 'one')"));
        }};
    EXPECT_EQ(applySchemaSteps(*db, {created}), 1);
    EXPECT_EQ(storedSchemaVersion(*db), 60);

    // A column and an index for the table, then a table of its own.
    const TableDef widened{QStringLiteral("CLINICAL_AREA"),
                           QStringLiteral("tbStepProbe"),
                           columns(QStringLiteral("Posted bit default 0")),
                           {},
                           {IndexDef{{QStringLiteral("V")}, false, true}}};
    const TableDef added{QStringLiteral("BILLING"),
                         QStringLiteral("tbStepAdded"),
                         columns(QStringLiteral("K int not null")),
                         {QStringLiteral("K")},
                         {}};
    const std::vector<SchemaStep> steps = {
        created,
        {61,
         {widened},
         [&](HostedConnection &c) {
             filled.push_back(61);
             c.Execute(QStringLiteral("UPDATE Clinical_Area..tbStepProbe SET Posted = 1"));
         }},
        {62,
         {added},
         [&](HostedConnection &c) {
             filled.push_back(62);
             c.Execute(QStringLiteral("INSERT INTO Billing..tbStepAdded (K) VALUES (7)"));
         }},
    };
    EXPECT_EQ(applySchemaSteps(*db, steps), 2);
    EXPECT_EQ(applySchemaSteps(*db, steps), 0);
    EXPECT_EQ(filled, (std::vector<int>{60, 61, 62}));
    EXPECT_EQ(storedSchemaVersion(*db), 62);

    Recordset rs =
        db->Execute(QStringLiteral("select K, V, Posted from CLINICAL_AREA..tbStepProbe"));
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Fields(QStringLiteral("V")).toString(), QStringLiteral("one"));
    EXPECT_EQ(rs.Fields(QStringLiteral("Posted")).toLongLong(), 1);
    EXPECT_EQ(db->Execute(QStringLiteral("select count(*) from BILLING..tbStepAdded"))
                  .Fields(0)
                  .toLongLong(),
              1);
}

TEST_P(SchemaTest, AFailingStepLeavesTheVersionBeforeIt)
{
    const TableDef first{QStringLiteral("CLINICAL_AREA"),
                         QStringLiteral("tbStepFirst"),
                         columns(QStringLiteral("K int not null")),
                         {QStringLiteral("K")},
                         {}};
    const TableDef second{QStringLiteral("BILLING"),
                          QStringLiteral("tbStepSecond"),
                          columns(QStringLiteral("K int not null")),
                          {QStringLiteral("K")},
                          {}};
    const TableDef widened{QStringLiteral("CLINICAL_AREA"),
                           QStringLiteral("tbStepFirst"),
                           columns(QStringLiteral("Extra int")),
                           {},
                           {}};
    bool fail = true;
    const std::vector<SchemaStep> steps = {
        {70, {first}, {}},
        // Its table, its column and its rows are written before it fails, and go with it.
        {71,
         {second, widened},
         [&](HostedConnection &c) {
             c.Execute(QStringLiteral("INSERT INTO Billing..tbStepSecond (K) VALUES (1)"));
             if (fail)
                 throw DatabaseError(QStringLiteral("the step's data could not be written"));
         }},
    };
    EXPECT_THROW(applySchemaSteps(*db, steps), DatabaseError);
    EXPECT_EQ(storedSchemaVersion(*db), 70);
    EXPECT_EQ(db->TransactionDepth(), 0);
    EXPECT_THROW(db->Execute(QStringLiteral("select count(*) from BILLING..tbStepSecond")),
                 DatabaseError);
    EXPECT_THROW(db->Execute(QStringLiteral("select Extra from CLINICAL_AREA..tbStepFirst")),
                 DatabaseError);

    fail = false;
    EXPECT_EQ(applySchemaSteps(*db, steps), 1);
    EXPECT_EQ(storedSchemaVersion(*db), 71);
    EXPECT_EQ(db->Execute(QStringLiteral("select count(*) from BILLING..tbStepSecond"))
                  .Fields(0)
                  .toLongLong(),
              1);
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
