// The two small charge-slip windows: the slip number shown after a save, and
// the employees' slip booklets (demo: 1001 at K5013C of K5001C-K5050C, 1002
// at K5101C, 1003 without a booklet), on each engine.

#include "charging/frmchargeslipno.h"
#include "charging/frmchargeslipverification.h"
#include "session/globals.h"
#include "support/enginetest.h"
#include "support/scriptedmessages.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace chemodesk;
using namespace chemodesk::charging;

namespace {

TEST(ChargeSlipNo, ShowsTheSlipAndClosesOnOk)
{
    frmChargeSlipNo dialog;
    dialog.setChargeSlip(QStringLiteral("OC1042"));
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Charge Slip"));
    EXPECT_EQ(dialog.ChargeSlip(), QStringLiteral("OC1042"));
    EXPECT_EQ(dialog.lblChargeSlip->text(), QStringLiteral("OC1042"));
    EXPECT_EQ(dialog.lblChargeSlip->objectName(), QStringLiteral("lblChargeSlip"));
    dialog.cmdOK->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

class Booklets : public test::EngineTest {
protected:
    void SetUp() override
    {
        session::resetGlobals();
        EngineTest::SetUp();
        if (!db)
            return;
        dialog = std::make_unique<frmChargeSlipVerification>(*db);
        dialog->show();
    }
    void TearDown() override { session::resetGlobals(); }

    void typeIn(QLineEdit *box, const QString &text)
    {
        box->clear();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    double booklet(const char *employee)
    {
        return db
            ->Execute(QStringLiteral("SELECT ChargeSlip FROM HEMODIALYSIS..tbKidneyChargeSlip "
                                     "WHERE EmployeeID = '") +
                      QLatin1String(employee) + QLatin1Char('\''))
            .Fields(0)
            .toDouble();
    }

    test::ScriptedMessages messages;
    std::unique_ptr<frmChargeSlipVerification> dialog;
};

TEST_P(Booklets, AnEmployeeIsFoundWithTheBookletsNextSlip)
{
    const QString notFound =
        QStringLiteral("Please check your code and try again. \nThere is no "
                       "employee number record that matched the code entered.");
    for (const char *unknown : {"9999", "", "1001' OR '1'='1"}) {
        messages.clear();
        typeIn(dialog->txtEmployeeID, QLatin1String(unknown));
        EXPECT_EQ(messages.lastText(), notFound) << unknown;
        EXPECT_FALSE(dialog->txtChargeSlip->isEnabled());
    }

    messages.clear();
    typeIn(dialog->txtEmployeeID, QStringLiteral("1003"));
    EXPECT_EQ(messages.lastText(),
              QStringLiteral("There is no charge slip booklet issued to this employee."));
    EXPECT_EQ(dialog->lblEmployeeName->text(), QStringLiteral("ANA LIZA PEREZ BAUTISTA"));
    EXPECT_FALSE(dialog->cmdOK->isEnabled());

    messages.clear();
    typeIn(dialog->txtEmployeeID, QStringLiteral("1001"));
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(dialog->lblEmployeeName->text(), QStringLiteral("ROSARIO MANALO DELA CRUZ"));
    EXPECT_EQ(dialog->txtChargeSlip->text(), QStringLiteral("5013"));
    EXPECT_EQ(dialog->focusWidget(), dialog->txtChargeSlip);
}

TEST_P(Booklets, OnlyAnUnusedSlipOfTheBookletIsAccepted)
{
    // K5020C is already on a laboratory request.
    db->Execute(QStringLiteral("INSERT INTO LABORATORY..tbLabRequest (HospNum, IdNum, ItemID, "
                               "ChargeSlip) VALUES ('1000018', '261018', '1001', 'K5020C')"));
    typeIn(dialog->txtEmployeeID, QStringLiteral("1001"));
    for (const char *bad : {"", "5020", "abc", "0", "50.5", "6000", "4999"}) {
        messages.clear();
        typeIn(dialog->txtChargeSlip, QLatin1String(bad));
        EXPECT_EQ(messages.lastText(), QStringLiteral("Invalid Chargeslip Number!")) << bad;
        EXPECT_TRUE(dialog->isVisible()) << bad;
    }
    EXPECT_EQ(booklet("1001"), 5013);

    messages.clear();
    typeIn(dialog->txtChargeSlip, QStringLiteral("5021"));
    EXPECT_EQ(messages.lastText(), QStringLiteral("Available Charge Slip Number : 5021"));
    EXPECT_EQ(messages.lastTitle(), QStringLiteral("Message"));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(booklet("1001"), 5021);
    EXPECT_EQ(booklet("1002"), 5101);
}

TEST_P(Booklets, TheProcedureKeepsToTheBooklet)
{
    for (const char *call : {"Hemodialysis..Update_Chargeslip '1001','6000'",
                             "Hemodialysis..Update_Chargeslip '1001','x'",
                             "Hemodialysis..Update_Chargeslip '1003','5001'"})
        EXPECT_THROW(db->Execute(QLatin1String(call)), DatabaseError) << call;
    EXPECT_EQ(booklet("1001"), 5013);
}

CHEMODESK_ENGINE_TESTS(Booklets);

} // namespace
