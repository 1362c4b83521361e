// The pharmacy and central supply request screens against the demo hospital
// (dated 2026-12-01), driven by keys in the entry grid with the program's own
// components. Behaviour the two share is checked on both; each case names the
// screen it runs on.

#include "components/itemlookup.h"
#include "components/keyaid.h"
#include "components/medicinecatalogue.h"
#include "components/medicinelist.h"
#include "database/forwardingconnection.h"
#include "database/sqltext.h"
#include "requests/frmcsrentry.h"
#include "requests/frmphentry.h"
#include "requests/frmreprintrequestform.h"
#include "session/dialogs/frmuservalidation.h"
#include "session/globals.h"
#include "session/module1.h"
#include "support/enginetest.h"
#include "support/failingconnection.h"
#include "support/fakepanel.h"
#include "support/scriptedmessages.h"
#include "support/textrecorder.h"
#include "widgets/picklist.h"
#include "widgets/screenregistry.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace chemodesk;
using namespace chemodesk::requests;
using Icon = widgets::MessageService::Icon;

namespace {

using chemodesk::testing::TextRecorder;

struct Parts {
    explicit Parts(Connection &c) : lookup(c), catalogue(c), list(c) {}
    components::ItemLookup lookup;
    components::MedicineCatalogue catalogue;
    components::MedicineList list;
    components::KeyAid keys;
    RequestComponents refs() { return {lookup, catalogue, list, keys}; }
};

enum class Screen { Pharmacy, Supply };

std::function<int(QDialog &)> confirmAs(const QString &employee, const QString &code)
{
    return [=](QDialog &dialog) {
        auto &check = dynamic_cast<session::frmUserValidation &>(dialog);
        check.txtUserID->setText(employee);
        check.txtAccessCode->setText(code);
        check.cmdOK->click();
        return check.result();
    };
}

const QDateTime Now(QDate(2026, 12, 1), QTime(14, 5, 9));
const QString Medicine = QStringLiteral("10001");
const QString Medicine2 = QStringLiteral("10002");
const QString Supply = QStringLiteral("20001");
const QString Supply2 = QStringLiteral("20002");

class Requests : public test::EngineTest {
protected:
    void SetUp() override
    {
        session::resetGlobals();
        EngineTest::SetUp();
        if (!db)
            return;
        db->setClockFixed(Now);
        g.DbConnection = db.get();
        session::ReadHospitalInfoA(*db);
        session::ReadHospitalInfoB(*db);
        session::GetHospitalInfo(*db);
        g.DrugListByGeneric = false;
        recorder = std::make_unique<TextRecorder>(*db);
        parts = std::make_unique<Parts>(*recorder);
        main = std::make_unique<test::FakePanel>();
        // An in-patient whose account is open.
        inPatient = firstRow(QStringLiteral(
            "select IdNum, HospNum from PATIENT_DATA..tbPatient where DcrDate is null and "
            "BillingDate is null order by IdNum"));
    }
    void TearDown() override
    {
        screen.reset();
        session::resetGlobals();
    }

    QStringList firstRow(const QString &text)
    {
        Recordset rs = db->Execute(text);
        QStringList row;
        if (!rs.atEnd())
            for (int i = 0; i < rs.FieldCount(); ++i)
                row << rs.Fields(i).trimmed();
        return row;
    }
    // An open out-patient registration with a numeric (company) or HMO account.
    QStringList outPatient(bool hmo)
    {
        Recordset rs = db->Execute(QStringLiteral(
            "select IdNum, HospNum, AccountNum, isnull(DoctorID1,'') from "
            "PATIENT_DATA..tbOutPatient where DcrDate is null and BillingDate is null and "
            "AccountNum is not null and AccountNum <> HospNum order by IdNum"));
        for (; !rs.atEnd(); rs.MoveNext())
            if (session::IsNumeric(rs.Fields(2).trimmed()) != hmo)
                return {rs.Fields(0).trimmed(), rs.Fields(1).trimmed(), rs.Fields(3).trimmed()};
        return {};
    }
    double price(const QString &item, const char *column)
    {
        return db
            ->Execute(QStringLiteral("select %1 from INVENTORY..tbinvent where ItemID = '%2' "
                                     "order by LocationID")
                          .arg(QLatin1String(column), item))
            .Fields(0)
            .toDouble();
    }
    double stock(const QString &item, const QString &location)
    {
        return db
            ->Execute(QStringLiteral("select OnHand from INVENTORY..tbinvent where ItemID = '%1' "
                                     "and LocationID = '%2'")
                          .arg(item, location))
            .Fields(0)
            .toDouble();
    }

