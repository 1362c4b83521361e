// Demo users of the cancer unit (station "ON"): employee id and access code,
// for signing in and for confirming saves.
//
//   Employee  Name                        Access code  Rights
//   1001      DELA CRUZ, ROSARIO M.       ROSE1001     every right (head nurse)
//   1002      VILLANUEVA, JOHN PAUL S.    JPV1002      post charge, nurse activity, CSR and
//                                                      pharmacy requests, reports, ledger
//   1003      BAUTISTA, ANA LIZA P.       ANA1003      none: no rights row at all (unit clerk)
//   1004      GARCIA, MARK ANTHONY L.     MARK1004     nurse activity, CSR and pharmacy requests
//   1005      MENDOZA, LORNA A.           LORNA1005    cash assessment, post charge, reports,
//                                                      receivable entry, ledger
//   1006      RAMOS, EDGARDO C.           EDGAR1006    none; a pharmacist (department "PH"), so
//                                                      the unit's access check refuses him
//   1007      AGUILAR, MARICEL T.         MARI1007     a rights row whose flags are all Null
//
// Department password (User Settings, System's Settings): CANCER

#include "demoparts.h"

#include "session/scrambler.h"

namespace chemodesk::hospital::demo {

namespace {

// ---------------------------------------------------------------- settings

void hospitalSettings(Connection &c)
{
    insertRows(
        c, QStringLiteral("PATIENT_DATA..tbHospitalInfo"),
        QStringLiteral("HospitalID, Company, ClientName, Address1, Address2, PhoneNum, FaxNum, "
                       "OPDPassword, scdgetipdprice, ByGeneric, ExDiscCashSupply, "
                       "AllowZeroOnHand, AllowPriceChange, CompanyMarkup, "
                       "isPharmaOptDiscountType, isValidateCardNumber, isMarkUpGroup, "
                       "isEmpOutPrice, dtWeekendStartMarkup, dtWeekendEndMarkup"),
        {{num(1),
          str(QStringLiteral("MABINI VALLEY MEDICAL CENTER")),
          str(QStringLiteral("MVMC")),
          str(QStringLiteral("Gen. Luna St., Brgy. Poblacion, Santa Cruz, Laguna")),
          str(QStringLiteral("4009 Laguna, Philippines")),
          str(QStringLiteral("(049) 501-2345")),
          str(QStringLiteral("(049) 501-2346")),
          str(QStringLiteral("CANCER")),
          flag(false),
          flag(false),
          flag(false),
          flag(true),
          flag(false),
          money(0),
          flag(false),
          flag(false),
          flag(false),
          flag(false),
          str(QStringLiteral("1900-01-01 00:00:00")),
          str(QStringLiteral("1900-01-01 23:59:59"))}});

    insertRows(c, QStringLiteral("HEMODIALYSIS..tbKidneySettings"),
               QStringLiteral("SettingID, HemoPackageId, ShowPackagedetail, EnableAssessment, "
                              "AllowEditAmount, IsAllowAssessmentRateG, AllowRegisterPatient, "
                              "AllowPrintRequestForm"),
               {{num(1), str(QStringLiteral("PKG")), str(QStringLiteral("Y")), flag(true),
                 flag(false), flag(false), flag(true), flag(true)}});

    // The ER rule is off: with it on, every out-patient with a registration
    // row is priced at the emergency-room rate (RateI), an ER number or not,
    // and the HMO rule is never reached.
    insertRows(
        c, QStringLiteral("HEMODIALYSIS..tbHemo_settings"),
        QStringLiteral("SettingID, isAllowNewHemoStatRate, isAllowHolidayRate, "
                       "isAllowAfterFivePMRate, isAllowWeekendRate, "
                       "isAllowAfterFiveLabChemOnly, isAllowAfterFiveAllRevenues, HemoStatRate, "
                       "HolidayRate, AfterFivePmRate, WeekendRate, HolidayAndWeekend, "
                       "HolidayAndAfterFivePmRate, WeekendAfterFive, StatAndAfterFivePmRate, "
                       "StatAndWeekendRate, MaxMarkupRate, isAssesmentMarkUp, isPostChargeMarkUp, "
                       "isAllowafter11amMarkup, isAllowOFWRate, IsAllowOPDShowLabSpecimen, "
                       "isAllowERRate, isAllowICURate, isAllowHMORate, dtWeekendStartMarkup, "
                       "dtWeekendEndMarkup, dtSundayStartMarkup, dtSundayEndMarkup"),
        {{num(1),
          flag(true),
          flag(true),
          flag(true),
          flag(true),
          flag(false),
          flag(true),
          num(25),
          num(30),
          num(15),
          num(20),
          num(40),
          num(40),
          num(30),
          num(35),
          num(40),
          num(50),
          flag(true),
          flag(true),
          flag(false),
          flag(false),
          flag(true),
          flag(false),
          flag(true),
          flag(true),
          str(QStringLiteral("1900-01-01 00:00:00")),
          str(QStringLiteral("1900-01-01 23:59:59")),
          str(QStringLiteral("1900-01-01 00:00:00")),
          str(QStringLiteral("1900-01-01 23:59:59"))}});

    insertRows(c, QStringLiteral("CLINICAL_AREA..tbCancer_settings"),
               QStringLiteral("SettingID, HemoStatRate, MaxMarkupRate, StatAndWeekendRate, "
                              "StatAndAfterFivePmRate, HolidayRate"),
               {{num(1), num(25), num(50), num(40), num(35), num(30)}});
}

// --------------------------------------------------------------- employees

void employees(Connection &c)
{
    struct Employee {
        const char *id;
        const char *last;
        const char *first;
        const char *middle;
        const char *code;
        const char *department;
        const char *designation;
    };
    const Employee list[] = {
        {"1001", "DELA CRUZ", "ROSARIO", "MANALO", "ROSE1001", "ON", "HEAD NURSE"},
        {"1002", "VILLANUEVA", "JOHN PAUL", "SORIANO", "JPV1002", "ON", "STAFF NURSE"},
        {"1003", "BAUTISTA", "ANA LIZA", "PEREZ", "ANA1003", "ON", "UNIT CLERK"},
        {"1004", "GARCIA", "MARK ANTHONY", "LOPEZ", "MARK1004", "ON", "STAFF NURSE"},
        {"1005", "MENDOZA", "LORNA", "ABAD", "LORNA1005", "ON", "BILLING LIAISON"},
        {"1006", "RAMOS", "EDGARDO", "CHAVEZ", "EDGAR1006", "PH", "PHARMACIST"},
        {"1007", "AGUILAR", "MARICEL", "TAN", "MARI1007", "ON", "NURSE SUPERVISOR"},
    };
    std::vector<QStringList> rows;
    for (const Employee &e : list) {
        const QString scrambled =
            session::Scramble(QStringLiteral("E"), QLatin1String(session::AccessCodeKey),
                              QLatin1String(e.code))
                .trimmed();
        rows.push_back({str(QLatin1String(e.id)), str(QLatin1String(e.last)),
                        str(QLatin1String(e.first)), str(QLatin1String(e.middle)), str(scrambled),
                        str(QLatin1String(e.department)), str(QLatin1String(e.designation))});
    }
    insertRows(
        c, QStringLiteral("PASSWORD..tbPasswordMaster"),
        QStringLiteral(
            "EmployeeID, LastName, FirstName, MiddleName, AccessCode, DepartmentID, Designation"),
        rows);

    // Flags in the order of the rights screen's check boxes; "-" stores a Null.
    auto rights = [](const char *id, const char *bits) {
        QStringList row{str(QLatin1String(id))};
        for (const char *b = bits; *b; ++b)
            row << (*b == '-' ? null() : QString(QChar(*b)));
        row << str(QStringLiteral("1001")) << date(at(Today.addDays(-30), 8, 0));
        return row;
    };
    insertRows(
        c, QStringLiteral("CLINICAL_AREA..tbCancerUserSetting"),
        QStringLiteral(
            "EmpID, isCashAssessment, isNurseActivity, isPostCharge, isCSRReqeust, isPHRequest, "
            "isMaintenance, isReports, isReceivableEntry, isPatientLedger, isCancelCharges, "
            "UpdatedBy, UpdatedDate"),
        {rights("1001", "1111111111"), rights("1002", "0111101010"), rights("1004", "0101100000"),
         rights("1005", "1010001110"), rights("1007", "----------")});

    insertRows(c, QStringLiteral("HEMODIALYSIS..tbKidneyChargeSlip"),
               QStringLiteral("EmployeeID, ChargeSlip, StartSlip, EndSlip, DateIssued"),
               {{str(QStringLiteral("1001")), num(5013), num(5001), num(5050),
                 date(at(Today.addDays(-40), 8, 0))},
                {str(QStringLiteral("1002")), num(5101), num(5101), num(5150),
                 date(at(Today.addDays(-12), 8, 0))},
                {str(QStringLiteral("1004")), num(5238), num(5201), num(5250),
                 date(at(Today.addDays(-60), 8, 0))}});
}

} // namespace

void loadSession(Part &part)
{
    hospitalSettings(part.connection);
    employees(part.connection);
    if (part.extraRow)
        insertRows(
            part.connection, QStringLiteral("PASSWORD..tbPasswordMaster"),
            QStringLiteral("EmployeeID, LastName, FirstName, DepartmentID"),
            {{str(QStringLiteral("1099")), str(QString::fromUtf8(part.random.pick(Surnames))),
              str(QString::fromUtf8(part.random.pick(FemaleNames))), str(QStringLiteral("ON"))}});
}

} // namespace chemodesk::hospital::demo
