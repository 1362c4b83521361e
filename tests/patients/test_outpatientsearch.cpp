// Looking up an out-patient registration by number, with the picker for
// numbers that name none or several registrations.

#include "patients/clsoutpatientsearch.h"
#include "patients/frmregisteredopd.h"
#include "support/enginetest.h"
#include "support/recordingconnection.h"
#include "support/scriptedmessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace chemodesk;
using patients::clsOutpatientSearch;
using patients::frmRegisteredOPD;

namespace {

QStringList gridColumn(const QTableWidget *grid, int column)
{
    QStringList out;
    for (int row = 0; row < grid->rowCount(); ++row)
        out << grid->item(row, column)->text();
    return out;
}

class OutpatientSearch : public test::EngineTest {
protected:
    test::ScriptedMessages messages;
};

TEST_P(OutpatientSearch, ANumberOfOneRegistrationFillsEveryValue)
{
    clsOutpatientSearch search(*db);
    ASSERT_TRUE(search.ValidatePatient(QStringLiteral("2650001B")));
    EXPECT_EQ(messages.dialogsShown(), 0);
    const std::pair<QString, const char *> values[] = {
        {search.IDNumber(), "2650001B"},
        {search.HospitalNumber(), "1000081"},
        {search.LastName(), "PANGANIBAN"},
        {search.FirstName(), "FERNANDO"},
        {search.MiddleName(), "REYES"},
        {search.AccountNum(), "BAYANIHMO"},
        {search.Company(), "BAYANIHAN MEDICAL PLAN CORP."},
        {search.AdmDate(), "11/29/2026"},
        {search.AdmTime(), "09:45AM"},
        {search.DcrDate(), ""},
        {search.DcrTime(), ""},
        {search.BillingDate(), ""},
        {search.Sex(), "M"},
        {search.BirthDate(), "04/06/1971"},
        {search.Age(), "55"},
        {search.HouseStreet(), "BLK 11 LOT 14 VILLA VERDE SUBD."},
        {search.Barangay(), "GATID"},
        {search.Town(), "TANAUAN CITY"},
        {search.Province(), "BATANGAS"},
        {search.CivilStatus(), "1"},
    };
    for (const auto &[value, expected] : values)
        EXPECT_EQ(value, QString::fromUtf8(expected));
}

TEST_P(OutpatientSearch, DischargeBillingAccountAndCivilStatusEdges)
{
    clsOutpatientSearch search(*db);
    ASSERT_TRUE(search.ValidatePatient(QStringLiteral("2650002B")));
    EXPECT_EQ(search.DcrDate(), QStringLiteral("11/29/2026"));
    EXPECT_EQ(search.DcrTime(), QStringLiteral("01:45PM"));
    EXPECT_EQ(search.BillingDate(), QStringLiteral("11/29/2026"));

    ASSERT_TRUE(search.ValidatePatient(QStringLiteral("2650017B")));
    EXPECT_EQ(search.CivilStatus(), QStringLiteral("1")); // never filled in

    ASSERT_TRUE(search.ValidatePatient(QStringLiteral("2650047B")));
    EXPECT_EQ(search.AccountNum(), QString());
    EXPECT_EQ(search.Company(), QString());
    EXPECT_TRUE(search.LastName().startsWith(QStringLiteral("O'C")));
    EXPECT_EQ(messages.dialogsShown(), 0);
}

TEST_P(OutpatientSearch, SeveralMatchesAreSettledInThePicker)
{
    clsOutpatientSearch search(*db);
    messages.onDialog([](QDialog &shown) {
        auto &picker = dynamic_cast<frmRegisteredOPD &>(shown);
        picker.show();
        // It opens on last names with the caller's text: no such name.
        EXPECT_EQ(picker.cmbSearch->currentText(), QStringLiteral("Last Name"));
        EXPECT_EQ(picker.txtSearch->text(), QStringLiteral("265000"));
        EXPECT_EQ(picker.grdTable->rowCount(), 0);
        EXPECT_FALSE(picker.cmdSelect->isEnabled());
        EXPECT_EQ(picker.grdTable->horizontalHeaderItem(0)->text(), QStringLiteral("Adm #"));
        EXPECT_EQ(picker.grdTable->horizontalHeaderItem(4)->text(), QStringLiteral("Adm. Date"));

        picker.cmbSearch->setCurrentIndex(1);
        QTest::keyClick(picker.txtSearch, Qt::Key_Return);
        EXPECT_EQ(picker.grdTable->rowCount(), 9);
        picker.chkCurrent->click(); // the discharged ones go
        EXPECT_EQ(picker.grdTable->rowCount(), 7);
        EXPECT_FALSE(gridColumn(picker.grdTable, 0).contains(QStringLiteral("2650002B")));
        const int row = int(gridColumn(picker.grdTable, 0).indexOf(QStringLiteral("2650009B")));
        EXPECT_GE(row, 0);
        picker.grdTable->setCurrentCell(row, 0);
        picker.cmdSelect->click();
        return picker.result();
    });
    ASSERT_TRUE(search.ValidatePatient(QStringLiteral("265000")));
    EXPECT_EQ(messages.dialogsShown(), 1);
    EXPECT_EQ(search.IDNumber(), QStringLiteral("2650009B"));
    EXPECT_FALSE(search.LastName().isEmpty());
}

TEST_P(OutpatientSearch, ClosingThePickerKeepsThePreviousPatient)
{
    clsOutpatientSearch search(*db);
    ASSERT_TRUE(search.ValidatePatient(QStringLiteral("2650001B")));

    messages.onDialog([](QDialog &shown) {
        auto &picker = dynamic_cast<frmRegisteredOPD &>(shown);
        picker.show();
        picker.cmdClose->click();
        return picker.result();
    });
    EXPECT_FALSE(search.ValidatePatient(QStringLiteral("PANGANIBAN")));
    // Escape, or no answer at all, is the same as closing.
    messages.onDialog([](QDialog &shown) {
        shown.show();
        QTest::keyClick(&shown, Qt::Key_Escape);
        return shown.result();
    });
    EXPECT_FALSE(search.ValidatePatient(QStringLiteral("NOSUCH")));
    EXPECT_FALSE(search.ValidatePatient(QStringLiteral("NOSUCH")));
    EXPECT_EQ(messages.dialogsShown(), 3);
    EXPECT_EQ(search.IDNumber(), QStringLiteral("2650001B"));
    EXPECT_EQ(search.LastName(), QStringLiteral("PANGANIBAN"));
    EXPECT_EQ(search.AdmTime(), QStringLiteral("09:45AM"));
}

TEST_P(OutpatientSearch, ThePickerSearchesNamesWithApostrophes)
{
    frmRegisteredOPD picker(*db, QStringLiteral("O'C"));
    picker.show();
    EXPECT_EQ(gridColumn(picker.grdTable, 0), QStringList{"2650047B"});
    EXPECT_EQ(gridColumn(picker.grdTable, 1), QStringList{"O'CAMPO"});
    QTest::keyClick(picker.txtSearch, Qt::Key_Down);
    QTest::keyClick(picker.grdTable, Qt::Key_Return);
    EXPECT_TRUE(picker.Valid);
    EXPECT_EQ(picker.ResultCode, QStringLiteral("2650047B"));
    EXPECT_TRUE(messages.shown().empty());
}

CHEMODESK_ENGINE_TESTS(OutpatientSearch);

TEST(OutpatientSearchTexts, LookupAndPickerTexts)
{
    EXPECT_EQ(clsOutpatientSearch::lookupText(QStringLiteral("2650001B")),
              QStringLiteral("BILLING..spGlobal_RegisteredOPD '0','1', '2650001B'"));
    EXPECT_EQ(clsOutpatientSearch::lookupText(QStringLiteral("O'C")),
              QStringLiteral("BILLING..spGlobal_RegisteredOPD '0','1', 'O''C'"));
    EXPECT_EQ(frmRegisteredOPD::listText(true, 0, QStringLiteral(" O'C ")),
              QStringLiteral("BILLING..spGlobal_RegisteredOPD '1','0', 'O''C'"));
    EXPECT_EQ(frmRegisteredOPD::listText(false, 1, QStringLiteral("2650")),
              QStringLiteral("BILLING..spGlobal_RegisteredOPD '0','1', '2650'"));
}

TEST(OutpatientSearchTexts, AChosenRegistrationThatHasGoneIsNotFilled)
{
    test::ScriptedMessages messages;
    chemodesk::testing::RecordingConnection db;
    const QStringList columns{"IdNum",      "HospNum",   "LastName",   "FirstName",   "MiddleName",
                              "AccountNum", "Company",   "AdmDate",    "DcrDate",     "BillingDate",
                              "Sex",        "BirthDate", "Age",        "HouseStreet", "Barangay",
                              "Town",       "Province",  "CivilStatus"};
    auto row = [](const char *id, const char *last) {
        return std::vector<QVariant>{id,         "H1",       last,       "F",
                                     "M",        QVariant(), QVariant(), "2026-11-29 09:45:00",
                                     QVariant(), QVariant(), "F",        "01/01/1970",
                                     56,         "",         "",         "",
                                     "",         "2"};
    };
    db.answer(QStringLiteral("BILLING..spGlobal_RegisteredOPD '0','1', 'X'"),
              chemodesk::testing::table(columns, {row("X1", "ONE"), row("X12", "TWO")}));
    db.answer(QStringLiteral("BILLING..spGlobal_RegisteredOPD '0','0', 'X'"),
              chemodesk::testing::table(columns, {row("X1", "ONE"), row("X12", "TWO")}));
    // The first characters of X1 also match X12: the exact one is taken.
    db.answerOnce(QStringLiteral("BILLING..spGlobal_RegisteredOPD '0','1', 'X1'"),
                  chemodesk::testing::table(columns, {row("X12", "TWO"), row("X1", "ONE")}));
    auto pickFirst = [](QDialog &shown) {
        auto &picker = dynamic_cast<frmRegisteredOPD &>(shown);
        picker.show();
        picker.cmdSelect->click();
        return picker.result();
    };
    clsOutpatientSearch search(db);
    messages.onDialog(pickFirst);
    ASSERT_TRUE(search.ValidatePatient(QStringLiteral("X")));
    EXPECT_EQ(search.IDNumber(), QStringLiteral("X1"));
    EXPECT_EQ(search.LastName(), QStringLiteral("ONE"));
    EXPECT_EQ(search.CivilStatus(), QStringLiteral("2"));

    // Gone between the pick and the second look-up.
    messages.onDialog(pickFirst);
    EXPECT_FALSE(search.ValidatePatient(QStringLiteral("X")));
    EXPECT_EQ(search.IDNumber(), QStringLiteral("X1"));
    EXPECT_EQ(db.texts().last(), QStringLiteral("BILLING..spGlobal_RegisteredOPD '0','1', 'X1'"));
}

} // namespace
