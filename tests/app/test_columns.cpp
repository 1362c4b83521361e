// Lists and grids show their headings and values whole: a code, a date or a
// name cut short is a different code, date or name to whoever reads it.

#include "assessment/frmassessstatus.h"
#include "packages/packagedialogs.h"
#include "patients/frmsearchpatient.h"
#include "requests/frmreprintrequestform.h"
#include "support/columns.h"
#include "support/enginetest.h"
#include "support/scriptedmessages.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

using namespace chemodesk;

namespace {

class ColumnsOnEngines : public test::EngineTest {
protected:
    test::ScriptedMessages messages;
};

TEST_P(ColumnsOnEngines, ListsShowTheirHeadingsAndValuesWhole)
{
    patients::frmSearchPatient list(*db, nullptr);
    list.show();
    EXPECT_EQ(test::cutTexts(*list.ListView1), QStringList()) << "empty list";
    list.optPatientType[0]->click();
    ASSERT_GT(list.ListView1->topLevelItemCount(), 0);
    EXPECT_EQ(test::cutTexts(*list.ListView1), QStringList()) << "in-patients";

    packages::frmOPDPackage packages(*db);
    packages.show();
    ASSERT_GT(packages.mshflexPackage->rowCount(), 0);
    EXPECT_EQ(test::cutTexts(*packages.mshflexPackage), QStringList()) << "packages";
    packages.choosePackage(0);
    ASSERT_GT(packages.mshflexPackageItems->rowCount(), 0);
    EXPECT_EQ(test::cutTexts(*packages.mshflexPackageItems), QStringList()) << "package items";

    requests::frmReprintRequestForm reprint(*db, QStringLiteral("PH"),
                                            QStringLiteral("Reprint Pharmacy Request Form"),
                                            QStringLiteral("1000001"));
    reprint.show();
    ASSERT_GT(reprint.MSHFlexGrid1->rowCount(), 0);
    EXPECT_EQ(test::cutTexts(*reprint.MSHFlexGrid1), QStringList()) << "earlier requests";

    assessment::frmAssessStatus status(*db);
    status.show();
    status.txtEntry->setText(QStringLiteral("a"));
    QTest::keyClick(status.txtEntry, Qt::Key_Return);
    ASSERT_GT(status.grdTable->rowCount(), 0);
    EXPECT_EQ(test::cutTexts(*status.grdTable), QStringList()) << "assessments";
    EXPECT_TRUE(messages.shown().empty());
}

CHEMODESK_ENGINE_TESTS(ColumnsOnEngines);

} // namespace
