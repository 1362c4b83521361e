// Saving the charge screen's lines under a charge slip, cancelling a saved
// line and reprinting a slip, against the demo hospital on each engine. The
// server clock stands at 2026-12-01 14:05:09; the patient is O'CAMPO, NORMA
// (admission 261018, room 404, Dr. 102), who has no charges yet. Saves are
// confirmed by DELA CRUZ, ROSARIO (1001, access code ROSE1001).

#include "charging/chargelines.h"
#include "charging/chargesave.h"
#include "charging/chargeslipprint.h"
#include "charging/frmcharge.h"
#include "components/itemlookup.h"
#include "components/keyaid.h"
#include "components/medicinecatalogue.h"
#include "components/medicinelist.h"
#include "hospitaldb/database.h"
#include "reportengine/view/printing.h"
#include "reports/reportprocs.h"
#include "session/dialogs/frmuservalidation.h"
#include "session/globals.h"
#include "session/module1.h"
#include "support/chargeparts.h"
#include "support/enginetest.h"
#include "support/failingconnection.h"
#include "support/scriptedmessages.h"
#include "support/workstation.h"
#include "testpaths.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace chemodesk;
using namespace chemodesk::charging;
using Icon = widgets::MessageService::Icon;

namespace {

using Components = test::ChargeParts;

// Answers the access-code dialog as an employee, with a reason when given.
std::function<int(QDialog &)> confirmAs(const QString &employee, const QString &code,
                                        const QString &reason = {})
{
    return [=](QDialog &dialog) {
        auto &check = dynamic_cast<session::frmUserValidation &>(dialog);
        check.txtUserID->setText(employee);
        check.txtAccessCode->setText(code);
        check.txtReason->setText(reason);
        check.cmdOK->click();
        return check.result();
    };
}

class ChargeSave : public test::EngineTest {
protected:
    void SetUp() override
    {
        session::resetGlobals();
        EngineTest::SetUp();
        if (!db)
            return;
        db->setClockFixed(QDateTime(QDate(2026, 12, 1), QTime(14, 5, 9)));
        g.DbConnection = db.get();
        session::ReadHospitalInfoA(*db);
        session::ReadHospitalInfoB(*db);
        parts = std::make_unique<Components>(*db);
        openFor(QStringLiteral("261018"), QStringLiteral("1000018"));
    }
    void TearDown() override
    {
        screen.reset();
        session::resetGlobals();
    }

    void openFor(const QString &idNum, const QString &hospNum, Connection *connection = nullptr)
    {
        screen.reset();
        ChargePatient patient{
            QStringLiteral("PATIENT"), hospNum, idNum, QString(), QStringLiteral("1001"),
            QStringLiteral("I")};
        screen =
            std::make_unique<frmCharge>(connection ? *connection : *db, parts->refs(), patient);
        screen->setSlipPrinter(
            [this](const SlipPrint &print, QWidget *) { printed.push_back(print); });
        screen->show();
        grid = screen->mshflexEntry;
    }

    void enter(const QString &text)
    {
        QTest::keyClicks(screen->txtEntry, text);
        QTest::keyClick(screen->txtEntry, Qt::Key_Return);
    }
    // A service line of `dept` with quantity 1, not stat.
    void serviceLine(const char *dept, const char *code)
    {
        enter(QLatin1String(dept));
        enter(QLatin1String(code));
        enter(QString());
        enter(QString());
    }
    void medicineLine(const char *item, const char *quantity)
    {
        enter(QStringLiteral("ph"));
        enter(QLatin1String(item));
        enter(QLatin1String(quantity));
        enter(QString());
    }
    void confirm(const QString &reason = {})
    {
        messages.onDialog(confirmAs(QStringLiteral("1001"), QStringLiteral("ROSE1001"), reason));
    }
    void save() { screen->vkCommand1[0]->click(); }
    void printSave() { screen->vkCommand1[5]->click(); }

    Recordset query(const QString &text) { return db->Execute(text); }
    double number(const QString &text) { return query(text).Fields(0).toDouble(); }
    double counter()
    {
        return number(QStringLiteral("SELECT ChargeSlip FROM CLINICAL_AREA..tbGenericChargeslip"));
    }
    double onHand(const char *item)
    {
        return number(QStringLiteral("SELECT OnHand FROM INVENTORY..tbinvent WHERE ItemID = '") +
                      QLatin1String(item) + QStringLiteral("' AND LocationID = '20'"));
    }
    double rows(const char *table, const QString &where)
    {
        return number(QStringLiteral("SELECT count(*) AS N FROM ") + QLatin1String(table) +
                      (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where));
    }
    QStringList shownTexts() const
    {
        QStringList out;
        for (const auto &m : messages.shown())
            out << m.text;
        return out;
    }
    // The saved-charges list row of `item`, made the current one.
    int selectListed(const QString &item, const QString &status = {})
    {
        screen->listCharges();
        QTableWidget *list = screen->MSHFlexList;
        for (int row = 0; row < list->rowCount(); ++row)
            if (list->item(row, listItem)->text() == item &&
                (status.isEmpty() || list->item(row, listStatus)->text() == status)) {
                list->setCurrentCell(row, listItem);
                return row;
            }
        ADD_FAILURE() << "not listed: " << item.toStdString();
        return -1;
    }

