// Post Charges against the demo hospital (dated 2026-12-01) with the
// program's own components, driven by keys in the entry grid. The patient is
// O'CAMPO, NORMA (admission 261018): a senior citizen in room 404 (class C)
// under Dr. 102, charged from the in-patient price list.

#include "charging/chargelines.h"
#include "charging/frmcharge.h"
#include "components/itemlookup.h"
#include "components/keyaid.h"
#include "components/medicinecatalogue.h"
#include "components/medicinelist.h"
#include "session/globals.h"
#include "session/module1.h"
#include "support/chargeparts.h"
#include "support/enginetest.h"
#include "support/fakepanel.h"
#include "support/picture.h"
#include "support/scriptedmessages.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace chemodesk;
using namespace chemodesk::charging;
using Icon = widgets::MessageService::Icon;

namespace {

const QString Title = widgets::defaultTitle();

using Components = test::ChargeParts;

class PostCharges : public test::EngineTest {
protected:
    void SetUp() override
    {
        session::resetGlobals();
        EngineTest::SetUp();
        if (!db)
            return;
        g.DbConnection = db.get();
        session::ReadHospitalInfoB(*db); // AllowZeroOnHand
        parts = std::make_unique<Components>(*db);
        main = std::make_unique<test::FakePanel>();
        openFor(QStringLiteral("261018"), QStringLiteral("1000018"), QStringLiteral("I"));
    }
    void TearDown() override
    {
        screen.reset();
        session::resetGlobals();
    }

    void openFor(const QString &idNum, const QString &hospNum, const QString &patientClass,
                 const QString &employee = QStringLiteral("1001"))
    {
        screen.reset();
        ChargePatient patient{QStringLiteral("O'CAMPO, NORMA"),
                              hospNum,
                              idNum,
                              patientClass == QLatin1String("O") ? QStringLiteral("OPD")
                                                                 : QString(),
                              employee,
                              patientClass};
        screen = std::make_unique<frmCharge>(*db, parts->refs(), patient, main.get());
        screen->show();
        box = screen->txtEntry;
        grid = screen->mshflexEntry;
    }

    // Types `text` in the current cell and presses Enter.
    void enter(const QString &text)
    {
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    void key(Qt::Key k) { QTest::keyClick(box, k); }
    QString cell(int line, int column) const { return grid->text(line, column); }
    QString total() const { return screen->txtTotal->text(); }
    QStringList texts() const
    {
        QStringList out;
        for (const auto &m : messages.shown())
            out << m.text;
        return out;
    }

    // A whole line: department, item, and Enter through the remaining stops.
    void medicineLine(const QString &item, const QString &quantity)
    {
        enter(QStringLiteral("ph"));
        enter(item);
        enter(quantity);
        enter(QString()); // stat
    }

    test::ScriptedMessages messages;
    std::unique_ptr<Components> parts;
    std::unique_ptr<test::FakePanel> main;
    std::unique_ptr<frmCharge> screen;
    widgets::EntryGrid *grid = nullptr;
    QLineEdit *box = nullptr;
    session::Globals &g = session::globals();
};

TEST_P(PostCharges, OpensWithThePatientDoctorDepartmentsAndGrid)
{
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("Post Charges"));
    EXPECT_EQ(screen->txtIdnum->text(), QStringLiteral("261018"));
    EXPECT_EQ(screen->txtHospNum->text(), QStringLiteral("1000018"));
    EXPECT_EQ(screen->txtPxName->text(), QStringLiteral("O'CAMPO, NORMA"));
    EXPECT_EQ(screen->txtRoomid->text(), QStringLiteral("404"));
    EXPECT_FALSE(screen->fmSenior->isHidden());
    EXPECT_EQ(screen->txtDoctorID->text(), QStringLiteral("102"));
    EXPECT_EQ(screen->txtDoctor->text(), QStringLiteral("Dr. SANTIAGO, MARIA LOURDES"));
    EXPECT_TRUE(screen->CheckDepartment(QStringLiteral("md")));
    EXPECT_TRUE(screen->CheckDepartment(QStringLiteral("PH")));
    EXPECT_FALSE(screen->CheckDepartment(QStringLiteral("KS"))); // not offered to this unit
    EXPECT_EQ(screen->grdRevenue->columnCount(), 3);
    EXPECT_EQ(screen->grdRevenue->horizontalHeaderItem(1)->text(), QStringLiteral("Code"));
    EXPECT_EQ(screen->fraDept->title().left(16), QStringLiteral("Department Codes"));

