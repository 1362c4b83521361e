// Packages on the charge screen, against the demo hospital on each engine: a
// package code typed in the department column, the Cancer Package button, and
// a slip holding package lines beside ordinary ones saved whole. The patient
// is O'CAMPO, NORMA (admission 261018); saves are confirmed by 1001. Package
// PKG01 holds three medicines of station 199 (KM), two supplies of station
// 200 (KU), a unit service and a laboratory examination.

#include "charging/chargelines.h"
#include "charging/frmcharge.h"
#include "packages/packagedialogs.h"
#include "session/dialogs/frmuservalidation.h"
#include "session/globals.h"
#include "session/module1.h"
#include "support/chargeparts.h"
#include "support/enginetest.h"
#include "support/failingconnection.h"
#include "support/scriptedmessages.h"

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

class ChargePackages : public test::EngineTest {
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
        parts = std::make_unique<test::ChargeParts>(*db);
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
        screen = std::make_unique<frmCharge>(
            connection ? *connection : *db, parts->refs(),
            ChargePatient{QStringLiteral("PATIENT"), hospNum, idNum, QString(),
                          QStringLiteral("1005"),
                          idNum.toInt() ? QStringLiteral("I") : QStringLiteral("O")});
        screen->show();
        grid = screen->mshflexEntry;
    }
    void enter(const QString &text)
    {
        QTest::keyClicks(screen->txtEntry, text);
        QTest::keyClick(screen->txtEntry, Qt::Key_Return);
    }
    void medicineLine(const char *item, const char *quantity)
    {
        enter(QStringLiteral("ph"));
        enter(QLatin1String(item));
        enter(QLatin1String(quantity));
        enter(QString());
    }
    void save()
    {
        messages.onDialog([](QDialog &dialog) {
            auto &check = dynamic_cast<session::frmUserValidation &>(dialog);
            check.txtUserID->setText(QStringLiteral("1001"));
            check.txtAccessCode->setText(QStringLiteral("ROSE1001"));
            check.cmdOK->click();
            return check.result();
        });
        screen->vkCommand1[0]->click();
    }
    double number(const QString &text) { return db->Execute(text).Fields(0).toDouble(); }
    double rows(const char *table, const QString &where)
    {
        return number(QStringLiteral("SELECT count(*) AS N FROM ") + QLatin1String(table) +
                      QStringLiteral(" WHERE ") + where);
    }
    double onHand(const char *item, const char *location)
    {
        return number(QStringLiteral("SELECT OnHand FROM INVENTORY..tbinvent WHERE ItemID = '") +
                      QLatin1String(item) + QStringLiteral("' AND LocationID = '") +
                      QLatin1String(location) + QLatin1Char('\''));
    }
    // Lines of the grid that came from `package`.
    int packageLines(const char *package) const
    {
        int n = 0;
        for (int line = 1; line <= grid->lineCount(); ++line)
            n += grid->text(line, colPackageCode) == QLatin1String(package);
        return n;
    }
    int lineOf(const char *item) const
    {
        for (int line = 1; line <= grid->lineCount(); ++line)
            if (grid->text(line, colItem) == QLatin1String(item))
                return line;
        return 0;
    }

    test::ScriptedMessages messages;
    std::unique_ptr<test::ChargeParts> parts;
    std::unique_ptr<frmCharge> screen;
    widgets::EntryGrid *grid = nullptr;
    session::Globals &g = session::globals();
};