    test::ScriptedMessages messages;
    std::unique_ptr<Components> parts;
    std::unique_ptr<frmCharge> screen;
    std::vector<SlipPrint> printed;
    widgets::EntryGrid *grid = nullptr;
    session::Globals &g = session::globals();
};

// ------------------------------------------------------------------- save

TEST_P(ChargeSave, PrintSaveWritesEveryLineUnderTheNextSlipAndPrintsIt)
{
    query(QStringLiteral("UPDATE CLINICAL_AREA..tbGenericChargeslip SET ChargeSlip = 7"));
    serviceLine("on", "8001");
    enter(QStringLiteral("md"));
    enter(QStringLiteral("102"));
    enter(QStringLiteral("2500"));
    const QString serviceAmount = grid->text(1, colAmount);
    confirm();
    printSave();

    EXPECT_EQ(messages.dialogsShown(), 1);
    EXPECT_EQ(shownTexts(), QStringList{QStringLiteral("ChargeSlip Number : G7C")});
    EXPECT_EQ(screen->lastChargeSlip(), QStringLiteral("G7C"));
    EXPECT_EQ(counter(), 8);

    Recordset charges = query(QStringLiteral(
        "SELECT RevenueID, ItemID, Amount, Quantity, TransDate, RequestStatus, UserID, "
        "PatientType, ChargeType, RoomID, DoctorID, DoctorName, isReceivable, LocationID "
        "FROM CLINICAL_AREA..tbCancerCharges WHERE ChargeSlip = 'G7C' ORDER BY ChargeID"));
    ASSERT_EQ(charges.RecordCount(), 2);
    struct Expected {
        const char *dept, *item, *kind;
        QString amount;
    };
    for (const Expected &e : {Expected{"ON", "8001", "D", serviceAmount},
                              Expected{"MD", "102", "P", QStringLiteral("2500.00")}}) {
        SCOPED_TRACE(e.dept);
        auto field = [&](const char *name) { return charges.Fields(QLatin1String(name)); };
        EXPECT_EQ(field("RevenueID").trimmed(), QLatin1String(e.dept));
        EXPECT_EQ(field("ItemID").trimmed(), QLatin1String(e.item));
        EXPECT_EQ(formatAmount(field("Amount").toDouble()), e.amount);
        EXPECT_EQ(field("Quantity").toDouble(), 1.0);
        EXPECT_EQ(field("TransDate").toDateTime(), QDateTime(QDate(2026, 12, 1), QTime(14, 5, 9)));
        EXPECT_EQ(field("RequestStatus").trimmed(), QStringLiteral("X"));
        EXPECT_EQ(field("UserID").trimmed(), QStringLiteral("1001"));
        EXPECT_EQ(field("PatientType").trimmed(), QStringLiteral("I"));
        EXPECT_EQ(field("ChargeType").trimmed(), QLatin1String(e.kind));
        EXPECT_EQ(field("RoomID").trimmed(), QStringLiteral("404"));
        EXPECT_EQ(field("DoctorID").trimmed(), QStringLiteral("102"));
        EXPECT_EQ(field("DoctorName").trimmed(), QStringLiteral("Dr. SANTIAGO, MARIA LOURDES"));
        EXPECT_FALSE(field("isReceivable").toBool());
        EXPECT_TRUE(field("LocationID").IsNull());
        charges.MoveNext();
    }
    EXPECT_EQ(rows("CLINICAL_AREA..tbCancerLogBook", QStringLiteral("ChargeSlip = 'G7C'")), 2);
    // The print table holds this slip alone.
    EXPECT_EQ(rows("CLINICAL_AREA..tbCancerChargePrint", {}), 2);
    EXPECT_EQ(rows("CLINICAL_AREA..tbCancerChargePrint", QStringLiteral("ItemID = '102'")), 1);

    EXPECT_EQ(grid->lineCount(), 1);
    EXPECT_EQ(grid->text(1, colDept), QString());
    EXPECT_EQ(screen->txtTotal->text(), QStringLiteral("0"));
    EXPECT_EQ(screen->MSHFlexList->rowCount(), 2);
    EXPECT_EQ(screen->MSHFlexList->item(0, listSlip)->text(), QStringLiteral("G7C"));

    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0].templatePath, QStringLiteral("\\Reports\\Chargeslip.RPT"));
    EXPECT_EQ(printed[0].caption, QStringLiteral("Print ChargeSlip"));
    EXPECT_EQ(printed[0].parameters,
              QVariantList({QStringLiteral("Cancer Slip No.: G7C"), QStringLiteral("261018"),
                            QStringLiteral("ON"), g.HospitalName, g.HospitalAddress,
                            QStringLiteral("G7C")}));
    EXPECT_FALSE(g.HospitalName.isEmpty());

    // Save alone prints nothing and tells nothing; the next number follows.
    messages.clear();
    serviceLine("on", "8002");
    confirm();
    save();
    EXPECT_TRUE(messages.shown().empty()) << shownTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(screen->lastChargeSlip(), QStringLiteral("G8C"));
    EXPECT_EQ(printed.size(), 1u);
    EXPECT_EQ(screen->MSHFlexList->rowCount(), 3);
}

