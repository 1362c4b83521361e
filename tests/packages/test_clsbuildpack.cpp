// The package model against the demo hospital on each engine: packages
// stored whole or not at all, the location rule, loading into a caller's
// grid, and the package procedures' rows. Demo packages: PKG01 (HMO, 6500.00,
// seven items), PKG02 (NON - HMO, six items, charged on slip K5012C) and
// PKG03 (NON - HMO, four items).

#include "database/sqltext.h"
#include "packages/clsbuildpack.h"
#include "session/globals.h"
#include "support/enginetest.h"
#include "support/failingconnection.h"
#include "support/recordingconnection.h"
#include "support/scriptedmessages.h"

#include <gtest/gtest.h>

using namespace chemodesk;
using namespace chemodesk::packages;
using Icon = widgets::MessageService::Icon;

namespace {

// A grid that keeps what it is given.
struct Lines : PackageTarget {
    std::vector<std::pair<PackageInfo, PackageItem>> items;
    bool holding = false;
    int applied = 0;
    void appendPackageItem(const PackageInfo &p, const PackageItem &i) override
    {
        items.emplace_back(p, i);
    }
    bool holdsPackage() const override { return holding; }
    void packageApplied(const PackageInfo &) override { ++applied; }
    const PackageItem *find(const char *item) const
    {
        for (const auto &[p, i] : items)
            if (i.item == QLatin1String(item))
                return &i;
        return nullptr;
    }
};

struct Builder : BuildGrid {
    std::vector<BuildRow> rows;
    QStringList header;
    int cleared = 0;
    std::vector<BuildRow> buildRows() const override { return rows; }
    void clearBuildRows() override
    {
        rows.clear();
        ++cleared;
    }
    void appendBuildRow(const BuildRow &row) override { rows.push_back(row); }
    void setBuildHeader(const QString &type, const QString &name, const QString &amount) override
    {
        header = {type, name, amount};
    }
};

long count(Connection &c, const QString &where)
{
    return c
        .Execute(QStringLiteral("select count(*) as N from hemodialysis..tbhemopackage where ") +
                 where)
        .Fields(QStringLiteral("N"))
        .toLongLong();
}

class BuildPack : public test::EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        header = {QStringLiteral("1"), QStringLiteral("O'BRIEN CARE PACK"),
                  QStringLiteral("2500.00")};
        grid.rows = {{QStringLiteral("LB"), QStringLiteral("1001"),
                      QStringLiteral("COMPLETE BLOOD COUNT (CBC)"), QStringLiteral("1"),
                      QStringLiteral("350")},
                     {QStringLiteral("KM"), QStringLiteral("10017"),
                      QStringLiteral("ONDANSETRON 8MG/4ML AMPULE"), QStringLiteral("2"),
                      QStringLiteral("425.50")},
                     {}};
    }
    test::ScriptedMessages messages;
    Builder grid;
    // What the builder screen would hold.
    PackageHeader header;
};

TEST_P(BuildPack, ASavedPackageIsStoredWithItsHeaderAndTheSignedInEmployee)
{
    clsBuildPack pack(*db, QStringLiteral("1005"));
    pack.setPackageHeader(header);
    ASSERT_TRUE(pack.SaveBuildPackage(QStringLiteral("PKG09"), grid));
    EXPECT_EQ(messages.lastText(), QStringLiteral("Package Successfully Saved"));
    EXPECT_EQ(messages.lastTitle(), QStringLiteral("Input Check"));
    EXPECT_EQ(grid.cleared, 1);
    Recordset rs = db->Execute(QStringLiteral(
        "select PackageType, PackageName, PackageAmount, Quantity, Amount, UserID from "
        "hemodialysis..tbhemopackage where packagecode = 'PKG09' and ItemID = '10017'"));
    ASSERT_FALSE(rs.atEnd());
    EXPECT_EQ(rs.Fields(QStringLiteral("PackageType")).trimmed(), QStringLiteral("1"));
    EXPECT_EQ(rs.Fields(QStringLiteral("PackageName")).trimmed(),
              QStringLiteral("O'BRIEN CARE PACK"));
    EXPECT_DOUBLE_EQ(rs.Fields(QStringLiteral("PackageAmount")).toDouble(), 2500);
    EXPECT_DOUBLE_EQ(rs.Fields(QStringLiteral("Quantity")).toDouble(), 2);
    EXPECT_DOUBLE_EQ(rs.Fields(QStringLiteral("Amount")).toDouble(), 425.5);
    EXPECT_EQ(rs.Fields(QStringLiteral("UserID")).trimmed(), QStringLiteral("1005"));
    EXPECT_EQ(count(*db, QStringLiteral("packagecode = 'PKG09'")), 2);

    // Saving again replaces the rows rather than doubling them.
    grid.rows = {{QStringLiteral("KM"), QStringLiteral("10017"), QStringLiteral("ONDANSETRON"),
                  QStringLiteral("3"), QStringLiteral("600")}};
    header.PackageAmount = QString(); // NON - HMO packages carry none
    header.PackageType = QStringLiteral("0");
    pack.setPackageHeader(header);
    ASSERT_TRUE(pack.SaveADDPackage(QStringLiteral("PKG09"), grid));
    EXPECT_EQ(messages.lastText(), QStringLiteral("Package Successfully Added"));
    EXPECT_EQ(count(*db, QStringLiteral("packagecode = 'PKG09'")), 2);
    EXPECT_EQ(count(*db, QStringLiteral("packagecode = 'PKG09' and Quantity = 3")), 1);
}