    ASSERT_EQ(grid->columnCount(), 12);
    const QStringList headers{"#",        "Dept.Code",  "Item Code", "Item   Description",
                              "Quantity", "Unit Price", "Amount",    "Stat",
                              "Location"};
    for (int c = 0; c < headers.size(); ++c)
        EXPECT_EQ(grid->horizontalHeaderItem(c)->text(), headers[c]) << c;
    EXPECT_TRUE(grid->isColumnHidden(colStockcardRevenue));
    EXPECT_TRUE(grid->isColumnHidden(colItemFlags));
    EXPECT_TRUE(grid->isColumnHidden(colPackageCode));
    EXPECT_EQ(grid->lineCount(), 1);
    EXPECT_EQ(cell(1, colLine), QStringLiteral("1"));
    EXPECT_EQ(grid->currentColumn(), colDept);
    EXPECT_EQ(screen->lblMessage->text(),
              QStringLiteral("Type the Charging Code..(See Department Codes for the list) click "
                             "View help Code to view List of Code"));
    EXPECT_EQ(total(), QStringLiteral("0.00"));

    for (int i : {0, 5})
        EXPECT_TRUE(screen->vkCommand1[i]->isEnabled());
    EXPECT_EQ(screen->vkCommand1[0]->text(), QStringLiteral("&Save"));
    EXPECT_EQ(screen->vkCommand1[5]->text(), QStringLiteral("&Print/Save"));
    EXPECT_TRUE(screen->vkbtnHemoPckge->isEnabled());
    EXPECT_TRUE(screen->vkcmdOption[0]->isEnabled()); // 1001 may cancel charges
    EXPECT_TRUE(messages.shown().empty()) << texts().join(QLatin1Char('|')).toStdString();
}

TEST_P(PostCharges, CancelChargesFollowsTheEmployeesRightAndReceivableModeLocksTheMainWindow)
{
    openFor(QStringLiteral("261018"), QStringLiteral("1000018"), QStringLiteral("I"),
            QStringLiteral("1002"));
    EXPECT_FALSE(screen->vkcmdOption[0]->isEnabled());
    openFor(QStringLiteral("261018"), QStringLiteral("1000018"), QStringLiteral("I"),
            QStringLiteral("1007")); // a rights row of Nulls
    EXPECT_FALSE(screen->vkcmdOption[0]->isEnabled());
    EXPECT_TRUE(main->buttonEnabled("cmdPharmacy"));

    g.ReceivableMode = true;
    openFor(QStringLiteral("261018"), QStringLiteral("1000018"), QStringLiteral("I"));
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("Receivable Entry"));
    for (const char *name :
         {"cmdPatientList", "cmdRegister", "cmdPharmacy", "cmdCSRRequest", "cmdResultEntry"})
        EXPECT_FALSE(main->buttonEnabled(name)) << name;
    EXPECT_TRUE(main->buttonEnabled("cmdCash"));
}

TEST_P(PostCharges, AnOutPatientGetsTheRegistrationsDoctorAndKeepsItsRoom)
{
    openFor(QStringLiteral("2650005B"), QStringLiteral("1000085"), QStringLiteral("O"));
    EXPECT_EQ(screen->txtRoomid->text(), QStringLiteral("OPD"));
    EXPECT_FALSE(screen->txtDoctorID->text().isEmpty());
    EXPECT_TRUE(screen->txtDoctor->text().startsWith(QLatin1String("Dr. ")));
}

