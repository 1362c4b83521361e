// The code search component on the demo database: exact codes, the pick list
// driven from the keyboard, cancelling, nothing found, and the records read
// after a search.

#include "components/itemlookup.h"
#include "support/enginetest.h"
#include "support/failingconnection.h"
#include "support/scriptedmessages.h"
#include "widgets/picklist.h"

#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using namespace chemodesk;
using components::ItemLookup;
using platform::ListKind;
using widgets::PickList;

namespace {

QStringList listed(const PickList &list)
{
    QStringList rows;
    const QAbstractItemModel *model = list.grdList->model();
    for (int row = 0; row < model->rowCount(); ++row)
        rows << model->index(row, 0).data().toString() + QLatin1Char(' ') +
                    model->index(row, 1).data().toString();
    return rows;
}

class CodeSearchOnEngine : public test::EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (!db)
            return;
        lookup = std::make_unique<ItemLookup>(*db);
        lookup->setSearchMode(true);
        lookup->setOtherSectionID(QStringLiteral("ON"));
    }
    std::unique_ptr<ItemLookup> lookup;
    test::ScriptedMessages messages;
};

TEST_P(CodeSearchOnEngine, AnExactCodeTakesItsRowWithoutAList)
{
    ASSERT_TRUE(lookup->SearchListing(QStringLiteral(" 8001 "), ListKind::OtherRevenue));
    EXPECT_EQ(messages.dialogsShown(), 0);
    EXPECT_EQ(lookup->OtherRevenueRecord(QStringLiteral("resultcode")).toString(),
              QStringLiteral("8001"));
    EXPECT_EQ(lookup->OtherRevenueRecord(QStringLiteral("OtherRevenue")).toString(),
              QStringLiteral("CHEMOTHERAPY ADMINISTRATION FEE"));
    EXPECT_EQ(lookup->OtherRevenueRecord(QStringLiteral("Fixrate")).toString(),
              QStringLiteral("N"));
    // The demo rates: room classes 10% apart, G 90%, H 115%, I 120%, ICU 125%.
    const std::pair<const char *, double> rates[] = {
        {"RateA", 1500}, {"RateB", 1650}, {"RateC", 1800}, {"RateD", 1950},  {"RateE", 2100},
        {"RateG", 1350}, {"RateH", 1725}, {"RateI", 1800}, {"IcuRate", 1875}};
    for (const auto &[column, rate] : rates)
        EXPECT_DOUBLE_EQ(lookup->OtherRevenueRecord(QLatin1String(column)).toDouble(), rate)
            << column;
    // A misspelt column is found in the first test, as with a record set.
    EXPECT_THROW(lookup->OtherRevenueRecord(QStringLiteral("RateZ")), DatabaseError);

    // Another section's code is not this section's service.
    lookup->setOtherSectionID(QStringLiteral("LB"));
    EXPECT_FALSE(lookup->SearchListing(QStringLiteral("8001"), ListKind::OtherRevenue));
    EXPECT_EQ(messages.dialogsShown(), 0);
}

TEST_P(CodeSearchOnEngine, PartialTextOffersTheListAndTheKeysPickTheSecondRow)
{
    messages.onDialog([](QDialog &shown) {
        auto &list = static_cast<PickList &>(shown);
        EXPECT_EQ(list.windowTitle(), QStringLiteral("Services"));
        EXPECT_EQ(list.txtSearch->text(), QStringLiteral("chemo"));
        // Active services only, by name; the retired old rate is not offered.
        EXPECT_EQ(listed(list), (QStringList{QStringLiteral("8005 CHEMOPORT FLUSHING"),
                                             QStringLiteral("8001 CHEMOTHERAPY ADMINISTRATION FEE"),
                                             QStringLiteral("8002 CHEMOTHERAPY PREPARATION FEE")}));
        EXPECT_EQ(list.grdList->model()->index(1, 2).data().toString(), QStringLiteral("1500.00"));
        QTest::keyClick(list.txtSearch, Qt::Key_Down);
        QTest::keyClick(list.txtSearch, Qt::Key_Down);
        QTest::keyClick(list.txtSearch, Qt::Key_Up);
        QTest::keyClick(list.txtSearch, Qt::Key_Return);
        return list.result();
    });
    ASSERT_TRUE(lookup->SearchListing(QStringLiteral("chemo"), ListKind::OtherRevenue));
    EXPECT_EQ(messages.dialogsShown(), 1);
    EXPECT_EQ(lookup->OtherRevenueRecord(QStringLiteral("ResultCode")).toString(),
              QStringLiteral("8001"));
    EXPECT_DOUBLE_EQ(lookup->OtherRevenueRecord(QStringLiteral("RateC")).toDouble(), 1800);
}

