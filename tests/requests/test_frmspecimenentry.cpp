// The specimen picker against the demo laboratory: complete blood count is
// taken from whole blood only, crossmatching from no specimen the nurse
// chooses, LDH from body fluid, cerebrospinal fluid or serum.

#include "requests/frmspecimenentry.h"
#include "support/enginetest.h"
#include "support/recordingconnection.h"
#include "support/scriptedmessages.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace chemodesk;
using requests::frmSpecimenEntry;

namespace {

QStringList rows(const QTableWidget *grid)
{
    QStringList out;
    for (int row = 0; row < grid->rowCount(); ++row)
        out << grid->item(row, 0)->text() + QLatin1Char(' ') + grid->item(row, 1)->text();
    return out;
}

class SpecimenEntry : public test::EngineTest {
protected:
    test::ScriptedMessages messages;
};

TEST_P(SpecimenEntry, OneSpecimenIsTakenAndNoneIsNoneWithoutShowingTheList)
{
    struct Case {
        const char *exam;
        const char *specimen;
        const char *shown;
    };
    const Case cases[] = {
        {"1001", "WB", "WHOLE BLOOD (EDTA)"},  // complete blood count
        {"1017", "HPL", "HEPARINIZED PLASMA"}, // ionized calcium
        {"1031", "", ""},                      // crossmatching: none
        {"9999", "", ""},                      // no such examination
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.exam);
        frmSpecimenEntry screen(*db);
        screen.txtSpecimen->setText(QStringLiteral("LEFT FROM BEFORE"));
        screen.setItemID(QLatin1String(c.exam));
        screen.LoadData();
        EXPECT_EQ(screen.SpecimenID(), QLatin1String(c.specimen));
        EXPECT_EQ(screen.txtSpecimen->text(), QLatin1String(c.shown));
        EXPECT_FALSE(screen.Morethan1());
    }
    EXPECT_EQ(messages.dialogsShown(), 0);
}

TEST_P(SpecimenEntry, SeveralAreShownAndTheOneFoundByTypingIsTaken)
{
    frmSpecimenEntry screen(*db);
    screen.setItemID(QStringLiteral("1020")); // LDH
    messages.onDialog([&screen](QDialog &shown) {
        EXPECT_EQ(&shown, &screen);
        EXPECT_EQ(rows(screen.grdSpecimen), (QStringList{QStringLiteral("BFL BODY FLUID"),
                                                         QStringLiteral("CSF CEREBROSPINAL FLUID"),
                                                         QStringLiteral("SER SERUM")}));
        QTest::keyClicks(screen.txtSpecimen, QStringLiteral("se"));
        EXPECT_EQ(screen.grdSpecimen->currentRow(), 2);
        screen.cmdEnter->click();
        return screen.result();
    });
    screen.LoadData();
    EXPECT_EQ(messages.dialogsShown(), 1);
    EXPECT_TRUE(screen.Morethan1());
    EXPECT_EQ(screen.SpecimenID(), QStringLiteral("SER"));
    EXPECT_EQ(screen.txtSpecimen->text(), QStringLiteral("SERUM"));
    EXPECT_EQ(screen.result(), QDialog::Accepted);
}

TEST_P(SpecimenEntry, AClickTakesTheRowAndClosingTakesNone)
{
    frmSpecimenEntry screen(*db);
    screen.setItemID(QStringLiteral("1007")); // creatinine: serum or 24-hour urine
    messages.onDialog([&screen](QDialog &) {
        const QRect cell = screen.grdSpecimen->visualItemRect(screen.grdSpecimen->item(0, 1));
        QTest::mouseClick(screen.grdSpecimen->viewport(), Qt::LeftButton, {}, cell.center());
        return screen.result();
    });
    screen.LoadData();
    EXPECT_EQ(screen.SpecimenID(), QStringLiteral("U24"));
    EXPECT_EQ(screen.txtSpecimen->text(), QStringLiteral("24-HOUR URINE"));

    // Closed without a choice; a new load forgets the earlier specimen.
    messages.onDialog([](QDialog &) { return int(QDialog::Rejected); });
    screen.LoadData();
    EXPECT_TRUE(screen.Morethan1());
    EXPECT_TRUE(screen.SpecimenID().isEmpty());
}

CHEMODESK_ENGINE_TESTS(SpecimenEntry);

// The examination code reaches the text only as a value.
TEST(SpecimenEntryText, TheCodeIsQuoted)
{
    test::ScriptedMessages messages;
    chemodesk::testing::RecordingConnection connection;
    frmSpecimenEntry screen(connection);
    screen.setItemID(QStringLiteral("10'01"));
    screen.LoadData();
    ASSERT_EQ(connection.texts().size(), 1);
    EXPECT_EQ(connection.texts().front(),
              QStringLiteral(
                  "Select A.SpecimenID, B.Specimen from Build_File..tbcoLabSpecimenExam A Left "
                  "Outer Join Build_File..tbcoLabSpecimen B on A.SpecimenID = B.SpecimenID where "
                  "A.LabExamID = '10''01' order by Specimen"));
}

} // namespace