TEST_P(PostCharges, ProfessionalFeeSkipsDescriptionAndStatAndTakesATypedAmount)
{
    enter(QStringLiteral("md"));
    EXPECT_EQ(cell(1, colDept), QStringLiteral("MD"));
    EXPECT_TRUE(screen->ExcemptCol(colDescription));
    EXPECT_TRUE(screen->ExcemptCol(colStat));
    EXPECT_FALSE(screen->ExcemptCol(colAmount));
    EXPECT_EQ(grid->currentColumn(), colItem);
    enter(QStringLiteral("102"));
    EXPECT_EQ(cell(1, colItem), QStringLiteral("102"));
    EXPECT_EQ(cell(1, colDescription), QStringLiteral("DR. MARIA LOURDES SANTIAGO"));
    EXPECT_EQ(cell(1, colQuantity), QStringLiteral("1"));
    EXPECT_EQ(cell(1, colUnitPrice), QStringLiteral("0"));
    EXPECT_EQ(cell(1, colAmount), QStringLiteral("0"));
    EXPECT_EQ(grid->currentColumn(), colAmount);
    EXPECT_EQ(screen->lblMessage->text(), QStringLiteral("Type the total amount to charge....."));
    key(Qt::Key_Left); // Unit Price, then Quantity: Description is skipped
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    EXPECT_EQ(grid->currentColumn(), colItem);
    key(Qt::Key_End);
    EXPECT_EQ(grid->currentColumn(), colAmount);

    enter(QStringLiteral("2500"));
    EXPECT_EQ(cell(1, colAmount), QStringLiteral("2500.00"));
    EXPECT_EQ(total(), QStringLiteral("2500.00"));
    ASSERT_EQ(grid->lineCount(), 2);
    EXPECT_EQ(grid->currentLine(), 2);
    EXPECT_EQ(grid->currentColumn(), colDept);

    // The same doctor twice is refused; the line keeps nothing of it.
    enter(QStringLiteral("md"));
    enter(QStringLiteral("102"));
    EXPECT_EQ(messages.lastText(), QStringLiteral("Can't charge the same Service !"));
    EXPECT_EQ(cell(2, colItem), QString());
    EXPECT_EQ(grid->currentColumn(), colItem);
}

TEST_P(PostCharges, ADiscountLineTakesItsAmountLikeAFee)
{
    enter(QStringLiteral("sm"));
    enter(QString());
    EXPECT_EQ(cell(1, colDescription), QStringLiteral("PATIENT DISCOUNT "));
    EXPECT_EQ(cell(1, colItem), QStringLiteral("SM"));
    EXPECT_EQ(grid->currentColumn(), colAmount);
    enter(QStringLiteral("300"));
    EXPECT_EQ(cell(1, colAmount), QStringLiteral("300.00"));
    // A discount is taken off the total, alone or beside a charge.
    EXPECT_EQ(total(), QStringLiteral("-300.00"));
    EXPECT_EQ(grid->lineCount(), 2);
    EXPECT_TRUE(messages.shown().empty());
    // Only a fee's quantity goes without a unit price; the typed amount stays.
    grid->PutTextBox(colQuantity, 1);
    enter(QStringLiteral("2"));
    EXPECT_EQ(messages.lastText(),
              QStringLiteral("Unable to proceed Zero Unit Price, Please Contact MIS Department \n "
                             "for further instruction!"));
    EXPECT_EQ(cell(1, colAmount), QStringLiteral("300.00"));
}

TEST_P(PostCharges, AMedicineIsPricedFromThePatientsListAndCannotBeChargedTwice)
{
    enter(QStringLiteral("ph"));
    EXPECT_EQ(QList<int>({colDescription, colUnitPrice, colAmount, colLocation}),
              grid->exemptColumns());
    enter(QStringLiteral("10001"));
    EXPECT_EQ(cell(1, colItem), QStringLiteral("10001"));
    EXPECT_EQ(cell(1, colDescription), QStringLiteral("CISPLATIN 50MG/50ML VIAL"));
    EXPECT_EQ(cell(1, colUnitPrice), QStringLiteral("1667.5"));
    EXPECT_EQ(cell(1, colLocation), QStringLiteral("20"));
    EXPECT_EQ(grid->currentColumn(), colQuantity);
    EXPECT_EQ(screen->lblMessage->text(), QStringLiteral("Type how many quantity to charge..."));
    enter(QStringLiteral("2"));
    EXPECT_EQ(cell(1, colAmount), QStringLiteral("3335.00"));
    EXPECT_EQ(total(), QStringLiteral("3335.00"));
    EXPECT_EQ(grid->currentColumn(), colStat);
    enter(QString());
    ASSERT_EQ(grid->lineCount(), 2);

    enter(QStringLiteral("ph"));
    enter(QStringLiteral("10001"));
    EXPECT_EQ(messages.lastText(), QStringLiteral("Can't charge the same Medicine/Supply !"));
    EXPECT_EQ(cell(2, colItem), QString());
    EXPECT_EQ(grid->currentColumn(), colItem);

    // By the first letters of its name, through the drug list.
    messages.onDialog([](QDialog &list) {
        list.accept();
        return list.result();
    });
    enter(QStringLiteral("ondans"));
    EXPECT_EQ(messages.dialogsShown(), 1);
    EXPECT_EQ(cell(2, colItem), QStringLiteral("10017"));
    EXPECT_EQ(cell(2, colDescription), QStringLiteral("ONDANSETRON 8MG/4ML AMPULE"));
}