TEST_P(CodeSearchOnEngine, TypingNarrowsTheListAndPageKeysStayInside)
{
    messages.onDialog([](QDialog &shown) {
        auto &list = static_cast<PickList &>(shown);
        EXPECT_EQ(list.rowCount(), 3);
        QTest::keyClicks(list.txtSearch, QStringLiteral("THERAPY P"));
        EXPECT_EQ(listed(list), QStringList{QStringLiteral("8002 CHEMOTHERAPY PREPARATION FEE")});
        QTest::keyClick(list.txtSearch, Qt::Key_Backspace);
        QTest::keyClick(list.txtSearch, Qt::Key_Backspace);
        EXPECT_EQ(list.rowCount(), 2);
        QTest::keyClick(list.txtSearch, Qt::Key_PageDown);
        EXPECT_EQ(list.grdList->currentIndex().row(), 1);
        QTest::keyClick(list.txtSearch, Qt::Key_PageUp);
        EXPECT_EQ(list.grdList->currentIndex().row(), 0);
        // Letters typed while the grid has the focus narrow the list too.
        QTest::keyClick(list.grdList, Qt::Key_Space);
        QTest::keyClick(list.grdList, Qt::Key_A);
        EXPECT_EQ(list.txtSearch->text(), QStringLiteral("chemoTHERAPY a"));
        EXPECT_EQ(listed(list),
                  QStringList{QStringLiteral("8001 CHEMOTHERAPY ADMINISTRATION FEE")});
        QTest::keyClick(list.grdList, Qt::Key_Enter);
        return list.result();
    });
    ASSERT_TRUE(lookup->SearchListing(QStringLiteral("chemo"), ListKind::OtherRevenue));
    EXPECT_EQ(lookup->OtherRevenueRecord(QStringLiteral("ResultCode")).toString(),
              QStringLiteral("8001"));
}