TEST_P(ChargePackages, APackageCodeTypedAsDepartmentFillsTheGridWithItsItems)
{
    medicineLine("10001", "2");
    const double medicine = grid->text(1, colAmount).toDouble();
    enter(QStringLiteral("pkg01"));

    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.lastText(),
              QStringLiteral("You have selected CHEMO DAY CARE PACKAGE (HMO)"));
    EXPECT_EQ(messages.lastTitle(), QStringLiteral("Notification"));
    EXPECT_EQ(messages.shown().back().icon, Icon::Information);
    EXPECT_TRUE(screen->txtEntry->isHidden());
    EXPECT_EQ(screen->PackageName(), QStringLiteral("CHEMO DAY CARE PACKAGE (HMO)"));
    // The line the code was typed on takes the first item; no line is left
    // holding the code itself.
    ASSERT_EQ(grid->lineCount(), 8);
    EXPECT_EQ(packageLines("PKG01"), 7);
    EXPECT_EQ(grid->text(1, colPackageCode), QString());
    for (int line = 1; line <= 8; ++line)
        EXPECT_EQ(grid->text(line, colLine), QString::number(line));

    const int ondansetron = lineOf("10017");
    ASSERT_GT(ondansetron, 0);
    EXPECT_EQ(grid->text(ondansetron, colDept), QStringLiteral("KM"));
    EXPECT_EQ(grid->text(ondansetron, colQuantity), QStringLiteral("2"));
    EXPECT_EQ(grid->text(ondansetron, colLocation), QStringLiteral("199"));
    EXPECT_DOUBLE_EQ(grid->text(ondansetron, colUnitPrice).toDouble() * 2,
                     grid->text(ondansetron, colAmount).toDouble());
    EXPECT_EQ(grid->text(lineOf("20003"), colLocation), QStringLiteral("200"));
    EXPECT_EQ(grid->text(lineOf("1001"), colLocation), QString());

    const double items = number(QStringLiteral(
        "select sum(Amount) from hemodialysis..tbhemopackage where packagecode = 'PKG01'"));
    EXPECT_DOUBLE_EQ(screen->txtTotal->text().toDouble(), medicine + items);

    // A package line keeps its department: Enter on it passes on.
    screen->PutTextBox(colDept, ondansetron);
    enter(QString());
    EXPECT_EQ(grid->text(ondansetron, colDept), QStringLiteral("KM"));
    EXPECT_EQ(messages.shown().size(), 1u);
}

TEST_P(ChargePackages, CancerPackageAppliesTheItemsTakenAfterTheLinesEntered)
{
    medicineLine("10001", "1");
    bool marked = true;
    messages.onDialog([&marked](QDialog &dialog) {
        auto &list = dynamic_cast<packages::frmListPackage &>(dialog);
        EXPECT_EQ(list.mshflexPackage->rowCount(), 3);
        list.choosePackage(2); // PKG03
        EXPECT_EQ(list.mshflexPackageItems->rowCount(), 4);
        list.toggleItem(0);
        list.apply();
        marked = list.applied().applied;
        return list.result();
    });
    screen->vkbtnHemoPckge->click();

    EXPECT_EQ(messages.dialogsShown(), 1);
    EXPECT_EQ(grid->text(1, colItem), QStringLiteral("10001"));
    EXPECT_EQ(packageLines("PKG03"), 3);
    EXPECT_EQ(grid->lineCount(), 4); // the empty line after the medicine took the first item
    EXPECT_EQ(screen->PackageName(), QStringLiteral("BLOOD TRANSFUSION PACKAGE"));
    EXPECT_FALSE(marked); // only the out-patient list marks it
}

TEST_P(ChargePackages, OutPatientsChooseFromTheOutPatientList)
{
    openFor(QStringLiteral("2650001B"), QStringLiteral("1000101"));
    QString type;
    messages.onDialog([&type](QDialog &dialog) {
        auto &list = dynamic_cast<packages::frmOPDPackage &>(dialog);
        type = list.ChargesType();
        list.choosePackage(1); // PKG02
        list.apply();
        return list.result();
    });
    screen->vkbtnHemoPckge->click();
    EXPECT_EQ(type, QStringLiteral("Post Charges"));
    EXPECT_EQ(packageLines("PKG02"), 6);
}