TEST_P(PostCharges, StockIsCheckedAtTheCodeAndAtTheQuantity)
{
    enter(QStringLiteral("ph"));
    enter(QStringLiteral("10009"));
    ASSERT_FALSE(messages.shown().empty());
    EXPECT_EQ(messages.lastText(),
              QStringLiteral("OXALIPLATIN 100MG VIAL has no stocks left. The system can't "
                             "process the specified item."));
    EXPECT_EQ(messages.shown().back().icon, Icon::Information);
    EXPECT_EQ(grid->currentColumn(), colItem);
    EXPECT_EQ(cell(1, colItem), QString());
    EXPECT_EQ(cell(1, colDescription), QString());

    enter(QStringLiteral("10001")); // 55 on hand
    enter(QStringLiteral("99"));
    EXPECT_EQ(messages.lastText(),
              QStringLiteral("Available stockOnhand for this item is : (55) \n Please enter "
                             "quantity not greater than the stock onhand"));
    EXPECT_EQ(cell(1, colQuantity), QStringLiteral("1"));
    EXPECT_EQ(cell(1, colAmount), QStringLiteral("1667.50"));
    EXPECT_EQ(grid->currentColumn(), colQuantity);

    // An unknown code and an item off the formulary are refused too.
    key(Qt::Key_Left);
    enter(QStringLiteral("99999"));
    EXPECT_EQ(messages.lastText(), QStringLiteral("Code Not Exists!"));
    enter(QStringLiteral("10013"));
    EXPECT_EQ(messages.lastText(), QStringLiteral("Record is inactive...please reenter..."));
    EXPECT_EQ(cell(1, colItem), QStringLiteral("10001"));
}

TEST_P(PostCharges, AServiceIsPricedByRoomClassAndStatRaisesItOnce)
{
    enter(QStringLiteral("on"));
    enter(QStringLiteral("8001"));
    EXPECT_EQ(cell(1, colDescription), QStringLiteral("CHEMOTHERAPY ADMINISTRATION FEE"));
    EXPECT_EQ(cell(1, colQuantity), QStringLiteral("1"));
    EXPECT_EQ(cell(1, colStat), QStringLiteral("N"));
    EXPECT_EQ(cell(1, colUnitPrice), QStringLiteral("1800")); // RateC
    EXPECT_EQ(cell(1, colAmount), QStringLiteral("1800.00"));
    EXPECT_EQ(total(), QStringLiteral("1800.00"));
    EXPECT_EQ(grid->currentColumn(), colQuantity);

    // Quantities are whole: the point is refused with a word on the message
    // line, and so is what follows it, so 2.5 is never taken for 25.
    QTest::keyClicks(box, QStringLiteral("2.5"));
    EXPECT_EQ(box->text(), QStringLiteral("2"));
    EXPECT_EQ(screen->lblMessage->text(),
              QStringLiteral("Only whole numbers can be typed here: delete the number and type it "
                             "again."));
    box->clear();
    enter(QStringLiteral("0"));
    EXPECT_EQ(messages.lastText(), QStringLiteral("Quantity should be greater than Zero!"));
    EXPECT_EQ(grid->currentColumn(), colQuantity);
    EXPECT_EQ(cell(1, colQuantity), QStringLiteral("1"));
    box->clear();
    enter(QStringLiteral("2"));
    EXPECT_EQ(cell(1, colAmount), QStringLiteral("3600.00"));
    EXPECT_EQ(grid->currentColumn(), colStat);

    enter(QStringLiteral("y"));
    EXPECT_EQ(cell(1, colUnitPrice), QStringLiteral("2250.00")); // 25% stat rate
    EXPECT_EQ(cell(1, colAmount), QStringLiteral("4500.00"));
    EXPECT_EQ(total(), QStringLiteral("4500.00"));
    ASSERT_EQ(grid->lineCount(), 2);
    grid->PutTextBox(colStat, 1);
    enter(QStringLiteral("Y"));
    EXPECT_EQ(cell(1, colUnitPrice), QStringLiteral("2250.00"));
    grid->PutTextBox(colStat, 1);
    enter(QStringLiteral("n"));
    EXPECT_EQ(cell(1, colUnitPrice), QStringLiteral("1800"));
    EXPECT_EQ(total(), QStringLiteral("3600.00"));

    grid->PutTextBox(colStat, 1);
    enter(QStringLiteral("x"));
    EXPECT_EQ(messages.lastText(), QStringLiteral("Invalid Stat Code!"));
    EXPECT_EQ(messages.shown().back().title, QStringLiteral("Information"));
    EXPECT_EQ(messages.shown().back().icon, Icon::Question);
    EXPECT_EQ(cell(1, colStat), QStringLiteral("N"));

    // The same service again is refused.
    grid->PutTextBox(colDept, 2);
    enter(QStringLiteral("on"));
    enter(QStringLiteral("8001"));
    EXPECT_EQ(messages.lastText(), QStringLiteral("Can't charge the same Service !"));
}