TEST_P(ChargeSave, DepartmentLinesWriteTheirRequestsStockCardsAndBalances)
{
    medicineLine("10001", "2"); // 55 on hand
    serviceLine("xr", "2001");
    serviceLine("lb", "1001");
    serviceLine("pa", "7001");
    confirm();
    save();
    ASSERT_EQ(screen->lastChargeSlip(), QStringLiteral("G1520C"));
    // A plain save shows no box, and its slip on the screen's status bar.
    EXPECT_TRUE(messages.shown().empty()) << shownTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(screen->stbSaved->currentMessage(), QStringLiteral("Saved under charge slip G1520C"));
    const QString slip = QStringLiteral("ChargeSlip = 'G1520C'");

    EXPECT_EQ(rows("CLINICAL_AREA..tbCancerCharges", slip), 4);
    EXPECT_EQ(rows("CLINICAL_AREA..tbCancerLogBook", slip), 4);
    EXPECT_EQ(rows("CLINICAL_AREA..tbCancerChargePrint", {}), 4);

    // The medicine: a stock card under the slip, the shelf's balance, the charge.
    Recordset card = query(QStringLiteral(
        "SELECT TransType, QuantityIn, QuantityOut, RevenueID FROM INVENTORY..tbInvStockCard "
        "WHERE RefNum = 'G1520C'"));
    ASSERT_EQ(card.RecordCount(), 1);
    EXPECT_EQ(card.Fields(QStringLiteral("TransType")).trimmed(), QStringLiteral("I"));
    EXPECT_EQ(card.Fields(QStringLiteral("QuantityOut")).toDouble(), 2.0);
    EXPECT_EQ(card.Fields(QStringLiteral("RevenueID")).trimmed(), QStringLiteral("PH"));
    EXPECT_EQ(onHand("10001"), 53.0);
    Recordset medicine = query(QStringLiteral(
        "SELECT LocationID, StockcardRevenueID, Quantity FROM CLINICAL_AREA..tbCancerCharges "
        "WHERE ChargeSlip = 'G1520C' AND ItemID = '10001'"));
    ASSERT_FALSE(medicine.atEnd());
    EXPECT_EQ(medicine.Fields(QStringLiteral("LocationID")).trimmed(), QStringLiteral("20"));
    EXPECT_EQ(medicine.Fields(QStringLiteral("StockcardRevenueID")).trimmed(),
              QStringLiteral("PH"));
    EXPECT_EQ(medicine.Fields(QStringLiteral("Quantity")).toDouble(), 2.0);

    // Each department's own request, under the same slip.
    Recordset xray = query(QStringLiteral(
        "SELECT RevenueID, ItemID, UserID, DoctorID, RequestStatus FROM RADIOLOGY..tbRadioRequest "
        "WHERE ChargeSlip = 'G1520C'"));
    ASSERT_EQ(xray.RecordCount(), 1);
    EXPECT_EQ(xray.Fields(QStringLiteral("RevenueID")).trimmed(), QStringLiteral("XR"));
    EXPECT_EQ(xray.Fields(QStringLiteral("ItemID")).trimmed(), QStringLiteral("2001"));
    EXPECT_EQ(xray.Fields(QStringLiteral("UserID")).trimmed(), QStringLiteral("1001"));
    EXPECT_EQ(xray.Fields(QStringLiteral("DoctorID")).trimmed(), QStringLiteral("102"));
    Recordset lab =
        query(QStringLiteral("SELECT ItemID, LabSectionID, RoomID FROM LABORATORY..tbLabRequest "
                             "WHERE ChargeSlip = 'G1520C'"));
    ASSERT_EQ(lab.RecordCount(), 1);
    EXPECT_EQ(lab.Fields(QStringLiteral("ItemID")).trimmed(), QStringLiteral("1001"));
    EXPECT_EQ(lab.Fields(QStringLiteral("LabSectionID")).trimmed(), QStringLiteral("HE"));
    EXPECT_EQ(lab.Fields(QStringLiteral("RoomID")).trimmed(), QStringLiteral("404"));
    Recordset pulmo =
        query(QStringLiteral("SELECT RequestNum, ItemID FROM CLINICAL_AREA..tbPulmoRequest WHERE "
                             "ChargeSlip = 'G1520C'"));
    ASSERT_EQ(pulmo.RecordCount(), 1);
    EXPECT_EQ(pulmo.Fields(QStringLiteral("RequestNum")).toDouble(), 301.0);
    EXPECT_EQ(number(QStringLiteral("SELECT RequestNum FROM CLINICAL_AREA..tbPulmoRequestNum")),
              302.0);
}

