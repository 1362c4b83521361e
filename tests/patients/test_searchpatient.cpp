// The department's patient list against the demo hospital (dated 2026-12-01),
// on every engine, with a small stand-in for the main window's panel.

#include "support/fakepanel.h"

#include "hospitaldb/hospitaldb.h"
#include "patients/frmsearchpatient.h"
#include "patients/linklabel.h"
#include "patients/patientlist.h"
#include "platform/patientlistrows.h"
#include "session/globals.h"
#include "support/enginetest.h"
#include "support/recordingconnection.h"
#include "support/scriptedmessages.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

using namespace chemodesk;
using patients::frmSearchPatient;

namespace {

enum Column { HospNum, IdNum, Name, AdmissionDate, BillingDate };

QStringList column(const QTreeWidget *list, int column)
{
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(column);
    return out;
}

QTreeWidgetItem *rowOf(const QTreeWidget *list, const QString &idNum)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->text(IdNum) == idNum)
            return list->topLevelItem(i);
    return nullptr;
}

void clickRow(QTreeWidget *list, QTreeWidgetItem *item)
{
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

void pressEnterOn(QTreeWidget *list, QTreeWidgetItem *item)
{
    list->setCurrentItem(item);
    QTest::keyClick(list, Qt::Key_Return);
}

void clickHeader(QTreeWidget *list, int section)
{
    QHeaderView *header = list->header();
    const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

class PatientList : public test::EngineTest {
protected:
    void SetUp() override
    {
        session::resetGlobals();
        EngineTest::SetUp();
        if (!db)
            return;
        main = std::make_unique<test::FakePanel>();
        list = std::make_unique<frmSearchPatient>(*db, main.get());
        list->resize(900, 600);
        list->show();
    }
    void TearDown() override
    {
        list.reset();
        session::resetGlobals();
    }

    // The option clicked, the box ticked or not, the three texts, the button.
    void search(int option, bool previous, const char *last, const char *hosp, const char *id)
    {
        list->optPatientType[option]->click();
        list->chkPrevious->setChecked(previous);
        list->txtSearch[0]->setText(QString::fromUtf8(last));
        list->txtSearch[1]->setText(QString::fromUtf8(hosp));
        list->txtSearch[2]->setText(QString::fromUtf8(id));
        list->vkCommand1->click();
    }

    test::ScriptedMessages messages;
    std::unique_ptr<test::FakePanel> main;
    std::unique_ptr<frmSearchPatient> list;
    session::Globals &g = session::globals();
};

TEST_P(PatientList, OpensOnTheCashListAndMarksItselfLoaded)
{
    EXPECT_TRUE(list->optPatientType[1]->isChecked());
    EXPECT_TRUE(g.PatientListLoaded);
    EXPECT_EQ(list->listedClass(), QStringLiteral("C"));
    EXPECT_EQ(list->ListView1->topLevelItemCount(), 24);
    EXPECT_TRUE(rowOf(list->ListView1, QStringLiteral("2650062B")));
    const QTreeWidgetItem *header = list->ListView1->headerItem();
    const QStringList expected{"HOSPITAL #", "ADMISSION #", "PATIENT NAME", "ADMISSION DATE",
                               "BILLING DATE"};
    ASSERT_EQ(header->columnCount(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(header->text(i), expected[i]);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_P(PatientList, EachOptionAndSearchBoxListsItsPatients)
{
    struct Case {
        int option;
        bool previous;
        const char *last, *hosp, *id;
        int rows;
        QStringList listed;
        const char *patientClass;
    };
    const Case cases[] = {
        {0, false, "", "", "", 60, {"261001", "261018"}, "I"},
        {0, true, "", "1000171", "", 1, {"261081"}, "I"},
        {0, true, "", "", "2610", 35, {"261061", "261081"}, "I"},
        {1, false, "", "", "", 24, {"2650062B"}, "C"},
        {1, true, "", "", "26500", 30, {"2650061B", "2650062B"}, "C"},
        {2, false, "", "", "", 60, {"2650001B", "2650047B"}, "O"},
        {2, true, "", "", "2650002B", 1, {"2650002B"}, "O"},
        {0, false, "SANTOS", "", "", 4, {"261017", "261035", "261038", "261053"}, "I"},
        {0, false, "SANTOS", "100003", "", 2, {"261035", "261038"}, "I"},
        {0, false, "", "1000018", "", 1, {"261018"}, "I"},
        {0, false, "", "", "261018", 1, {"261018"}, "I"},
        {0, false, "O'C", "", "", 1, {"261018"}, "I"},
        {2, false, "O'C", "", "", 1, {"2650047B"}, "O"},
        {0, false, "", "1000171", "", 0, {}, "I"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::Message() << c.option << (c.previous ? " previous " : " current ")
                                          << c.last << "|" << c.hosp << "|" << c.id);
        search(c.option, c.previous, c.last, c.hosp, c.id);
        EXPECT_EQ(list->ListView1->topLevelItemCount(), c.rows);
        const QStringList ids = column(list->ListView1, IdNum);
        for (const QString &id : c.listed)
            EXPECT_TRUE(ids.contains(id)) << id.toStdString();
        EXPECT_EQ(list->listedClass(), QLatin1String(c.patientClass));
    }
    EXPECT_TRUE(messages.shown().empty());
}

// Names with letters beyond ASCII are found however they are typed.
TEST_P(PatientList, LastNameSearchFoldsEveryLetter)
{
    db->Execute(QString::fromUtf8(
        "update PATIENT_DATA..tbMaster set LastName = 'PEÑAFLOR' where HospNum = '1000018'"));
    for (const char *typed : {"PEñA", "peña", "PEÑAF"}) {
        SCOPED_TRACE(typed);
        search(0, false, typed, "", "");
        EXPECT_EQ(column(list->ListView1, IdNum), QStringList{QStringLiteral("261018")});
    }
    EXPECT_TRUE(messages.shown().empty());
}

TEST_P(PatientList, OptionClickAndEnterInABoxListCurrentPatientsEvenWithTheBoxTicked)
{
    list->chkPrevious->setChecked(true);
    list->txtSearch[1]->setText(QStringLiteral("1000171")); // discharged: a previous admission
    list->optPatientType[0]->click();
    EXPECT_EQ(list->ListView1->topLevelItemCount(), 0);
    list->vkCommand1->click();
    EXPECT_EQ(column(list->ListView1, IdNum), QStringList{"261081"});
    QTest::keyClick(list->txtSearch[1], Qt::Key_Return);
    EXPECT_EQ(list->ListView1->topLevelItemCount(), 0);
}

TEST_P(PatientList, PreviousRegistrationsWithoutSearchTextAreRefused)
{
    list->optPatientType[0]->click();
    list->chkPrevious->setChecked(true);
    list->txtSearch[1]->setText(QStringLiteral("   "));
    list->vkCommand1->click();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.lastText(), QStringLiteral("Please enter a search text."));
    EXPECT_EQ(messages.shown().back().icon, widgets::MessageService::Information);
    // The current in-patients stay on show.
    EXPECT_EQ(list->ListView1->topLevelItemCount(), 60);

    // Unticked, empty boxes list every current patient of the class.
    list->chkPrevious->setChecked(false);
    list->txtSearch[1]->clear();
    list->vkCommand1->click();
    EXPECT_EQ(list->ListView1->topLevelItemCount(), 60);
    EXPECT_EQ(messages.shown().size(), 1u);
}

// A search matching more patients than the list holds shows the first ones and
// says so; a narrower one shows all it matches and no such line.
TEST_P(PatientList, AListOfTooManyShowsTheFirstAndAsksToNarrow)
{
    hospital::generateRegistrations(*db, 1000); // hospital numbers 2000xxxx
    search(patients::OutPatientOption, true, "", "2", "");
    EXPECT_EQ(list->ListView1->topLevelItemCount(), platform::PatientListRows);
    EXPECT_FALSE(list->lblMoreMatch->isHidden());
    EXPECT_EQ(list->lblMoreMatch->text(), patients::moreMatchText());
    const QString one = list->ListView1->topLevelItem(0)->text(HospNum);
    search(patients::OutPatientOption, true, "", one.toUtf8().constData(), "");
    EXPECT_GE(list->ListView1->topLevelItemCount(), 1);
    EXPECT_LT(list->ListView1->topLevelItemCount(), platform::PatientListRows);
    EXPECT_TRUE(list->lblMoreMatch->isHidden());
}

TEST_P(PatientList, ChoosingARowFillsThePanelAndTheDatasheetContext)
{
    struct Case {
        int option;
        const char *idNum, *hospNum, *inOut, *billing;
        bool byMouse;
    };
    const Case cases[] = {
        {0, "261018", "1000018", "I", "", true},
        {0, "261010", "1000010", "I", "12/01/2026", false},
        {1, "2650062B", nullptr, "O", "", false},
        {2, "2650047B", nullptr, "O", "", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.idNum);
        list->optPatientType[c.option]->click();
        QTreeWidgetItem *item = rowOf(list->ListView1, QLatin1String(c.idNum));
        ASSERT_TRUE(item);
        if (c.byMouse)
            clickRow(list->ListView1, item);
        else
            pressEnterOn(list->ListView1, item);
        const QString hospNum = c.hospNum ? QLatin1String(c.hospNum) : item->text(HospNum);
        EXPECT_EQ(main->patient().hospNum, hospNum);
        EXPECT_EQ(main->patient().idNum, QLatin1String(c.idNum));
        EXPECT_EQ(main->patient().name, item->text(Name));
        EXPECT_EQ(main->patient().inOut, QLatin1String(c.inOut));
        EXPECT_EQ(main->patient().billingDate, QLatin1String(c.billing));
        EXPECT_EQ(list->selectedBillingDate(), QLatin1String(c.billing));
        EXPECT_TRUE(main->shown);
        EXPECT_TRUE(main->isMenuEnabled(platform::MainAction::PatientLedger));
    }
    EXPECT_TRUE(main->patient().name.startsWith(QStringLiteral("O'CAMPO")));
    EXPECT_TRUE(messages.shown().empty());
}

TEST_P(PatientList, PanelClassFollowsTheListOnShowNotALaterAction)
{
    list->optPatientType[0]->click();
    // Another list was on show meanwhile.
    list->optPatientType[2]->click();
    list->optPatientType[0]->click();
    pressEnterOn(list->ListView1, rowOf(list->ListView1, QStringLiteral("261018")));
    EXPECT_EQ(main->patient().inOut, QStringLiteral("I"));
}

TEST_P(PatientList, BillingDateForTheMainWindowIsThatOfTheChosenPatient)
{
    list->optPatientType[0]->click();
    pressEnterOn(list->ListView1, rowOf(list->ListView1, QStringLiteral("261010")));
    ASSERT_EQ(list->selectedBillingDate(), QStringLiteral("12/01/2026"));
    // Moving the highlight or listing again does not change whose account it is.
    list->ListView1->setCurrentItem(rowOf(list->ListView1, QStringLiteral("261018")));
    EXPECT_EQ(list->selectedBillingDate(), QStringLiteral("12/01/2026"));
    list->optPatientType[2]->click();
    EXPECT_EQ(list->selectedBillingDate(), QStringLiteral("12/01/2026"));
}

TEST_P(PatientList, ChoosingFromAnEmptyListSaysNoPatientWasSearched)
{
    search(0, false, "NOSUCHNAME", "", "");
    ASSERT_EQ(list->ListView1->topLevelItemCount(), 0);
    QTest::keyClick(list->ListView1, Qt::Key_Return);
    QTest::mouseClick(list->ListView1->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    ASSERT_EQ(messages.shown().size(), 2u);
    for (const auto &shown : messages.shown())
        EXPECT_EQ(shown.text, QStringLiteral("No Patient searched."));
    EXPECT_FALSE(main->shown);
    EXPECT_TRUE(main->patient().hospNum.isEmpty());
    EXPECT_FALSE(main->isMenuEnabled(platform::MainAction::PatientLedger));
}

TEST_P(PatientList, HeaderClickSortsAndASecondClickReverses)
{
    list->optPatientType[0]->click();
    list->chkPrevious->setChecked(true);
    list->txtSearch[2]->setText(QStringLiteral("2610"));
    list->vkCommand1->click(); // previous admissions: dates across the year
    ASSERT_EQ(list->ListView1->topLevelItemCount(), 35);

    clickHeader(list->ListView1, Name);
    QStringList names = column(list->ListView1, Name);
    QStringList sorted = names;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(names, sorted);
    clickHeader(list->ListView1, Name);
    names = column(list->ListView1, Name);
    std::reverse(sorted.begin(), sorted.end());
    EXPECT_EQ(names, sorted);

    // Dates by the calendar, not by their "mm/dd/yyyy" text.
    clickHeader(list->ListView1, AdmissionDate);
    QDate previous;
    for (const QString &text : column(list->ListView1, AdmissionDate)) {
        const QDate day = QDate::fromString(text, QStringLiteral("MM/dd/yyyy"));
        ASSERT_TRUE(day.isValid()) << text.toStdString();
        EXPECT_LE(previous, day);
        previous = day;
    }
}

TEST_P(PatientList, CheckCashFindsWalkInPatientsOnTheirOwnAccount)
{
    db->Execute(QStringLiteral("update PATIENT_DATA..tbOutPatient set AccountNum = 'BAYANIHMO' "
                               "where IdNum = '2650061B'"));
    const std::pair<const char *, bool> cases[] = {
        {"2650062B", true},  // walk-in, own account
        {"2650061B", false}, // walk-in put on a company account
        {"2650001B", false}, // registered out-patient
        {"261018", false},   // an admission
        {"NOSUCH", false},   {"26500'62B", false},
    };
    for (const auto &[id, expected] : cases)
        EXPECT_EQ(list->CheckCash(QString::fromUtf8(id)), expected) << id;
}

TEST_P(PatientList, ReceivableEntryOnlyForEmployeesWithTheRight)
{
    const std::pair<const char *, bool> cases[] = {
        {"1001", true},  {"1005", true},  {"1002", false},
        {"1003", false}, {"1007", false}, {"10'01", false},
    };
    const char *const locked[] = {"cmdPatientList", "cmdRegister", "cmdPharmacy", "cmdCSRRequest",
                                  "cmdResultEntry"};
    for (const auto &[employee, granted] : cases) {
        SCOPED_TRACE(employee);
        list.reset();
        main = std::make_unique<test::FakePanel>();
        list = std::make_unique<frmSearchPatient>(*db, main.get());
        list->setReceivableEntryAvailable(true);
        list->setEmployeeCode(QString::fromUtf8(employee));
        messages.clear();
        g.ReceivableMode = !granted;
        QSignalSpy requested(list.get(), &frmSearchPatient::receivableEntryRequested);
        list->lblReceivableEntry->click();
        EXPECT_EQ(g.ReceivableMode, granted);
        EXPECT_EQ(requested.count(), granted ? 1 : 0);
        for (const char *name : locked)
            EXPECT_EQ(main->buttonEnabled(name), !granted) << name;
        EXPECT_TRUE(main->buttonEnabled("cmdPostCharge"));
        EXPECT_TRUE(main->buttonEnabled("cmdCash"));
        EXPECT_EQ(main->postChargeCaption,
                  granted ? QStringLiteral("Receivable Entry") : QStringLiteral("Post &Charge"));
        if (granted) {
            EXPECT_TRUE(messages.shown().empty());
        } else {
            ASSERT_EQ(messages.shown().size(), 1u);
            EXPECT_EQ(messages.lastText(), QStringLiteral("Unauthorized user"));
            EXPECT_EQ(messages.lastTitle(), QStringLiteral("Information"));
            EXPECT_EQ(messages.shown().back().icon, widgets::MessageService::Question);
        }
    }
}

// Until the receivable list exists nothing would end receivable entry: the
// link stays off and starts nothing, even for an employee with the right.
TEST_P(PatientList, ReceivableEntryWaitsForTheReceivableList)
{
    list->setEmployeeCode(QStringLiteral("1001"));
    EXPECT_FALSE(list->lblReceivableEntry->isEnabled());
    QSignalSpy requested(list.get(), &frmSearchPatient::receivableEntryRequested);
    list->receivableEntry();
    EXPECT_FALSE(g.ReceivableMode);
    EXPECT_EQ(requested.count(), 0);
    EXPECT_EQ(main->postChargeCaption, QStringLiteral("Post &Charge"));
    list->setReceivableEntryAvailable(true);
    list->lblReceivableEntry->click();
    EXPECT_TRUE(g.ReceivableMode);
    EXPECT_EQ(requested.count(), 1);
}

TEST_P(PatientList, ClosingTellsTheMainWindowAndLeavesItsButtonsAlone)
{
    pressEnterOn(list->ListView1, list->ListView1->topLevelItem(0));
    ASSERT_TRUE(main->isMenuEnabled(platform::MainAction::PatientLedger));
    // Disabled for a user without the rights: only the main window may restore them.
    main->setButton("cmdPostCharge", false);
    main->setButton("cmdPharmacy", false);
    QSignalSpy unloaded(list.get(), &frmSearchPatient::unloaded);
    EXPECT_TRUE(list->close());
    EXPECT_EQ(unloaded.count(), 1);
    EXPECT_FALSE(g.PatientListLoaded);
    EXPECT_FALSE(main->isMenuEnabled(platform::MainAction::PatientLedger));
    EXPECT_FALSE(main->buttonEnabled("cmdPostCharge"));
    EXPECT_FALSE(main->buttonEnabled("cmdPharmacy"));
    list.reset();
    EXPECT_EQ(unloaded.count(), 1);

    // Destroyed without a close: told once all the same.
    list = std::make_unique<frmSearchPatient>(*db, main.get());
    EXPECT_TRUE(g.PatientListLoaded);
    int told = 0;
    QObject::connect(list.get(), &frmSearchPatient::unloaded, [&] { ++told; });
    list.reset();
    EXPECT_EQ(told, 1);
    EXPECT_FALSE(g.PatientListLoaded);
}

TEST_P(PatientList, DatasheetShortcutsWaitForADatasheetThenNameTheirTab)
{
    QSignalSpy requested(list.get(), &frmSearchPatient::datasheetRequested);
    patients::LinkLabel *labels[] = {list->Label7[0], list->Label7[1], list->Label7[2],
                                     list->lblProcedures};
    for (auto *label : labels) {
        EXPECT_FALSE(label->isEnabled());
        label->click();
    }
    EXPECT_EQ(requested.count(), 0);

    list->setDatasheetAvailable(true);
    for (auto *label : labels)
        label->click();
    ASSERT_EQ(requested.count(), 4);
    const std::pair<int, QString> expected[] = {
        {0, QString()}, {2, QStringLiteral("XR")}, {5, QString()}, {0, QString()}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(requested.at(i).at(0).toInt(), expected[i].first) << i;
        EXPECT_EQ(requested.at(i).at(1).toString(), expected[i].second) << i;
    }
}

CHEMODESK_ENGINE_TESTS(PatientList);

// The texts themselves, as the server receives them.
TEST(PatientListTexts, ModesAndSearchTextsAreSentEscaped)
{
    session::resetGlobals();
    test::ScriptedMessages messages;
    chemodesk::testing::RecordingConnection db;
    test::FakePanel main;
    frmSearchPatient list(db, &main);
    EXPECT_EQ(db.texts(), QStringList{"Clinical_Area..spCancer_GetPatient 'C','','',''"});

    db.clearRecord();
    list.txtSearch[0]->setText(QStringLiteral("O'C"));
    list.optPatientType[0]->click();
    list.chkPrevious->setChecked(true);
    list.vkCommand1->click();
    list.optPatientType[2]->click();
    list.vkCommand1->click();
    list.optPatientType[1]->click();
    list.vkCommand1->click();
    EXPECT_EQ(db.texts(), (QStringList{"Clinical_Area..spCancer_GetPatient 'I','O''C','',''",
                                       "Clinical_Area..spCancer_GetPatient 'T','O''C','',''",
                                       "Clinical_Area..spCancer_GetPatient 'O','O''C','',''",
                                       "Clinical_Area..spCancer_GetPatient 'D','O''C','',''",
                                       "Clinical_Area..spCancer_GetPatient 'C','O''C','',''",
                                       "Clinical_Area..spCancer_GetPatient 'C','O''C','',''"}));

    db.clearRecord();
    list.setEmployeeCode(QStringLiteral("1001"));
    list.setReceivableEntryAvailable(true);
    list.lblReceivableEntry->click();
    EXPECT_EQ(db.texts(),
              QStringList{"Select * from Clinical_Area..tbCancerUserSetting where EmpID = '1001'"});
    db.clearRecord();
    list.CheckCash(QStringLiteral("26'5"));
    EXPECT_EQ(db.texts(),
              QStringList{"Select * from Patient_data..tboutPatient where idnum = '26''5'"});
    session::resetGlobals();
}

TEST(PatientListTexts, AFailingListIsShownAndTheListStaysUsable)
{
    session::resetGlobals();
    test::ScriptedMessages messages;
    chemodesk::testing::RecordingConnection db;
    db.failOn(QStringLiteral("Clinical_Area..spCancer_GetPatient 'C','','',''"),
              QStringLiteral("Timeout expired"));
    test::FakePanel main;
    frmSearchPatient list(db, &main);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.lastText(), QStringLiteral("Timeout expired"));
    EXPECT_EQ(messages.shown().back().icon, widgets::MessageService::Critical);
    EXPECT_EQ(list.ListView1->topLevelItemCount(), 0);
    EXPECT_TRUE(session::globals().PatientListLoaded);

    db.answer(QStringLiteral("Clinical_Area..spCancer_GetPatient 'I','','',''"),
              chemodesk::testing::table(
                  {"Hospital #", "Admission #", "Patient Name", "admission date", "Billing Date"},
                  {{"H1", "1", "A, B", QVariant(), QVariant()}}));
    list.optPatientType[0]->click();
    ASSERT_EQ(list.ListView1->topLevelItemCount(), 1);
    EXPECT_EQ(list.ListView1->topLevelItem(0)->text(AdmissionDate), QString());
    session::resetGlobals();
}

} // namespace