TEST_P(PostCharges, UnitPriceMayOnlyRiseAndCarriesTheCardSurcharge)
{
    enter(QStringLiteral("md"));
    enter(QStringLiteral("103"));
    key(Qt::Key_Left); // Unit Price
    ASSERT_EQ(grid->currentColumn(), colUnitPrice);
    enter(QStringLiteral("0"));
    EXPECT_EQ(messages.lastText(), QStringLiteral("Quantity should be greater than Zero!"));
    EXPECT_EQ(messages.shown().back().title, QStringLiteral("Message"));
    enter(QStringLiteral("1000"));
    EXPECT_EQ(cell(1, colUnitPrice), QStringLiteral("1000"));
    EXPECT_EQ(cell(1, colAmount), QStringLiteral("1000.00"));
    EXPECT_EQ(total(), QStringLiteral("1000.00"));
    ASSERT_EQ(grid->lineCount(), 2); // Enter in Unit Price ends the line

    grid->PutTextBox(colUnitPrice, 1);
    enter(QStringLiteral("900"));
    EXPECT_EQ(messages.lastText(),
              QStringLiteral("Quantity should be greater than original value!"));
    EXPECT_EQ(cell(1, colUnitPrice), QStringLiteral("1000"));
    EXPECT_EQ(box->text(), QStringLiteral("1000"));

    screen->Command2->click();
    EXPECT_FALSE(screen->fraVisa->isHidden());
    screen->txtVisa->setText(QStringLiteral("abc"));
    screen->Command3->click();
    EXPECT_EQ(messages.lastText(), QStringLiteral("Please enter a percentage from 0 to 100."));
    screen->txtVisa->setText(QStringLiteral("3"));
    screen->Command3->click();
    EXPECT_TRUE(screen->fraVisa->isHidden());
    grid->PutTextBox(colUnitPrice, 1);
    enter(QStringLiteral("1200"));
    EXPECT_EQ(cell(1, colUnitPrice), QStringLiteral("1236"));
    EXPECT_EQ(cell(1, colAmount), QStringLiteral("1236.00"));
    EXPECT_EQ(total(), QStringLiteral("1236.00"));

    screen->Command2->click();
    screen->Command4->click();
    EXPECT_EQ(screen->txtVisa->text(), QString());
}

TEST_P(PostCharges, DepartmentsOutsideTheListAreRefused)
{
    for (const char *code : {"zz", "ks", ""}) {
        messages.clear();
        enter(QLatin1String(code));
        EXPECT_EQ(messages.lastText(), QStringLiteral("Department Code Not Exist!!!")) << code;
        EXPECT_EQ(grid->currentColumn(), colDept);
        EXPECT_EQ(cell(1, colDept), QString());
    }
    // Nothing can be typed past the code of a line without a department.
    key(Qt::Key_Right);
    EXPECT_EQ(grid->currentColumn(), colDept);
}