// A discount is kept as a credit (a negative amount), so that every sum of
// the account's lines, the billing office's included, takes it off.
TEST_P(ChargeSave, ADiscountIsSavedAsACreditAndTakenOffEveryTotal)
{
    serviceLine("on", "8001"); // class C: 1800
    enter(QStringLiteral("sm"));
    enter(QString());
    enter(QStringLiteral("300"));
    EXPECT_EQ(screen->txtTotal->text(), QStringLiteral("1500.00"));
    reports::setReportsFolder(QStringLiteral(CHEMODESK_REPORTS_SOURCE));
    screen->setSlipPrinter(reports::ShowPrintout);
    confirm();
    messages.onDialog([](QDialog &) { return int(QDialog::Rejected); }); // the viewer
    printSave();
    ASSERT_EQ(shownTexts(), QStringList{QStringLiteral("ChargeSlip Number : G1520C")});
    // The slip prints the discount as a deduction and totals the rest.
    auto *report = dynamic_cast<reportengine::TemplateReport *>(reports::CurrentReport());
    ASSERT_NE(report, nullptr);
    const QString slipText = report->document().dump();
    EXPECT_TRUE(slipText.contains(QStringLiteral("| -300.00\n"))) << slipText.toStdString();
    EXPECT_TRUE(slipText.contains(QStringLiteral("| 1,500.00\n"))) << slipText.toStdString();
    reports::setReportsFolder({});
    const QString slip = QStringLiteral(" WHERE ChargeSlip = 'G1520C'");
    for (const char *table : {"CLINICAL_AREA..tbCancerCharges", "CLINICAL_AREA..tbCancerLogBook"}) {
        SCOPED_TRACE(table);
        EXPECT_DOUBLE_EQ(number(QStringLiteral("SELECT Amount FROM ") + QLatin1String(table) +
                                slip + QStringLiteral(" AND RevenueID = 'SM'")),
                         -300);
        EXPECT_DOUBLE_EQ(
            number(QStringLiteral("SELECT sum(Amount) FROM ") + QLatin1String(table) + slip), 1500);
    }
    EXPECT_DOUBLE_EQ(
        number(QStringLiteral("SELECT sum(Amount) FROM CLINICAL_AREA..tbCancerChargePrint")), 1500);
    EXPECT_DOUBLE_EQ(number(QStringLiteral("Clinical_Area..List_All_CancerCharges_"
                                           "TotalAmountPerChargeSlip '261018','KS','G1520C'")),
                     1500);
}

TEST_P(ChargeSave, RefusalsComeInOrderAndWriteNothing)
{
    struct Case {
        const char *name;
        std::function<void()> lines;
        bool clearDoctor;
        const char *text;
        const char *title;
        Icon icon;
    };
    const QString program = widgets::defaultTitle();
    const std::vector<Case> cases = {
        {"no requesting doctor", [this] { serviceLine("on", "8001"); }, true,
         "Cannot save charges with no requesting doctor.", "MEssage", Icon::Information},
        {"nothing entered", [] {}, false, "Can't Save a Blank Charge!! Enter a Charge first.....",
         "", Icon::Exclamation},
        {"a fee without its amount",
         [this] {
             enter(QStringLiteral("md"));
             enter(QStringLiteral("102"));
             enter(QString());
         },
         false, "Can't Save Zero/Blank Amount...", "", Icon::Exclamation},
        {"a fee without its amount beside a service",
         [this] {
             serviceLine("on", "8001");
             enter(QStringLiteral("md"));
             enter(QStringLiteral("103"));
             enter(QString());
         },
         false, "Can't Save Zero/Blank Amount...", "", Icon::Exclamation},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        openFor(QStringLiteral("261018"), QStringLiteral("1000018"));
        c.lines();
        if (c.clearDoctor)
            screen->txtDoctorID->clear();
        const int lines = grid->lineCount();
        const QString total = screen->txtTotal->text();
        messages.clear();
        // Only the account is checked after the access code; the lines before it.
        const int dialogs = messages.dialogsShown();
        if (c.clearDoctor)
            confirm();
        save();
        EXPECT_EQ(messages.dialogsShown(), dialogs + (c.clearDoctor ? 1 : 0));
        ASSERT_EQ(messages.shown().size(), 1u) << shownTexts().join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(messages.lastText(), QLatin1String(c.text));
        EXPECT_EQ(messages.lastTitle(), *c.title ? QLatin1String(c.title) : program);
        EXPECT_EQ(messages.shown().back().icon, c.icon);
        EXPECT_EQ(counter(), 1520);
        EXPECT_EQ(grid->lineCount(), lines);
        EXPECT_EQ(screen->txtTotal->text(), total);
    }
    EXPECT_EQ(rows("CLINICAL_AREA..tbCancerCharges", QStringLiteral("IdNum = '261018'")), 0);

    // A blank grid is refused before anyone is asked for an access code.
    openFor(QStringLiteral("261018"), QStringLiteral("1000018"));
    messages.clear();
    const int dialogs = messages.dialogsShown();
    for (auto button : {screen->vkCommand1[0], screen->vkCommand1[5]}) {
        button->click();
        EXPECT_EQ(messages.lastText(),
                  QStringLiteral("Can't Save a Blank Charge!! Enter a Charge first....."));
        EXPECT_EQ(messages.dialogsShown(), dialogs);
    }

    // Without a confirmed employee nothing is even checked.
    openFor(QStringLiteral("261018"), QStringLiteral("1000018"));
    serviceLine("on", "8001");
    messages.clear();
    messages.onDialog(confirmAs(QStringLiteral("1001"), QStringLiteral("WRONG")));
    save();
    EXPECT_EQ(shownTexts(), QStringList{QStringLiteral("Unauthorized User for this department")});
    EXPECT_EQ(counter(), 1520);
    EXPECT_EQ(grid->text(1, colItem), QStringLiteral("8001"));
}

