// The plain texts the session, patient-selection and charging screens send,
// each with values from the demo data, run on every engine: the rows they
// find and the columns the screens then read by name.

#include "database/sqltext.h"
#include "support/enginetest.h"

#include <QDateTime>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace chemodesk;

namespace {

// The value a screen embeds between two apostrophes.
QString e(const char *value)
{
    return sql::escape(QString::fromUtf8(value));
}

// One column of the first row: a text, or Null where the screen tests for it.
struct Value {
    const char *column;
    std::optional<QString> text;
};
const std::nullopt_t Null = std::nullopt;

struct Case {
    QString text;
    int rows;
    std::vector<Value> values;
    // For a text that returns nothing: the query whose result shows its effect
    // (rows and values then describe that query).
    QString check = {};
};

// The demo database is dated 2026-12-01; the clock is fixed a little later.
const QDateTime Now(QDate(2026, 12, 1), QTime(10, 30, 0));
const char *const NowText = "2026-12-01 10:30:00";

std::vector<Case> cases()
{
    const QString userSetting = QStringLiteral("Select * from CLINICAL_AREA..tbCancerUserSetting where EmpID = '");
    const QString userSettingMixed = QStringLiteral("Select * from Clinical_Area..tbCancerUserSetting where EmpID = '");
    const QString chargeAccountIn =
        QStringLiteral("Select isnull(AccountNum,'') AccountNum, Hospnum from Patient_data..tbpatient where  idnum  = '");
    const QString chargeAccountOut =
        QStringLiteral("Select isnull(AccountNum,'') AccountNum, Hospnum from Patient_data..tboutpatient where  idnum  = '");
    const QString billedIn = QStringLiteral("Select Idnum, BillingDate from PATIENT_DATA..tbpatient where idnum = '");
    const QString billedOut = QStringLiteral("Select Idnum, BillingDate from PATIENT_DATA..tbOutpatient where idnum = '");
    const QString employeeSearch = QStringLiteral(
        "select EmployeeID , isnull(LastName,'') + ' , ' +  isnull(FirstName,'') as EmployeeName from "
        "Password..tbpasswordmaster ");
    const QString roomClassMain = QStringLiteral("Select B.RoomClassID from Patient_data..tbPatient A left outer join") +
                                  QStringLiteral(" build_file..tbcoroom B on A.Roomid = B.roomid ") +
                                  QStringLiteral("left outer join ") +
                                  QStringLiteral(" Build_File..tbCoRoomClass C on B.roomclassid = c.roomclassid ") +
                                  QStringLiteral(" where A.Idnum = '");
    const QString roomClassCharge = QStringLiteral("select Isnull(B.RoomClassID,'A')RoomClassID from Patient_data..tbPatient A ") +
                                    QStringLiteral("Left Outer Join BUILD_FILE..TbCoRoom B on A.RoomID = B.RoomID ") +
                                    QStringLiteral("where A.Idnum = '");
    const QString icuStation = QStringLiteral("Select B.StationID From PATIENT_DATA..tbPatient A") +
                               QStringLiteral(" INNER JOIN BUILD_FILE..TbCoRoom B ON A.RoomID = B.RoomID") +
                               QStringLiteral(" Where A.IdNum =  '");
    const QString unitService = QStringLiteral("Select * from BUILD_FILE..TbCoOtherRevenue") +
                                QStringLiteral(" where OtherSectionID = 'ON' And OtherRevenueID = '");
    const QString hmoService = QStringLiteral("Select * from BUILD_FILE..TbCoOtherRevenue Where OtherSectionID = '");
    const QString fixRate = QStringLiteral("Select FixRate from Billing..tbBillExamListing where RevenueID = '");
    const QString onHand = QStringLiteral("select isnull(OnHand,0)Onhand from INVENTORY..tbinvent where ItemID = '");
    const QString okeyCs = QStringLiteral("select Okeycs from patient_data..tbpatient2 where idnum = '");
    const QString okeyPh = QStringLiteral("select Okeyph from patient_data..tbpatient2 where idnum = '");

    return {
        // Server clock and hospital information, read at start.
        {QStringLiteral("Select GetDate() As ServerDate From Patient_Data..tbHospitalInfo"), 1, {{"ServerDate", NowText}}},
        {QStringLiteral("select * from PATIENT_DATA..tbhospitalInfo"),
         1,
         {{"company", "MABINI VALLEY MEDICAL CENTER"},
          {"ClientName", "MVMC"},
          {"Address1", "Gen. Luna St., Brgy. Poblacion, Santa Cruz, Laguna"},
          {"scdgetipdprice", "0"},
          {"ByGeneric", "0"}}},
        {QStringLiteral("Select top 1 Getdate() [ServerDate],isnull(PhoneNum,'')PhoneNum, Company [Company], Address1 "
                        "[Address], isnull(ClientName,'') as ClientName, isnull(ExDiscCashSupply,0) as ExDiscCashSupply, "
                        "isnull(AllowZeroOnHand,0) as AllowZeroOnHand, isnull(AllowPriceChange,0) as AllowPriceChange, "
                        "isnull(CompanyMarkup,0) as CompanyMarkup, isnull(isPharmaOptDiscountType, 0) as "
                        "isPharmaOptDiscountType, isnull(isValidateCardNumber,0) as isValidateCardNumber, "
                        "isnull(isMarkUpGroup,0) as isMarkUpGroup, isnull(isEmpOutPrice,0) as isEmpOutPrice  From "
                        "Patient_Data..tbHospitalInfo"),
         1,
         {{"ServerDate", NowText}, {"AllowZeroOnHand", "1"}, {"PhoneNum", "(049) 501-2345"}, {"Address", "Gen. Luna St., Brgy. Poblacion, Santa Cruz, Laguna"}}},
        {QStringLiteral("SELECT * FROM HEMODIALYSIS..tbKidneySettings"),
         1,
         {{"HemoPackageId", "PKG"},
          {"ShowPackagedetail", "Y"},
          {"EnableAssessment", "1"},
          {"AllowEditAmount", "0"},
          {"IsAllowAssessmentRateG", "0"},
          {"AllowRegisterPatient", "1"},
          {"AllowPrintRequestForm", "1"}}},

        // Module1 look-ups.
        {QStringLiteral("Select DoctorID from Build_File..tbCoDoctor Where DoctorID = '") + e("101") + u'\'', 1, {{"DoctorID", "101"}}},
        {QStringLiteral("Select DoctorID from Build_File..tbCoDoctor Where DoctorID = '") + e("1'01") + u'\'', 0, {}},
        {QStringLiteral("Select Isnull(InventoryType,'') As InventoryType From INVENTORY..tbInvLocation Where LocationID ='") + e("20") + u'\'',
         1,
         {{"InventoryType", "M"}}},
        {QStringLiteral("Select Isnull(InventoryType,'') As InventoryType From INVENTORY..tbInvLocation Where LocationID ='") + e("21") + u'\'',
         1,
         {{"InventoryType", "S"}}},
        {QStringLiteral("Select Isnull(InventoryType,'') As InventoryType From INVENTORY..tbInvLocation Where LocationID ='") + e("99") + u'\'', 0, {}},

        // Charge account: a company or HMO account, a Null account (read as
        // empty), a personal account equal to the hospital number.
        {chargeAccountIn + e("261001") + u'\'', 1, {{"AccountNum", "HLTHPLUS"}, {"Hospnum", "1000001"}}},
        {chargeAccountIn + e("261003") + u'\'', 1, {{"AccountNum", ""}, {"HospNum", "1000003"}}},
        {chargeAccountIn + e("261006") + u'\'', 1, {{"AccountNum", "1000006"}, {"HospNum", "1000006"}}},
        {chargeAccountIn + e("2650001B") + u'\'', 0, {}},
        {chargeAccountOut + e("2650001B") + u'\'', 1, {{"AccountNum", "BAYANIHMO"}, {"HospNum", "1000081"}}},
        {chargeAccountOut + e("2650062B") + u'\'', 1, {{"AccountNum", "1000142"}, {"HospNum", "1000142"}}},
        {chargeAccountOut + e("2650003B") + u'\'', 1, {{"AccountNum", ""}}},

        // Billed accounts: only registrations not yet discharged are found.
        {billedIn + e("261010") + QStringLiteral("' and dcrdate is null"), 1, {{"Idnum", "261010"}, {"BillingDate", "2026-12-01 08:00:00"}}},
        {billedIn + e("261001") + QStringLiteral("' and dcrdate is null"), 1, {{"BillingDate", Null}}},
        {billedIn + e("261061") + QStringLiteral("' and dcrdate is null"), 0, {}},
        {billedIn + e("999999") + QStringLiteral("' and dcrdate is null"), 0, {}},
        {billedOut + e("2650003B") + QStringLiteral("' and dcrdate is null"), 1, {{"BillingDate", "2026-11-30 21:30:00"}}},
        {billedOut + e("2650001B") + QStringLiteral("' and dcrdate is null"), 1, {{"IdNum", "2650001B"}, {"BillingDate", Null}}},
        {billedOut + e("2650002B") + QStringLiteral("' and dcrdate is null"), 0, {}},

        // Rights rows: all granted, some granted, all Null, none at all.
        {userSetting + e("1001") + u'\'',
         1,
         {{"isCashAssessment", "1"}, {"isPostCharge", "1"}, {"isMaintenance", "1"}, {"isCancelCharges", "1"}}},
        {userSetting + e("1002") + u'\'',
         1,
         {{"isCashAssessment", "0"},
          {"isNurseActivity", "1"},
          {"isPostCharge", "1"},
          {"isCSRReqeust", "1"},
          {"isPHRequest", "1"},
          {"isMaintenance", "0"},
          {"isReports", "1"},
          {"isPatientLedger", "1"}}},
        {userSetting + e("1007") + u'\'', 1, {{"isPostCharge", Null}, {"isReports", Null}, {"isPatientLedger", Null}}},
        {userSetting + e("1003") + u'\'', 0, {}},
        {userSettingMixed + e("1005") + u'\'', 1, {{"isReceivableEntry", "1"}, {"isCancelCharges", "0"}}},
        {userSettingMixed + e("1002") + u'\'', 1, {{"isReceivableEntry", "0"}, {"isCancelCharges", "0"}}},
        {userSettingMixed + e("1001") + u'\'', 1, {{"isReceivableEntry", "1"}, {"isCancelCharges", "1"}}},
        {QStringLiteral("select OPDPassword from PATIENT_DATA..tbHospitalInfo"), 1, {{"OPDPassword", "CANCER"}}},
        {employeeSearch + QStringLiteral("where employeeid = '") + e("1001") + u'\'',
         1,
         {{"EmployeeID", "1001"}, {"EmployeeName", "DELA CRUZ , ROSARIO"}}},
        {employeeSearch + QStringLiteral("where LastNAme Like '") + e("MEN") + QStringLiteral("%'"),
         1,
         {{"EmployeeID", "1005"}, {"EmployeeName", "MENDOZA , LORNA"}}},
        {employeeSearch + QStringLiteral("where LastNAme Like '") + e("O'") + QStringLiteral("%'"), 0, {}},

        // Main window: room class of an admission; charge-to-account flags.
        {roomClassMain + e("261018") + u'\'', 1, {{"RoomClassID", "C"}}},
        {roomClassMain + e("261001") + u'\'', 1, {{"RoomClassID", "D"}}},
        {roomClassMain + e("2650001B") + u'\'', 0, {}},
        {okeyCs + e("261006") + u'\'', 1, {{"OkeyCS", "0"}}},
        {okeyCs + e("261001") + u'\'', 1, {{"OkeyCS", "1"}}},
        {okeyCs + e("2650001B") + u'\'', 0, {}},
        {okeyPh + e("261018") + u'\'', 1, {{"OkeyPH", "0"}}},
        {okeyPh + e("261006") + u'\'', 1, {{"OkeyPH", "1"}}},

        // Patient list: walk-in cash patients; the ultrasound picker.
        {QStringLiteral("Select * from Patient_data..tboutPatient where idnum = '") + e("2650062B") + u'\'',
         1,
         {{"PatientType", "W"}, {"AccountNum", "1000142"}, {"HospNum", "1000142"}}},
        {QStringLiteral("Select * from Patient_data..tboutPatient where idnum = '") + e("2650001B") + u'\'',
         1,
         {{"PatientType", "O"}, {"AccountNum", "BAYANIHMO"}}},
        {QStringLiteral("select ultraexam as UtraExam, ultraexamid as UltraExamId from build_file..tbcoultraexam"), 6, {}},
        {QStringLiteral("select ultraexam, ultraexamid from build_file..tbcoultraexam where ultraexam like'") + e("PELVIC") + QStringLiteral("%'"),
         1,
         {{"ultraexam", "PELVIC ULTRASOUND"}, {"ultraexamid", "3003"}}},
        {QStringLiteral("select ultraexam, ultraexamid from build_file..tbcoultraexam where ultraexam like'") + e("KUB'") + QStringLiteral("%'"), 0, {}},

        // Departments and their stock locations.
        {QStringLiteral("Select isnull(locationid,'') AS LocationID from BUILD_FILE..tbCoRevenueCode where revenueid = '") + e("PH") + u'\'',
         1,
         {{"LocationID", "20"}}},
        {QStringLiteral("Select isnull(locationid,'') AS LocationID from BUILD_FILE..tbCoRevenueCode where revenueid = '") + e("LB") + u'\'',
         1,
         {{"LocationID", ""}}},
        {QStringLiteral("Select isnull(locationid,'') AS LocationID from BUILD_FILE..tbCoRevenueCode where revenueid = '") + e("ZZ") + u'\'', 0, {}},
        {QStringLiteral("Select LocationID, StockcardRevenueid from Build_file..tbCoRevenuecode where revenueid = '") + e("CS") + u'\'',
         1,
         {{"LocationID", "21"}, {"StockcardRevenueid", "CS"}}},
        {QStringLiteral("Select LocationID, StockcardRevenueid from Build_file..tbCoRevenuecode where revenueid = '") + e("LB") + u'\'',
         1,
         {{"LocationID", Null}, {"StockcardRevenueid", Null}}},

        // Rate settings and the calendar tests.
        {QStringLiteral("Select * from HemoDialysis..tbHemo_settings"),
         1,
         {{"isAllowNewHemoStatRate", "1"}, {"isAllowERRate", "0"}, {"isAllowICURate", "1"}, {"HolidayRate", "30"}, {"MaxMarkupRate", "50"}}},
        {QStringLiteral("Select * from HEMODIALYSIS..tbHemo_settings"),
         1,
         {{"isAssesmentMarkUp", "1"}, {"isAllowHMORate", "1"}, {"WeekendAfterFive", "30"}, {"dtWeekendEndMarkup", "1900-01-01 23:59:59"}}},
        {QStringLiteral("select getdate()as  Time, * from Patient_data..tbhospitalinfo"),
         1,
         {{"Time", NowText}, {"dtWeekendStartMarkup", "1900-01-01 00:00:00"}, {"dtWeekendEndMarkup", "1900-01-01 23:59:59"}}},
        {QStringLiteral("Select getdate() as Time from patient_data..tbhospitalinfo"), 1, {{"Time", NowText}}},
        {fixRate + e("LB") + QStringLiteral("' and ItemID = '") + e("1001") + u'\'', 1, {{"Fixrate", "N"}}},
        {fixRate + e("LB") + QStringLiteral("' and ItemID = '") + e("1021") + u'\'', 1, {{"Fixrate", "Y"}}},
        {fixRate + e("CT") + QStringLiteral("' and ItemID = '") + e("4001") + u'\'', 1, {{"FixRate", "Y"}}},
        {fixRate + e("PH") + QStringLiteral("' and ItemID = '") + e("10001") + u'\'', 0, {}},
        {QStringLiteral("Select isnull(LabSectionID,'') LabSectionID from Build_File..tbcoLabExam where LabExamID = '") + e("1007") + u'\'',
         1,
         {{"LabSectionID", "CH"}}},
        {QStringLiteral("Select isnull(LabSectionID,'') LabSectionID from Build_File..tbcoLabExam where LabExamID = '") + e("1021") + u'\'',
         1,
         {{"LabSectionID", "IS"}}},
        {QStringLiteral("Select isnull(LabSectionID,'') LabSectionID from Build_File..tbcoLabExam where LabExamID = '") + e("9999") + u'\'', 0, {}},

        // Service price rules: intensive care, emergency room, HMO, room class.
        {icuStation + e("261001") + u'\'', 1, {{"StationID", "ICU"}}},
        {icuStation + e("261008") + u'\'', 1, {{"StationID", "PICU"}}},
        {icuStation + e("261018") + u'\'', 1, {{"StationID", "4W"}}},
        {icuStation + e("2650001B") + u'\'', 0, {}},
        {unitService + e("8001") + u'\'', 1, {{"IcuRate", "1875"}, {"RateI", "1800"}, {"RateA", "1500"}}},
        {unitService + e("1001") + u'\'', 0, {}},
        {QStringLiteral("Select ERNum from PATIENT_DATA..tboutpatient where IDNum = '") + e("2650005B") + u'\'', 1, {{"ERNum", "ER26-00023"}}},
        {QStringLiteral("Select ERNum from PATIENT_DATA..tboutpatient where IDNum = '") + e("2650001B") + u'\'', 1, {{"ERNum", Null}}},
        {QStringLiteral("Select ERNum from PATIENT_DATA..tboutpatient where IDNum = '") + e("261002") + u'\'', 0, {}},
        {QStringLiteral("Select Accountnum from PATIENT_DATA..tboutpatient where IDNum = '") + e("2650001B") + u'\'', 1, {{"AccountNum", "BAYANIHMO"}}},
        {QStringLiteral("Select Accountnum from PATIENT_DATA..tboutpatient where IDNum = '") + e("2650002B") + u'\'', 1, {{"AccountNum", "50002"}}},
        {hmoService + e("LB") + QStringLiteral("' And OtherRevenueID = '") + e("1001") + u'\'', 1, {{"RateH", "400"}, {"OtherRevenue", "COMPLETE BLOOD COUNT (CBC)"}}},
        {hmoService + e("ON") + QStringLiteral("' And OtherRevenueID = '") + e("8001") + u'\'', 1, {{"RateH", "1725"}}},
        {roomClassCharge + e("261018") + u'\'', 1, {{"RoomClassID", "C"}}},
        {roomClassCharge + e("261006") + u'\'', 1, {{"RoomClassID", "A"}}},
        {roomClassCharge + e("2650001B") + u'\'', 0, {}},
        {QStringLiteral("Select * from Clinical_Area..tbCancer_settings"),
         1,
         {{"HemoStatRate", "25"}, {"MaxMarkupRate", "50"}, {"StatAndWeekendRate", "40"}, {"StatAndAfterFivePmRate", "35"}, {"HolidayRate", "30"}}},

        // Charge entry: senior citizens, the room, stock on hand.
        {QStringLiteral("SELECT * FROM PATIENT_DATA..tbMaster Where HospNum = '") + e("1000018") + u'\'',
         1,
         {{"SeniorCitizen", "1"}, {"LastName", "O'CAMPO"}}},
        {QStringLiteral("SELECT * FROM PATIENT_DATA..tbMaster Where HospNum = '") + e("1000001") + u'\'', 1, {{"SeniorCitizen", "0"}}},
        {QStringLiteral("Select roomid from patient_data..tbpatient where idnum = '") + e("261018") + u'\'', 1, {{"RoomID", "404"}}},
        {onHand + e("10009") + QStringLiteral("' and LocationID = '") + e("20") + u'\'', 1, {{"OnHand", "0"}}},
        {onHand + e("10017") + QStringLiteral("' and LocationID = '") + e("22") + u'\'', 1, {{"OnHand", "40"}}},
        {onHand + e("10017") + QStringLiteral("' and LocationID = '") + e("21") + u'\'', 0, {}},

        // Charge-slip booklets.
        {QStringLiteral("SELECT * FROM PASSWORD..tbPAsswordMaster WHERE EMPLOYEEID = '") + e("1001") + u'\'',
         1,
         {{"FirstName", "ROSARIO"}, {"MiddleName", "MANALO"}, {"LastName", "DELA CRUZ"}}},
        {QStringLiteral("SELECT * FROM PASSWORD..tbPAsswordMaster WHERE EMPLOYEEID = '") + e("9999") + u'\'', 0, {}},
        {QStringLiteral("Select * from Hemodialysis..tbKidneyChargeSlip where employeeid = '") + e("1002") + QStringLiteral("' "),
         1,
         {{"ChargeSlip", "5101"}}},
        {QStringLiteral("Select * from Hemodialysis..tbKidneyChargeSlip where employeeid = '") + e("1003") + QStringLiteral("' "), 0, {}},

        // Saving charges: a package's stock cards (the issue and its
        // cancellation share slip and item), the print table emptied. Each
        // effect is first shown absent.
        {QStringLiteral("select count(*) as Tied from INVENTORY..tbInvStockCard where PackageID = 'PKG01'"), 1, {{"Tied", "0"}}},
        {QStringLiteral("select count(*) as Lines from Clinical_Area..tbCancerChargePrint"), 1, {{"Lines", "4"}}},
        {QStringLiteral("UPDATE INVENTORY..tbInvStockCard ") + QStringLiteral("SET PackageID = '") + e("PKG01") + QStringLiteral("'") +
             QStringLiteral(" WHERE ItemID = '") + e("10025") + QStringLiteral("' AND RefNum = '") + e("G1504C") + QStringLiteral("'"),
         1,
         {{"Tied", "2"}, {"ItemID", "10025"}, {"RefNum", "G1504C"}},
         QStringLiteral("select count(*) as Tied, min(ItemID) as ItemID, max(RefNum) as RefNum from INVENTORY..tbInvStockCard "
                        "where PackageID = 'PKG01'")},
        {QStringLiteral("Delete Clinical_Area..tbCancerChargePrint"),
         1,
         {{"Lines", "0"}},
         QStringLiteral("select count(*) as Lines from Clinical_Area..tbCancerChargePrint")},
    };
}

// Texts compare as texts, numbers as numbers (the engines spell money and
// counts differently), a Null only with a Null.
void expectValue(const Recordset &rs, const Value &expected)
{
    SCOPED_TRACE(expected.column);
    const Field field = rs.Fields(QString::fromLatin1(expected.column));
    if (!expected.text) {
        EXPECT_TRUE(field.IsNull()) << field.toString().toStdString();
        return;
    }
    ASSERT_FALSE(field.IsNull());
    const QString actual = field.toString();
    bool expectedIsNumber = false;
    bool actualIsNumber = false;
    const double expectedNumber = expected.text->toDouble(&expectedIsNumber);
    const double actualNumber = actual.trimmed().toDouble(&actualIsNumber);
    if (expectedIsNumber && actualIsNumber) {
        EXPECT_DOUBLE_EQ(actualNumber, expectedNumber) << actual.toStdString();
    } else {
        EXPECT_EQ(actual, *expected.text);
    }
}

void runCase(db::HostedConnection &connection, const Case &c)
{
    SCOPED_TRACE(c.text.toStdString());
    try {
        if (!c.check.isEmpty()) {
            EXPECT_EQ(connection.Execute(c.text).State(), Recordset::adStateClosed);
        }
        Recordset rs = connection.Execute(c.check.isEmpty() ? c.text : c.check);
        ASSERT_EQ(rs.RecordCount(), c.rows);
        for (const Value &value : c.values)
            expectValue(rs, value);
    } catch (const DatabaseError &error) {
        ADD_FAILURE() << error.what();
    }
}

class ScreenTextTest : public test::EngineTest {};

TEST_P(ScreenTextTest, FindWhatTheScreensRead)
{
    db->setClockFixed(Now);
    for (const Case &c : cases())
        runCase(*db, c);
}

CHEMODESK_ENGINE_TESTS(ScreenTextTest);

} // namespace
