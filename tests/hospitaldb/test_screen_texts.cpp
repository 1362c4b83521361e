// The texts the session, patient-selection, charging and package code sends, taken
// from that code as it runs on a demo database of each engine: the rows they
// find and the columns the code then reads by name.

#include "charging/chargesave.h"
#include "charging/frmcharge.h"
#include "charging/frmchargeslipverification.h"
#include "charging/pricerules.h"
#include "charging/revenuecode.h"
#include "charging/serviceprice.h"
#include "components/itemlookup.h"
#include "components/keyaid.h"
#include "components/medicinecatalogue.h"
#include "components/medicinelist.h"
#include "database/forwardingconnection.h"
#include "database/sqltext.h"
#include "packages/clsbuildpack.h"
#include "packages/packagedialogs.h"
#include "patients/frmsearcher.h"
#include "patients/patientlist.h"
#include "session/dialogs/frmdeletepassword.h"
#include "session/dialogs/frmusersearching.h"
#include "session/globals.h"
#include "session/module1.h"
#include "session/rights.h"
#include "shell/mainrules.h"
#include "support/chargeparts.h"
#include "support/enginetest.h"
#include "support/scriptedmessages.h"
#include "support/textrecorder.h"

#include <QDateTime>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

using namespace chemodesk;
using namespace chemodesk::charging;