TEST_P(ChargeSave, ABilledAccountIsRefusedUnlessChargedAsAReceivable)
{
    Recordset billed = query(QStringLiteral(
        "SELECT IdNum, HospNum FROM PATIENT_DATA..tbPatient WHERE BillingDate IS NOT NULL "
        "AND DcrDate IS NULL ORDER BY IdNum"));
    ASSERT_FALSE(billed.atEnd());
    const QString idNum = billed.Fields(QStringLiteral("IdNum")).trimmed();
    const QString hospNum = billed.Fields(QStringLiteral("HospNum")).trimmed();
    openFor(idNum, hospNum);
    screen->txtDoctorID->setText(QStringLiteral("102"));
    screen->txtDoctor->setText(QStringLiteral("DR. MARIA LOURDES SANTIAGO"));
    serviceLine("on", "8001");
    const QString closed =
        QStringLiteral("Patient's bill has been closed.  Please verify with Billing section.");

    // Print/Save tells before asking anyone to confirm; Save after.
    printSave();
    EXPECT_EQ(messages.dialogsShown(), 0);
    EXPECT_EQ(shownTexts(), QStringList{closed});
    EXPECT_EQ(messages.lastTitle(), QStringLiteral("MESSAGE"));
    messages.clear();
    confirm();
    save();
    EXPECT_EQ(messages.dialogsShown(), 1);
    EXPECT_EQ(shownTexts(), QStringList{closed});
    EXPECT_EQ(counter(), 1520);
    EXPECT_EQ(grid->text(1, colItem), QStringLiteral("8001"));

    // Late charges go to billed accounts on purpose.
    g.ReceivableMode = true;
    messages.clear();
    confirm();
    save();
    EXPECT_TRUE(messages.shown().empty()) << shownTexts().join(QLatin1Char('|')).toStdString();
    Recordset saved =
        query(QStringLiteral("SELECT isReceivable FROM CLINICAL_AREA..tbCancerCharges "
                             "WHERE ChargeSlip = 'G1520C' AND IdNum = '") +
              idNum + QLatin1Char('\''));
    ASSERT_FALSE(saved.atEnd());
    EXPECT_TRUE(saved.Fields(0).toBool());
}

