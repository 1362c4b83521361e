// The package dialogs offscreen on each engine: the package list and its
// items with their selection marks, applying into the caller's grids, the
// refusals, and the charges of an applied package. The texts they send are
// the hospital's, recorded as sent.

#include "packages/packagedialogs.h"
#include "support/enginetest.h"
#include "support/scriptedmessages.h"
#include "support/textrecorder.h"

#include "database/forwardingconnection.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace chemodesk;
using namespace chemodesk::packages;
using Icon = widgets::MessageService::Icon;

namespace {

using Recorder = chemodesk::testing::TextRecorder;

struct Lines : PackageTarget {
    std::vector<PackageItem> items;
    QString package;
    int applied = 0;
    void appendPackageItem(const PackageInfo &p, const PackageItem &i) override
    {
        package = p.code;
        items.push_back(i);
    }
    void packageApplied(const PackageInfo &) override { ++applied; }
};

QString headerText(const QTableWidget *grid, int column)
{
    const QTableWidgetItem *item = grid->horizontalHeaderItem(column);
    return item ? item->text() : QString();
}

class PackageDialogs : public test::EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (db)
            recorder = std::make_unique<Recorder>(*db);
    }
    test::ScriptedMessages messages;
    std::unique_ptr<Recorder> recorder;
};

TEST_P(PackageDialogs, ListPackageShowsThePackagesAndAppliesTheItemsTaken)
{
    frmListPackage dialog(*recorder);
    Lines source;
    dialog.setSourceGrid(&source);
    dialog.show();
    EXPECT_EQ(recorder->texts, QStringList{QStringLiteral("Clinical_Area..sp_Get_AdmPackages 15")});
    ASSERT_EQ(dialog.mshflexPackage->rowCount(), 3);
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(headerText(dialog.mshflexPackage, c),
                  QStringList({"Code", "Description", "Gross Total"})[c]);
    EXPECT_EQ(dialog.mshflexPackage->item(0, 2)->text(), QStringLiteral("6500.00"));
    EXPECT_FALSE(dialog.cmdOption[1]->isEnabled());

    // A click on PKG02: its gross total and six items, every one to take.
    QTest::mouseClick(
        dialog.mshflexPackage->viewport(), Qt::LeftButton, {},
        dialog.mshflexPackage->visualItemRect(dialog.mshflexPackage->item(1, 1)).center());
    EXPECT_EQ(recorder->texts.last(),
              QStringLiteral("Clinical_Area..sp_Get_ADMPackage_Items 'PKG02',15"));
    EXPECT_TRUE(dialog.lblInfo->text().startsWith(QLatin1String("Gross: ")));
    QTableWidget *items = dialog.mshflexPackageItems;
    ASSERT_EQ(items->rowCount(), 6);
    EXPECT_EQ(items->columnCount(), 9);
    const QStringList headers = {"Code", "Revenue", "Description", "Qty", "Amt", "Location"};
    for (int c = 0; c < headers.size(); ++c)
        EXPECT_EQ(headerText(items, c + 2), headers[c]);
    for (int c : {0, 7, 8})
        EXPECT_TRUE(items->isColumnHidden(c)) << c;
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(dialog.itemMark(row), QStringLiteral("1"));
    EXPECT_TRUE(dialog.cmdOption[1]->isEnabled());

    // A click on an item takes it out, a second puts it back.
    const qint64 before = items->item(0, itemPicture)->icon().cacheKey();
    dialog.toggleItem(0);
    EXPECT_EQ(dialog.itemMark(0), QStringLiteral("2"));
    EXPECT_NE(items->item(0, itemPicture)->icon().cacheKey(), before);
    dialog.toggleItem(1);
    dialog.toggleItem(1);
    EXPECT_EQ(dialog.itemMark(1), QStringLiteral("1"));

    const QString skipped = items->item(0, itemCode)->text();
    dialog.cmdOption[1]->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(messages.shown().empty());
    ASSERT_EQ(source.items.size(), 5u);
    EXPECT_EQ(source.package, QStringLiteral("PKG02"));
    EXPECT_EQ(source.applied, 1);
    for (const PackageItem &item : source.items) {
        EXPECT_NE(item.item, skipped);
        EXPECT_EQ(item.location, packageItemLocation(item.revenue)) << item.item.toStdString();
        EXPECT_FALSE(item.description.isEmpty());
    }
    EXPECT_FALSE(dialog.applied().applied);
}

