// Saving a cash assessment without the screen, on each engine's demo
// database (assessment counter at 1015): the texts every row is written
// with, numbers drawn whole, nothing kept of a save that fails half-way, and
// workstations saving at the same moment each with a number of its own.

#include "assessment/assessmentsave.h"
#include "database/forwardingconnection.h"
#include "hospitaldb/database.h"
#include "support/enginetest.h"
#include "support/failingconnection.h"
#include "support/textrecorder.h"
#include "testpaths.h"

#include <QProcess>
#include <QSet>

#include <gtest/gtest.h>

#include <memory>

using namespace chemodesk;
using namespace chemodesk::assessment;

namespace {

using chemodesk::testing::TextRecorder;

AssessmentHeader walkIn()
{
    AssessmentHeader h;
    h.patientName = QStringLiteral("O'CAMPO, NORMA ");
    h.idNum = QStringLiteral("261018");
    h.hospNum = QStringLiteral("1000018");
    h.doctorId = QStringLiteral("102");
    h.doctorName = QStringLiteral("DR. D'SOUZA, MARIA ");
    h.employeeCode = QStringLiteral("1005");
    h.remarks = QStringLiteral(" PAY BEFORE 5PM ");
    return h;
}

std::vector<AssessmentLine> twoLines()
{
    return {{QStringLiteral("LB"), QStringLiteral("1001"),
             QStringLiteral("COMPLETE BLOOD COUNT (CBC)"), QStringLiteral("350.00"),
             QStringLiteral("2"), QStringLiteral("700.00"), QString()},
            {QStringLiteral("PH"), QStringLiteral("10001"),
             QStringLiteral("CISPLATIN 50MG/50ML VIAL"), QStringLiteral("5.50"),
             QStringLiteral("10"), QStringLiteral("55.00"), QStringLiteral("20")}};
}

class AssessmentSave : public test::EngineTest {
protected:
    double number(const QString &text) { return db->Execute(text).Fields(0).toDouble(); }
    double counter()
    {
        return number(QStringLiteral("SELECT AssessmentNum FROM BILLING..tbAssessmentNum"));
    }
    double rowsOf(const QString &ref)
    {
        return number(QStringLiteral("SELECT count(*) FROM BILLING..tbCashAssessment WHERE "
                                     "RefNum = '") +
                      ref + QLatin1Char('\''));
    }
};

TEST_P(AssessmentSave, TwoSavesGiveConsecutiveNumbersAndEveryRowIsStoredWithItsRemarks)
{
    TextRecorder recorder(*db);
    const QString first = saveAssessment(recorder, walkIn(), twoLines());
    AssessmentHeader second = walkIn();
    second.packageCode = QStringLiteral("PKG0003");
    const QString next = saveAssessment(recorder, second, twoLines());
    EXPECT_EQ(first, QStringLiteral("OC1015"));
    EXPECT_EQ(next, QStringLiteral("OC1016"));
    EXPECT_EQ(counter(), 1017.0);

    // Names and doctors with their quotes doubled; the package last, empty without one.
    const QStringList rows = recorder.texts.filter(QStringLiteral("spPatient_data_Assessment"));
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows.at(0), QStringLiteral("Patient_Data..spPatient_data_Assessment 'OC1015', "
                                         "'O''CAMPO, NORMA', '1001', 'LB', '2', '700', 'OC', "
                                         "'1005', '261018', '1000018', '102', "
                                         "'DR. D''SOUZA, MARIA', '', ''"));
    EXPECT_EQ(rows.at(1), QStringLiteral("Patient_Data..spPatient_data_Assessment 'OC1015', "
                                         "'O''CAMPO, NORMA', '10001', 'PH', '10', '55', 'OC', "
                                         "'1005', '261018', '1000018', '102', "
                                         "'DR. D''SOUZA, MARIA', '20', ''"));
    EXPECT_TRUE(rows.at(3).endsWith(QStringLiteral("'20', 'PKG0003'")));
    EXPECT_TRUE(recorder.texts.contains(
        QStringLiteral("Update Billing..tbCashAssessment set Remarks = 'PAY BEFORE 5PM' where "
                       "Refnum = 'OC1016'")));