TEST_P(CodeSearchOnEngine, CancelAndNothingFoundAnswerFalseAndKeepTheLastRecord)
{
    ASSERT_TRUE(lookup->SearchListing(QStringLiteral("8002"), ListKind::OtherRevenue));

    messages.onDialog([](QDialog &shown) {
        QTest::keyClick(&shown, Qt::Key_Escape);
        return shown.result();
    });
    EXPECT_FALSE(lookup->SearchListing(QStringLiteral("CHEMO"), ListKind::OtherRevenue));
    EXPECT_EQ(messages.dialogsShown(), 1);

    // No row starts with these: no list at all. Apostrophes and wildcards
    // are letters like any other.
    for (const char *typed : {"ZZZ", "O'BRIEN", "'; DELETE FROM x --", "%1", "CHEMO_", "CHEMO%"})
        EXPECT_FALSE(lookup->SearchListing(QLatin1String(typed), ListKind::OtherRevenue)) << typed;
    EXPECT_EQ(messages.dialogsShown(), 1);
    EXPECT_EQ(lookup->OtherRevenueRecord(QStringLiteral("ResultCode")).toString(),
              QStringLiteral("8002"));

    // Out of search mode a partial text is simply not found.
    lookup->setSearchMode(false);
    EXPECT_FALSE(lookup->SearchListing(QStringLiteral("CHEMO"), ListKind::OtherRevenue));
    EXPECT_EQ(messages.dialogsShown(), 1);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_P(CodeSearchOnEngine, DoctorsByCodeOrByTheFirstLettersOfTheLastName)
{
    ASSERT_TRUE(lookup->SearchListing(QStringLiteral("102"), ListKind::Doctor));
    EXPECT_EQ(lookup->DoctorRecord(QStringLiteral("ResultCode")).toString(), QStringLiteral("102"));
    EXPECT_EQ(lookup->DoctorRecord(QStringLiteral("LastName")).toString(),
              QStringLiteral("SANTIAGO"));
    EXPECT_EQ(lookup->DoctorRecord(QStringLiteral("FirstName")).toString(),
              QStringLiteral("MARIA LOURDES"));
    EXPECT_EQ(lookup->DoctorRecord(QStringLiteral("MiddleName")).toString(),
              QStringLiteral("CRUZ"));

    // A single partial match is still offered, for the user to confirm.
    messages.onDialog([](QDialog &shown) {
        auto &list = static_cast<PickList &>(shown);
        EXPECT_EQ(listed(list), QStringList{QStringLiteral("103 TAN")});
        list.accept();
        return list.result();
    });
    ASSERT_TRUE(lookup->SearchListing(QStringLiteral("ta"), ListKind::Doctor));
    EXPECT_EQ(messages.dialogsShown(), 1);
    EXPECT_EQ(lookup->DoctorRecord(QStringLiteral("FirstName")).toString(),
              QStringLiteral("WILLIAM"));
    // Each kind keeps its own record.
    EXPECT_TRUE(lookup->OtherRevenueRecord(QStringLiteral("ResultCode")).IsNull());
}

TEST_P(CodeSearchOnEngine, ExaminationsOfTheLaboratoryXRayAndUltrasound)
{
    ASSERT_TRUE(lookup->SearchListing(QStringLiteral("1001"), ListKind::LABExam));
    EXPECT_EQ(lookup->LABExamRecord(QStringLiteral("LabExam")).toString(),
              QStringLiteral("COMPLETE BLOOD COUNT (CBC)"));
    EXPECT_EQ(lookup->LABExamRecord(QStringLiteral("LabSectionID")).toString(),
              QStringLiteral("HE"));
    EXPECT_DOUBLE_EQ(lookup->LABExamRecord(QStringLiteral("RateA")).toDouble(), 350);
    EXPECT_DOUBLE_EQ(lookup->LABExamRecord(QStringLiteral("RateG")).toDouble(), 315);

    messages.onDialog([](QDialog &shown) {
        auto &list = static_cast<PickList &>(shown);
        list.grdList->selectRow(1);
        list.accept();
        return list.result();
    });
    // Code prefixes list too: 3001 to 3006.
    ASSERT_TRUE(lookup->SearchListing(QStringLiteral("300"), ListKind::UltraSound));
    EXPECT_EQ(lookup->UltraSoundRecord(QStringLiteral("Ultraexam")).toString(),
              QStringLiteral("HEPATOBILIARY TREE ULTRASOUND"));
    EXPECT_DOUBLE_EQ(lookup->UltraSoundRecord(QStringLiteral("RateA")).toDouble(), 1700);

    // X-rays by name, priced per room class as the charge screen prices them.
    messages.onDialog([](QDialog &shown) {
        auto &list = static_cast<PickList &>(shown);
        EXPECT_EQ(listed(list), (QStringList{QStringLiteral("2001 CHEST PA"),
                                             QStringLiteral("2002 CHEST PA / LATERAL")}));
        list.accept();
        return list.result();
    });
    ASSERT_TRUE(lookup->SearchListing(QStringLiteral("chest"), ListKind::XRayExam));
    EXPECT_EQ(lookup->XRayExamRecord(QStringLiteral("ResultCode")).toString(),
              QStringLiteral("2001"));
    EXPECT_EQ(lookup->XRayExamRecord(QStringLiteral("XrayExam")).toString(),
              QStringLiteral("CHEST PA"));
    EXPECT_DOUBLE_EQ(lookup->XRayExamRecord(QStringLiteral("RateC")).toDouble(), 540);
    // The laboratory's record stays as it was found.
    EXPECT_EQ(lookup->LABExamRecord(QStringLiteral("ResultCode")).toString(),
              QStringLiteral("1001"));
}

TEST_P(CodeSearchOnEngine, AFailingSearchReachesTheScreenAndAFailingRefillIsShown)
{
    test::FailingConnection failing(*db,
                                    test::FailingConnection::containing(QStringLiteral("CHEMOX")),
                                    QStringLiteral("Timeout expired"));
    lookup->setConnection(&failing);
    EXPECT_THROW(lookup->SearchListing(QStringLiteral("CHEMOX"), ListKind::OtherRevenue),
                 DatabaseError);

    messages.onDialog([](QDialog &shown) {
        auto &list = static_cast<PickList &>(shown);
        QTest::keyClick(list.txtSearch, Qt::Key_X);
        EXPECT_EQ(list.rowCount(), 0);
        QTest::keyClick(list.txtSearch, Qt::Key_Return); // nothing to pick: stays open
        EXPECT_EQ(list.result(), 0);
        QTest::keyClick(list.txtSearch, Qt::Key_Backspace);
        EXPECT_EQ(list.rowCount(), 3);
        QTest::keyClick(list.txtSearch, Qt::Key_Return);
        return list.result();
    });
    ASSERT_TRUE(lookup->SearchListing(QStringLiteral("CHEMO"), ListKind::OtherRevenue));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.lastText(), QStringLiteral("Timeout expired"));
    EXPECT_EQ(lookup->OtherRevenueRecord(QStringLiteral("ResultCode")).toString(),
              QStringLiteral("8005"));
}