TEST_P(PackageDialogs, OpdPackageSendsTheItemsNotTakenToThePackageGridAndRemembersThePackage)
{
    frmOPDPackage dialog(*recorder);
    dialog.setChargesType(QStringLiteral("Assessment"));
    Lines source, rest;
    dialog.setSourceGrid(&source);
    dialog.setPackageGrid(&rest);
    dialog.choosePackage(0); // PKG01
    EXPECT_EQ(recorder->texts.last(), QStringLiteral("STATION..sp_Get_ADMPackage_Items 'PKG01'"));
    EXPECT_EQ(dialog.lblInfo->text(), QStringLiteral("Gross: 6500.00"));
    ASSERT_EQ(dialog.mshflexPackageItems->rowCount(), 7);
    dialog.toggleItem(2);
    dialog.toggleItem(5);
    dialog.apply();
    EXPECT_EQ(source.items.size(), 5u);
    EXPECT_EQ(rest.items.size(), 2u);
    EXPECT_EQ(dialog.applied().applied, true);
    EXPECT_EQ(dialog.applied().code, QStringLiteral("PKG01"));
}

TEST_P(PackageDialogs, NothingTakenIsRefusedAndTheDialogStaysOpen)
{
    frmOPDPackage dialog(*recorder);
    Lines source;
    dialog.setSourceGrid(&source);
    dialog.show();
    dialog.choosePackage(2);
    for (int row = 0; row < dialog.mshflexPackageItems->rowCount(); ++row)
        dialog.toggleItem(row);
    dialog.cmdOption[1]->click();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.lastText(), QStringLiteral("Please select Package Items!"));
    EXPECT_EQ(messages.lastTitle(), QStringLiteral("Message"));
    EXPECT_EQ(messages.shown().back().icon, Icon::Critical);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(source.items.empty());
    EXPECT_FALSE(dialog.applied().applied);
}

TEST_P(PackageDialogs, WithNoPackageTheListIsHiddenAndSaysSo)
{
    db->Execute(QStringLiteral("delete from hemodialysis..tbhemopackage"));
    frmListPackage dialog(*recorder);
    dialog.show();
    EXPECT_EQ(messages.lastText(),
              QStringLiteral("There is no Package Build in Buildfile Program.."));
    EXPECT_EQ(messages.shown().back().icon, Icon::Information);
    EXPECT_TRUE(dialog.mshflexPackage->isHidden());
    EXPECT_EQ(dialog.mshflexPackage->rowCount(), 0);
    EXPECT_FALSE(dialog.cmdOption[1]->isEnabled());
}

TEST_P(PackageDialogs, PackageChargesListsWhatWasPostedUnderThePackage)
{
    const QString idNum = db->Execute(QStringLiteral("select max(IdNum) as IdNum from "
                                                     "Clinical_Area..tbCancerCharges where "
                                                     "ChargeSlip = 'K5012C'"))
                              .Fields(0)
                              .trimmed();
    frmListPackageCharges dialog(*recorder);
    dialog.setRefNum(QStringLiteral("K5012C"));
    dialog.setIdNum(idNum);
    dialog.setPackageCode(QStringLiteral("PKG02"));
    dialog.setPackageName(QStringLiteral("PACLITAXEL-CARBOPLATIN CYCLE"));
    dialog.show();
    EXPECT_EQ(recorder->texts,
              QStringList{QStringLiteral("HEMODIALYSIS..spKidney_GetPackageCharges 'K5012C','") +
                          idNum + QStringLiteral("','PKG02'")});
    EXPECT_EQ(dialog.lblCaption->text(), QStringLiteral("PACLITAXEL-CARBOPLATIN CYCLE- PKG02"));
    EXPECT_TRUE(dialog.lblRefNum->text().endsWith(QLatin1String("K5012C")));
    EXPECT_EQ(dialog.grdExams->rowCount(), 6);
    EXPECT_TRUE(messages.shown().empty());
}

CHEMODESK_ENGINE_TESTS(PackageDialogs);

} // namespace
