// The request log book's procedures on each engine: the items of one save
// under one number, a second save under the next, every value where it
// belongs, refusals of values that are not, and the reprint list.

#include "database/sqltext.h"
#include "support/enginetest.h"

#include <gtest/gtest.h>

using namespace chemodesk;

namespace {

class LogBook : public test::EngineTest {
protected:
    // The 18 values of one item, as the pharmacy screen sends them.
    QStringList item(const QString &code, const QString &when = QStringLiteral("12/01/2026 "
                                                                               "02:05:09 PM"))
    {
        return {QStringLiteral("1000001"),
                QStringLiteral("261001"),
                QStringLiteral("I"),
                code,
                QStringLiteral("40.5"),
                QStringLiteral("3"),
                QStringLiteral("TID"),
                QStringLiteral(" "),
                when,
                QStringLiteral("PH"),
                QStringLiteral("101"),
                QStringLiteral(" "),
                QStringLiteral("1002"),
                QStringLiteral("AFTER MEALS, O'CLOCK"),
                QStringLiteral("ONDANSETRON 8MG/4ML AMPULE"),
                QStringLiteral("ON"),
                QStringLiteral("Y"),
                QString()};
    }
    void append(const QStringList &values, const char *procedure = "spCancer_AppendCancerLogBook")
    {
        db->Execute(sql::call(QStringLiteral("Clinical_Area"), QLatin1String(procedure), values));
    }
    qlonglong counter()
    {
        return db
            ->Execute(QStringLiteral("select RequestNum from CLINICAL_AREA..tbCancerRequestNum"))
            .Fields(0)
            .toLongLong();
    }
};

TEST_P(LogBook, TheItemsOfOneSaveShareANumberAndTheNextSaveDrawsTheNext)
{
    const qlonglong next = counter();
    {
        Transaction save(*db);
        append(item(QStringLiteral("10001")));
        append(item(QStringLiteral("10002")));
        append(item(QStringLiteral("10003")), "spKidney_AppendCancerLogBook");
        save.commit();
    }
    append(item(QStringLiteral("10004"), QStringLiteral("12/01/2026 02:06:00 PM")));
    EXPECT_EQ(counter(), next + 2);

    Recordset rs = db->Execute(
        QStringLiteral(
            "select RequestNum, HospNum, IdNum, PatientType, ItemID, Amount, Quantity, Dosage, "
            "Route, RequestDate, RequestType, DoctorID, DoctorName, UserID, Remarks, Description, "
            "StationID, ForPharmacy, Reference, LocationID, RequestStatus "
            "from CLINICAL_AREA..tbCancerRequest where IdNum = '261001' and UserID = '1002' "
            "and RequestNum >= ") +
        QString::number(next) + QStringLiteral(" order by RequestID"));
    ASSERT_EQ(rs.RecordCount(), 4);
    EXPECT_EQ(rs.Fields("RequestNum").toLongLong(), next);
    EXPECT_EQ(rs.Fields("HospNum").toString(), QStringLiteral("1000001"));
    EXPECT_EQ(rs.Fields("PatientType").toString(), QStringLiteral("I"));
    EXPECT_EQ(rs.Fields("ItemID").toString(), QStringLiteral("10001"));
    EXPECT_DOUBLE_EQ(rs.Fields("Amount").toDouble(), 40.5);
    EXPECT_DOUBLE_EQ(rs.Fields("Quantity").toDouble(), 3);
    EXPECT_EQ(rs.Fields("Dosage").toString(), QStringLiteral("TID"));
    EXPECT_TRUE(rs.Fields("Route").IsNull());
    EXPECT_EQ(rs.Fields("RequestDate").toDateTime(),
              QDateTime(QDate(2026, 12, 1), QTime(14, 5, 9)));
    EXPECT_EQ(rs.Fields("RequestType").toString(), QStringLiteral("PH"));
    EXPECT_EQ(rs.Fields("DoctorID").toString(), QStringLiteral("101"));
    // A blank doctor's name is the doctor's on file.
    EXPECT_TRUE(rs.Fields("DoctorName").toString().startsWith(QLatin1String("DR. ")));
    EXPECT_EQ(rs.Fields("Remarks").toString(), QStringLiteral("AFTER MEALS, O'CLOCK"));
    EXPECT_EQ(rs.Fields("Description").toString(), QStringLiteral("ONDANSETRON 8MG/4ML AMPULE"));
    EXPECT_EQ(rs.Fields("StationID").toString(), QStringLiteral("ON"));
    EXPECT_EQ(rs.Fields("ForPharmacy").toString(), QStringLiteral("Y"));
    EXPECT_TRUE(rs.Fields("Reference").IsNull());
    EXPECT_EQ(rs.Fields("LocationID").toString(), QStringLiteral("20"));
    EXPECT_EQ(rs.Fields("RequestStatus").toString(), QStringLiteral("X"));
    rs.MoveNext();
    EXPECT_EQ(rs.Fields("RequestNum").toLongLong(), next);
    rs.MoveNext();
    EXPECT_EQ(rs.Fields("RequestNum").toLongLong(), next);
    rs.MoveNext();
    EXPECT_EQ(rs.Fields("RequestNum").toLongLong(), next + 1);
}

TEST_P(LogBook, ValuesThatAreNotWhatTheyShouldBeAreRefusedAndNothingIsWritten)
{
    const qlonglong before =
        db->Execute(QStringLiteral("select count(*) from CLINICAL_AREA..tbCancerRequest"))
            .Fields(0)
            .toLongLong();
    const std::pair<int, const char *> wrong[] = {{0, ""},           {1, ""},   {3, ""},
                                                  {4, "12,50"},      {5, "0"},  {5, "x"},
                                                  {8, "2026-12-01"}, {9, "XR"}, {12, ""}};
    for (const auto &[index, text] : wrong) {
        QStringList values = item(QStringLiteral("10001"));
        values[index] = QString::fromUtf8(text);
        EXPECT_THROW(append(values), DatabaseError) << index << " " << text;
    }
    EXPECT_EQ(db->Execute(QStringLiteral("select count(*) from CLINICAL_AREA..tbCancerRequest"))
                  .Fields(0)
                  .toLongLong(),
              before);
}

TEST_P(LogBook, TheReprintListHasOneRowPerRequestOfItsTypeNewestFirst)
{
    QStringList supply = item(QStringLiteral("20001"));
    supply[9] = QStringLiteral("CS");
    supply[16] = QStringLiteral("N");
    supply[17] = QStringLiteral("0");
    append(item(QStringLiteral("10001")));
    append(item(QStringLiteral("10002")));
    append(supply);

    Recordset all = db->Execute(QStringLiteral("HemoDialysis..spHemo_LoadPHCSRequest '','PH'"));
    EXPECT_EQ(all.ColumnNames(),
              (QStringList{QStringLiteral("RequestNum"), QStringLiteral("RequestDate"),
                           QStringLiteral("PatientName"), QStringLiteral("HospNum"),
                           QStringLiteral("IdNum"), QStringLiteral("DoctorName")}));
    ASSERT_GT(all.RecordCount(), 1); // the demo's requests too
    const qlonglong newest = all.Fields("RequestNum").toLongLong();
    EXPECT_EQ(all.Fields("IdNum").toString(), QStringLiteral("261001"));
    EXPECT_FALSE(all.Fields("PatientName").toString().isEmpty());
    EXPECT_FALSE(all.Fields("PatientName").toString().endsWith(QLatin1Char(' ')));
    for (all.MoveNext(); !all.atEnd(); all.MoveNext())
        EXPECT_LT(all.Fields("RequestNum").toLongLong(), newest);

    Recordset mine =
        db->Execute(QStringLiteral("HemoDialysis..spHemo_LoadPHCSRequest '261001','PH'"));
    ASSERT_GE(mine.RecordCount(), 1);
    for (; !mine.atEnd(); mine.MoveNext())
        EXPECT_EQ(mine.Fields("IdNum").toString(), QStringLiteral("261001"));
    Recordset supplies =
        db->Execute(QStringLiteral("HemoDialysis..spHemo_LoadPHCSRequest '1000001','CS'"));
    ASSERT_GE(supplies.RecordCount(), 1);
    EXPECT_EQ(supplies.Fields("RequestNum").toLongLong(), newest + 1);
    EXPECT_EQ(db->Execute(QStringLiteral("HemoDialysis..spHemo_LoadPHCSRequest 'NOBODY','PH'"))
                  .RecordCount(),
              0);
}

CHEMODESK_ENGINE_TESTS(LogBook);

} // namespace
