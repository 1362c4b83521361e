// The texts the examination order lists, the specimen picker and the request
// reprint send, taken from that code as it runs on a demo database of each
// engine, and run again: the rows they find and the columns then read.

#include "components/itemlookup.h"
#include "database/forwardingconnection.h"
#include "requests/frmreprintrequestform.h"
#include "requests/frmrequest.h"
#include "requests/frmspecimenentry.h"
#include "support/enginetest.h"
#include "support/scriptedmessages.h"
#include "support/textrecorder.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace chemodesk;

namespace {

using chemodesk::testing::TextRecorder;

struct Value {
    const char *column;
    const char *text;
};

struct Case {
    std::function<void(Connection &)> drive;
    const char *sends; // a part of the text the case is about (the last one holding it)
    int rows;
    std::vector<Value> first; // columns of the first row
};

std::function<void(Connection &)> specimens(const char *exam)
{
    return [exam](Connection &c) {
        requests::frmSpecimenEntry screen(c);
        screen.setItemID(QLatin1String(exam));
        screen.LoadData();
    };
}

std::function<void(Connection &)> examination(const char *department, const char *typed)
{
    return [department, typed](Connection &c) {
        components::ItemLookup lookup(c);
        requests::frmRequest screen(c, {lookup, nullptr}, QLatin1String(department),
                                    QStringLiteral("A"), {});
        screen.show();
        QTest::keyClicks(screen.txtEntry, QLatin1String(typed));
        QTest::keyClick(screen.txtEntry, Qt::Key_Return);
    };
}

std::function<void(Connection &)> reprintList(const char *type, const char *patient)
{
    return [type, patient](Connection &c) {
        requests::frmReprintRequestForm screen(c, QLatin1String(type), QString(),
                                               QLatin1String(patient));
    };
}

// Numbers compare as numbers: the engines write money differently.
void expectValue(const Recordset &rs, const Value &v)
{
    const QString actual = rs.Fields(QLatin1String(v.column)).trimmed();
    const QString expected = QString::fromUtf8(v.text);
    bool numbers = false, actualNumber = false;
    const double e = expected.toDouble(&numbers);
    const double a = actual.toDouble(&actualNumber);
    if (numbers && actualNumber)
        EXPECT_DOUBLE_EQ(a, e) << v.column;
    else
        EXPECT_EQ(actual, expected) << v.column;
}

class ExamTexts : public test::EngineTest {};

TEST_P(ExamTexts, FindWhatTheScreensRead)
{
    test::ScriptedMessages messages; // the specimen list is closed at once
    const Case cases[] = {
        {specimens("1020"),
         "tbcoLabSpecimenExam",
         3,
         {{"SpecimenID", "BFL"}, {"Specimen", "BODY FLUID"}}},
        {specimens("1001"),
         "tbcoLabSpecimenExam",
         1,
         {{"SpecimenID", "WB"}, {"Specimen", "WHOLE BLOOD (EDTA)"}}},
        {specimens("1031"), "tbcoLabSpecimenExam", 0, {}},
        {examination("US", "3006"),
         "tbcoultraexam",
         1,
         {{"ultraexamid", "3006"}, {"Ultraexam", "KUB ULTRASOUND"}, {"RateA", "1600"}}},
        {examination("LB", "1024"),
         "tbcoLabExam",
         1,
         {{"ResultCode", "1024"}, {"LabExam", "CA 19-9"}, {"LabSectionID", "IS"}}},
        {examination("XR", "2005"),
         "tbcoXrayExam",
         1,
         {{"ResultCode", "2005"}, {"XrayExam", "METASTATIC BONE SURVEY"}, {"RateD", "4160"}}},
        {reprintList("PH", "1000021"),
         "spHemo_LoadPHCSRequest",
         1,
         {{"RequestNum", "505"},
          {"PatientName", "CHUA, VICENTE ABRENICA"},
          {"HospNum", "1000021"},
          {"IdNum", "261021"},
          {"DoctorName", "DR. REYES, ANTONIO"}}},
        {reprintList("CS", "1000018"), "spHemo_LoadPHCSRequest", 0, {}},
        // Without a patient: every patient's, newest first.
        {reprintList("PH", ""), "spHemo_LoadPHCSRequest", 15, {{"RequestNum", "525"}}},
    };
    for (const Case &c : cases) {
        TextRecorder recorder(*db);
        c.drive(recorder);
        const QStringList sent = recorder.texts.filter(QLatin1String(c.sends), Qt::CaseInsensitive);
        ASSERT_FALSE(sent.isEmpty()) << c.sends;
        SCOPED_TRACE(sent.last().toStdString());
        try {
            Recordset rs = db->Execute(sent.last());
            ASSERT_EQ(rs.RecordCount(), c.rows);
            for (const Value &v : c.first)
                expectValue(rs, v);
        } catch (const DatabaseError &e) {
            ADD_FAILURE() << e.what();
        }
    }
}

CHEMODESK_ENGINE_TESTS(ExamTexts);

} // namespace