TEST_P(PostCharges, TheTotalFollowsEveryChangeAndDeleteAsksFirst)
{
    screen->deleteLine();
    EXPECT_EQ(messages.lastText(),
              QStringLiteral("Row cannot be deleted because there are no entries yet."));
    EXPECT_EQ(messages.lastTitle(), QStringLiteral("MESSAGE"));

    medicineLine(QStringLiteral("10001"), QStringLiteral("2")); // 3335.00
    enter(QStringLiteral("on"));
    enter(QStringLiteral("8002")); // preparation fee, class C: 1440
    enter(QString());
    enter(QString());
    enter(QStringLiteral("md"));
    enter(QStringLiteral("102"));
    enter(QStringLiteral("500"));
    EXPECT_EQ(total(), QStringLiteral("5275.00"));
    ASSERT_EQ(grid->lineCount(), 4);

    grid->PutTextBox(colQuantity, 1);
    enter(QStringLiteral("1"));
    EXPECT_EQ(total(), QStringLiteral("3607.50"));

    messages.answer(QMessageBox::No);
    grid->PutTextBox(colItem, 2);
    QTest::keyClick(box, Qt::Key_F3);
    EXPECT_EQ(messages.lastText(), QStringLiteral("Are you sure to delete the request?"));
    EXPECT_EQ(grid->lineCount(), 4);
    EXPECT_EQ(total(), QStringLiteral("3607.50"));
    screen->vkCommand1[4]->click(); // Yes by default
    ASSERT_EQ(grid->lineCount(), 3);
    EXPECT_EQ(cell(2, colDept), QStringLiteral("MD"));
    EXPECT_EQ(cell(2, colLine), QStringLiteral("2"));
    EXPECT_EQ(total(), QStringLiteral("2167.50"));

    screen->chkDiscounted->setChecked(true);
    EXPECT_EQ(cell(1, colUnitPrice), QStringLiteral("1450"));
    EXPECT_EQ(total(), QStringLiteral("1950.00"));
    screen->chkDiscounted->setChecked(false);
    EXPECT_EQ(total(), QStringLiteral("2167.50"));

    screen->vkCommand1[1]->click();
    EXPECT_EQ(grid->lineCount(), 1);
    EXPECT_EQ(total(), QStringLiteral("0.00"));
    EXPECT_EQ(grid->currentColumn(), colDept);
}

// Unsaved lines are named in the question, so nobody closes them away unaware.
TEST_P(PostCharges, ClosingWithUnsavedLinesSaysTheyWillBeLost)
{
    enter(QStringLiteral("sm"));
    enter(QString());
    enter(QStringLiteral("300"));
    messages.answer(QMessageBox::Cancel);
    screen->vkCommand1[2]->click();
    EXPECT_EQ(messages.lastText(),
              QStringLiteral("The charges entered have not been saved and will be lost. "
                             "Are you sure to close this program?"));
    EXPECT_EQ(messages.lastTitle(), QStringLiteral("Hemo Dialysis Module"));
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(cell(1, colAmount), QStringLiteral("300.00"));
}

// Overwriting the code leaves no name of another doctor beside it.
TEST_P(PostCharges, EditingTheDoctorCodeClearsTheNameUntilLookedUp)
{
    QTest::keyClicks(screen->txtDoctorID, QStringLiteral("3"));
    EXPECT_TRUE(screen->txtDoctor->text().isEmpty());
    screen->txtDoctorID->clear();
    QTest::keyClicks(screen->txtDoctorID, QStringLiteral("103"));
    QTest::keyClick(screen->txtDoctorID, Qt::Key_Return);
    EXPECT_EQ(screen->txtDoctor->text(), QStringLiteral("DR. WILLIAM TAN"));
}

TEST_P(PostCharges, ExitAsksBeforeClosing)
{
    messages.answer(QMessageBox::Cancel);
    screen->vkCommand1[2]->click();
    EXPECT_EQ(messages.lastText(), QStringLiteral("Are you sure to close this program?"));
    EXPECT_EQ(messages.lastTitle(), QStringLiteral("Hemo Dialysis Module"));
    EXPECT_TRUE(screen->isVisible());
    QTest::keyClick(screen.get(), Qt::Key_Escape); // OK by default
    EXPECT_FALSE(screen->isVisible());
}

