#include "session/dialogs/windows.h"
#include "session/globals.h"
#include "session/module1.h"
#include "support/recordingconnection.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTemporaryDir>
#include <QWidget>

#include <functional>
#include <optional>
#include <ostream>

namespace {

using chemodesk::DatabaseError;
using chemodesk::Field;
using chemodesk::testing::RecordingConnection;
using chemodesk::testing::table;
namespace session = chemodesk::session;

class Module1 : public ::testing::Test {
protected:
    void SetUp() override { session::resetGlobals(); }
    void TearDown() override { session::resetGlobals(); }

    session::Globals &g = session::globals();
};

const QDateTime Noon(QDate(2024, 3, 5), QTime(12, 0, 0));

TEST_F(Module1, IsChargeAccountTellsPersonalFromChargeAccounts)
{
    const QString inpatient = QStringLiteral("Select isnull(AccountNum,'') AccountNum, Hospnum "
                                             "from Patient_data..tbpatient where  idnum  = '1001'");
    const QString outpatient =
        QStringLiteral("Select isnull(AccountNum,'') AccountNum, Hospnum from "
                       "Patient_data..tboutpatient where  idnum  = '1001'");
    const struct {
        const char *name;
        const char *patientClass;
        std::optional<std::vector<QVariant>> row; // AccountNum, Hospnum
        bool expected;
        QString text;
    } cases[] = {
        {"no registration row", "I", std::nullopt, false, inpatient},
        {"Null account", "I", std::vector<QVariant>{QVariant(), "H77"}, false, inpatient},
        {"blank account", "I", std::vector<QVariant>{"  ", "H77"}, false, inpatient},
        {"account is the hospital number", "I", std::vector<QVariant>{"H77", "H77"}, false,
         inpatient},
        {"company account", "I", std::vector<QVariant>{"C0042", "H77"}, true, inpatient},
        {"out-patient", "O", std::vector<QVariant>{"C0042", "H77"}, true, outpatient},
        {"cash patient reads out-patients", "C", std::vector<QVariant>{"C0042", "H77"}, true,
         outpatient},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        RecordingConnection db;
        if (c.row)
            db.answer(c.text,
                      table({QStringLiteral("AccountNum"), QStringLiteral("Hospnum")}, {*c.row}));
        EXPECT_EQ(session::IsChargeAccount(db, QStringLiteral("1001"),
                                           QString::fromLatin1(c.patientClass)),
                  c.expected);
        EXPECT_EQ(db.texts(), QStringList{c.text});
    }
}

TEST_F(Module1, IsAccountBilledChoosesTheTableByTheNumber)
{
    const auto text = [](const char *table, const char *idNum) {
        return QStringLiteral("Select Idnum, BillingDate from PATIENT_DATA..%1 where idnum = '%2' "
                              "and dcrdate is null")
            .arg(QLatin1String(table), QLatin1String(idNum));
    };
    const struct {
        const char *name;
        const char *idNum;
        const char *table;
        std::optional<QVariant> billingDate; // no row when absent
        bool expected;
    } cases[] = {
        {"billed admission", "12345", "tbpatient", QVariant(Noon), true},
        {"open admission", "12345", "tbpatient", QVariant(), false},
        {"discharged admission (no open row)", "12345", "tbpatient", std::nullopt, false},
        {"billed registration", "2301B", "tbOutpatient", QVariant(Noon), true},
        {"open registration", "2301B", "tbOutpatient", QVariant(), false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        RecordingConnection db;
        const QString expectedText = text(c.table, c.idNum);
        if (c.billingDate)
            db.answer(expectedText, table({QStringLiteral("Idnum"), QStringLiteral("BillingDate")},
                                          {{QString::fromLatin1(c.idNum), *c.billingDate}}));
        EXPECT_EQ(session::IsAccountBilled(db, QString::fromLatin1(c.idNum)), c.expected);
        EXPECT_EQ(db.texts(), QStringList{expectedText});
    }
}

TEST_F(Module1, IsNumericFollowsAdmissionNumbers)
{
    const struct {
        const char *text;
        bool numeric;
    } cases[] = {
        {"12345", true},  {" 12345 ", true}, {"-3", true},     {"1.5", true},
        {"", false},      {"   ", false},    {"2301B", false}, {"O'Brien", false},
        {"12 34", false}, {"inf", false},    {"nan", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(session::IsNumeric(QString::fromLatin1(c.text)), c.numeric) << c.text;
}

TEST_F(Module1, GetServerDateKeepsTheOldValueWithoutADate)
{
    const QString text =
        QStringLiteral("Select GetDate() As ServerDate From Patient_Data..tbHospitalInfo");
    const QDateTime before(QDate(2020, 1, 1), QTime(8, 0));
    const struct {
        const char *name;
        std::optional<QVariant> serverDate;
        QDateTime expected;
    } cases[] = {
        {"a row", QVariant(Noon), Noon},
        {"no row", std::nullopt, before},
        {"Null", QVariant(), before},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        RecordingConnection db;
        if (c.serverDate)
            db.answer(text, table({QStringLiteral("ServerDate")}, {{*c.serverDate}}));
        g.ServerDate = before;
        session::GetServerDate(db);
        EXPECT_EQ(g.ServerDate, c.expected);
        EXPECT_EQ(db.texts(), QStringList{text});
    }
}

const QStringList SettingsColumns = {
    QStringLiteral("HemoPackageId"),          QStringLiteral("ShowPackagedetail"),
    QStringLiteral("EnableAssessment"),       QStringLiteral("AllowEditAmount"),
    QStringLiteral("IsAllowAssessmentRateG"), QStringLiteral("AllowRegisterPatient"),
    QStringLiteral("AllowPrintRequestForm"),
};
const QString SettingsText = QStringLiteral("SELECT * FROM HEMODIALYSIS..tbKidneySettings");

TEST_F(Module1, GetHospitalInfoReadsNullsAsEmptyAndFalse)
{
    g.HemoPackageId = QStringLiteral("old");
    g.ShowPackagedetail = QStringLiteral("old");
    g.EnableAssessment = g.AllowEditAmount = g.IsAllowAssessmentRateG = true;
    g.AllowRegisterPatient = g.AllowPrintRequestForm = true;

    RecordingConnection db;
    db.answer(SettingsText, table(SettingsColumns, {std::vector<QVariant>(7)}));
    session::GetHospitalInfo(db);

    EXPECT_EQ(g.HemoPackageId, QString());
    EXPECT_EQ(g.ShowPackagedetail, QString());
    EXPECT_FALSE(g.EnableAssessment);
    EXPECT_FALSE(g.AllowEditAmount);
    EXPECT_FALSE(g.IsAllowAssessmentRateG);
    EXPECT_FALSE(g.AllowRegisterPatient);
    EXPECT_FALSE(g.AllowPrintRequestForm);
}

TEST_F(Module1, GetHospitalInfoStoresTheSettingsRow)
{
    RecordingConnection db;
    db.answer(SettingsText, table(SettingsColumns, {{"PKG01", "Y", true, 1, false, "True", 0}}));
    session::GetHospitalInfo(db);

    EXPECT_EQ(g.HemoPackageId, QStringLiteral("PKG01"));
    EXPECT_EQ(g.ShowPackagedetail, QStringLiteral("Y"));
    EXPECT_TRUE(g.EnableAssessment);
    EXPECT_TRUE(g.AllowEditAmount);
    EXPECT_FALSE(g.IsAllowAssessmentRateG);
    EXPECT_TRUE(g.AllowRegisterPatient);
    EXPECT_FALSE(g.AllowPrintRequestForm);

    // Without a settings row the values stay.
    RecordingConnection empty;
    session::GetHospitalInfo(empty);
    EXPECT_EQ(g.HemoPackageId, QStringLiteral("PKG01"));
    EXPECT_TRUE(g.EnableAssessment);
}

TEST_F(Module1, HospitalInformationQueries)
{
    RecordingConnection db;
    db.answer(
        QStringLiteral("select * from PATIENT_DATA..tbhospitalInfo"),
        table({QStringLiteral("company"), QStringLiteral("ClientName"), QStringLiteral("Address1"),
               QStringLiteral("scdgetipdprice"), QStringLiteral("ByGeneric")},
              {{"Demo General Hospital", QVariant(), "12 Main Street", true, QVariant()}}));
    db.answer(
        QStringLiteral(
            "Select top 1 Getdate() [ServerDate],isnull(PhoneNum,'')PhoneNum, Company [Company], "
            "Address1 [Address], isnull(ClientName,'') as ClientName, isnull(ExDiscCashSupply,0) "
            "as "
            "ExDiscCashSupply, isnull(AllowZeroOnHand,0) as AllowZeroOnHand, "
            "isnull(AllowPriceChange,0) as AllowPriceChange, isnull(CompanyMarkup,0) as "
            "CompanyMarkup, isnull(isPharmaOptDiscountType, 0) as isPharmaOptDiscountType, "
            "isnull(isValidateCardNumber,0) as isValidateCardNumber, isnull(isMarkUpGroup,0) as "
            "isMarkUpGroup, isnull(isEmpOutPrice,0) as isEmpOutPrice  From "
            "Patient_Data..tbHospitalInfo"),
        table({QStringLiteral("PhoneNum"), QStringLiteral("AllowZeroOnHand")},
              {{"555-0100", true}}));

    session::ReadHospitalInfoA(db);
    session::ReadHospitalInfoB(db);

    EXPECT_EQ(g.HospitalName, QStringLiteral("Demo General Hospital"));
    EXPECT_EQ(g.ClientName, QString());
    EXPECT_EQ(g.HospitalAddress, QStringLiteral("12 Main Street"));
    EXPECT_TRUE(g.SeniorGetsIpdPrice);
    EXPECT_FALSE(g.DrugListByGeneric);
    EXPECT_EQ(g.HospitalPhone, QStringLiteral("555-0100"));
    EXPECT_TRUE(g.allowZeroOnHand());
}

TEST_F(Module1, AllowZeroOnHandReadsAsAFlag)
{
    const struct {
        const char *text;
        bool on;
    } cases[] = {{"1", true},  {"-1", true}, {"True", true},   {" true ", true},
                 {"0", false}, {"", false},  {"False", false}, {"N", false}};
    for (const auto &c : cases) {
        g.AllowZeroOnHand = QString::fromLatin1(c.text);
        EXPECT_EQ(g.allowZeroOnHand(), c.on) << c.text;
    }
}

TEST_F(Module1, ValuesWithApostrophesAreDoubledInTheTexts)
{
    const QString name = QStringLiteral("O'Brien");
    const struct {
        const char *name;
        std::function<void(RecordingConnection &)> call;
        QString text;
    } cases[] = {
        {"IsChargeAccount",
         [&](RecordingConnection &db) { session::IsChargeAccount(db, name, QStringLiteral("O")); },
         QStringLiteral(
             "Select isnull(AccountNum,'') AccountNum, Hospnum from Patient_data..tboutpatient "
             "where  idnum  = 'O''Brien'")},
        {"IsAccountBilled", [&](RecordingConnection &db) { session::IsAccountBilled(db, name); },
         QStringLiteral(
             "Select Idnum, BillingDate from PATIENT_DATA..tbOutpatient where idnum = 'O''Brien' "
             "and dcrdate is null")},
        {"IsCoDoctor", [&](RecordingConnection &db) { session::IsCoDoctor(db, name); },
         QStringLiteral("Select DoctorID from Build_File..tbCoDoctor Where DoctorID = 'O''Brien'")},
        {"GetInventoryType", [&](RecordingConnection &db) { session::GetInventoryType(db, name); },
         QStringLiteral(
             "Select Isnull(InventoryType,'') As InventoryType From INVENTORY..tbInvLocation "
             "Where LocationID ='O''Brien'")},
        {"VerifyChargeSlip", [&](RecordingConnection &db) { session::VerifyChargeSlip(db, name); },
         QStringLiteral("laboratory..Verifiy_Chargeslip 'O''Brien'")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        RecordingConnection db;
        c.call(db);
        EXPECT_EQ(db.texts(), QStringList{c.text});
    }
}

TEST_F(Module1, LookupsAnswerByRow)
{
    const QString doctorText =
        QStringLiteral("Select DoctorID from Build_File..tbCoDoctor Where DoctorID = 'D12'");
    const QString inventoryText =
        QStringLiteral("Select Isnull(InventoryType,'') As InventoryType From "
                       "INVENTORY..tbInvLocation Where LocationID ='21'");
    const QString slipText = QStringLiteral("laboratory..Verifiy_Chargeslip 'G1520C'");

    RecordingConnection none;
    EXPECT_FALSE(session::IsCoDoctor(none, QStringLiteral("D12")));
    EXPECT_EQ(session::GetInventoryType(none, QStringLiteral("21")), QString());
    EXPECT_FALSE(session::VerifyChargeSlip(none, QStringLiteral("G1520C")));
    EXPECT_EQ(none.texts(), (QStringList{doctorText, inventoryText, slipText}));

    RecordingConnection found;
    found.answer(doctorText, table({QStringLiteral("DoctorID")}, {{"D12"}}));
    found.answer(inventoryText, table({QStringLiteral("InventoryType")}, {{"S"}}));
    found.answer(slipText, table({QStringLiteral("ChargeSlip")}, {{"G1520C"}}));
    EXPECT_TRUE(session::IsCoDoctor(found, QStringLiteral("D12")));
    EXPECT_EQ(session::GetInventoryType(found, QStringLiteral("21")), QStringLiteral("S"));
    EXPECT_TRUE(session::VerifyChargeSlip(found, QStringLiteral("G1520C")));
}

TEST_F(Module1, DatabaseErrorsReachTheCaller)
{
    RecordingConnection db;
    db.failOn(
        QStringLiteral("Select Idnum, BillingDate from PATIENT_DATA..tbpatient where idnum = '7' "
                       "and dcrdate is null"));
    EXPECT_THROW(session::IsAccountBilled(db, QStringLiteral("7")), DatabaseError);
}

TEST_F(Module1, SetTranslucentTakesLevelsFrom0To255)
{
    const struct {
        int level;
        int result;
        double opacity; // after the call; starts at 0.5
    } cases[] = {
        {-1, 1, 0.5}, {0, 0, 0.0}, {128, 0, 128 / 255.0}, {255, 0, 1.0}, {256, 1, 0.5},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.level);
        QWidget window;
        window.setWindowOpacity(0.5);
        const double before = window.windowOpacity();
        EXPECT_EQ(session::SetTranslucent(&window, c.level), c.result);
        const double expected = c.result == 0 ? c.opacity : before;
        EXPECT_NEAR(window.windowOpacity(), expected, 1e-9);
    }
    EXPECT_EQ(session::SetTranslucent(nullptr, 128), 2);
    QWidget parent;
    QWidget child(&parent);
    EXPECT_EQ(session::SetTranslucent(&child, 128), 2);
}

TEST_F(Module1, UpperKey)
{
    const struct {
        int key;
        int expected;
    } cases[] = {
        {0, 0},
        {'a', 'A'},
        {'z', 'Z'},
        {'Q', 'Q'},
        {'7', '7'},
        {8, 8},       // backspace
        {13, 13},     // enter
        {0xE9, 0xC9}, // e acute
        {Qt::Key_Escape, Qt::Key_Escape},
    };
    for (const auto &c : cases)
        EXPECT_EQ(session::UpperKey(c.key), c.expected) << c.key;
}

TEST_F(Module1, NullToSpace)
{
    QVariant null;
    EXPECT_EQ(session::NullToSpace(null), QStringLiteral(" "));
    EXPECT_EQ(null, QVariant(QStringLiteral(" "))) << "the blank is written back";

    QVariant typed(QMetaType::fromType<QString>()); // a Null as the database hands it back
    EXPECT_EQ(session::NullToSpace(typed), QStringLiteral(" "));

    QVariant empty(QString(QLatin1String("")));
    EXPECT_EQ(session::NullToSpace(empty), QString());
    EXPECT_EQ(empty, QVariant(QString(QLatin1String(""))));

    QVariant number(12);
    EXPECT_EQ(session::NullToSpace(number), QStringLiteral("12"));

    EXPECT_EQ(session::NullToSpace(Field(QStringLiteral("Diet"), QVariant())), QStringLiteral(" "));
    EXPECT_EQ(session::NullToSpace(Field(QStringLiteral("Diet"), QStringLiteral("SOFT"))),
              QStringLiteral("SOFT"));
}

TEST_F(Module1, SetDepartmentConstantsOnlyForTheCancerDepartment)
{
    session::SetDepartmentConstants(QStringLiteral("7"));
    EXPECT_EQ(g.DepartmentCode, QString());

    session::SetDepartmentConstants(QStringLiteral("8"));
    EXPECT_EQ(g.DepartmentCode, QStringLiteral("8"));
    EXPECT_EQ(g.DepartmentName, QStringLiteral("CANCER"));
    EXPECT_EQ(g.PasswordDeptCode, QStringLiteral("9"));
}

TEST_F(Module1, FileExistsOnlyForFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("present.dat"));
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.close();

    EXPECT_TRUE(session::FileExists(file));
    EXPECT_FALSE(session::FileExists(dir.path()));
    EXPECT_FALSE(session::FileExists(dir.filePath(QStringLiteral("absent.dat"))));
    EXPECT_FALSE(session::FileExists(QString()));
}

TEST_F(Module1, CloseOtherFormsLeavesTheMainWindowAndThePatientList)
{
    QWidget main;
    main.setObjectName(QStringLiteral("frmMain"));
    auto *area = new QMdiArea(&main);
    auto *chargeForm = new QWidget;
    chargeForm->setObjectName(QStringLiteral("frmCharge"));
    QPointer<QMdiSubWindow> charge = area->addSubWindow(chargeForm);
    auto *listForm = new QWidget;
    listForm->setObjectName(QStringLiteral("frmHemoPatients"));
    QPointer<QMdiSubWindow> list = area->addSubWindow(listForm);
    main.show();

    QWidget datasheet;
    datasheet.setObjectName(QStringLiteral("frmFinal"));
    datasheet.show();
    QWidget patients;
    patients.setObjectName(QStringLiteral("frmHemoPatients"));
    patients.show();

    session::CloseOtherForms();

    EXPECT_TRUE(main.isVisible());
    EXPECT_TRUE(patients.isVisible());
    EXPECT_FALSE(datasheet.isVisible());
    EXPECT_TRUE(list && list->isVisible());
    EXPECT_TRUE(!charge || !charge->isVisible());
}

} // namespace