// Dosages (list 16): a code gives its frequency; letters of the name offer the
// active dosages; a retired code is not found.
TEST_P(CodeSearchOnEngine, DosagesAnswerTheirCodeAndFrequency)
{
    ASSERT_TRUE(lookup->SearchListing(QStringLiteral("tid"), ListKind::Dosage));
    EXPECT_EQ(lookup->DosageRecord(QStringLiteral("ResultCode")).toString(), QStringLiteral("TID"));
    EXPECT_EQ(lookup->DosageRecord(QStringLiteral("Frequency")).toLongLong(), 3);
    EXPECT_EQ(messages.dialogsShown(), 0);

    messages.onDialog([](QDialog &shown) {
        auto &list = static_cast<PickList &>(shown);
        EXPECT_EQ(list.windowTitle(), QStringLiteral("Dosages"));
        EXPECT_EQ(listed(list), (QStringList{QStringLiteral("Q12H EVERY 12 HOURS"),
                                             QStringLiteral("Q4H EVERY 4 HOURS"),
                                             QStringLiteral("Q6H EVERY 6 HOURS"),
                                             QStringLiteral("Q8H EVERY 8 HOURS")}));
        QTest::keyClick(list.txtSearch, Qt::Key_Down);
        QTest::keyClick(list.txtSearch, Qt::Key_Return);
        return list.result();
    });
    ASSERT_TRUE(lookup->SearchListing(QStringLiteral("EVERY"), ListKind::Dosage));
    EXPECT_EQ(lookup->DosageRecord(QStringLiteral("ResultCode")).toString(), QStringLiteral("Q4H"));
    EXPECT_EQ(lookup->DosageRecord(QStringLiteral("Frequency")).toLongLong(), 6);

    lookup->setSearchMode(false);
    EXPECT_FALSE(lookup->SearchListing(QStringLiteral("QOD"), ListKind::Dosage));
}

// Lists without a table in the hospital database: never found, never listed.
TEST_P(CodeSearchOnEngine, KindsWithoutATableAreNotFound)
{
    const std::pair<ListKind, Field (ItemLookup::*)(const QString &) const> kinds[] = {
        {ListKind::CTExam, &ItemLookup::CTExamRecord},
        {ListKind::AudioExam, &ItemLookup::AudioExamRecord},
        {ListKind::NuclearExam, &ItemLookup::NuclearExamRecord},
        {ListKind::HSExam, &ItemLookup::HSExamRecord},
        {ListKind::PTExam, &ItemLookup::PTExamRecord},
        {ListKind::RTSExam, &ItemLookup::RTSExamRecord},
        {ListKind::Address, &ItemLookup::AddressRecord},
        {ListKind::CivilStatus, &ItemLookup::CivilStatusRecord},
    };
    for (const auto &[kind, record] : kinds) {
        EXPECT_FALSE(lookup->SearchListing(QStringLiteral("2001"), kind)) << int(kind);
        EXPECT_FALSE(lookup->SearchListing(QString(), kind)) << int(kind);
        EXPECT_TRUE(((*lookup).*record)(QStringLiteral("ResultCode")).IsNull()) << int(kind);
    }
    EXPECT_EQ(messages.dialogsShown(), 0);
}

CHEMODESK_ENGINE_TESTS(CodeSearchOnEngine);

} // namespace
