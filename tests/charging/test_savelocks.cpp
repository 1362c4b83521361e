// Two workstations saving at once: a workstation stalled in the middle of its
// save holds the others up only briefly, and the last items of a shelf are
// issued once even when both screens found them there.

#include "charging/chargesave.h"
#include "components/medicinecatalogue.h"
#include "hospitaldb/database.h"
#include "session/globals.h"
#include "support/enginetest.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

using namespace chemodesk;
using namespace chemodesk::charging;

namespace {

class SaveLocks : public test::EngineTest {
protected:
    void SetUp() override
    {
        session::resetGlobals();
        EngineTest::SetUp();
        if (!db)
            return;
        header.hospNum = QStringLiteral("1000018");
        header.idNum = QStringLiteral("261018");
        header.room = QStringLiteral("404");
        header.doctorId = QStringLiteral("102");
        header.doctorName = QStringLiteral("Dr. SANTIAGO, MARIA LOURDES");
        header.patientType = QStringLiteral("I");
        header.userId = QStringLiteral("1001");
    }
    void TearDown() override { session::resetGlobals(); }

    static ChargeLine medicine(const QString &quantity)
    {
        return {QStringLiteral("PH"),
                QStringLiteral("10001"),
                QStringLiteral("PARACETAMOL 500MG TABLET"),
                quantity,
                QStringLiteral("5.00"),
                QStringLiteral("5.00"),
                QString(),
                QStringLiteral("20"),
                QStringLiteral("PH"),
                QString(),
                QString()};
    }
    double number(Connection &c, const QString &text)
    {
        return c.Execute(text).Fields(0).toDouble();
    }
    double onHand(Connection &c)
    {
        return number(c, QStringLiteral("SELECT OnHand FROM INVENTORY..tbinvent WHERE ItemID = "
                                        "'10001' AND LocationID = '20'"));
    }
    double counter(Connection &c)
    {
        return number(c,
                      QStringLiteral("SELECT ChargeSlip FROM CLINICAL_AREA..tbGenericChargeslip"));
    }

    SlipHeader header;
};

// A workstation hung (or cut off the network) half-way through its save keeps
// the slip counter and the print table locked; another's save must go through
// within seconds, not wait for the statement time-out or for TCP to give up.
TEST_P(SaveLocks, AStalledWorkstationDelaysAnotherSaveOnlyBriefly)
{
    if (!onServer())
        GTEST_SKIP() << "one writer at a time on the embedded file";
    auto stalled = hospital::openDatabase(test::lastTarget());
    stalled->BeginTrans();
    stalled->Execute(QStringLiteral("Delete Clinical_Area..tbCancerChargePrint"));
    stalled->Execute(QStringLiteral("Clinical_Area..spCancer_DrawChargeSlip"));
    // ... and then nothing more from it.

    components::MedicineCatalogue catalogue(*db);
    db->setCommandTimeout(120); // as the client runs
    QElapsedTimer waited;
    waited.start();
    QString slip;
    EXPECT_NO_THROW(slip = saveChargeSlip(*db, catalogue.Drug(), header, {medicine("1")}));
    EXPECT_LT(waited.elapsed(), 20'000) << "the save waited on the stalled workstation";
    EXPECT_FALSE(slip.isEmpty());

    // The stalled workstation's save is refused whole when it wakes up.
    EXPECT_THROW(stalled->CommitTrans(), DatabaseError);
}

// Both screens saw the shelf's last items; the second save to reach the
// database is refused with the screen's own words and writes nothing.
TEST_P(SaveLocks, StockTakenByAnotherSaveIsCheckedAgainInsideTheSave)
{
    session::globals().AllowZeroOnHand = QStringLiteral("1");
    const double stock = onHand(*db);
    ASSERT_GT(stock, 0);
    const QString all = QString::number(stock, 'g', 15);

    // The other workstation issues the whole shelf first.
    {
        auto other = hospital::openDatabase(test::lastTarget());
        components::MedicineCatalogue catalogue(*other);
        saveChargeSlip(*other, catalogue.Drug(), header, {medicine(all)});
    }
    const double slipBefore = counter(*db);
    const double charges =
        number(*db, QStringLiteral("SELECT count(*) FROM CLINICAL_AREA..tbCancerCharges"));

    components::MedicineCatalogue catalogue(*db);
    const ChargeLine fee{QStringLiteral("MD"),
                         QStringLiteral("102"),
                         QStringLiteral("DOCTOR"),
                         QStringLiteral("1"),
                         QStringLiteral("2500"),
                         QStringLiteral("2500.00"),
                         QString(),
                         QString(),
                         QString(),
                         QString(),
                         QString()};
    try {
        saveChargeSlip(*db, catalogue.Drug(), header, {fee, medicine(all)});
        FAIL() << "the shelf went to " << onHand(*db);
    } catch (const SaveRefused &refused) {
        EXPECT_EQ(refused.refusal().text,
                  QStringLiteral("Available stockOnhand for this item is : (0) \n Please enter "
                                 "quantity not greater than the stock onhand"));
        EXPECT_EQ(refused.refusal().icon, widgets::MessageService::Information);
    }
    EXPECT_EQ(onHand(*db), 0);
    EXPECT_EQ(counter(*db), slipBefore);
    EXPECT_EQ(number(*db, QStringLiteral("SELECT count(*) FROM CLINICAL_AREA..tbCancerCharges")),
              charges);
    EXPECT_EQ(db->TransactionDepth(), 0);

    // Without the rule, the shelf may go below zero as before.
    session::globals().AllowZeroOnHand = QStringLiteral("0");
    EXPECT_NO_THROW(saveChargeSlip(*db, catalogue.Drug(), header, {medicine("1")}));
}

CHEMODESK_ENGINE_TESTS(SaveLocks);

} // namespace