    void open(Screen kind, const QStringList &patient, const QString &inOut = QStringLiteral("I"))
    {
        screen.reset();
        RequestPatient p{patient.at(1), patient.at(0), inOut, QStringLiteral("A PATIENT"),
                         QStringLiteral("1004")};
        if (kind == Screen::Pharmacy)
            screen = std::make_unique<frmPHEntry>(*recorder, parts->refs(), p, main.get());
        else
            screen = std::make_unique<frmCSREntry>(*recorder, parts->refs(), p, main.get());
        screen->show();
        box = screen->txtEntry;
        grid = screen->mshflexEntry;
        messages.clear();
    }
    void open(Screen kind) { open(kind, inPatient); }

    void enter(const QString &text)
    {
        box->clear();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    // Code, dosage (pharmacy), quantity and remarks of one line.
    void line(const QString &code, const QString &quantity,
              const QString &remarks = QStringLiteral("NONE"))
    {
        enter(code);
        if (screen->kind().dosage)
            enter(QStringLiteral("BID"));
        enter(quantity);
        enter(remarks);
    }
    QString cell(int l, int column) const { return grid->text(l, column); }
    QStringList texts() const
    {
        QStringList out;
        for (const auto &m : messages.shown())
            out << m.text;
        return out;
    }
    qlonglong requestRows()
    {
        return db->Execute(QStringLiteral("select count(*) from CLINICAL_AREA..tbCancerRequest"))
            .Fields(0)
            .toLongLong();
    }

    test::ScriptedMessages messages;
    std::unique_ptr<TextRecorder> recorder;
    std::unique_ptr<Parts> parts;
    std::unique_ptr<test::FakePanel> main;
    std::unique_ptr<RequestEntry> screen;
    widgets::EntryGrid *grid = nullptr;
    QLineEdit *box = nullptr;
    QStringList inPatient;
    session::Globals &g = session::globals();
};

TEST_P(Requests, OpenWithTheirColumnsPromptAndButtons)
{
    ASSERT_EQ(inPatient.size(), 2);
    const std::pair<Screen, QStringList> screens[] = {
        {Screen::Pharmacy,
         {"#", "Code", "Item Description", "Dosage", "Quantity", "Amount", "Remarks", ""}},
        {Screen::Supply,
         {"#", "Code", "Item Description", "Dosage", "Quantity", "Amount", "Remarks"}}};
    for (const auto &[kind, headers] : screens) {
        g.AllowPrintRequestForm = kind == Screen::Pharmacy;
        open(kind);
        SCOPED_TRACE(screen->objectName().toStdString());
        EXPECT_EQ(screen->windowTitle(), kind == Screen::Pharmacy
                                             ? QStringLiteral("Pharmacy Request Entry")
                                             : QStringLiteral("Central Supply Request Entry"));
        ASSERT_EQ(grid->columnCount(), headers.size());
        for (int c = 0; c < headers.size(); ++c)
            EXPECT_EQ(grid->horizontalHeaderItem(c)->text().trimmed(), headers[c]) << c;
        if (kind == Screen::Pharmacy) {
            EXPECT_TRUE(grid->isColumnHidden(colReference));
        }
        EXPECT_EQ(grid->lineCount(), 1);
        EXPECT_EQ(grid->currentColumn(), colCode);
        EXPECT_EQ(screen->lblMessage->text(),
                  QStringLiteral("Type Item Code or first 4 letters of Item Name then Press "
                                 "<Enter>...."));
        EXPECT_TRUE(screen->ExcemptCol(colAmount));
        EXPECT_EQ(screen->ExcemptCol(colDosage), kind == Screen::Supply);
        EXPECT_EQ(screen->cmdRePrint->isHidden(), kind == Screen::Supply);
        // The reprint dialog is the screen's own: always there to open.
        EXPECT_TRUE(screen->cmdRePrint->isEnabled());
        EXPECT_EQ(screen->cmdSave->objectName(), kind == Screen::Pharmacy
                                                     ? QStringLiteral("vkCommand1")
                                                     : QStringLiteral("vkcmdSave"));
    }
}

TEST_P(Requests, KeysAreUpperCaseAndTheQuantityTakesDigitsOnly)
{
    open(Screen::Pharmacy);
    enter(Medicine);
    QTest::keyClicks(box, QStringLiteral("bid"));
    EXPECT_EQ(box->text(), QStringLiteral("BID"));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(grid->currentColumn(), colQuantity);
    EXPECT_EQ(screen->lblMessage->text(),
              QStringLiteral("Type Quantity to request then Press <Enter>...."));
    box->clear();
    QTest::keyClicks(box, QStringLiteral("1a2-5 "));
    EXPECT_EQ(box->text(), QStringLiteral("125"));
}

// The unit price stays beside the Amount cell: entering the quantity again
// never multiplies the amount twice.
TEST_P(Requests, TheAmountIsThePriceTimesTheQuantityHoweverOftenItIsEntered)
{
    open(Screen::Pharmacy);
    const double unit = price(Medicine, "SellingPriceIn");
    enter(Medicine);
    EXPECT_FALSE(cell(1, colDescription).isEmpty());
    EXPECT_DOUBLE_EQ(cell(1, colAmount).toDouble(), unit);
    EXPECT_EQ(grid->currentColumn(), colDosage);
    EXPECT_EQ(screen->lblMessage->text(),
              QStringLiteral("Type Dosage Code or first letters of Dosage Name then Press "
                             "<Enter>...."));
    enter(QStringLiteral("tid"));
    EXPECT_EQ(cell(1, colDosage), QStringLiteral("TID"));
    EXPECT_EQ(cell(1, colQuantity), QStringLiteral("3")); // the dosage's frequency
    EXPECT_DOUBLE_EQ(cell(1, colAmount).toDouble(), unit * 3);
    for (int i = 0; i < 3; ++i) {
        screen->PutTextBox(colQuantity, 1);
        enter(QStringLiteral("2"));
    }
    EXPECT_EQ(cell(1, colQuantity), QStringLiteral("2"));
    EXPECT_DOUBLE_EQ(cell(1, colAmount).toDouble(), unit * 2);
    EXPECT_EQ(grid->currentColumn(), colRemarks);

    screen->PutTextBox(colDosage, 1);
    enter(QStringLiteral("XYZ"));
    EXPECT_EQ(texts(), QStringList{QStringLiteral("Dosage Code Does not Exist !")});
    EXPECT_EQ(messages.shown().back().icon, Icon::NoIcon);
    EXPECT_EQ(cell(1, colDosage), QStringLiteral("TID"));

    screen->PutTextBox(colQuantity, 1);
    enter(QStringLiteral("0"));
    EXPECT_EQ(messages.lastText(), QStringLiteral("Quantity should be greater than zero!"));
    EXPECT_EQ(cell(1, colQuantity), QStringLiteral("2"));
}

TEST_P(Requests, ACodeOnAnotherLineUnknownOrInactiveIsRefused)
{
    const std::tuple<Screen, QString, QString, QString> cases[] = {
        {Screen::Pharmacy, Medicine, QStringLiteral("10013"),
         QStringLiteral("Can't Request the Same Medicine!")},
        {Screen::Supply, Supply, QStringLiteral("20013"),
         QStringLiteral("Can't Request the Same Supply!")},
    };
    for (const auto &[kind, code, inactive, same] : cases) {
        open(kind);
        SCOPED_TRACE(screen->objectName().toStdString());
        line(code, QStringLiteral("1"));
        ASSERT_EQ(grid->lineCount(), 2);
        enter(code);
        EXPECT_EQ(texts(), QStringList{same});
        EXPECT_EQ(box->text(), QString());
        EXPECT_TRUE(cell(2, colCode).isEmpty());
        messages.clear();
        enter(QStringLiteral("99999"));
        EXPECT_EQ(texts(), QStringList{QStringLiteral("Code Not Exists!")});
        messages.clear();
        enter(inactive);
        EXPECT_EQ(texts(), QStringList{QStringLiteral("Record is inactive...please reenter...")});
        EXPECT_EQ(messages.shown().back().icon, Icon::Exclamation);
        EXPECT_EQ(messages.shown().back().title, QStringLiteral("Message"));
        EXPECT_TRUE(cell(2, colCode).isEmpty());
    }
}

// With AllowZeroOnHand on, an item out of stock and a quantity above the
// stock are refused; with it off neither message is ever shown.
TEST_P(Requests, StockIsCheckedOnlyWhenAllowZeroOnHandIsOn)
{
    const std::tuple<Screen, QString, QString, QString> cases[] = {
        {Screen::Pharmacy, QStringLiteral("10009"), Medicine, QStringLiteral("20")},
        {Screen::Supply, QStringLiteral("20009"), Supply, QStringLiteral("21")},
    };
    for (const auto &[kind, empty, stocked, location] : cases) {
        ASSERT_EQ(stock(empty, location), 0);
        const double onHand = stock(stocked, location);
        ASSERT_GT(onHand, 0);
        const QString above = QString::number(onHand + 1);
        for (const bool checked : {true, false}) {
            g.AllowZeroOnHand = checked ? QStringLiteral("1") : QStringLiteral("0");
            open(kind);
            SCOPED_TRACE(screen->objectName().toStdString() + (checked ? " on" : " off"));
            grid->setText(1, colRemarks, QStringLiteral("LEFT BEFORE"));
            enter(empty);
            if (checked) {
                ASSERT_EQ(texts().size(), 1u);
                EXPECT_TRUE(texts().at(0).endsWith(QLatin1String(
                    " has no stocks left. The system can't process the specified item.")));
                EXPECT_EQ(messages.shown().back().icon, Icon::Information);
                for (int c = colCode; c <= colRemarks; ++c)
                    EXPECT_TRUE(cell(1, c).isEmpty()) << c;
                enter(stocked);
            } else {
                EXPECT_TRUE(texts().isEmpty());
                EXPECT_EQ(cell(1, colCode), empty);
            }
            messages.clear();
            if (kind == Screen::Pharmacy)
                enter(QStringLiteral("OD"));
            enter(above);
            if (checked) {
                EXPECT_EQ(texts(),
                          QStringList{QStringLiteral("Available stockOnhand for this item is : (") +
                                      QString::number(onHand) +
                                      QStringLiteral(") \r\n Please enter quantity not greater "
                                                     "than the stock onhand")});
                EXPECT_EQ(cell(1, colQuantity), QStringLiteral("1"));
                EXPECT_EQ(grid->currentColumn(), colQuantity);
            } else {
                EXPECT_TRUE(texts().isEmpty());
                EXPECT_EQ(cell(1, colQuantity), above);
            }
        }
    }
}

// Registration numbers ending in "B": a company (numeric) account pays the
// out-patient price, an HMO account the in-patient price; admissions pay the
// in-patient price. Both screens price alike.
TEST_P(Requests, OutPatientsOnACompanyAccountPayTheOutPatientPrice)
{
    const QStringList company = outPatient(false);
    const QStringList hmo = outPatient(true);
    ASSERT_FALSE(company.isEmpty());
    ASSERT_FALSE(hmo.isEmpty());
    const std::tuple<QStringList, QString, const char *> cases[] = {
        {company, QStringLiteral("O"), "SellingPriceOut"},
        {hmo, QStringLiteral("O"), "SellingPriceIn"},
        {inPatient, QStringLiteral("I"), "SellingPriceIn"},
    };
    for (const Screen kind : {Screen::Pharmacy, Screen::Supply}) {
        const QString code = kind == Screen::Pharmacy ? Medicine : Supply;
        for (const auto &[patient, inOut, column] : cases) {
            open(kind, patient, inOut);
            SCOPED_TRACE(screen->objectName().toStdString() + " " + patient.at(0).toStdString());
            EXPECT_EQ(screen->Check_IfHMO(patient.at(0)), patient == hmo);
            enter(code);
            EXPECT_DOUBLE_EQ(cell(1, colAmount).toDouble(), price(code, column));
        }
    }
}

// Listing by generic name: the price follows the in/out type, and the line
// starts with dosage PRN and quantity 1.
TEST_P(Requests, ByGenericNamePricesByInOutTypeAndPresetsTheLine)
{
    g.DrugListByGeneric = true;
    const QStringList company = outPatient(false);
    for (const auto &[inOut, column] : {std::pair{QStringLiteral("I"), "SellingPriceIn"},
                                        std::pair{QStringLiteral("O"), "SellingPriceOut"}}) {
        open(Screen::Pharmacy, company, inOut);
        enter(Medicine);
        EXPECT_EQ(cell(1, colDosage), QStringLiteral("PRN"));
        EXPECT_EQ(cell(1, colQuantity), QStringLiteral("1"));
        EXPECT_DOUBLE_EQ(cell(1, colAmount).toDouble(), price(Medicine, column));
        EXPECT_FALSE(cell(1, colDescription).contains(QLatin1Char('(')));
    }
    // The supply request never takes that path.
    open(Screen::Supply, company, QStringLiteral("O"));
    enter(Supply);
    EXPECT_TRUE(cell(1, colQuantity).isEmpty());
    EXPECT_DOUBLE_EQ(cell(1, colAmount).toDouble(), price(Supply, "SellingPriceOut"));
}

// Letters open the pick list; closing it without a choice is told on the
// pharmacy request only, and the line stays as it was.
TEST_P(Requests, LettersOfANameOfferThePickList)
{
    for (const Screen kind : {Screen::Pharmacy, Screen::Supply}) {
        open(kind);
        SCOPED_TRACE(screen->objectName().toStdString());
        messages.onDialog([kind](QDialog &shown) {
            auto &list = static_cast<widgets::PickList &>(shown);
            EXPECT_EQ(list.windowTitle(), kind == Screen::Pharmacy ? QStringLiteral("Medicines")
                                                                   : QStringLiteral("Supplies"));
            QTest::keyClick(list.txtSearch, Qt::Key_Return);
            return list.result();
        });
        enter(kind == Screen::Pharmacy ? QStringLiteral("ONDA") : QStringLiteral("IV CA"));
        EXPECT_TRUE(texts().isEmpty());
        EXPECT_FALSE(cell(1, colCode).isEmpty());
        EXPECT_TRUE(cell(1, colDescription)
                        .startsWith(kind == Screen::Pharmacy ? QLatin1String("ONDANSETRON")
                                                             : QLatin1String("IV CANNULA")));

        messages.onDialog([](QDialog &) { return int(QDialog::Rejected); });
        grid->PutTextBox(colCode, 1);
        const QString before = cell(1, colCode);
        enter(QStringLiteral("PARA"));
        EXPECT_EQ(cell(1, colCode), before);
        EXPECT_EQ(texts(), kind == Screen::Pharmacy
                               ? QStringList{QStringLiteral("Please Enter Quantity!")}
                               : QStringList{});
    }
}

TEST_P(Requests, DeletingRefusesWithoutEntriesAndClearsTheOnlyLine)
{
    for (const Screen kind : {Screen::Pharmacy, Screen::Supply}) {
        open(kind);
        SCOPED_TRACE(screen->objectName().toStdString());
        screen->vkcmdDelete->click();
        EXPECT_EQ(texts(), QStringList{QStringLiteral("Cannot continue. No Data to delete !")});
        EXPECT_EQ(messages.shown().back().icon, Icon::Question);
        EXPECT_EQ(messages.shown().back().title, QStringLiteral("Information"));

        // The only line, begun: emptied, not removed.
        enter(kind == Screen::Pharmacy ? Medicine : Supply);
        messages.clear();
        messages.answer(QMessageBox::No);
        QTest::keyClick(box, Qt::Key_F3);
        EXPECT_EQ(texts(), QStringList{QStringLiteral("Are you sure to delete the request?")});
        EXPECT_FALSE(cell(1, colCode).isEmpty());
        screen->vkcmdDelete->click();
        EXPECT_EQ(grid->lineCount(), 1);
        for (int c = colCode; c <= colRemarks; ++c)
            EXPECT_TRUE(cell(1, c).isEmpty()) << c;
        EXPECT_EQ(cell(1, colNumber), QStringLiteral("1"));

        // Two lines: the current one goes and the rest are numbered again.
        screen->PutTextBox(colCode, 1);
        line(kind == Screen::Pharmacy ? Medicine : Supply, QStringLiteral("1"));
        line(kind == Screen::Pharmacy ? Medicine2 : Supply2, QStringLiteral("1"));
        ASSERT_EQ(grid->lineCount(), 3);
        messages.clear();
        screen->vkcmdDelete->click(); // on the new, empty third line
        EXPECT_EQ(texts(),
                  QStringList{QStringLiteral("Row cannot be deleted because there are no entries "
                                             "yet.")});
        EXPECT_EQ(messages.shown().back().title, QStringLiteral("MESSAGE"));
        screen->PutTextBox(colCode, 1);
        screen->cmdMedOption[2]->click();
        EXPECT_EQ(grid->lineCount(), 2);
        EXPECT_EQ(cell(1, colCode), kind == Screen::Pharmacy ? Medicine2 : Supply2);
        EXPECT_EQ(cell(1, colNumber), QStringLiteral("1"));
        EXPECT_EQ(cell(2, colNumber), QStringLiteral("2"));
    }
}

TEST_P(Requests, NothingToSaveIsToldBeforeAnyoneIsAsked)
{
    for (const Screen kind : {Screen::Pharmacy, Screen::Supply}) {
        open(kind);
        SCOPED_TRACE(screen->objectName().toStdString());
        // A line begun but lacking its quantity is no data either.
        enter(kind == Screen::Pharmacy ? Medicine : Supply);
        screen->cmdSave->click();
        EXPECT_EQ(texts(), QStringList{QStringLiteral("Cannot continue. No Data to save !")});
        EXPECT_EQ(messages.shown().back().icon, Icon::Question);
        EXPECT_EQ(messages.shown().back().title, QStringLiteral("Information"));
        EXPECT_EQ(messages.dialogsShown(), 0);
    }
}

TEST_P(Requests, AClosedBillOrAnAbandonedAccessCodeSavesNothing)
{
    const QStringList billed = firstRow(QStringLiteral(
        "select IdNum, HospNum from PATIENT_DATA..tbPatient where DcrDate is null and "
        "BillingDate is not null order by IdNum"));
    ASSERT_EQ(billed.size(), 2);
    const qlonglong before = requestRows();
    for (const Screen kind : {Screen::Pharmacy, Screen::Supply}) {
        open(kind, billed);
        line(kind == Screen::Pharmacy ? Medicine : Supply, QStringLiteral("1"));
        messages.clear();
        const int dialogs = messages.dialogsShown();
        screen->cmdSave->click();
        EXPECT_EQ(texts(), QStringList{QStringLiteral("Patient's bill has been closed.  Please "
                                                      "verify with Billing section.")});
        EXPECT_EQ(messages.shown().back().title, QStringLiteral("MESSAGE"));
        EXPECT_EQ(messages.dialogsShown(), dialogs);

        open(kind);
        line(kind == Screen::Pharmacy ? Medicine : Supply, QStringLiteral("1"));
        messages.clear();
        messages.onDialog([](QDialog &) { return int(QDialog::Rejected); });
        screen->cmdSave->click();
        EXPECT_TRUE(texts().isEmpty());
        EXPECT_TRUE(screen->isVisible());
    }
    EXPECT_EQ(requestRows(), before);
}

// A saved request read back: every value of the call where it belongs, the
// lines lacking a field left out, all under one number.
TEST_P(Requests, ASavedRequestIsReadBackWithEveryValueInPlace)
{
    const QStringList patient = outPatient(false);
    for (const Screen kind : {Screen::Pharmacy, Screen::Supply}) {
        const bool pharmacy = kind == Screen::Pharmacy;
        open(kind, patient, QStringLiteral("O"));
        SCOPED_TRACE(screen->objectName().toStdString());
        line(pharmacy ? Medicine : Supply, QStringLiteral("2"), QStringLiteral("AFTER MEALS"));
        line(pharmacy ? Medicine2 : Supply2, QStringLiteral("3"), QString());
        // Begun but never given a quantity: left out.
        enter(pharmacy ? QStringLiteral("10003") : QStringLiteral("20003"));
        recorder->texts.clear();
        messages.clear();
        messages.onDialog(confirmAs(QStringLiteral("1002"), QStringLiteral("JPV1002")));
        screen->cmdSave->click();
        EXPECT_EQ(texts(), QStringList{QStringLiteral("Successfully Saved...")});
        EXPECT_EQ(messages.shown().back().title, QStringLiteral("Hemodialysis"));
        EXPECT_FALSE(screen->isVisible());

        const QString type = pharmacy ? QStringLiteral("PH") : QStringLiteral("CS");
        const QString first = pharmacy ? Medicine : Supply;
        const QString dosage = pharmacy ? QStringLiteral("BID") : QString();
        const double amount = price(first, "SellingPriceOut") * 2;
        // The exact text of the first line, as the hospital's server is sent it.
        const QString expected =
            QStringLiteral("Clinical_Area..spCancer_AppendCancerLogBook '") + patient.at(1) +
            QStringLiteral("','") + patient.at(0) + QStringLiteral("','O','") + first +
            QStringLiteral("','") + QString::number(amount, 'g', 15) + QStringLiteral("','2','") +
            dosage + QStringLiteral("',' ','12/01/2026 02:05:09 PM','") + type +
            QStringLiteral("','") + patient.at(2) + QStringLiteral("',' ','1002','AFTER MEALS','") +
            sql::escape(cell(1, colDescription)) + QStringLiteral("','ON',") +
            (pharmacy ? QStringLiteral("'Y',''") : QStringLiteral("'N','0'"));
        EXPECT_TRUE(recorder->texts.contains(expected)) << expected.toStdString();

        Recordset rs = db->Execute(
            QStringLiteral("select RequestNum, HospNum, IdNum, PatientType, ItemID, Amount, "
                           "Quantity, Dosage, Route, RequestDate, RequestType, DoctorID, UserID, "
                           "Remarks, Description, StationID, ForPharmacy, Reference, LocationID "
                           "from CLINICAL_AREA..tbCancerRequest where IdNum = '%1' and "
                           "RequestType = '%2' and RequestDate = '2026-12-01 14:05:09' "
                           "order by RequestID")
                .arg(patient.at(0), type));
        ASSERT_EQ(rs.RecordCount(), 2);
        const qlonglong number = rs.Fields(QStringLiteral("RequestNum")).toLongLong();
        auto text = [&](const char *column) { return rs.Fields(QLatin1String(column)).trimmed(); };
        EXPECT_EQ(text("HospNum"), patient.at(1));
        EXPECT_EQ(text("PatientType"), QStringLiteral("O"));
        EXPECT_EQ(text("ItemID"), first);
        EXPECT_DOUBLE_EQ(rs.Fields(QStringLiteral("Amount")).toDouble(), amount);
        EXPECT_DOUBLE_EQ(rs.Fields(QStringLiteral("Quantity")).toDouble(), 2);
        EXPECT_EQ(text("Dosage"), dosage);
        EXPECT_EQ(text("Route"), QString());
        EXPECT_EQ(rs.Fields(QStringLiteral("RequestDate")).toDateTime(), Now);
        EXPECT_EQ(text("DoctorID"), patient.at(2));
        EXPECT_EQ(text("UserID"), QStringLiteral("1002"));
        EXPECT_EQ(text("Remarks"), QStringLiteral("AFTER MEALS"));
        EXPECT_FALSE(text("Description").isEmpty());
        EXPECT_EQ(text("StationID"), QStringLiteral("ON"));
        EXPECT_EQ(text("ForPharmacy"), pharmacy ? QStringLiteral("Y") : QStringLiteral("N"));
        EXPECT_EQ(text("Reference"), pharmacy ? QString() : QStringLiteral("0"));
        EXPECT_EQ(text("LocationID"), pharmacy ? QStringLiteral("20") : QStringLiteral("21"));
        rs.MoveNext();
        EXPECT_EQ(rs.Fields(QStringLiteral("RequestNum")).toLongLong(), number);
        EXPECT_EQ(text("ItemID"), pharmacy ? Medicine2 : Supply2);
        EXPECT_EQ(text("Remarks"), QString());

        // The reprint list has it first for this patient.
        Recordset list = db->Execute(QStringLiteral("HemoDialysis..spHemo_LoadPHCSRequest '','") +
                                     type + QLatin1Char('\''));
        EXPECT_EQ(list.Fields(QStringLiteral("RequestNum")).toLongLong(), number);
        EXPECT_EQ(list.Fields(QStringLiteral("IdNum")).trimmed(), patient.at(0));
    }
}

// The look-ups send their texts as the hospital writes them, and on each
// engine those texts find what the screens read by column name.
TEST_P(Requests, TheLookUpsSendTheirTextsAndFindTheirColumns)
{
    const QStringList patient = outPatient(false);
    g.AllowZeroOnHand = QStringLiteral("1");
    for (const Screen kind : {Screen::Pharmacy, Screen::Supply}) {
        const bool pharmacy = kind == Screen::Pharmacy;
        const QString code = pharmacy ? Medicine : Supply;
        const QString location = pharmacy ? QStringLiteral("20") : QStringLiteral("21");
        open(kind, patient, QStringLiteral("O"));
        SCOPED_TRACE(screen->objectName().toStdString());
        recorder->texts.clear();
        line(code, QStringLiteral("1"));
        messages.onDialog(confirmAs(QStringLiteral("1002"), QStringLiteral("JPV1002")));
        screen->cmdSave->click();
        ASSERT_EQ(messages.lastText(), QStringLiteral("Successfully Saved..."));

        const QString stockText =
            QStringLiteral("select isnull(OnHand,0)Onhand from INVENTORY..tbinvent where "
                           "ItemID = '") +
            code + QStringLiteral("' and LocationID = '") + location + QLatin1Char('\'');
        const QString accountText =
            QStringLiteral("Select Accountnum from PATIENT_DATA..tboutpatient where IDNum = '") +
            patient.at(0) + QLatin1Char('\'');
        const QString doctorText = QStringLiteral("select isnull(DoctorID1,'')as DoctorID1  from "
                                                  "PATIENT_DATA..tbOutPatient where IDnum = '") +
                                   patient.at(0) + QLatin1Char('\'');
        for (const QString &text : {stockText, accountText, doctorText})
            EXPECT_TRUE(recorder->texts.contains(text)) << text.toStdString();
        EXPECT_DOUBLE_EQ(db->Execute(stockText).Fields(QStringLiteral("Onhand")).toDouble(),
                         stock(code, location));
        EXPECT_TRUE(session::IsNumeric(
            db->Execute(accountText).Fields(QStringLiteral("AccountNum")).trimmed()));
        EXPECT_EQ(db->Execute(doctorText).Fields(QStringLiteral("DoctorID1")).trimmed(),
                  patient.at(2));
        // An item stocked nowhere at the location reads no row: no stock.
        EXPECT_TRUE(db->Execute(QStringLiteral("select isnull(OnHand,0)Onhand from "
                                               "INVENTORY..tbinvent where ItemID = '99999' and "
                                               "LocationID = '") +
                                location + QLatin1Char('\''))
                        .atEnd());
    }
}

// The third line's call fails: nothing of the request stays, the user is
// told, and the lines stay on the screen to be saved again.
TEST_P(Requests, ASaveWhoseThirdLineFailsLeavesNoRowOfTheRequest)
{
    for (const Screen kind : {Screen::Pharmacy, Screen::Supply}) {
        const bool pharmacy = kind == Screen::Pharmacy;
        test::FailingConnection failing(
            *db,
            test::FailingConnection::nthStartingWith(
                QStringLiteral("Clinical_Area..spCancer_AppendCancerLogBook"), 3),
            QStringLiteral("The server refused the statement."));
        screen.reset();
        RequestPatient p{inPatient.at(1), inPatient.at(0), QStringLiteral("I"), QString(),
                         QStringLiteral("1004")};
        if (pharmacy)
            screen = std::make_unique<frmPHEntry>(failing, parts->refs(), p);
        else
            screen = std::make_unique<frmCSREntry>(failing, parts->refs(), p);
        screen->show();
        box = screen->txtEntry;
        grid = screen->mshflexEntry;
        SCOPED_TRACE(screen->objectName().toStdString());
        const qlonglong before = requestRows();
        const qlonglong counter =
            db->Execute(QStringLiteral("select RequestNum from CLINICAL_AREA..tbCancerRequestNum"))
                .Fields(0)
                .toLongLong();
        for (const char *code : pharmacy ? std::vector<const char *>{"10001", "10002", "10003"}
                                         : std::vector<const char *>{"20001", "20002", "20003"})
            line(QLatin1String(code), QStringLiteral("1"));
        messages.clear();
        messages.onDialog(confirmAs(QStringLiteral("1002"), QStringLiteral("JPV1002")));
        screen->cmdSave->click();
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_TRUE(messages.lastText().contains(QLatin1String("The server refused the "
                                                               "statement.")));
        EXPECT_EQ(messages.shown().back().icon, Icon::Critical);
        EXPECT_TRUE(screen->isVisible());
        EXPECT_EQ(grid->lineCount(), 4);
        EXPECT_FALSE(cell(3, colCode).isEmpty());
        EXPECT_EQ(requestRows(), before);
        EXPECT_EQ(
            db->Execute(QStringLiteral("select RequestNum from CLINICAL_AREA..tbCancerRequestNum"))
                .Fields(0)
                .toLongLong(),
            counter);
        EXPECT_EQ(db->TransactionDepth(), 0);
    }
}

// The older layout's buttons: its save sends the twin procedure with the
// screen's patient and the signed-in employee, without an access code.
TEST_P(Requests, TheOlderLayoutSavesThroughTheTwinProcedure)
{
    for (const Screen kind : {Screen::Pharmacy, Screen::Supply}) {
        open(kind);
        SCOPED_TRACE(screen->objectName().toStdString());
        line(kind == Screen::Pharmacy ? Medicine : Supply, QStringLiteral("1"));
        messages.answer(QMessageBox::Cancel);
        screen->cmdMedOption[1]->click();
        EXPECT_EQ(texts(), QStringList{QStringLiteral("Are you sure to close this program?")});
        EXPECT_EQ(messages.lastTitle(), QStringLiteral("OPD Registration System"));
        EXPECT_TRUE(screen->isVisible());
        messages.clear();
        recorder->texts.clear();
        screen->cmdMedOption[0]->click();
        EXPECT_EQ(messages.dialogsShown(), 0);
        EXPECT_EQ(texts(), QStringList{QStringLiteral("Successfully Saved...")});
        EXPECT_EQ(messages.lastTitle(), QStringLiteral("CANCER DEPARTMENT"));
        const QString opening =
            kind == Screen::Pharmacy
                ? QStringLiteral("Clinical_Area..spKidney_AppendCancerLogBook '")
                : QStringLiteral("Clinical_Area..spKidney_AppendCancerLogBook  '");
        const QStringList sent = recorder->texts.filter(QStringLiteral("spKidney_"));
        ASSERT_EQ(sent.size(), 1);
        EXPECT_TRUE(sent.at(0).startsWith(opening + inPatient.at(1) + QStringLiteral("','") +
                                          inPatient.at(0) + QStringLiteral("','")));
        EXPECT_TRUE(sent.at(0).contains(QLatin1String("',' ','1004','NONE','")));
    }
}

// The reprint button opens the reprint dialog for the screen's request type,
// caption and patient.
TEST_P(Requests, ReprintOpensTheDialogForItsTypeAndPatient)
{
    QStringList opened;
    const auto remember = [&](QDialog &shown) {
        if (auto *reprint = qobject_cast<frmReprintRequestForm *>(&shown))
            opened << reprint->RequestType() + QLatin1Char(' ') + reprint->windowTitle();
        return int(QDialog::Rejected);
    };
    messages.onDialog(remember);
    messages.onDialog(remember);
    g.AllowPrintRequestForm = true;
    for (const Screen kind : {Screen::Pharmacy, Screen::Supply}) {
        open(kind);
        ASSERT_TRUE(screen->cmdRePrint->isEnabled());
        recorder->texts.clear();
        screen->cmdRePrint->click();
        EXPECT_EQ(
            recorder->texts.filter(QStringLiteral("spHemo_LoadPHCSRequest")),
            QStringList{QStringLiteral("HemoDialysis..spHemo_LoadPHCSRequest '") + inPatient.at(1) +
                        QStringLiteral("','") +
                        (kind == Screen::Pharmacy ? QStringLiteral("PH") : QStringLiteral("CS")) +
                        QLatin1Char('\'')});
    }
    EXPECT_EQ(opened, (QStringList{QStringLiteral("PH Reprint Pharmacy Request Form"),
                                   QStringLiteral("CS Reprint CSR Request Form")}));
}

CHEMODESK_ENGINE_TESTS(Requests);

} // namespace