TEST_P(ChargeSave, AFailureHalfWayLeavesNothingWrittenAndTheLinesOnTheGrid)
{
    // The third line's charge is refused after the first two were written
    // whole (stock card, balance, print row, log book, request, charge).
    test::FailingConnection failing(
        *db,
        test::FailingConnection::nthStartingWith(
            QStringLiteral("Clinical_Area..spCancer_Append_Charging"), 3),
        QStringLiteral("The server refused the charge line."));
    openFor(QStringLiteral("261018"), QStringLiteral("1000018"), &failing);
    medicineLine("10001", "2");
    serviceLine("xr", "2001");
    serviceLine("lb", "1001");
    const QString total = screen->txtTotal->text();
    const double prints = rows("CLINICAL_AREA..tbCancerChargePrint", {});
    const double cards = rows("INVENTORY..tbInvStockCard", {});
    confirm();
    printSave();

    EXPECT_EQ(shownTexts(), QStringList{QStringLiteral("The server refused the charge line.")});
    EXPECT_EQ(messages.shown().back().icon, Icon::Critical);
    EXPECT_TRUE(printed.empty());
    EXPECT_EQ(screen->lastChargeSlip(), QString());
    EXPECT_TRUE(screen->stbSaved->currentMessage().isEmpty());
    EXPECT_EQ(counter(), 1520); // the draw went back with the rest
    EXPECT_EQ(rows("CLINICAL_AREA..tbCancerCharges", QStringLiteral("ChargeSlip = 'G1520C'")), 0);
    EXPECT_EQ(rows("CLINICAL_AREA..tbCancerLogBook", QStringLiteral("ChargeSlip = 'G1520C'")), 0);
    EXPECT_EQ(rows("RADIOLOGY..tbRadioRequest", QStringLiteral("ChargeSlip = 'G1520C'")), 0);
    EXPECT_EQ(rows("LABORATORY..tbLabRequest", QStringLiteral("ChargeSlip = 'G1520C'")), 0);
    EXPECT_EQ(rows("INVENTORY..tbInvStockCard", {}), cards);
    EXPECT_EQ(rows("CLINICAL_AREA..tbCancerChargePrint", {}), prints);
    EXPECT_EQ(onHand("10001"), 55.0);
    EXPECT_EQ(grid->text(1, colItem), QStringLiteral("10001"));
    EXPECT_EQ(grid->text(2, colItem), QStringLiteral("2001"));
    EXPECT_EQ(grid->text(3, colItem), QStringLiteral("1001"));
    EXPECT_EQ(screen->txtTotal->text(), total);

    // Saved again, the lines go whole under the number given back.
    messages.clear();
    confirm();
    printSave();
    EXPECT_EQ(shownTexts(), QStringList{QStringLiteral("ChargeSlip Number : G1520C")});
    EXPECT_EQ(rows("CLINICAL_AREA..tbCancerCharges", QStringLiteral("ChargeSlip = 'G1520C'")), 3);
    EXPECT_EQ(onHand("10001"), 53.0);
}

// ----------------------------------------------------- cancel and reprint

TEST_P(ChargeSave, CancellingPutsTheItemBackMarksTheLineAndReprintsWhatStands)
{
    medicineLine("10001", "2");
    serviceLine("on", "8001");
    confirm();
    save();
    ASSERT_EQ(onHand("10001"), 53.0);

    selectListed(QStringLiteral("10001"));
    messages.clear();
    const int dialogs = messages.dialogsShown();
    confirm(QStringLiteral("WRONG ITEM CHARGED"));
    screen->vkcmdOption[0]->click();

    EXPECT_EQ(shownTexts(),
              QStringList{QStringLiteral("Are you sure you want to Cancel this Charge?")});
    EXPECT_EQ(messages.dialogsShown(), dialogs + 1);
    EXPECT_TRUE(g.ReasonRequired);
    Recordset reversal = query(
        QStringLiteral("SELECT QuantityIn, QuantityOut, RevenueID FROM INVENTORY..tbInvStockCard "
                       "WHERE RefNum = 'G1520C' AND TransType = 'C'"));
    ASSERT_EQ(reversal.RecordCount(), 1);
    EXPECT_EQ(reversal.Fields(QStringLiteral("QuantityIn")).toDouble(), 2.0);
    EXPECT_EQ(reversal.Fields(QStringLiteral("RevenueID")).trimmed(), QStringLiteral("PH"));
    EXPECT_EQ(onHand("10001"), 55.0);

    Recordset line = query(QStringLiteral(
        "SELECT RequestStatus, CancelDate, CancelledBy, CancelReason "
        "FROM CLINICAL_AREA..tbCancerCharges WHERE ChargeSlip = 'G1520C' AND ItemID = '10001'"));
    ASSERT_FALSE(line.atEnd());
    EXPECT_EQ(line.Fields(QStringLiteral("RequestStatus")).trimmed(), QStringLiteral("C"));
    EXPECT_EQ(line.Fields(QStringLiteral("CancelDate")).toDateTime(),
              QDateTime(QDate(2026, 12, 1), QTime(14, 5, 9)));
    EXPECT_EQ(line.Fields(QStringLiteral("CancelledBy")).trimmed(), QStringLiteral("1001"));
    EXPECT_EQ(line.Fields(QStringLiteral("CancelReason")).trimmed(),
              QStringLiteral("WRONG ITEM CHARGED"));

    const int row = selectListed(QStringLiteral("10001"));
    EXPECT_EQ(screen->MSHFlexList->item(row, listStatus)->text(), QStringLiteral("C"));
    EXPECT_EQ(screen->MSHFlexList->item(row, listItem)->foreground().color(), QColor(Qt::red));

    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0].caption, QStringLiteral("RE-Print ChargeSlip"));
    EXPECT_EQ(printed[0].parameters.value(0).toString(), QStringLiteral("Cancer Slip No.: G1520C"));
    EXPECT_EQ(printed[0].parameters.value(5).toString(), QStringLiteral("G1520C"));

    // Cancelled once, there is nothing left to cancel.
    messages.clear();
    screen->vkcmdOption[0]->click();
    EXPECT_EQ(shownTexts(), QStringList{QStringLiteral(
                                "Can't Cancel this Charges. The Total Amount is already Zero!")});
    EXPECT_EQ(onHand("10001"), 55.0);
}