TEST_P(PostCharges, SavedChargesAreListedColouredAndTotalledBySlip)
{
    openFor(QStringLiteral("261052"), QStringLiteral("1000052"), QStringLiteral("I"));
    EXPECT_TRUE(screen->fraList->isHidden());
    screen->vkCommand1[3]->click();
    EXPECT_FALSE(screen->fraList->isHidden());
    QTableWidget *list = screen->MSHFlexList;
    ASSERT_EQ(list->rowCount(), 6);
    EXPECT_TRUE(screen->txtMessage->isHidden());
    EXPECT_EQ(list->horizontalHeaderItem(3)->text(), QStringLiteral("Item   Description"));
    double slipTotal = 0;
    int cancelled = -1;
    for (int row = 0; row < list->rowCount(); ++row) {
        EXPECT_FALSE(list->item(row, 7)->text().isEmpty()); // initials
        if (list->item(row, 0)->text() == QLatin1String("C")) {
            cancelled = row;
            EXPECT_EQ(list->item(row, 1)->foreground().color(), QColor(Qt::red));
        } else if (list->item(row, 6)->text() == list->item(0, 6)->text()) {
            slipTotal += list->item(row, 5)->text().toDouble();
        }
    }
    ASSERT_GE(cancelled, 0);
    EXPECT_EQ(list->item(cancelled, 6)->text(), QStringLiteral("G1504C"));
    screen->showSlipTotal(cancelled);
    EXPECT_EQ(screen->txtSlipTotal->text(), formatAmount(slipTotal));

    openFor(QStringLiteral("261001"), QStringLiteral("1000001"), QStringLiteral("I"));
    screen->listCharges();
    bool blue = false;
    for (int row = 0; row < screen->MSHFlexList->rowCount(); ++row)
        if (screen->MSHFlexList->item(row, 0)->text() == QLatin1String("R"))
            blue = screen->MSHFlexList->item(row, 3)->foreground().color() == QColor(Qt::blue);
    EXPECT_TRUE(blue);

    openFor(QStringLiteral("261018"), QStringLiteral("1000018"), QStringLiteral("I"));
    screen->listCharges();
    EXPECT_EQ(screen->MSHFlexList->rowCount(), 0);
    EXPECT_FALSE(screen->txtMessage->isHidden());
    EXPECT_EQ(screen->txtMessage->text(), QStringLiteral("No Charges Entered........"));
}

TEST_P(PostCharges, TheRequestingDoctorIsTypedOrChosen)
{
    screen->txtDoctorID->setText(QStringLiteral("103"));
    QTest::keyClick(screen->txtDoctorID, Qt::Key_Return);
    EXPECT_EQ(screen->txtDoctor->text(), QStringLiteral("DR. WILLIAM TAN"));

    messages.onDialog([](QDialog &list) {
        list.accept();
        return list.result();
    });
    screen->cmdDoctor->click();
    EXPECT_EQ(screen->txtDoctorID->text(), QStringLiteral("105")); // first by last name: AQUINO
    EXPECT_EQ(screen->txtDoctor->text(), QStringLiteral("DR. AQUINO, RAFAEL MENDOZA"));
}

TEST_P(PostCharges, TheFrameOfDepartmentCodesHidesOnAClickAndComesBackOnHelp)
{
    EXPECT_FALSE(screen->fraDept->isHidden());
    QTest::mouseClick(screen->fraDept, Qt::LeftButton, {}, QPoint(20, 5));
    EXPECT_TRUE(screen->fraDept->isHidden());
    screen->vkcmdHelpCode->click();
    EXPECT_FALSE(screen->fraDept->isHidden());
    EXPECT_EQ(screen->vkcmdHelpCode->text(), QStringLiteral("View help Code"));
}

CHEMODESK_ENGINE_TESTS(PostCharges);

// ------------------------------------------- the procedures the screen reads

class ChargeProcedures : public test::EngineTest {
protected:
};

