// docs/pharmacy-request.png, taken only when CHEMODESK_SCREENSHOT_DIR names a
// folder (under a virtual X server: QT_QPA_PLATFORM=xcb xvfb-run ...): an
// in-patient's pharmacy request with three medicines typed in.

#include "components/itemlookup.h"
#include "components/keyaid.h"
#include "components/medicinecatalogue.h"
#include "components/medicinelist.h"
#include "requests/frmphentry.h"
#include "support/picture.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace chemodesk;

TEST(PharmacyRequestPicture, TakenOnRequest)
{
    test::PictureSession s;
    if (s.folder.isEmpty())
        GTEST_SKIP() << "CHEMODESK_SCREENSHOT_DIR is not set";
    Connection &db = *s.db;
    const Recordset who =
        db.Execute(QStringLiteral("SELECT LastName, FirstName, MiddleName FROM "
                                  "PATIENT_DATA..tbMaster WHERE HospNum = '1000013'"));
    const QString name = who.Fields(QStringLiteral("LastName")).trimmed() + QStringLiteral(", ") +
                         who.Fields(QStringLiteral("FirstName")).trimmed() + QLatin1Char(' ') +
                         who.Fields(QStringLiteral("MiddleName")).trimmed();
    components::ItemLookup lookup(db);
    components::MedicineCatalogue catalogue(db);
    components::MedicineList list(db);
    components::KeyAid keys;
    requests::frmPHEntry screen(db, {lookup, catalogue, list, keys},
                                {QStringLiteral("1000013"), QStringLiteral("261013"),
                                 QStringLiteral("I"), name, QStringLiteral("1001")});
    screen.show();
    QLineEdit *box = screen.txtEntry;
    auto enter = [box](const char *text) {
        QTest::keyClicks(box, QLatin1String(text));
        QTest::keyClick(box, Qt::Key_Return);
    };
    for (const char *text : {"10006", "premed", "", "BEFORE CYCLE 3", "10005", "q8h", "6", "",
                             "10016", "bid", "", "FOR NAUSEA"})
        enter(text);
    QTest::qWait(200);
    EXPECT_TRUE(s.messages.shown().empty());
    ASSERT_TRUE(screen.grab().save(s.folder + QStringLiteral("/pharmacy-request.png")));
}