namespace {

using chemodesk::testing::TextRecorder;

// The value a copied text embeds between two apostrophes.
QString e(const char *value)
{
    return sql::escape(QString::fromUtf8(value));
}

QString q(const char *value)
{
    return QString::fromUtf8(value);
}

// One column of the first row: a text, or Null where the code tests for it.
struct Value {
    const char *column;
    std::optional<QString> text;
};
const std::nullopt_t Null = std::nullopt;

using Drive = std::function<void(Connection &)>;

struct Case {
    // The code run through the recorder, and a part of the one text of those
    // it sent that the case is about (the last text holding it is taken).
    Drive drive;
    const char *sends;
    int rows;
    std::vector<Value> values;
    // For a text that returns nothing: the query whose result shows its effect
    // (rows and values then describe that query).
    QString check = {};
    // A text no code can be made to send here, run as written (see its case).
    QString copy = {};
};

// A test's own query, not a text of the code: run as written.
Case query(QString text, int rows, std::vector<Value> values)
{
    return {nullptr, nullptr, rows, std::move(values), {}, std::move(text)};
}

// The demo database is dated 2026-12-01; the clock is fixed a little later.
const QDateTime Now(QDate(2026, 12, 1), QTime(10, 30, 0));
const char *const NowText = "2026-12-01 10:30:00";

session::Globals &g()
{
    return session::globals();
}

using Components = test::ChargeParts;

// The charge screen opened for an admission, as the main window opens it.
Drive chargeScreen(Connection &database, const char *idNum, const char *hospNum,
                   std::function<void(frmCharge &)> then = {})
{
    return [&database, idNum, hospNum, then](Connection &c) {
        Components parts(database);
        frmCharge screen(c, parts.refs(),
                         {QStringLiteral("PATIENT"), q(hospNum), q(idNum), QString(),
                          QStringLiteral("1001"), QStringLiteral("I")});
        screen.show();
        if (then)
            then(screen);
    };
}

void enter(frmCharge &screen, const char *text)
{
    QTest::keyClicks(screen.txtEntry, q(text));
    QTest::keyClick(screen.txtEntry, Qt::Key_Return);
}

// The booklet dialog with an employee number typed.
Drive booklet(const char *employee)
{
    return [employee](Connection &c) {
        frmChargeSlipVerification dialog(c);
        dialog.show();
        QTest::keyClicks(dialog.txtEmployeeID, q(employee));
        QTest::keyClick(dialog.txtEmployeeID, Qt::Key_Return);
    };
}

// A text built by the code's own builder, sent as the screen sends it.
Drive sent(QString text)
{
    return [text](Connection &c) { c.Execute(text); };
}

// ----------------------------------------------------------------- packages

// A grid that keeps the package's items as charge lines.
struct PackageLines : packages::PackageTarget {
    std::vector<ChargeLine> lines;
    void appendPackageItem(const packages::PackageInfo &p, const packages::PackageItem &i) override
    {
        ChargeLine line;
        line.dept = i.revenue;
        line.item = i.item;
        line.description = i.description;
        line.quantity = i.quantity;
        line.amount = i.amount;
        line.location = i.location;
        line.packageCode = p.code;
        lines.push_back(line);
    }
};

struct BuildLines : packages::BuildGrid {
    std::vector<packages::BuildRow> rows;
    std::vector<packages::BuildRow> buildRows() const override { return rows; }
    void clearBuildRows() override { rows.clear(); }
    void appendBuildRow(const packages::BuildRow &row) override { rows.push_back(row); }
    void setBuildHeader(const QString &, const QString &, const QString &) override {}
};

std::vector<Case> packageCases(Connection &database)
{
    auto pack = [](std::function<void(packages::clsBuildPack &)> then) -> Drive {
        return [then](Connection &c) {
            packages::clsBuildPack p(c, QStringLiteral("1005"));
            p.setPackageHeader({q("0"), q("TEST PACKAGE"), QString()});
            then(p);
        };
    };
    auto pick = [](bool outPatient, int row) -> Drive {
        return [=](Connection &c) {
            std::unique_ptr<packages::PackagePick> dialog;
            if (outPatient)
                dialog = std::make_unique<packages::frmOPDPackage>(c);
            else
                dialog = std::make_unique<packages::frmListPackage>(c);
            dialog->choosePackage(row);
        };
    };
    auto build = [](const char *code, bool update) -> Drive {
        return [=](Connection &c) {
            BuildLines grid;
            grid.rows = {
                {q("LB"), q("1001"), q("COMPLETE BLOOD COUNT (CBC)"), q("1"), q("350")},
                {q("KM"), q("10017"), q("ONDANSETRON 8MG/4ML AMPULE"), q("2"), q("425.50")}};
            packages::clsBuildPack p(c, QStringLiteral("1005"));
            p.setPackageHeader({q("0"), q("TEST PACKAGE"), QString()});
            if (update)
                p.SaveUpdatePackage(q(code), grid);
            else
                p.SaveBuildPackage(q(code), grid);
        };
    };
    // PKG01 saved under the next slip of admission 261018 from its lines.
    auto savePackage = [&database](Connection &c) {
        PackageLines grid;
        packages::clsBuildPack(database, QStringLiteral("1005")).LoadPackage(q("PKG01"), grid);
        components::MedicineCatalogue catalogue(database);
        SlipHeader header;
        header.hospNum = QStringLiteral("1000018");
        header.idNum = QStringLiteral("261018");
        header.userId = QStringLiteral("1001");
        header.employeeCode = QStringLiteral("1005");
        saveChargeSlip(c, catalogue.Drug(), header, grid.lines);
    };
    const QString packageCharges = QStringLiteral(
        "select count(*) as N from Clinical_Area..tbCancerCharges where PackageID = 'PKG01' ");
    return {
        // The package model.
        {pack([](auto &p) { p.CheckPackCode(q("PKG01")); }),
         "select packagecode",
         7,
         {{"packagecode", "PKG01"}}},
        {pack([](auto &p) { p.ValidateCode(q("PKG02")); }),
         "tbHemoPackage where",
         6,
         {{"PackageType", "0"}, {"PackageName", "PACLITAXEL-CARBOPLATIN CYCLE"}}},
        {pack([](auto &p) { p.ValidateCode(q("PKG9")); }), "tbHemoPackage where", 0, {}},
        {pack([](auto &p) { p.GetLocationID(q("KU")); }),
         "tbcorevenuecode",
         1,
         {{"LocationID", "200"}}},
        {pack([](auto &p) { p.GetLocationID(q("LB")); }),
         "tbcorevenuecode",
         1,
         {{"LocationID", Null}}},
        {pack([](auto &p) {
             PackageLines grid;
             p.LoadPackage(q("PKG01"), grid);
         }),
         "select Revenueid, Itemid, ItemDescription, Quantity, Amount, PackageName",
         7,
         {{"PackageName", "CHEMO DAY CARE PACKAGE (HMO)"},
          {"PackageCode", "PKG01"},
          {"PackageAmount", "6500"}}},
        {pack([](auto &p) {
             BuildLines grid;
             p.LoadBuildPackage(q("PKG03"), grid);
         }),
         "select PackageType, Revenueid",
         4,
         {{"PackageType", "0"},
          {"PackageName", "BLOOD TRANSFUSION PACKAGE"},
          {"packageamount", "0"}}},
        {pack([](auto &p) {
             PackageLines grid;
             p.LoadAssessPackage(q("PKG03"), grid);
         }),
         "CountLoad",
         1,
         {{"Countload", "4"}}},
        {pack([](auto &p) {
             PackageLines grid;
             p.LoadAssessPackage(q("PKG03"), grid);
         }),
         "select PackageType, PackageName, PackageCode",
         4,
         {{"PackageCode", "PKG03"}, {"PackageType", "0"}}},
        {build("PKG09", false),
         "spKidney_BuildPackage",
         2,
         {{"UserID", "1005"}},
         QStringLiteral(
             "select UserID from hemodialysis..tbhemopackage where packagecode = 'PKG09'")},
        {build("PKG09", true),
         "spKidney_UpdatePackage",
         1,
         {{"N", "2"}},
         QStringLiteral("select count(*) as N from hemodialysis..tbhemopackage "
                        "where packagecode = 'PKG09' and PackageName = 'TEST PACKAGE'")},
        // The pick dialogs.
        // The three demo packages and PKG09 built above.
        {pick(false, 0),
         "sp_Get_AdmPackages 15",
         4,
         {{"Code", "PKG01"},
          {"Description", "CHEMO DAY CARE PACKAGE (HMO)"},
          {"GrossTotal", "6500"}}},
        {pick(false, 1),
         "Clinical_Area..sp_Get_ADMPackage_Items 'PKG02',15",
         6,
         {{"Code", "10002"}, {"Revenue", "KM"}, {"Qty", "1"}, {"Location", "199"}}},
        {pick(true, 2),
         "STATION..sp_Get_ADMPackage_Items 'PKG03'",
         4,
         {{"Code", "20009"},
          {"Revenue", "KU"},
          {"Description", "BLOOD TRANSFUSION SET"},
          {"Location", "200"}}},
        {[](Connection &c) {
             packages::frmListPackageCharges dialog(c);
             dialog.setRefNum(q("K5012C"));
             dialog.setIdNum(
                 c.Execute(QStringLiteral("select max(IdNum) from Clinical_Area..tbCancerCharges "
                                          "where ChargeSlip = 'K5012C'"))
                     .Fields(0)
                     .trimmed());
             dialog.setPackageCode(q("PKG02"));
             dialog.load();
         },
         "spKidney_GetPackageCharges",
         6,
         {{"RevenueID", "KM"}, {"RequestStatus", "X"}}},
        // Saving package lines: each save draws the next slip (G1521C on: the
        // slip saved without lines above took G1520C).
        {savePackage,
         "spCancer_GetPackageItems 'PKG01'",
         7,
         {{"RevenueID", "KM"},
          {"ItemID", "10017"},
          {"Quantity", "2"},
          {"InvCode", "KM"},
          {"LocationID", "199"},
          {"ItemDescription", "ONDANSETRON 8MG/4ML AMPULE"}}},
        // Sent again by the case: the unit's service, twice. (The screen's text reads the
        // package's items in no stated order, so the line is found by its item.)
        {savePackage,
         "spCancer_AppendChargingNew '1000018','261018','8001'",
         1,
         {{"N", "2"}},
         packageCharges + QStringLiteral("and ChargeSlip = 'G1522C' and ItemID = '8001'")},
        {savePackage,
         "SET PackageID",
         1,
         {{"N", "5"}},
         QStringLiteral("select count(*) as N from INVENTORY..tbInvStockCard where "
                        "PackageID = 'PKG01' and RefNum = 'G1523C'")},
    };
}

std::vector<Case> cases(Connection &database)
{
    auto accountOf = [](const char *patientClass, const char *idNum) -> Drive {
        return [=](Connection &c) { session::IsChargeAccount(c, q(idNum), q(patientClass)); };
    };
    auto billed = [](const char *idNum) -> Drive {
        return [=](Connection &c) { session::IsAccountBilled(c, q(idNum)); };
    };
    auto rights = [](const char *employee) -> Drive {
        return [=](Connection &c) { session::ReadUserRights(c, q(employee)); };
    };
    auto receivable = [](const char *employee) -> Drive {
        return [=](Connection &c) { patients::HasReceivableRight(c, q(employee)); };
    };
    auto location = [](const char *code) -> Drive {
        return [=](Connection &c) {
            QString found;
            CheckLocationID(c, q(code), found);
        };
    };
    auto stockLocation = [](const char *code) -> Drive {
        return [=](Connection &c) {
            QString found, stockcard;
            CheckLocationID(c, q(code), found, stockcard);
        };
    };
    auto fixRate = [](const char *dept, const char *item) -> Drive {
        return [=](Connection &c) { IsMarkupAllowed(c, q(dept), q(item)); };
    };
    auto labSection = [](const char *exam) -> Drive {
        return [=](Connection &c) { GetLabSectionID(c, q(exam)); };
    };
    auto station = [](const char *idNum) -> Drive {
        return [=](Connection &c) { Check_IfICURate(c, q(idNum)); };
    };
    auto erNum = [](const char *idNum) -> Drive {
        return [=](Connection &c) { Check_IfERRate(c, q(idNum)); };
    };
    auto hmo = [](const char *idNum) -> Drive {
        return [=](Connection &c) { Check_IfHMO(c, q(idNum)); };
    };
    auto roomClass = [](const char *idNum) -> Drive {
        return [=](Connection &c) { GetRoomClass(c, q(idNum)); };
    };
    auto doctor = [](const char *id) -> Drive {
        return [=](Connection &c) { session::IsCoDoctor(c, q(id)); };
    };
    auto inventoryType = [](const char *id) -> Drive {
        return [=](Connection &c) { session::GetInventoryType(c, q(id)); };
    };
    auto cash = [](const char *idNum) -> Drive {
        return [=](Connection &c) { patients::CheckCash(c, q(idNum)); };
    };
    // The rate rules each ask only when their rate is allowed.
    auto rateRule = [](std::function<void(Connection &, RateSettings &)> rule) -> Drive {
        return [rule](Connection &c) {
            RateSettings settings;
            settings.isAllowWeekendRate = true;
            settings.isAllowAfterFivePMRate = true;
            rule(c, settings);
        };
    };

    // The main window's own look-ups before it opens a screen.
    auto mainRoomClass = [](const char *idNum) {
        return [idNum](Connection &c) { shell::RoomClassOf(c, q(idNum)); };
    };
    auto chargeable = [](shell::RequestKind kind, const char *idNum) {
        return [kind, idNum](Connection &c) { shell::RequestChargeable(c, kind, q(idNum)); };
    };
    using shell::RequestKind;
    // The screen asks the shelf only for an item the location stocks, and no
    // department of the demo data issues from location 22.
    const QString onHand =
        QStringLiteral("select isnull(OnHand,0)Onhand from INVENTORY..tbinvent where ItemID = '");
    auto copied = query;

    return {
        // Server clock and hospital information, read at start.
        {[](Connection &c) { session::GetServerDate(c); },
         "ServerDate",
         1,
         {{"ServerDate", NowText}}},
        {[](Connection &c) { session::ReadHospitalInfoA(c); },
         "tbhospitalInfo",
         1,
         {{"company", "MABINI VALLEY MEDICAL CENTER"},
          {"ClientName", "MVMC"},
          {"Address1", "Gen. Luna St., Brgy. Poblacion, Santa Cruz, Laguna"},
          {"scdgetipdprice", "0"},
          {"ByGeneric", "0"}}},
        {[](Connection &c) { session::ReadHospitalInfoB(c); },
         "AllowZeroOnHand",
         1,
         {{"ServerDate", NowText},
          {"AllowZeroOnHand", "1"},
          {"PhoneNum", "(049) 501-2345"},
          {"Address", "Gen. Luna St., Brgy. Poblacion, Santa Cruz, Laguna"}}},
        {[](Connection &c) { session::GetHospitalInfo(c); },
         "tbKidneySettings",
         1,
         {{"HemoPackageId", "PKG"},
          {"ShowPackagedetail", "Y"},
          {"EnableAssessment", "1"},
          {"AllowEditAmount", "0"},
          {"IsAllowAssessmentRateG", "0"},
          {"AllowRegisterPatient", "1"},
          {"AllowPrintRequestForm", "1"}}},

        // Module1 look-ups.
        {doctor("101"), "tbCoDoctor", 1, {{"DoctorID", "101"}}},
        {doctor("1'01"), "tbCoDoctor", 0, {}},
        {inventoryType("20"), "tbInvLocation", 1, {{"InventoryType", "M"}}},
        {inventoryType("21"), "tbInvLocation", 1, {{"InventoryType", "S"}}},
        {inventoryType("99"), "tbInvLocation", 0, {}},

        // Charge account: a company or HMO account, a Null account (read as
        // empty), a personal account equal to the hospital number.
        {accountOf("I", "261001"),
         "AccountNum",
         1,
         {{"AccountNum", "HLTHPLUS"}, {"Hospnum", "1000001"}}},
        {accountOf("I", "261003"), "AccountNum", 1, {{"AccountNum", ""}, {"HospNum", "1000003"}}},
        {accountOf("I", "261006"),
         "AccountNum",
         1,
         {{"AccountNum", "1000006"}, {"HospNum", "1000006"}}},
        {accountOf("I", "2650001B"), "AccountNum", 0, {}},
        {accountOf("O", "2650001B"),
         "AccountNum",
         1,
         {{"AccountNum", "BAYANIHMO"}, {"HospNum", "1000081"}}},
        {accountOf("O", "2650062B"),
         "AccountNum",
         1,
         {{"AccountNum", "1000142"}, {"HospNum", "1000142"}}},
        {accountOf("O", "2650003B"), "AccountNum", 1, {{"AccountNum", ""}}},

        // Billed accounts: only registrations not yet discharged are found.
        {billed("261010"),
         "BillingDate",
         1,
         {{"Idnum", "261010"}, {"BillingDate", "2026-12-01 08:00:00"}}},
        {billed("261001"), "BillingDate", 1, {{"BillingDate", Null}}},
        {billed("261061"), "BillingDate", 0, {}},
        {billed("999999"), "BillingDate", 0, {}},
        {billed("2650003B"), "BillingDate", 1, {{"BillingDate", "2026-11-30 21:30:00"}}},
        {billed("2650001B"), "BillingDate", 1, {{"IdNum", "2650001B"}, {"BillingDate", Null}}},
        {billed("2650002B"), "BillingDate", 0, {}},

        // Rights rows: all granted, some granted, all Null, none at all.
        {rights("1001"),
         "tbCancerUserSetting",
         1,
         {{"isCashAssessment", "1"},
          {"isPostCharge", "1"},
          {"isMaintenance", "1"},
          {"isCancelCharges", "1"}}},
        {rights("1002"),
         "tbCancerUserSetting",
         1,
         {{"isCashAssessment", "0"},
          {"isNurseActivity", "1"},
          {"isPostCharge", "1"},
          {"isCSRReqeust", "1"},
          {"isPHRequest", "1"},
          {"isMaintenance", "0"},
          {"isReports", "1"},
          {"isPatientLedger", "1"}}},
        {rights("1007"),
         "tbCancerUserSetting",
         1,
         {{"isPostCharge", Null}, {"isReports", Null}, {"isPatientLedger", Null}}},
        {rights("1003"), "tbCancerUserSetting", 0, {}},
        {receivable("1005"),
         "tbCancerUserSetting",
         1,
         {{"isReceivableEntry", "1"}, {"isCancelCharges", "0"}}},
        {receivable("1002"),
         "tbCancerUserSetting",
         1,
         {{"isReceivableEntry", "0"}, {"isCancelCharges", "0"}}},
        // The charge screen reads the cancel right of the signed-in employee.
        {chargeScreen(database, "261018", "1000018"),
         "tbCancerUserSetting",
         1,
         {{"isReceivableEntry", "1"}, {"isCancelCharges", "1"}}},
        {[](Connection &c) { session::DepartmentPassword(c); },
         "OPDPassword",
         1,
         {{"OPDPassword", "CANCER"}}},
        {sent(session::EmployeeSearchById(QStringLiteral("1001"))),
         "tbpasswordmaster",
         1,
         {{"EmployeeID", "1001"}, {"EmployeeName", "DELA CRUZ , ROSARIO"}}},
        {sent(session::EmployeeSearchByName(QStringLiteral("MEN"))),
         "tbpasswordmaster",
         1,
         {{"EmployeeID", "1005"}, {"EmployeeName", "MENDOZA , LORNA"}}},
        {sent(session::EmployeeSearchByName(QStringLiteral("O'"))), "tbpasswordmaster", 0, {}},

        // Main window: room class of an admission; charge-to-account flags.
        {mainRoomClass("261018"), "RoomClassID", 1, {{"RoomClassID", "C"}}},
        {mainRoomClass("261001"), "RoomClassID", 1, {{"RoomClassID", "D"}}},
        {mainRoomClass("2650001B"), "RoomClassID", 0, {}},
        {chargeable(RequestKind::CentralSupply, "261006"), "Okeycs", 1, {{"OkeyCS", "0"}}},
        {chargeable(RequestKind::CentralSupply, "261001"), "Okeycs", 1, {{"OkeyCS", "1"}}},
        {chargeable(RequestKind::CentralSupply, "2650001B"), "Okeycs", 0, {}},
        {chargeable(RequestKind::Pharmacy, "261018"), "Okeyph", 1, {{"OkeyPH", "0"}}},
        {chargeable(RequestKind::Pharmacy, "261006"), "Okeyph", 1, {{"OkeyPH", "1"}}},

        // Patient list: walk-in cash patients; the ultrasound picker.
        {cash("2650062B"),
         "tboutPatient",
         1,
         {{"PatientType", "W"}, {"AccountNum", "1000142"}, {"HospNum", "1000142"}}},
        {cash("2650001B"), "tboutPatient", 1, {{"PatientType", "O"}, {"AccountNum", "BAYANIHMO"}}},
        {sent(patients::frmSearcher::listText()), "tbcoultraexam", 6, {}},
        {sent(patients::frmSearcher::narrowedText(QStringLiteral("PELVIC"))),
         "tbcoultraexam",
         1,
         {{"ultraexam", "PELVIC ULTRASOUND"}, {"ultraexamid", "3003"}}},
        {sent(patients::frmSearcher::narrowedText(QStringLiteral("KUB'"))), "tbcoultraexam", 0, {}},

        // Departments and their stock locations.
        {location("PH"), "tbCoRevenueCode", 1, {{"LocationID", "20"}}},
        {location("LB"), "tbCoRevenueCode", 1, {{"LocationID", ""}}},
        {location("ZZ"), "tbCoRevenueCode", 0, {}},
        {stockLocation("CS"),
         "tbCoRevenuecode",
         1,
         {{"LocationID", "21"}, {"StockcardRevenueid", "CS"}}},
        {stockLocation("LB"),
         "tbCoRevenuecode",
         1,
         {{"LocationID", Null}, {"StockcardRevenueid", Null}}},

        // Rate settings and the calendar tests.
        {[](Connection &c) {
             RateSettings settings;
             LoadRateSettings(c, settings);
         },
         "tbHemo_settings",
         1,
         {{"isAllowNewHemoStatRate", "1"},
          {"isAllowERRate", "0"},
          {"isAllowICURate", "1"},
          {"HolidayRate", "30"},
          {"MaxMarkupRate", "50"}}},
        {rateRule([](Connection &c, RateSettings &s) { ApplyMarkup(c, s); }),
         "tbHemo_settings",
         1,
         {{"isAssesmentMarkUp", "1"},
          {"isAllowHMORate", "1"},
          {"WeekendAfterFive", "30"},
          {"dtWeekendEndMarkup", "1900-01-01 23:59:59"}}},
        {rateRule([](Connection &c, RateSettings &s) { IsWeekendMarkup(c, s); }),
         "tbhospitalinfo",
         1,
         {{"Time", NowText},
          {"dtWeekendStartMarkup", "1900-01-01 00:00:00"},
          {"dtWeekendEndMarkup", "1900-01-01 23:59:59"}}},
        {rateRule([](Connection &c, RateSettings &s) { IsAfterFivePM(c, s); }),
         "tbhospitalinfo",
         1,
         {{"Time", NowText}}},
        {fixRate("LB", "1001"), "FixRate", 1, {{"Fixrate", "N"}}},
        {fixRate("LB", "1021"), "FixRate", 1, {{"Fixrate", "Y"}}},
        {fixRate("CT", "4001"), "FixRate", 1, {{"FixRate", "Y"}}},
        // The price rules never ask this of medicines and supplies (they take
        // no markup); copied to show the listing holds none.
        copied(
            QStringLiteral("Select FixRate from Billing..tbBillExamListing where RevenueID = '") +
                e("PH") + QStringLiteral("' and ItemID = '") + e("10001") + u'\'',
            0, {}),
        {labSection("1007"), "LabSectionID", 1, {{"LabSectionID", "CH"}}},
        {labSection("1021"), "LabSectionID", 1, {{"LabSectionID", "IS"}}},
        {labSection("9999"), "LabSectionID", 0, {}},

        // Service price rules: intensive care, emergency room, HMO, room class.
        {station("261001"), "StationID", 1, {{"StationID", "ICU"}}},
        {station("261008"), "StationID", 1, {{"StationID", "PICU"}}},
        {station("261018"), "StationID", 1, {{"StationID", "4W"}}},
        {station("2650001B"), "StationID", 0, {}},
        {[](Connection &c) { GetICURate(c, QStringLiteral("8001")); },
         "TbCoOtherRevenue",
         1,
         {{"IcuRate", "1875"}, {"RateI", "1800"}, {"RateA", "1500"}}},
        {[](Connection &c) { GetERRate(c, QStringLiteral("1001")); }, "TbCoOtherRevenue", 0, {}},
        {erNum("2650005B"), "ERNum", 1, {{"ERNum", "ER26-00023"}}},
        {erNum("2650001B"), "ERNum", 1, {{"ERNum", Null}}},
        {erNum("261002"), "ERNum", 0, {}},
        {hmo("2650001B"), "Accountnum", 1, {{"AccountNum", "BAYANIHMO"}}},
        {hmo("2650002B"), "Accountnum", 1, {{"AccountNum", "50002"}}},
        {[](Connection &c) { GetHMORate(c, QStringLiteral("LB"), QStringLiteral("1001")); },
         "TbCoOtherRevenue",
         1,
         {{"RateH", "400"}, {"OtherRevenue", "COMPLETE BLOOD COUNT (CBC)"}}},
        {[](Connection &c) { GetHMORate(c, QStringLiteral("ON"), QStringLiteral("8001")); },
         "TbCoOtherRevenue",
         1,
         {{"RateH", "1725"}}},
        {roomClass("261018"), "RoomClassID", 1, {{"RoomClassID", "C"}}},
        {roomClass("261006"), "RoomClassID", 1, {{"RoomClassID", "A"}}},
        {roomClass("2650001B"), "RoomClassID", 0, {}},
        {[](Connection &c) { StatPrice(c, 100); },
         "tbCancer_settings",
         1,
         {{"HemoStatRate", "25"},
          {"MaxMarkupRate", "50"},
          {"StatAndWeekendRate", "40"},
          {"StatAndAfterFivePmRate", "35"},
          {"HolidayRate", "30"}}},

        // Charge entry: senior citizens, the room, stock on hand.
        {chargeScreen(database, "261018", "1000018"),
         "tbMaster",
         1,
         {{"SeniorCitizen", "1"}, {"LastName", "O'CAMPO"}}},
        {chargeScreen(database, "261001", "1000001"), "tbMaster", 1, {{"SeniorCitizen", "0"}}},
        {chargeScreen(database, "261018", "1000018"), "roomid from", 1, {{"RoomID", "404"}}},
        {chargeScreen(database, "261018", "1000018",
                      [](frmCharge &screen) {
                          enter(screen, "ph");
                          enter(screen, "10009");
                      }),
         "OnHand",
         1,
         {{"OnHand", "0"}}},
        copied(onHand + e("10017") + QStringLiteral("' and LocationID = '") + e("22") + u'\'', 1,
               {{"OnHand", "40"}}),
        copied(onHand + e("10017") + QStringLiteral("' and LocationID = '") + e("21") + u'\'', 0,
               {}),

        // Charge-slip booklets.
        {booklet("1001"),
         "tbPAsswordMaster",
         1,
         {{"FirstName", "ROSARIO"}, {"MiddleName", "MANALO"}, {"LastName", "DELA CRUZ"}}},
        {booklet("9999"), "tbPAsswordMaster", 0, {}},
        {booklet("1002"), "tbKidneyChargeSlip", 1, {{"ChargeSlip", "5101"}}},
        // 1003 has a master row but no booklet, so the dialog asks for it.
        {booklet("1003"), "tbKidneyChargeSlip", 0, {}},

        // Saving charges: a package's stock cards (tied by the package cases
        // below), the print table emptied. Each effect is first shown absent.
        query(
            QStringLiteral(
                "select count(*) as Tied from INVENTORY..tbInvStockCard where PackageID = 'PKG01'"),
            1, {{"Tied", "0"}}),
        query(QStringLiteral("select count(*) as Lines from Clinical_Area..tbCancerChargePrint"), 1,
              {{"Lines", "4"}}),
        // A slip saved without lines: the number drawn, the print table emptied.
        {[&database](Connection &c) {
             components::MedicineCatalogue catalogue(database);
             SlipHeader header;
             header.hospNum = QStringLiteral("1000018");
             header.idNum = QStringLiteral("261018");
             header.userId = QStringLiteral("1001");
             saveChargeSlip(c, catalogue.Drug(), header, {});
         },
         "tbCancerChargePrint",
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

void runCase(db::HostedConnection &database, const Case &c)
{
    try {
        QString text = c.copy;
        if (c.drive) {
            TextRecorder recorder(database);
            c.drive(recorder);
            const QStringList sent =
                recorder.texts.filter(QLatin1String(c.sends), Qt::CaseInsensitive);
            ASSERT_FALSE(sent.isEmpty()) << "nothing holding " << c.sends << " among:\n"
                                         << recorder.texts.join(QLatin1Char('\n')).toStdString();
            text = sent.last();
        }
        SCOPED_TRACE(text.toStdString());
        if (!c.check.isEmpty()) {
            EXPECT_EQ(database.Execute(text).State(), Recordset::adStateClosed);
        }
        Recordset rs = database.Execute(c.check.isEmpty() ? text : c.check);
        ASSERT_EQ(rs.RecordCount(), c.rows);
        for (const Value &value : c.values)
            expectValue(rs, value);
    } catch (const DatabaseError &error) {
        ADD_FAILURE() << error.what();
    }
}

class ScreenTextTest : public test::EngineTest {
protected:
    void TearDown() override { session::resetGlobals(); }
};

TEST_P(ScreenTextTest, FindWhatTheScreensRead)
{
    test::ScriptedMessages messages; // the charge screen and booklet dialog say what they find
    session::resetGlobals();
    db->setClockFixed(Now);
    g().DbConnection = db.get();
    session::ReadHospitalInfoB(*db); // the charge screen asks the shelf only when it must
    for (const Case &c : cases(*db))
        runCase(*db, c);
    for (const Case &c : packageCases(*db))
        runCase(*db, c);
}

CHEMODESK_ENGINE_TESTS(ScreenTextTest);

} // namespace