// On the shared server the server checks the right again: a screen that let a
// cancellation through (here it reads another employee's rights row) is refused
// by the server for the employee its session is bound to, with the screen's
// own words, and nothing is changed.
TEST_P(ChargeSave, CancellingOnTheServerNeedsTheBoundEmployeesRight)
{
    if (!onServer())
        GTEST_SKIP() << "the embedded file is one person's: the screen's check is the check";
    auto ws = test::workstation(*db, QStringLiteral("1002"), QStringLiteral("JPV1002"));
    openFor(QStringLiteral("261026"),
            query(QStringLiteral("SELECT HospNum FROM PATIENT_DATA..tbPatient WHERE IdNum = "
                                 "'261026'"))
                .Fields(0)
                .trimmed(),
            ws.get());
    selectListed(QStringLiteral("2003"));
    messages.clear();
    confirm(QStringLiteral("WRONG PATIENT"));
    screen->vkcmdOption[0]->click();
    EXPECT_EQ(shownTexts(),
              (QStringList{QStringLiteral("Are you sure you want to Cancel this Charge?"),
                           QStringLiteral("You don't have enough rights to perform this "
                                          "operation.")}));
    EXPECT_EQ(rows("CLINICAL_AREA..tbCancerCharges",
                   QStringLiteral("ChargeSlip = 'G1502C' AND RequestStatus = 'C'")),
              0);
    // A reprint writes nothing the server would see: the screen records it.
    printed.clear();
    selectListed(QStringLiteral("2003"));
    screen->vkcmdOption[1]->click();
    ASSERT_EQ(printed.size(), 1u);
    Recordset reprinted = db->executeNative(
        QStringLiteral("SELECT \"EmployeeID\", \"Object\" FROM public.chemodesk_audit_trail(NULL) "
                       "WHERE \"Action\" = 'charge slip reprinted'"));
    ASSERT_EQ(reprinted.RecordCount(), 1);
    EXPECT_EQ(reprinted.Fields(0).toString(), QStringLiteral("1002"));
    EXPECT_EQ(reprinted.Fields(1).toString(), QStringLiteral("G1502C"));
    screen.reset();
}

TEST_P(ChargeSave, CancellingIsRefusedForResultsAndAnsweredNo)
{
    openFor(QStringLiteral("261001"), QStringLiteral("1000001"));
    messages.clear();
    screen->vkcmdOption[0]->click(); // nothing chosen yet
    EXPECT_EQ(shownTexts(), QStringList{QStringLiteral(
                                "Choose the charge in the List of Charges Entered first.")});
    EXPECT_FALSE(screen->fraList->isHidden());

    QTableWidget *list = screen->MSHFlexList;
    int resulted = -1;
    for (int row = 0; row < list->rowCount(); ++row)
        if (list->item(row, listStatus)->text() == QLatin1String("R"))
            resulted = row;
    ASSERT_GE(resulted, 0);
    list->setCurrentCell(resulted, listItem);
    messages.clear();
    screen->vkcmdOption[0]->click();
    EXPECT_EQ(shownTexts(), QStringList{QStringLiteral(
                                "Can't Cancel this Charges. You have already entered a result "
                                "for this charge!")});
    EXPECT_EQ(messages.lastTitle(), QStringLiteral("Message"));

    // A line still open, but the user answers No: nothing is asked or changed.
    const int open = resulted == 0 ? 1 : 0;
    list->setCurrentCell(open, listItem);
    const QString item = list->item(open, listItem)->text();
    messages.clear();
    messages.answer(QMessageBox::No);
    screen->vkcmdOption[0]->click();
    EXPECT_EQ(shownTexts(),
              QStringList{QStringLiteral("Are you sure you want to Cancel this Charge?")});
    EXPECT_EQ(messages.dialogsShown(), 0);
    EXPECT_EQ(rows("CLINICAL_AREA..tbCancerCharges",
                   QStringLiteral("IdNum = '261001' AND RequestStatus = 'C'")),
              0);
}