    Recordset stored = db->Execute(QStringLiteral(
        "SELECT PatientName, ItemID, RevenueID, Description, Quantity, Amount, TransType, "
        "UserID, DoctorName, ItemFlag, PackageID, Remarks, Revoked, ORNumber "
        "FROM BILLING..tbCashAssessment WHERE RefNum = 'OC1016' ORDER BY AssessID"));
    ASSERT_EQ(stored.RecordCount(), 2);
    EXPECT_EQ(stored.Fields(QStringLiteral("PatientName")).toString(),
              QStringLiteral("O'CAMPO, NORMA"));
    EXPECT_EQ(stored.Fields(QStringLiteral("Description")).toString(),
              QStringLiteral("COMPLETE BLOOD COUNT (CBC)"));
    EXPECT_EQ(stored.Fields(QStringLiteral("Amount")).toDouble(), 700.0);
    EXPECT_EQ(stored.Fields(QStringLiteral("PackageID")).toString(), QStringLiteral("PKG0003"));
    EXPECT_EQ(stored.Fields(QStringLiteral("Remarks")).toString(),
              QStringLiteral("PAY BEFORE 5PM"));
    EXPECT_FALSE(stored.Fields(QStringLiteral("Revoked")).toBool());
    EXPECT_TRUE(stored.Fields(QStringLiteral("ORNumber")).IsNull());
    stored.MoveNext();
    EXPECT_EQ(stored.Fields(QStringLiteral("Description")).toString(),
              QStringLiteral("CISPLATIN 50MG/50ML VIAL"));
    EXPECT_EQ(stored.Fields(QStringLiteral("ItemFlag")).toString(), QStringLiteral("20"));
}

TEST_P(AssessmentSave, AFailureHalfWayLeavesNeitherANumberUsedNorARow)
{
    for (const char *failing : {"Patient_Data..spPatient_data_Assessment", "Update Billing"}) {
        SCOPED_TRACE(failing);
        const int nth = QLatin1String(failing).startsWith(QLatin1String("Patient")) ? 2 : 1;
        test::FailingConnection connection(
            *db, test::FailingConnection::nthStartingWith(QLatin1String(failing), nth),
            QStringLiteral("The server refused the row."));
        EXPECT_THROW(saveAssessment(connection, walkIn(), twoLines()), DatabaseError);
        EXPECT_EQ(counter(), 1015.0);
        EXPECT_EQ(rowsOf(QStringLiteral("OC1015")), 0.0);
    }
}

TEST_P(AssessmentSave, ChecksComeInTheirOrderAndDoctorZeroPasses)
{
    AssessmentHeader h = walkIn();
    auto lines = twoLines();
    h.patientName = QStringLiteral(" , ");
    auto refusal = checkAssessment(*db, h, lines);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->text, QStringLiteral("Please enter the patient's lastname."));
    EXPECT_EQ(refusal->title, QStringLiteral("Assessment"));

    h = walkIn();
    for (const char *doctor : {"999", ""}) {
        h.doctorId = QLatin1String(doctor);
        refusal = checkAssessment(*db, h, lines);
        ASSERT_TRUE(refusal) << doctor;
        EXPECT_EQ(refusal->text, QStringLiteral("Please enter patient's requesting doctor"));
    }
    h.doctorId = QStringLiteral("0");
    EXPECT_FALSE(checkAssessment(*db, h, lines));

    lines[1].quantity = QStringLiteral("0");
    refusal = checkAssessment(*db, h, lines);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->text,
              QStringLiteral("Please enter the quantity for the exam CISPLATIN 50MG/50ML VIAL."));
    EXPECT_EQ(refusal->icon, widgets::MessageService::Exclamation);
}

