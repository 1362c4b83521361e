// Department codes: a typed code validated, completed through the search
// dialog or refused; the department's stock location; the code list.

#include "charging/revenuecode.h"
#include "patients/frmsearch.h"
#include "support/enginetest.h"
#include "support/recordingconnection.h"
#include "support/scriptedmessages.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

using namespace chemodesk;
using charging::clsRevenueCode;
using chemodesk::testing::RecordingConnection;
using chemodesk::testing::table;
using patients::frmSearch;

namespace {

QString properties(const clsRevenueCode &code)
{
    return QStringList{code.RevenueID(), code.Revenue(), code.WithItems(),
                       code.SearchInventory() ? QStringLiteral("true") : QStringLiteral("false"),
                       code.LocationID()}
        .join(QLatin1Char('|'));
}

// The codes the dialog lists, in order.
QStringList listed(const frmSearch &dialog)
{
    QStringList out;
    for (int row = 0; row < dialog.grdDispWindow->rowCount(); ++row)
        out << dialog.grdDispWindow->item(row, 0)->text();
    return out;
}

class RevenueCode : public test::EngineTest {
protected:
};

TEST_P(RevenueCode, ExactCodesNeverOpenTheDialog)
{
    test::ScriptedMessages messages;
    clsRevenueCode code(*db);
    const std::pair<const char *, const char *> cases[] = {
        {"LB", "LB|LABORATORY|Y|false|"}, // no location: NULL reads as empty
        {"PH", "PH|PHARMACY|Y|true|20"},
        {"md", "MD|PROFESSIONAL FEE|N|false|"},
    };
    for (const auto &[typed, expected] : cases) {
        EXPECT_TRUE(code.ValidateRevenue(QLatin1String(typed))) << typed;
        EXPECT_EQ(properties(code), QLatin1String(expected));
    }
    EXPECT_EQ(messages.dialogsShown(), 0);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_P(RevenueCode, PartialCodeIsCompletedByTheChoice)
{
    test::ScriptedMessages messages;
    messages.onDialog([](QDialog &shown) {
        auto &d = static_cast<frmSearch &>(shown);
        d.show();
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Revenue Codes"));
        EXPECT_EQ(d.txtSearchStr->text(), QStringLiteral("P"));
        // Codes or names starting with P: pulmonary, pharmacy, rehabilitation
        // by code; professional fee and patient discount by name.
        EXPECT_EQ(listed(d), (QStringList{"MD", "PA", "PH", "PT", "SM"}));
        d.grdDispWindow->setCurrentCell(1, 0);
        d.cmdSelect->click();
        return d.result();
    });
    clsRevenueCode code(*db);
    EXPECT_TRUE(code.ValidateRevenue(QStringLiteral("P")));
    EXPECT_EQ(properties(code), QStringLiteral("PA|PULMONARY|Y|false|"));
    EXPECT_EQ(messages.dialogsShown(), 1);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_P(RevenueCode, NothingFoundOrCancelled)
{
    test::ScriptedMessages messages;
    clsRevenueCode code(*db);
    ASSERT_TRUE(code.ValidateRevenue(QStringLiteral("CS")));

    // Unknown, and a department the unit does not use.
    for (const char *typed : {"ZZ", "KS", "O'"}) {
        messages.clear();
        EXPECT_FALSE(code.ValidateRevenue(QLatin1String(typed))) << typed;
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.lastText(), QStringLiteral("Item does not exists."));
        EXPECT_EQ(messages.lastTitle(), widgets::defaultTitle());
        EXPECT_EQ(messages.shown().front().icon, widgets::MessageService::Exclamation);
    }
    EXPECT_EQ(messages.dialogsShown(), 0);

    // Cancelled: no message, the last department stays.
    messages.clear();
    messages.onDialog([](QDialog &shown) {
        shown.show();
        static_cast<frmSearch &>(shown).cmdCancel->click();
        return shown.result();
    });
    EXPECT_FALSE(code.ValidateRevenue(QStringLiteral("L")));
    EXPECT_EQ(messages.dialogsShown(), 1);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(properties(code), QStringLiteral("CS|CENTRAL SUPPLY|Y|true|21"));
}

TEST_P(RevenueCode, StockLocationsAndTheCodeList)
{
    QString location = QStringLiteral("old"), stockcard = QStringLiteral("old");
    EXPECT_TRUE(charging::CheckLocationID(*db, QStringLiteral("PH"), location));
    EXPECT_EQ(location, QStringLiteral("20"));
    EXPECT_FALSE(charging::CheckLocationID(*db, QStringLiteral("LB"), location));
    EXPECT_EQ(location, QString());
    EXPECT_TRUE(charging::CheckLocationID(*db, QStringLiteral("CS"), location, stockcard));
    EXPECT_EQ(location + QLatin1Char('|') + stockcard, QStringLiteral("21|CS"));
    EXPECT_FALSE(charging::CheckLocationID(*db, QStringLiteral("XR"), location, stockcard));
    EXPECT_EQ(location + QLatin1Char('|') + stockcard, QStringLiteral("|"));
    EXPECT_FALSE(charging::CheckLocationID(*db, QStringLiteral("Z'"), location, stockcard));

    Recordset codes = db->Execute(QStringLiteral("Clinical_Area..spCancer_ChargingCodes"));
    QStringList listed;
    for (; !codes.atEnd(); codes.MoveNext())
        listed << codes.Fields(QStringLiteral("RevenueID")).toString() + QLatin1Char(' ') +
                      codes.Fields(QStringLiteral("Revenue")).toString();
    EXPECT_EQ(listed.size(), 16);
    EXPECT_EQ(listed.first(), QStringLiteral("CS CENTRAL SUPPLY"));
    EXPECT_TRUE(listed.contains(QStringLiteral("ON ONCOLOGY SERVICES")));
    EXPECT_FALSE(listed.contains(QStringLiteral("KS KIDNEY SERVICES")));
}

CHEMODESK_ENGINE_TESTS(RevenueCode);

const QStringList Columns = {"RevenueID", "Revenue", "WithItems", "SearchInventory", "LocationID"};

TEST(RevenueCodeTexts, TheTextsSentAndAChoiceThatVanished)
{
    test::ScriptedMessages messages;
    RecordingConnection db;
    db.answer(QStringLiteral("Clinical_Area..spCancer_SearchRevenue '2','L''A'"),
              table(Columns, {{"LB", "LABORATORY", "Y", false, QVariant()}}));
    messages.onDialog([](QDialog &shown) {
        auto &d = static_cast<frmSearch &>(shown);
        EXPECT_EQ(d.Query, QStringLiteral("Clinical_Area..spCancer_SearchRevenue '0','##'"));
        EXPECT_EQ(d.Criteria, QStringLiteral("L'A"));
        d.ResultCode = QStringLiteral("LB");
        d.Valid = true;
        return int(QDialog::Accepted);
    });
    clsRevenueCode code(db);
    // The chosen code is read again exactly; it has gone meanwhile.
    EXPECT_FALSE(code.ValidateRevenue(QStringLiteral("L'A")));
    EXPECT_EQ(messages.lastText(), QStringLiteral("Item does not exists."));
    EXPECT_EQ(db.texts(), (QStringList{"Clinical_Area..spCancer_SearchRevenue '1','L''A'",
                                       "Clinical_Area..spCancer_SearchRevenue '2','L''A'",
                                       "Clinical_Area..spCancer_SearchRevenue '1','LB'"}));

    db.clearRecord();
    QString location, stockcard;
    charging::CheckLocationID(db, QStringLiteral("P'H"), location);
    charging::CheckLocationID(db, QStringLiteral("P'H"), location, stockcard);
    EXPECT_EQ(db.texts(),
              (QStringList{"Select isnull(locationid,'') AS LocationID from "
                           "BUILD_FILE..tbCoRevenueCode where revenueid = 'P''H'",
                           "Select LocationID, StockcardRevenueid from Build_file..tbCoRevenuecode "
                           "where revenueid = 'P''H'"}));
}

} // namespace