// Through the report procedures and the charge-slip template, as printed.
TEST_P(ChargeSave, TheViewerShowsTheSlipJustSavedAndAReprintItsOwnStandingLines)
{
    reports::setReportsFolder(QStringLiteral(CHEMODESK_REPORTS_SOURCE));
    screen->setSlipPrinter(reports::ShowPrintout);
    QStringList captions;
    auto viewer = [&captions](QDialog &dialog) {
        captions << dialog.windowTitle();
        return int(QDialog::Rejected);
    };
    auto printedItems = [] {
        auto *report = dynamic_cast<reportengine::TemplateReport *>(reports::CurrentReport());
        QStringList items;
        if (!report)
            return items;
        for (const reportengine::DocRow &row : report->document().sections.at(0).rows)
            if (row.kind == reportengine::DocRow::Detail)
                items << row.cells.at(1).text;
        return items;
    };

    serviceLine("on", "8001");
    medicineLine("10001", "1");
    confirm();
    messages.onDialog(viewer);
    printSave();
    EXPECT_EQ(captions, QStringList{QStringLiteral("Print ChargeSlip")});
    EXPECT_EQ(printedItems(), QStringList({QStringLiteral("8001"), QStringLiteral("10001")}));
    EXPECT_EQ(messages.lastText(), QStringLiteral("ChargeSlip Number : G1520C"));

    // An older slip of another admission, one of its lines cancelled: the
    // print table still holds the slip just saved.
    openFor(QStringLiteral("261052"), QStringLiteral("1000052"));
    screen->setSlipPrinter(reports::ShowPrintout);
    screen->listCharges();
    QTableWidget *list = screen->MSHFlexList;
    QStringList standing;
    int chosen = -1;
    for (int row = 0; row < list->rowCount(); ++row)
        if (list->item(row, listSlip)->text() == QLatin1String("G1504C")) {
            chosen = row;
            if (list->item(row, listStatus)->text() != QLatin1String("C"))
                standing << list->item(row, listItem)->text();
        }
    ASSERT_GE(chosen, 0);
    ASSERT_FALSE(standing.isEmpty());
    list->setCurrentCell(chosen, listItem);
    messages.clear();
    messages.onDialog(viewer);
    screen->vkcmdOption[1]->click();
    EXPECT_TRUE(messages.shown().empty()) << shownTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(captions.last(), QStringLiteral("RE-Print ChargeSlip"));
    EXPECT_EQ(printedItems(), standing);
}

CHEMODESK_ENGINE_TESTS(ChargeSave);

// ------------------------------------------------ workstations at once

// Workstations saving at the same moment, each a process of its own with its
// own connection: every one gets its own slip, every line of every slip is
// kept, and the shelf they all issue from counts each issue once.
class ConcurrentSaves : public test::EngineTest {};

TEST_P(ConcurrentSaves, EachWorkstationGetsItsOwnSlipAndNoLineIsLost)
{
    const int processes = onServer() ? 20 : 2;
    const QString target = test::lastTarget();
    auto number = [this](const QString &text) { return db->Execute(text).Fields(0).toDouble(); };
    const QString shelf = QStringLiteral(
        "SELECT OnHand FROM INVENTORY..tbinvent WHERE ItemID = '10001' AND LocationID = '20'");
    const QString counter =
        QStringLiteral("SELECT ChargeSlip FROM CLINICAL_AREA..tbGenericChargeslip");
    const double onHand = number(shelf);
    const qlonglong first = qlonglong(number(counter));
    db.reset(); // the file to the workstations alone

    std::vector<std::unique_ptr<QProcess>> running;
    for (int i = 0; i < processes; ++i) {
        auto p = std::make_unique<QProcess>();
        p->start(QStringLiteral(CHEMODESK_SLIP_SAVER),
                 {target, QStringLiteral("261018"), QStringLiteral("1000018")});
        running.push_back(std::move(p));
    }
    QSet<QString> slips;
    for (auto &p : running) {
        ASSERT_TRUE(p->waitForFinished(120000));
        ASSERT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
        slips.insert(QString::fromUtf8(p->readAllStandardOutput()).trimmed());
    }
    QSet<QString> expected;
    for (int i = 0; i < processes; ++i)
        expected.insert(chargeSlipNumber(first + i));
    EXPECT_EQ(slips, expected);

    db = hospital::openDatabase(target);
    EXPECT_EQ(number(counter), first + processes);
    EXPECT_EQ(number(shelf), onHand - processes);
    for (const char *table : {"CLINICAL_AREA..tbCancerCharges", "CLINICAL_AREA..tbCancerLogBook"}) {
        SCOPED_TRACE(table);
        Recordset perSlip = db->Execute(
            QStringLiteral("SELECT ChargeSlip, count(*) AS N FROM ") + QLatin1String(table) +
            QStringLiteral(" WHERE IdNum = '261018' GROUP BY ChargeSlip"));
        QSet<QString> seen;
        for (; !perSlip.atEnd(); perSlip.MoveNext()) {
            seen.insert(perSlip.Fields(QStringLiteral("ChargeSlip")).trimmed());
            EXPECT_EQ(perSlip.Fields(QStringLiteral("N")).toDouble(), 4.0);
        }
        EXPECT_EQ(seen, expected);
    }
    for (const char *requests : {"LABORATORY..tbLabRequest", "RADIOLOGY..tbRadioRequest"})
        EXPECT_EQ(number(QStringLiteral("SELECT count(*) FROM ") + QLatin1String(requests) +
                         QStringLiteral(" WHERE IdNum = '261018'")),
                  processes)
            << requests;
}

CHEMODESK_ENGINE_TESTS(ConcurrentSaves);

} // namespace