TEST_P(BuildPack, AQuantityThatIsNoNumberStopsTheSaveBeforeAnythingIsWritten)
{
    grid.rows.push_back({QStringLiteral("XR"), QStringLiteral("2001"), QStringLiteral("CHEST PA"),
                         QStringLiteral("one"), QStringLiteral("450")});
    clsBuildPack pack(*db, QStringLiteral("1001"));
    pack.setPackageHeader(header);
    EXPECT_FALSE(pack.SaveBuildPackage(QStringLiteral("PKG09"), grid));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.lastText(),
              QStringLiteral("Please enter the quantity for the exam CHEST PA."));
    EXPECT_EQ(messages.lastTitle(), QStringLiteral("Assessment"));
    EXPECT_EQ(messages.shown().back().icon, Icon::Exclamation);
    EXPECT_EQ(count(*db, QStringLiteral("packagecode = 'PKG09'")), 0);
    EXPECT_EQ(grid.cleared, 0);
}

TEST_P(BuildPack, AFailureAtTheSecondRowLeavesNoRowOfThePackage)
{
    test::FailingConnection failing(*db,
                                    test::FailingConnection::nthStartingWith(
                                        QStringLiteral("Hemodialysis..spKidney_BuildPackage"), 2),
                                    QStringLiteral("server gone"));
    clsBuildPack pack(failing, QStringLiteral("1001"));
    pack.setPackageHeader(header);
    EXPECT_THROW(pack.SaveBuildPackage(QStringLiteral("PKG09"), grid), DatabaseError);
    EXPECT_EQ(count(*db, QStringLiteral("packagecode = 'PKG09'")), 0);
    EXPECT_EQ(grid.rows.size(), 3u); // still there to be saved again
}

TEST_P(BuildPack, UpdateReplacesTheRowAndGivesThePackageItsNewHeader)
{
    clsBuildPack pack(*db, QStringLiteral("1001"));
    pack.setPackageHeader(
        {QStringLiteral("1"), QStringLiteral("CHEMO DAY CARE"), QStringLiteral("7000.00")});
    grid.rows = {{QStringLiteral("KM"), QStringLiteral("10017"), QStringLiteral("ONDANSETRON"),
                  QStringLiteral("4"), QStringLiteral("850")}};
    ASSERT_TRUE(pack.SaveUpdatePackage(QStringLiteral("PKG01"), grid));
    EXPECT_EQ(messages.lastText(), QStringLiteral("Package Successfully Updated"));
    EXPECT_EQ(count(*db, QStringLiteral("packagecode = 'PKG01'")), 7);
    EXPECT_EQ(count(*db, QStringLiteral("packagecode = 'PKG01' and PackageAmount = 7000")), 7);
    EXPECT_EQ(count(*db, QStringLiteral("packagecode = 'PKG01' and ItemID = '10017' and "
                                        "Quantity = 4")),
              1);
}

TEST(BuildPackTexts, TheCommandsCarryTheSignedInEmployeeWhateverUserIsPassed)
{
    test::ScriptedMessages messages;
    chemodesk::testing::RecordingConnection none;
    clsBuildPack pack(none, QStringLiteral("1002"));
    EXPECT_EQ(pack.spBuildPackage("PKG9", "10017", "KM", "2", "425.5", "9999", "O'NEIL MIX", "1",
                                  "PACK", "100.00"),
              QStringLiteral("Hemodialysis..spKidney_BuildPackage 'PKG9','10017','KM','2','425.5',"
                             "'1002','O''NEIL MIX','1','PACK','100.00'"));
    EXPECT_EQ(pack.spUpdatePackage("PKG9", "10017", "KM", "2", "425.5", "9999", "MIX", "PKG8", "0",
                                   "PACK", ""),
              QStringLiteral("Hemodialysis..spKidney_UpdatePackage 'PKG9','10017','KM','2','425.5',"
                             "'1002','MIX','PKG8','0','PACK',''"));
}

