// The drug list component on the demo database: medicines or supplies for
// the letters typed in an edit box, at a location or anywhere, by brand or by
// generic name.

#include "components/medicinelist.h"
#include "support/enginetest.h"
#include "support/scriptedmessages.h"
#include "widgets/picklist.h"

#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using namespace chemodesk;
using components::MedicineList;
using widgets::PickList;

namespace {

// Each row as "code name | generic | on hand | price".
QStringList listed(const PickList &list)
{
    QStringList rows;
    const QAbstractItemModel *model = list.grdList->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column)
            cells << model->index(row, column).data().toString();
        rows << cells.join(QStringLiteral(" | "));
    }
    return rows;
}

class DrugListOnEngine : public test::EngineTest {
protected:
    // Shows the list for `typed`; `pick` answers it (nothing queued: cancel).
    QString show(MedicineList &list, const char *typed, const char *location)
    {
        editBox.setText(QString::fromUtf8(typed));
        return list.ShowList(&editBox, QLatin1String(location));
    }
    void pickRow(int row, QStringList *seen = nullptr, QString *title = nullptr)
    {
        messages.onDialog([row, seen, title](QDialog &shown) {
            auto &list = static_cast<PickList &>(shown);
            if (seen)
                *seen = listed(list);
            if (title)
                *title = list.windowTitle();
            for (int i = 0; i < row; ++i)
                QTest::keyClick(&list, Qt::Key_Down);
            QTest::keyClick(&list, Qt::Key_Return);
            return list.result();
        });
    }

    test::ScriptedMessages messages;
    QLineEdit editBox;
};

TEST_P(DrugListOnEngine, MedicinesOrSuppliesStockedAtTheLocation)
{
    MedicineList list(*db);
    EXPECT_TRUE(list.InitConnection(QString()));
    EXPECT_FALSE(list.InitConnection(QStringLiteral("Provider=elsewhere")));
    EXPECT_FALSE(list.DrugsORCSR());

    QStringList seen;
    QString title;
    pickRow(0, &seen, &title);
    EXPECT_EQ(show(list, "ondan", "22"), QStringLiteral("10017"));
    EXPECT_EQ(title, QStringLiteral("Medicines"));
    EXPECT_EQ(seen, QStringList{QStringLiteral(
                        "10017 | ONDANSETRON 8MG/4ML AMPULE | ONDANSETRON | 40 | 212.75")});

    // Supplies: the inactive 10CC syringe is not offered; the second row is 3CC.
    list.setDrugsORCSR(true);
    list.setListTitle(QStringLiteral("Supply List"));
    pickRow(1, &seen, &title);
    EXPECT_EQ(show(list, "DISPOSABLE SYR", "21"), QStringLiteral("20011"));
    EXPECT_EQ(title, QStringLiteral("Supply List"));
    EXPECT_EQ(seen.size(), 3);

    // A medicine's name among supplies, a supply's among medicines: no list.
    EXPECT_EQ(show(list, "CISPLATIN", "20"), QString());
    list.setDrugsORCSR(false);
    EXPECT_EQ(show(list, "DISPOSABLE", "21"), QString());
    EXPECT_EQ(show(list, "CISPLATIN", "21"), QString());  // not stocked there
    EXPECT_EQ(show(list, "IRINOTECAN", "20"), QString()); // off the formulary
    EXPECT_EQ(messages.dialogsShown(), 2);
}

TEST_P(DrugListOnEngine, TypedApostrophesAndWildcardsAreLetters)
{
    MedicineList list(*db);
    QStringList seen;
    pickRow(0, &seen);
    EXPECT_EQ(show(list, "LACTATED RINGER'S", "20"), QStringLiteral("10038"));
    ASSERT_EQ(seen.size(), 1);
    EXPECT_TRUE(seen.front().startsWith(QStringLiteral("10038 | LACTATED RINGER'S SOLUTION 1L")));

    for (const char *typed : {"O'", "'; DELETE FROM x --", "%", "_"})
        EXPECT_EQ(show(list, typed, "20"), QString()) << typed;
    EXPECT_EQ(messages.dialogsShown(), 1);
}

TEST_P(DrugListOnEngine, WithoutALocationTheStockOfEveryLocationIsSummed)
{
    Recordset rs = db->Execute(QStringLiteral(
        "SELECT sum(OnHand) AS Total FROM INVENTORY..tbinvent WHERE ItemID = '10017'"));
    const double total = rs.Fields(QStringLiteral("Total")).toDouble();
    ASSERT_GT(total, 40);

    MedicineList list(*db);
    QStringList seen;
    pickRow(0, &seen);
    EXPECT_EQ(show(list, "ONDANSETRON", ""), QStringLiteral("10017"));
    EXPECT_EQ(seen,
              QStringList{QStringLiteral("10017 | ONDANSETRON 8MG/4ML AMPULE | ONDANSETRON | ") +
                          QString::number(total) + QStringLiteral(" | 212.75")});
}

TEST_P(DrugListOnEngine, CancellingGivesAnEmptyText)
{
    MedicineList list(*db);
    messages.onDialog([](QDialog &shown) {
        QTest::keyClick(&shown, Qt::Key_Escape);
        return shown.result();
    });
    EXPECT_EQ(show(list, "CIS", "20"), QString());
    EXPECT_EQ(messages.dialogsShown(), 1);
    EXPECT_EQ(editBox.text(), QStringLiteral("CIS")); // the caller's box is the caller's
}

TEST_P(DrugListOnEngine, ListingByGenericName)
{
    MedicineList list(*db, true);
    EXPECT_TRUE(list.ByGeneric());
    QStringList seen;
    pickRow(0, &seen);
    // Leucovorin is listed under its generic name, calcium folinate.
    EXPECT_EQ(show(list, "CALCIUM F", "20"), QStringLiteral("10015"));
    ASSERT_EQ(seen.size(), 1);
    EXPECT_TRUE(seen.front().startsWith(
        QStringLiteral("10015 | CALCIUM FOLINATE | LEUCOVORIN 50MG VIAL | ")));
    EXPECT_EQ(show(list, "LEUCOVORIN", "20"), QString());
    EXPECT_EQ(messages.dialogsShown(), 1);
}

CHEMODESK_ENGINE_TESTS(DrugListOnEngine);

} // namespace