TEST_P(ChargePackages, ASlipWithAPackageAndOrdinaryLinesIsSavedWhole)
{
    medicineLine("10001", "2");
    enter(QStringLiteral("PKG01"));
    const double before = onHand("10017", "199");
    save();

    ASSERT_EQ(screen->lastChargeSlip(), QStringLiteral("G1520C"));
    const QString slip = QStringLiteral("ChargeSlip = 'G1520C'");
    EXPECT_EQ(rows("CLINICAL_AREA..tbCancerCharges", slip), 8);
    EXPECT_EQ(
        rows("CLINICAL_AREA..tbCancerCharges", slip + QStringLiteral(" AND PackageID = 'PKG01'")),
        7);
    EXPECT_EQ(rows("CLINICAL_AREA..tbCancerCharges",
                   slip + QStringLiteral(" AND PackageID = 'PKG01' AND UserID = '1005'")),
              7);
    EXPECT_EQ(rows("CLINICAL_AREA..tbCancerLogBook", slip), 8);
    EXPECT_EQ(rows("CLINICAL_AREA..tbCancerChargePrint", QStringLiteral("1 = 1")), 8);
    // Five stocked items of the package, each card tied to it; the medicine
    // line's card is not.
    EXPECT_EQ(rows("INVENTORY..tbInvStockCard", QStringLiteral("RefNum = 'G1520C'")), 6);
    EXPECT_EQ(rows("INVENTORY..tbInvStockCard",
                   QStringLiteral("RefNum = 'G1520C' AND PackageID = 'PKG01'")),
              5);
    EXPECT_EQ(rows("INVENTORY..tbInvStockCard",
                   QStringLiteral("RefNum = 'G1520C' AND ItemID = '10017' AND LocationID = '199' "
                                  "AND RevenueID = 'KM' AND QuantityOut = 2")),
              1);
    EXPECT_EQ(onHand("10017", "199"), before - 2);
    // The package's examination is charged, not requested twice.
    EXPECT_EQ(rows("LABORATORY..tbLabRequest", slip), 0);
    EXPECT_EQ(grid->lineCount(), 1);
    EXPECT_EQ(packageLines("PKG01"), 0);
}

TEST_P(ChargePackages, AFailureAtThePackagesSecondItemLeavesNothing)
{
    test::FailingConnection failing(
        *db,
        test::FailingConnection::nthStartingWith(
            QStringLiteral("Clinical_Area..spCancer_AppendChargingNew"), 2),
        QStringLiteral("The server refused the package item."));
    openFor(QStringLiteral("261018"), QStringLiteral("1000018"), &failing);
    medicineLine("10001", "2");
    enter(QStringLiteral("PKG01"));
    messages.clear();
    const double cards = rows("INVENTORY..tbInvStockCard", QStringLiteral("1 = 1"));
    const double before = onHand("10017", "199");
    save();

    EXPECT_EQ(messages.lastText(), QStringLiteral("The server refused the package item."));
    EXPECT_EQ(screen->lastChargeSlip(), QString());
    EXPECT_EQ(number(QStringLiteral("SELECT ChargeSlip FROM CLINICAL_AREA..tbGenericChargeslip")),
              1520);
    EXPECT_EQ(rows("CLINICAL_AREA..tbCancerCharges", QStringLiteral("ChargeSlip = 'G1520C'")), 0);
    EXPECT_EQ(rows("CLINICAL_AREA..tbCancerLogBook", QStringLiteral("ChargeSlip = 'G1520C'")), 0);
    EXPECT_EQ(rows("INVENTORY..tbInvStockCard", QStringLiteral("1 = 1")), cards);
    EXPECT_EQ(onHand("10017", "199"), before);
    EXPECT_EQ(onHand("10001", "20"), 55.0);
    EXPECT_EQ(packageLines("PKG01"), 7); // still on the grid to be saved again
}

TEST_P(ChargePackages, ALineWhoseItemThePackageNoLongerHoldsRefusesTheSave)
{
    enter(QStringLiteral("PKG03"));
    db->Execute(QStringLiteral("delete from hemodialysis..tbhemopackage where packagecode = "
                               "'PKG03' and ItemID = '20009'"));
    messages.clear();
    save();
    EXPECT_TRUE(
        messages.lastText().startsWith(QLatin1String("Package PKG03 does not hold item 20009")))
        << messages.lastText().toStdString();
    EXPECT_EQ(rows("CLINICAL_AREA..tbCancerCharges", QStringLiteral("ChargeSlip = 'G1520C'")), 0);
}

CHEMODESK_ENGINE_TESTS(ChargePackages);

} // namespace