TEST(BuildPackTexts, KmItemsComeFrom199KuFrom200AndOthersFromNowhere)
{
    const std::pair<const char *, const char *> cases[] = {
        {"KM", "199"}, {"km", "199"}, {"KU", "200"}, {" KU ", "200"},
        {"PH", ""},    {"LB", ""},    {"", ""}};
    for (const auto &[revenue, location] : cases)
        EXPECT_EQ(packageItemLocation(QLatin1String(revenue)), QLatin1String(location)) << revenue;
}

TEST_P(BuildPack, PackagesLoadIntoTheCallersGridWithTheirLocations)
{
    clsBuildPack pack(*db, QStringLiteral("1001"));
    pack.setPackageHeader(header);
    EXPECT_TRUE(pack.CheckPackCode(QStringLiteral("PKG01")));
    EXPECT_TRUE(pack.ValidateCode(QStringLiteral("pkg02")));
    EXPECT_FALSE(pack.CheckPackCode(QStringLiteral("LB")));
    EXPECT_FALSE(pack.ValidateCode(QStringLiteral("X' OR '1'='1")));

    Lines charge;
    pack.LoadPackage(QStringLiteral("PKG01"), charge);
    ASSERT_EQ(charge.items.size(), 7u);
    EXPECT_EQ(charge.applied, 1);
    EXPECT_EQ(charge.items.front().first.code, QStringLiteral("PKG01"));
    EXPECT_EQ(charge.items.front().first.name, QStringLiteral("CHEMO DAY CARE PACKAGE (HMO)"));
    EXPECT_EQ(charge.items.front().first.amount, QStringLiteral("6500.00"));
    ASSERT_TRUE(charge.find("10017"));
    EXPECT_EQ(charge.find("10017")->revenue, QStringLiteral("KM"));
    EXPECT_EQ(charge.find("10017")->location, QStringLiteral("199"));
    EXPECT_EQ(charge.find("10017")->quantity, QStringLiteral("2"));
    ASSERT_TRUE(charge.find("20003"));
    EXPECT_EQ(charge.find("20003")->location, QStringLiteral("200"));
    ASSERT_TRUE(charge.find("1001"));
    EXPECT_EQ(charge.find("1001")->location, QString());
    EXPECT_EQ(charge.find("1001")->amount, QStringLiteral("350.00"));

    // The assessment takes one package at a time.
    Lines assess;
    assess.holding = true;
    pack.LoadAssessPackage(QStringLiteral("PKG03"), assess);
    EXPECT_TRUE(pack.blnCheckCode());
    EXPECT_TRUE(assess.items.empty());
    EXPECT_EQ(messages.lastText(),
              QStringLiteral("You have already entered a package for this patient..."));
    EXPECT_EQ(messages.lastTitle(), QStringLiteral("CANCER"));
    assess.holding = false;
    pack.LoadAssessPackage(QStringLiteral("PKG03"), assess);
    ASSERT_EQ(assess.items.size(), 4u);
    EXPECT_EQ(assess.items.front().first.type, QStringLiteral("0"));
    pack.LoadAssessPackage(QStringLiteral("NOSUCH"), assess);
    EXPECT_FALSE(pack.blnCheckCode());
    EXPECT_EQ(assess.items.size(), 4u);

    Builder builder;
    pack.LoadBuildPackage(QStringLiteral("PKG01"), builder);
    EXPECT_EQ(builder.header,
              QStringList({QStringLiteral("1"), QStringLiteral("CHEMO DAY CARE PACKAGE (HMO)"),
                           QStringLiteral("6500.00")}));
    EXPECT_EQ(builder.rows.size(), 7u);

    EXPECT_TRUE(pack.GetLocationID(QStringLiteral("KM")));
    EXPECT_EQ(pack.LocationID(), QStringLiteral("199"));
    EXPECT_FALSE(pack.GetLocationID(QStringLiteral("ZZ")));
    EXPECT_EQ(pack.LocationID(), QString());
}

CHEMODESK_ENGINE_TESTS(BuildPack);

} // namespace