TEST_P(AssessmentSave, SlipLinesAreDumpedAndTheSlipPrintsTheAssessment)
{
    const QString ref = saveAssessment(*db, walkIn(), twoLines());
    TextRecorder recorder(*db);
    dumpSlip(recorder, twoLines(), QStringLiteral("1005"));
    EXPECT_EQ(recorder.texts,
              (QStringList{QStringLiteral("Clinical_Area..spCancer_GlobalDumpChargeSlip "
                                          "'LB1001','COMPLETE BLOOD COUNT (CBC)','2','350.00',"
                                          "'700.00','1005'"),
                           QStringLiteral("Clinical_Area..spCancer_DumpChargeSlip 'LB1001',"
                                          "'COMPLETE BLOOD COUNT (CBC)','2','700.00'"),
                           QStringLiteral("Clinical_Area..spCancer_GlobalDumpChargeSlip "
                                          "'PH10001','CISPLATIN 50MG/50ML VIAL','10','5.50',"
                                          "'55.00','1005'"),
                           QStringLiteral("Clinical_Area..spCancer_DumpChargeSlip 'PH10001',"
                                          "'CISPLATIN 50MG/50ML VIAL','10','55.00'")}));
    EXPECT_EQ(number(QStringLiteral("SELECT count(*) FROM Clinical_Area..tbCancerGlobalChargePrint "
                                    "WHERE UserID = '1005'")),
              2.0);
    EXPECT_EQ(number(QStringLiteral("SELECT count(*) FROM Clinical_Area..tbCancerChargePrint "
                                    "WHERE RevenueID = 'PH' AND ItemID = '10001'")),
              1.0);

    const charging::SlipPrint print =
        assessmentSlipPrint(ref, QStringLiteral("261018"), QStringLiteral("HD"));
    EXPECT_EQ(print.templatePath, QStringLiteral("\\Reports\\Chargeslip.RPT"));
    EXPECT_EQ(print.caption, QStringLiteral("Print ChargeSlip"));
    ASSERT_EQ(print.parameters.size(), 6);
    EXPECT_EQ(print.parameters.at(0).toString(), QStringLiteral("OC1015 Assessment Slip :"));
    EXPECT_EQ(print.parameters.at(2).toString(), QStringLiteral("HD"));
    EXPECT_EQ(print.parameters.at(5).toString(), ref);
}

CHEMODESK_ENGINE_TESTS(AssessmentSave);

// Workstations saving at the same moment, each a process with its own
// connection: every one gets a number of its own and keeps all its rows.
class ConcurrentAssessments : public test::EngineTest {};

TEST_P(ConcurrentAssessments, EachWorkstationGetsANumberOfItsOwn)
{
    const int processes = onServer() ? 20 : 2;
    const QString target = test::lastTarget();
    const qlonglong first =
        qlonglong(db->Execute(QStringLiteral("SELECT AssessmentNum FROM BILLING..tbAssessmentNum"))
                      .Fields(0)
                      .toDouble());
    db.reset();

    std::vector<std::unique_ptr<QProcess>> running;
    for (int i = 0; i < processes; ++i) {
        auto p = std::make_unique<QProcess>();
        p->start(QStringLiteral(CHEMODESK_ASSESSMENT_SAVER), {target, QStringLiteral("1000151")});
        running.push_back(std::move(p));
    }
    QSet<QString> numbers;
    for (auto &p : running) {
        ASSERT_TRUE(p->waitForFinished(120000));
        ASSERT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
        numbers.insert(QString::fromUtf8(p->readAllStandardOutput()).trimmed());
    }
    QSet<QString> expected;
    for (int i = 0; i < processes; ++i)
        expected.insert(assessmentNumber(first + i));
    EXPECT_EQ(numbers, expected);

    db = hospital::openDatabase(target);
    Recordset perNumber = db->Execute(
        QStringLiteral("SELECT RefNum, count(*) AS N FROM BILLING..tbCashAssessment WHERE "
                       "HospNum = '1000151' AND Remarks = 'WALK-IN' GROUP BY RefNum"));
    QSet<QString> seen;
    for (; !perNumber.atEnd(); perNumber.MoveNext()) {
        seen.insert(perNumber.Fields(QStringLiteral("RefNum")).trimmed());
        EXPECT_EQ(perNumber.Fields(QStringLiteral("N")).toDouble(), 2.0);
    }
    EXPECT_EQ(seen, expected);
}

CHEMODESK_ENGINE_TESTS(ConcurrentAssessments);

} // namespace