TEST_P(ChargeProcedures, AnswerWithTheColumnsTheScreenReads)
{
    Recordset doctor = db->Execute(QStringLiteral("Clinical_Area..spCancer_GetDoctor '261018'"));
    ASSERT_FALSE(doctor.atEnd());
    EXPECT_EQ(doctor.Fields(QStringLiteral("attendingdr1")).trimmed(), QStringLiteral("102"));
    EXPECT_EQ(doctor.Fields(QStringLiteral("Doctor")).trimmed(),
              QStringLiteral("SANTIAGO, MARIA LOURDES"));
    EXPECT_TRUE(db->Execute(QStringLiteral("Clinical_Area..spCancer_GetDoctor 'X''1'")).atEnd());

    Recordset lines =
        db->Execute(QStringLiteral("Clinical_Area..List_All_CancerCharges '261052','ON'"));
    EXPECT_EQ(lines.RecordCount(), 6);
    for (const char *column : {"RequestStatus", "RevenueID", "ItemID", "Description", "Quantity",
                               "Amount", "ChargeSlip", "Initial", "LocationID"})
        EXPECT_TRUE(lines.HasField(QLatin1String(column))) << column;
    EXPECT_EQ(db->Execute(QStringLiteral("Clinical_Area..List_All_CancerCharges '261052','XX'"))
                  .RecordCount(),
              0);

    const Recordset all =
        db->Execute(QStringLiteral("SELECT sum(Amount) AS Amount FROM "
                                   "CLINICAL_AREA..tbCancerCharges WHERE ChargeSlip = 'G1504C'"));
    const Recordset slip = db->Execute(QStringLiteral(
        "Clinical_Area..List_All_CancerCharges_TotalAmountPerChargeSlip '261052','KS','G1504C'"));
    ASSERT_FALSE(slip.atEnd());
    EXPECT_GT(slip.Fields(QStringLiteral("Amount")).toDouble(), 0.0);
    EXPECT_LT(slip.Fields(QStringLiteral("Amount")).toDouble(),
              all.Fields(QStringLiteral("Amount")).toDouble()); // the cancelled line is out
    EXPECT_EQ(
        db->Execute(QStringLiteral("Clinical_Area..List_All_CancerCharges_TotalAmountPerChargeSlip "
                                   "'261018','KS','G1504C'"))
            .Fields(QStringLiteral("Amount"))
            .toDouble(),
        0.0);
}

CHEMODESK_ENGINE_TESTS(ChargeProcedures);

} // namespace

// ------------------------------------------------------------- the picture

// docs/charge-entry.png, taken only when CHEMODESK_SCREENSHOT_DIR names a
// folder (under a virtual X server: QT_QPA_PLATFORM=xcb xvfb-run ...):
// an in-patient with saved charges, a medicine, a service and a
// professional fee typed in, and the list of the charges already saved.
TEST(ChargeEntryPicture, TakenOnRequest)
{
    test::PictureSession s;
    if (s.folder.isEmpty())
        GTEST_SKIP() << "CHEMODESK_SCREENSHOT_DIR is not set";
    const Recordset who =
        s.db->Execute(QStringLiteral("SELECT LastName, FirstName, MiddleName FROM "
                                     "PATIENT_DATA..tbMaster WHERE HospNum = '1000013'"));
    const QString name = who.Fields(QStringLiteral("LastName")).trimmed() + QStringLiteral(", ") +
                         who.Fields(QStringLiteral("FirstName")).trimmed() + QLatin1Char(' ') +
                         who.Fields(QStringLiteral("MiddleName")).trimmed();
    Components parts(*s.db);
    frmCharge screen(*s.db, parts.refs(),
                     {name, QStringLiteral("1000013"), QStringLiteral("261013"), QString(),
                      QStringLiteral("1001"), QStringLiteral("I")});
    screen.show();
    QLineEdit *box = screen.txtEntry;
    auto enter = [box](const char *text) {
        QTest::keyClicks(box, QLatin1String(text));
        QTest::keyClick(box, Qt::Key_Return);
    };
    for (const char *text : {"ph", "10001", "2", "", "on", "8001", "", "", "md", "102", "2500"})
        enter(text);
    screen.vkCommand1[3]->click();
    screen.mshflexEntry->PutTextBox(colDept, screen.mshflexEntry->lineCount());
    QTest::qWait(200);
    EXPECT_TRUE(s.messages.shown().empty());
    ASSERT_TRUE(screen.grab().save(s.folder + QStringLiteral("/charge-entry.png")));
}
