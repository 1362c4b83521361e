// The texts the assessment entry and status screens send, taken from the
// screens as they run on a demo database of each engine on a fixed holiday
// (so every read at opening is made): each runs, and the reads find the rows
// and columns the screens then take by name.

#include "assessment/frmassessmententry.h"
#include "assessment/frmassessstatus.h"
#include "charging/frmchargeslipno.h"
#include "database/forwardingconnection.h"
#include "reports/reportprocs.h"
#include "session/globals.h"
#include "session/module1.h"
#include "support/chargeparts.h"
#include "support/enginetest.h"
#include "support/scriptedmessages.h"
#include "support/textrecorder.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace chemodesk;
using namespace chemodesk::assessment;

namespace {

using chemodesk::testing::TextRecorder;

struct Read {
    const char *text; // the whole text, or the call's beginning
    int rows;         // -1: any number, at least one
    QStringList columns;
};

class AssessmentTexts : public test::EngineTest {
protected:
    void TearDown() override { session::resetGlobals(); }
};

TEST_P(AssessmentTexts, EveryTextRunsAndFindsWhatTheScreensRead)
{
    test::ScriptedMessages messages;
    session::resetGlobals();
    auto &g = session::globals();
    g.DbConnection = db.get();
    session::ReadHospitalInfoA(*db);
    session::ReadHospitalInfoB(*db);
    db->setClockFixed(QDateTime(QDate(2026, 12, 8), QTime(10, 0)));
    TextRecorder recorder(*db);
    {
        test::ChargeParts parts(*db);
        frmAssessmentEntry entry(recorder, parts.refs(),
                                 {QStringLiteral("261018"), QStringLiteral("1000018"),
                                  QStringLiteral("I"), QStringLiteral("1005")});
        entry.show();
        auto enter = [&entry](const char *text) {
            QTest::keyClicks(entry.txtEntry, QLatin1String(text));
            QTest::keyClick(entry.txtEntry, Qt::Key_Return);
        };
        for (const char *dept : {"lb", "ph"}) {
            enter(dept);
            enter(QLatin1String(dept) == QLatin1String("lb") ? "1001" : "10001");
            QTest::keyClick(entry.txtEntry, Qt::Key_Backspace);
            enter("2");
            enter("");
        }
        entry.txtRemarks->setText(QStringLiteral("FOR PAYMENT"));
        entry.setSlipPrinter([](const charging::SlipPrint &, QWidget *) {});
        entry.cmdSavePrint->click();
        ASSERT_EQ(entry.assessmentNumber(), QStringLiteral("OC1015"));
    }
    {
        frmAssessStatus status(recorder);
        status.show();
        status.txtEntry->setText(QStringLiteral("O'CAMPO"));
        QTest::keyClick(status.txtEntry, Qt::Key_Return);
        ASSERT_EQ(status.grdTable->rowCount(), 1);
        status.grdTable->setCurrentCell(0, colRefNum);
        status.cmdRevoke->click();
    }
    for (const auto &m : messages.shown())
        EXPECT_NE(m.icon, widgets::MessageService::Critical) << m.text.toStdString();

    const Read reads[] = {
        {"SELECT REVENUEID, ItemName as RevenueName FROM Build_File..tbCoRevenueCode where "
         "OnCoActive =  'Y'",
         -1,
         {"RevenueID", "RevenueName"}},
        {"Select isnull(locationid,'') AS LocationID, StockCardRevenueid from "
         "BUILD_FILE..tbCoRevenueCode where revenueid = 'PH'",
         1,
         {"LocationID", "StockCardRevenueid"}},
        {"select isnull(OnHand,0)Onhand from INVENTORY..tbinvent where ItemID = '10001' and "
         "LocationID = '20'",
         1,
         {"Onhand"}},
        {"Select DoctorID from Build_File..tbCoDoctor Where DoctorID = '102'", 1, {"DoctorID"}},
        {"Select getdate() as Date", 1, {"Date"}},
        {"Select * from Build_File..tbcoHolidays where isFixed = 'true'", -1, {"HolidayDate"}},
        {"select getdate() as Time from patient_data..tbhospitalinfo", 1, {"Time"}},
        {"Clinical_Area..spCancer_AssessmentStatusNew 'O''CAMPO','N'",
         1,
         {"HospNum", "RefNum", "Status"}},
        {"Clinical_Area..spCancer_AssessmentStatus", -1, {"RefNum", "Status"}},
    };
    for (const Read &read : reads) {
        const QString text = QString::fromUtf8(read.text);
        SCOPED_TRACE(read.text);
        EXPECT_TRUE(recorder.texts.contains(text))
            << recorder.texts.join(QLatin1Char('\n')).toStdString();
        Recordset rs = db->Execute(text);
        if (read.rows < 0)
            EXPECT_GT(rs.RecordCount(), 0);
        else
            EXPECT_EQ(rs.RecordCount(), read.rows);
        for (const QString &column : read.columns)
            EXPECT_TRUE(rs.HasField(column)) << column.toStdString();
    }
    // The writes: two rows, their remarks, the slip's lines, the revocation.
    for (const char *sent :
         {"Clinical_Area..spCancer_DrawAssessmentNum",
          "Patient_Data..spPatient_data_Assessment 'OC1015', 'O''CAMPO, NORMA', '1001', 'LB', "
          "'2', '1137.5', 'OC', '1005', '261018', '1000018', '102', "
          "'(PF) DR. SANTIAGO, MARIA LOURDES', '', ''",
          "Update Billing..tbCashAssessment set Remarks = 'FOR PAYMENT' where Refnum = 'OC1015'",
          "Clinical_Area..spCancer_GlobalDumpChargeSlip 'LB1001','COMPLETE BLOOD COUNT "
          "(CBC)','2','568.75','1137.50','1005'",
          "Clinical_Area..spCancer_DumpChargeSlip 'LB1001','COMPLETE BLOOD COUNT (CBC)','2',"
          "'1137.50'",
          "Hemodialysis..spKidney_AssessRevoke '1000018','OC1015','OC'"})
        EXPECT_TRUE(recorder.texts.contains(QString::fromUtf8(sent))) << sent;
    Recordset stored = db->Execute(QStringLiteral(
        "SELECT count(*) AS N, sum(Amount) AS Total, max(Remarks) AS Remarks, max(Revoked) AS R "
        "FROM BILLING..tbCashAssessment WHERE RefNum = 'OC1015'"));
    EXPECT_EQ(stored.Fields(QStringLiteral("N")).toDouble(), 2.0);
    EXPECT_EQ(stored.Fields(QStringLiteral("Remarks")).toString(), QStringLiteral("FOR PAYMENT"));
    EXPECT_EQ(stored.Fields(QStringLiteral("R")).toDouble(), 1.0);
}

CHEMODESK_ENGINE_TESTS(AssessmentTexts);

} // namespace
