// The texts a charge slip is saved and cancelled with, byte for byte and in
// order, on a recording connection; and our procedures refusing values they
// cannot store, on each engine.

#include "charging/chargesave.h"
#include "platform/drugcatalogue.h"
#include "session/globals.h"
#include "support/enginetest.h"
#include "support/recordingconnection.h"

#include <gtest/gtest.h>

using namespace chemodesk;
using namespace chemodesk::charging;
using chemodesk::testing::RecordingConnection;
using chemodesk::testing::table;

namespace {

struct StockCard {
    QString slip, item, location;
    double quantity;
    QString department;
    platform::StockCardKind kind;
};

// The drug catalogue's stock card, recorded.
class RecordingDrug : public platform::Drug {
public:
    bool SearchDrug(const QString &, const QString &) override { return false; }
    QString DrugCode() const override { return {}; }
    QString DrugName() const override { return {}; }
    bool Status() const override { return false; }
    const platform::InventPrices &Invent() const override { return prices; }
    platform::DrugGeneric &Generic() override { throw std::logic_error("not used"); }
    void AppendStockCard(const QString &chargeSlip, const QString &itemId,
                         const QString &locationId, double quantity, const QString &departmentCode,
                         platform::StockCardKind kind) override
    {
        cards.push_back({chargeSlip, itemId, locationId, quantity, departmentCode, kind});
    }
    platform::InventPrices prices;
    std::vector<StockCard> cards;
};

const QString ServerDateText =
    QStringLiteral("Select GetDate() As ServerDate From Patient_Data..tbHospitalInfo");

class SlipTexts : public ::testing::Test {
protected:
    void SetUp() override
    {
        session::resetGlobals();
        c.answer(QStringLiteral("Clinical_Area..spCancer_DrawChargeSlip"),
                 table({QStringLiteral("ChargeSlip")}, {{7}}));
        c.answer(ServerDateText, table({QStringLiteral("ServerDate")},
                                       {{QDateTime(QDate(2026, 12, 1), QTime(14, 5, 9))}}));
        c.answer(QStringLiteral("CLINICAL_AREA..sp_pulmogetrequestnum"),
                 table({QStringLiteral("RequestNum")}, {{301}}));
        header.hospNum = QStringLiteral("1000018");
        header.idNum = QStringLiteral("261018");
        header.room = QStringLiteral("404");
        header.doctorId = QStringLiteral("102");
        header.doctorName = QStringLiteral("Dr. O'HARA, MARIA");
        header.patientType = QStringLiteral("I");
        header.userId = QStringLiteral("1001");
    }
    void TearDown() override { session::resetGlobals(); }

    RecordingConnection c;
    RecordingDrug drug;
    SlipHeader header;
};

TEST_F(SlipTexts, EveryLineIsWrittenInOrderInsideOneTransaction)
{
    const std::vector<ChargeLine> lines = {
        {"PH", "10001", "CISPLATIN 50MG/50ML VIAL", "2", "1667.5", "3335.00", "N", "20", "PH", "",
         ""},
        {"PA", "7001", "SPIROMETRY", "1", "1800", "1800.00", "N", "", "", "N", ""},
        {"MD", "102", "DR. MARIA SANTIAGO", "1", "0", "2500.00", "", "", "", "", ""},
        {"", "", "", "", "", "", "", "", "", "", ""}, // the empty line the grid ends with
    };
    EXPECT_EQ(saveChargeSlip(c, drug, header, lines), QStringLiteral("G7C"));

    const QString date = QStringLiteral("12/01/2026 02:05:09 PM");
    const QString common = QStringLiteral("'I','%1','404','','102','G7C'");
    const QStringList expected = {
        QStringLiteral("BeginTrans"),
        QStringLiteral("Delete Clinical_Area..tbCancerChargePrint"),
        ServerDateText,
        // Drawn last before the lines: the counter stays locked from here to the end.
        QStringLiteral("Clinical_Area..spCancer_DrawChargeSlip"),
        QStringLiteral("Inventory..sp_Inv_UpdateBalance '10001', '20'"),
        QStringLiteral("Clinical_Area..spCancer_SaveChargePrint '10001','3335.00','2','PH',"
                       "'CISPLATIN 50MG/50ML VIAL','20','PH',''"),
        QStringLiteral("Clinical_Area..spCancer_Append_LogBook '1000018','261018','10001',"
                       "'3335.00','2','") +
            date + QStringLiteral("','PH','X','1001','CISPLATIN 50MG/50ML VIAL',") +
            common.arg("D") + QStringLiteral(",'20','Dr. O''HARA, MARIA'"),
        QStringLiteral("Clinical_Area..spCancer_Append_Charging '1000018','261018','10001',"
                       "'3335.00','2','") +
            date + QStringLiteral("','PH','X','1001','CISPLATIN 50MG/50ML VIAL',") +
            common.arg("D") + QStringLiteral(",'20','0','Dr. O''HARA, MARIA','PH'"),
        QStringLiteral("Clinical_Area..spCancer_SaveChargePrint '7001','1800.00','1','PA',"
                       "'SPIROMETRY','','','N'"),
        QStringLiteral("Clinical_Area..spCancer_Append_LogBook '1000018','261018','7001',"
                       "'1800.00','1','") +
            date + QStringLiteral("','PA','X','1001','SPIROMETRY',") + common.arg("D") +
            QStringLiteral(",'','Dr. O''HARA, MARIA'"),
        QStringLiteral("CLINICAL_AREA..sp_pulmogetrequestnum"),
        QStringLiteral("CLINICAL_AREA..sp_pulmoincrequestnum"),
        QStringLiteral("CLINICAL_AREA..sp_PulmoAddRequest'301','1000018','261018','7001',"
                       "'SPIROMETRY','','1800.00','1','404','102','Dr. O''HARA, MARIA','0',"
                       "'G7C','1001','','','',''"),
        QStringLiteral("Clinical_Area..spCancer_Append_Charging '1000018','261018','7001',"
                       "'1800.00','1','") +
            date + QStringLiteral("','PA','X','1001','SPIROMETRY',") + common.arg("D") +
            QStringLiteral(",'','0','Dr. O''HARA, MARIA',''"),
        QStringLiteral("Clinical_Area..spCancer_SaveChargePrint '102','2500.00','1','MD',"
                       "'DR. MARIA SANTIAGO','','',''"),
        QStringLiteral("Clinical_Area..spCancer_Append_LogBook '1000018','261018','102',"
                       "'2500.00','1','") +
            date + QStringLiteral("','MD','X','1001','DR. MARIA SANTIAGO',") + common.arg("P") +
            QStringLiteral(",'','Dr. O''HARA, MARIA'"),
        QStringLiteral("Clinical_Area..spCancer_Append_Charging '1000018','261018','102',"
                       "'2500.00','1','") +
            date + QStringLiteral("','MD','X','1001','DR. MARIA SANTIAGO',") + common.arg("P") +
            QStringLiteral(",'','0','Dr. O''HARA, MARIA',''"),
        QStringLiteral("CommitTrans"),
    };
    EXPECT_EQ(c.log(), expected);
    ASSERT_EQ(drug.cards.size(), 1u);
    EXPECT_EQ(drug.cards[0].slip, QStringLiteral("G7C"));
    EXPECT_EQ(drug.cards[0].item, QStringLiteral("10001"));
    EXPECT_EQ(drug.cards[0].location, QStringLiteral("20"));
    EXPECT_EQ(drug.cards[0].quantity, 2.0);
    EXPECT_EQ(drug.cards[0].department, QStringLiteral("PH"));
    EXPECT_EQ(drug.cards[0].kind, platform::StockCardKind::Issue);
}

TEST_F(SlipTexts, RequestTextsOfLaboratoryAndRadiology)
{
    header.receivable = true;
    const ChargeLine lab{"LB", "1001", "CBC", "1", "420", "420.00", "N", "", "", "N", ""};
    const ChargeLine xray{"XR", "2001", "CHEST PA", "1", "540", "540.00", "N", "", "", "N", ""};
    EXPECT_EQ(labRequestText(header, lab, QStringLiteral("G7C")),
              QStringLiteral("Station..Nurse_SaveLabMaster '1000018','261018','1001','420.00','1',"
                             "'LB','1001','404','102','Dr. O''HARA, MARIA','G7C',''"));
    EXPECT_EQ(radiologyRequestText(header, xray, QStringLiteral("G7C")),
              QStringLiteral("RADIOLOGY..spRadio_SaveRequestOnly 'XR','1000018','261018','2001',"
                             "'1','540.00','CHEST PA','404','G7C','102','1001'"));
    EXPECT_TRUE(appendChargingText(header, xray, QStringLiteral("G7C"),
                                   QStringLiteral("12/01/2026 02:05:09 PM"))
                    .contains(QLatin1String(",'','1','Dr. O''HARA, MARIA',''")));
    const auto receivable = checkLines({lab, xray});
    EXPECT_FALSE(receivable.has_value());
    for (const char *dept : {"WC", "MI", "MM", "US", "CT", "xr"})
        EXPECT_TRUE(isRadiology(QLatin1String(dept))) << dept;
    EXPECT_FALSE(isRadiology(QStringLiteral("LB")));
}

TEST_F(SlipTexts, AFailureRollsEverythingBackAndCommitsNothing)
{
    c.failOn(QStringLiteral("Clinical_Area..spCancer_SaveChargePrint '7001','1800.00','1','ON',"
                            "'FEE','','','N'"),
             QStringLiteral("refused"));
    const std::vector<ChargeLine> lines = {
        {"PH", "10001", "CISPLATIN", "2", "1667.5", "3335.00", "N", "20", "PH", "", ""},
        {"ON", "7001", "FEE", "1", "1800", "1800.00", "N", "", "", "N", ""},
    };
    EXPECT_THROW(saveChargeSlip(c, drug, header, lines), DatabaseError);
    EXPECT_EQ(c.log().first(), QStringLiteral("BeginTrans"));
    EXPECT_EQ(c.log().last(), QStringLiteral("RollbackTrans"));
    EXPECT_FALSE(c.log().contains(QStringLiteral("CommitTrans")));
    EXPECT_EQ(c.TransactionDepth(), 0);
}

TEST_F(SlipTexts, CancellingReversesTheStockCardAndRebalancesBeforeTheUpdate)
{
    c.answer(
        QStringLiteral("Select LocationID, StockcardRevenueid from Build_file..tbCoRevenuecode "
                       "where revenueid = 'CS'"),
        table({QStringLiteral("LocationID"), QStringLiteral("StockcardRevenueid")},
              {{QStringLiteral("21"), QStringLiteral("CS")}}));
    const SavedCharge line{"X", "CS", "20007", "GAUZE", "3", "90.00", "G1500C", "21"};
    cancelCharge(c, drug, QStringLiteral("261018"), line, QStringLiteral("1001"),
                 QStringLiteral("NOT USED"));
    const QStringList texts = c.texts();
    ASSERT_GE(texts.size(), 3);
    EXPECT_EQ(texts.at(texts.size() - 3),
              QStringLiteral("Inventory..sp_Inv_UpdateBalance '20007', '21'"));
    EXPECT_EQ(texts.last(),
              QStringLiteral("Clinical_Area..spCancer_UpdateCharging '261018','20007',"
                             "'G1500C','CS','C','12/01/2026 02:05:09 PM','1001',"
                             "'NOT USED'"));
    ASSERT_EQ(drug.cards.size(), 1u);
    EXPECT_EQ(drug.cards[0].kind, platform::StockCardKind::Reversal);
    EXPECT_EQ(drug.cards[0].quantity, 3.0);
    EXPECT_EQ(drug.cards[0].slip, QStringLiteral("G1500C"));
    EXPECT_EQ(c.log().last(), QStringLiteral("CommitTrans"));

    // A service line has no stock to put back.
    c.clearRecord();
    drug.cards.clear();
    cancelCharge(c, drug, QStringLiteral("261018"),
                 {"X", "ON", "8001", "FEE", "1", "1500.00", "G1500C", ""}, QStringLiteral("1001"),
                 QStringLiteral("DUPLICATE"));
    EXPECT_TRUE(drug.cards.empty());
    for (const QString &text : c.texts())
        EXPECT_FALSE(text.contains(QLatin1String("sp_Inv_UpdateBalance")));
}

TEST(SlipNumbers, CounterAndDateFormats)
{
    EXPECT_EQ(chargeSlipNumber(7), QStringLiteral("G7C"));
    EXPECT_EQ(chargeSlipNumber(1520), QStringLiteral("G1520C"));
    EXPECT_EQ(chargeDate(QDateTime(QDate(2026, 1, 5), QTime(9, 3, 4))),
              QStringLiteral("01/05/2026 09:03:04 AM"));
    EXPECT_EQ(chargeDate(QDateTime(QDate(2026, 12, 31), QTime(0, 0, 0))),
              QStringLiteral("12/31/2026 12:00:00 AM"));
}

// ------------------------------------------------------------ procedures

class ChargeSaveProcedures : public test::EngineTest {
protected:
    double count(const char *table)
    {
        return db->Execute(QStringLiteral("SELECT count(*) AS N FROM ") + QLatin1String(table))
            .Fields(0)
            .toDouble();
    }
};

// A call with every value right, then one value at a time made wrong.
QString charging(int index, const QString &value)
{
    QStringList values = {"1000018", "261018", "8001", "1500.00", "1", "12/01/2026 02:05:09 PM",
                          "ON",      "X",      "1001", "FEE",     "I", "D",
                          "404",     "",       "102",  "G9C",     "",  "0",
                          "DR. X",   ""};
    if (index >= 0)
        values[index] = value;
    return QStringLiteral("Clinical_Area..spCancer_Append_Charging '") +
           values.join(QStringLiteral("','")) + QLatin1Char('\'');
}

TEST_P(ChargeSaveProcedures, ValuesThatCannotBeStoredAreRefusedByName)
{
    struct Case {
        QString text;
        const char *table;
        const char *message;
    };
    const std::vector<Case> cases = {
        {charging(3, "abc"), "CLINICAL_AREA..tbCancerCharges",
         "spCancer_Append_Charging: the amount 'abc' is not a number."},
        {charging(3, ""), "CLINICAL_AREA..tbCancerCharges",
         "spCancer_Append_Charging: the amount '' is not a number."},
        {charging(4, "x"), "CLINICAL_AREA..tbCancerCharges",
         "spCancer_Append_Charging: the quantity 'x' is not a number."},
        {charging(4, "0"), "CLINICAL_AREA..tbCancerCharges",
         "spCancer_Append_Charging: the quantity '0' is not above zero."},
        {charging(5, "31/12/2026 02:05:09 PM"), "CLINICAL_AREA..tbCancerCharges",
         "spCancer_Append_Charging: the date '31/12/2026 02:05:09 PM' is not a date and time "
         "(MM/DD/YYYY hh:mm:ss AM/PM)."},
        {charging(5, "12/01/2026 13:05:09 PM"), "CLINICAL_AREA..tbCancerCharges",
         "spCancer_Append_Charging: the date '12/01/2026 13:05:09 PM' is not a date and time "
         "(MM/DD/YYYY hh:mm:ss AM/PM)."},
        {charging(11, "Q"), "CLINICAL_AREA..tbCancerCharges",
         "spCancer_Append_Charging: the kind 'Q' is neither D nor P."},
        {charging(15, ""), "CLINICAL_AREA..tbCancerCharges",
         "spCancer_Append_Charging: the charge slip is empty."},
        {charging(17, "2"), "CLINICAL_AREA..tbCancerCharges",
         "spCancer_Append_Charging: the receivable flag '2' is not 0 or 1."},
        {QStringLiteral("Clinical_Area..spCancer_SaveChargePrint '8001','1,500','1','ON','FEE',"
                        "'','',''"),
         "CLINICAL_AREA..tbCancerChargePrint",
         "spCancer_SaveChargePrint: the amount '1,500' is not a number."},
        {QStringLiteral("Station..Nurse_SaveLabMaster '1000018','261018','1001','350','-1','LB',"
                        "'1001','404','102','DR. X','G9C',''"),
         "LABORATORY..tbLabRequest", "Nurse_SaveLabMaster: the quantity '-1' is not above zero."},
        {QStringLiteral("RADIOLOGY..spRadio_SaveRequestOnly 'XR','1000018','261018','2001','1',"
                        "'nan','CHEST PA','404','G9C','102','1001'"),
         "RADIOLOGY..tbRadioRequest", "spRadio_SaveRequestOnly: the amount 'nan' is not a number."},
        {QStringLiteral("CLINICAL_AREA..sp_PulmoAddRequest'X','1000018','261018','7001','S','',"
                        "'1500','1','404','102','DR. X','0','G9C','1001','','','',''"),
         "CLINICAL_AREA..tbPulmoRequest",
         "sp_PulmoAddRequest: the request number 'X' is not a number."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const double before = count(c.table);
        try {
            db->Execute(c.text);
            ADD_FAILURE() << "accepted";
        } catch (const DatabaseError &e) {
            EXPECT_EQ(e.message(), QLatin1String(c.message));
        }
        EXPECT_EQ(count(c.table), before);
    }
    // The same call with every value right is stored.
    const double before = count("CLINICAL_AREA..tbCancerCharges");
    db->Execute(charging(-1, {}));
    EXPECT_EQ(count("CLINICAL_AREA..tbCancerCharges"), before + 1);

    // Dates are wall-clock values in either width, stored as sent.
    for (const auto &[sent, stored] :
         {std::pair{"1/5/2026 9:05:09 am", QDateTime(QDate(2026, 1, 5), QTime(9, 5, 9))},
          {"12/01/2026 12:00:00 AM", QDateTime(QDate(2026, 12, 1), QTime(0, 0))},
          {"03/08/2026 02:30:00 AM", QDateTime(QDate(2026, 3, 8), QTime(2, 30))},
          {"12/31/2026 12:59:59 PM", QDateTime(QDate(2026, 12, 31), QTime(12, 59, 59))},
          {"7/4/2026 11:30:00 pm", QDateTime(QDate(2026, 7, 4), QTime(23, 30))}}) {
        SCOPED_TRACE(sent);
        db->Execute(charging(5, QLatin1String(sent))
                        .replace(QStringLiteral("G9C"), QStringLiteral("G10C")));
        Recordset rs = db->Execute(QStringLiteral(
            "SELECT TransDate FROM CLINICAL_AREA..tbCancerCharges WHERE ChargeSlip = 'G10C'"));
        EXPECT_EQ(rs.Fields(0).toDateTime(), stored);
        db->Execute(
            QStringLiteral("DELETE FROM CLINICAL_AREA..tbCancerCharges WHERE ChargeSlip = 'G10C'"));
    }
}

TEST_P(ChargeSaveProcedures, CancellingALineCancelsItsRequestAndNotAResultedOne)
{
    // Slip G1500C (demo) carries a laboratory line whose result is entered.
    const Recordset resulted = db->Execute(
        QStringLiteral("SELECT IdNum, ItemID, RevenueID FROM CLINICAL_AREA..tbCancerCharges "
                       "WHERE ChargeSlip = 'G1500C' AND RequestStatus = 'R'"));
    ASSERT_FALSE(resulted.atEnd());
    const QString id = resulted.Fields(0).trimmed();
    const QString item = resulted.Fields(1).trimmed();
    const QString call = QStringLiteral("Clinical_Area..spCancer_UpdateCharging '") + id +
                         QStringLiteral("','") + item +
                         QStringLiteral("','G1500C','LB','C','12/01/2026 02:05:09 PM','1001','x'");
    try {
        db->Execute(call);
        ADD_FAILURE() << "a resulted line was cancelled";
    } catch (const DatabaseError &e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("spCancer_UpdateCharging: item %1 of charge slip G1500C has a "
                                 "result entered.")
                      .arg(item));
    }

    // Slip G1502C carries an X-ray line: cancelled, its request goes with it.
    const Recordset xray =
        db->Execute(QStringLiteral("SELECT IdNum, ItemID FROM CLINICAL_AREA..tbCancerCharges "
                                   "WHERE ChargeSlip = 'G1502C' AND RevenueID = 'XR'"));
    ASSERT_FALSE(xray.atEnd());
    const QString xid = xray.Fields(0).trimmed();
    const QString xitem = xray.Fields(1).trimmed();
    const QString verify = QStringLiteral("Clinical_Area..spCancer_VerifyCharges '") + xid +
                           QStringLiteral("','") + xitem + QStringLiteral("','G1502C','XR'");
    EXPECT_GT(db->Execute(verify).Fields(QStringLiteral("Amount")).toDouble(), 0.0);
    db->Execute(QStringLiteral("Clinical_Area..spCancer_UpdateCharging '") + xid +
                QStringLiteral("','") + xitem +
                QStringLiteral("','G1502C','XR','C','12/01/2026 02:05:09 PM','1001','x'"));
    EXPECT_EQ(db->Execute(verify).Fields(QStringLiteral("Amount")).toDouble(), 0.0);
    EXPECT_EQ(db->Execute(QStringLiteral("SELECT RequestStatus FROM RADIOLOGY..tbRadioRequest "
                                         "WHERE ChargeSlip = 'G1502C'"))
                  .Fields(0)
                  .trimmed(),
              QStringLiteral("C"));
}

CHEMODESK_ENGINE_TESTS(ChargeSaveProcedures);

} // namespace
