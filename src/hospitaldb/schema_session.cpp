#include "schemaparts.h"

// Sign-in, rights, the unit's settings and the hospital's own information.

namespace chemodesk::hospital::schema {

std::vector<db::TableDef> sessionTables()
{
    return {
        table("CLINICAL_AREA", "tbCancerUserSetting",
              "EmpID varchar(10) not null, isCashAssessment bit default 0, "
              "isNurseActivity bit default 0, isPostCharge bit default 0, "
              "isCSRReqeust bit default 0, isPHRequest bit default 0, isMaintenance bit default 0, "
              "isReports bit default 0, isReceivableEntry bit default 0, "
              "isPatientLedger bit default 0, isCancelCharges bit default 0, "
              "UpdatedBy varchar(10), UpdatedDate datetime",
              {"EmpID"}),
        table("CLINICAL_AREA", "tbCancer_settings",
              "SettingID int not null default 1, HemoStatRate float default 0, "
              "MaxMarkupRate float default 0, StatAndWeekendRate float default 0, "
              "StatAndAfterFivePmRate float default 0, HolidayRate float default 0",
              {"SettingID"}),
        table("PATIENT_DATA", "tbHospitalInfo",
              "HospitalID int not null default 1, Company varchar(100), ClientName varchar(20), "
              "Address1 varchar(150), Address2 varchar(150), PhoneNum varchar(40), "
              "FaxNum varchar(40), OPDPassword varchar(30), scdgetipdprice bit default 0, "
              "ByGeneric bit default 0, ExDiscCashSupply bit default 0, AllowZeroOnHand bit "
              "default 0, "
              "AllowPriceChange bit default 0, CompanyMarkup float default 0, "
              "isPharmaOptDiscountType bit default 0, isValidateCardNumber bit default 0, "
              "isMarkUpGroup bit default 0, isEmpOutPrice bit default 0, "
              "dtWeekendStartMarkup datetime, dtWeekendEndMarkup datetime",
              {"HospitalID"}),
        // HEMODIALYSIS: settings shared with the dialysis unit.
        table("HEMODIALYSIS", "tbKidneySettings",
              "SettingID int not null default 1, HemoPackageId varchar(15), "
              "ShowPackagedetail varchar(1), EnableAssessment bit default 0, "
              "AllowEditAmount bit default 0, IsAllowAssessmentRateG bit default 0, "
              "AllowRegisterPatient bit default 0, AllowPrintRequestForm bit default 0",
              {"SettingID"}),
        table("HEMODIALYSIS", "tbHemo_settings",
              "SettingID int not null default 1, isAllowNewHemoStatRate bit default 0, "
              "isAllowHolidayRate bit default 0, isAllowAfterFivePMRate bit default 0, "
              "isAllowWeekendRate bit default 0, isAllowAfterFiveLabChemOnly bit default 0, "
              "isAllowAfterFiveAllRevenues bit default 0, HemoStatRate float default 0, "
              "HolidayRate float default 0, AfterFivePmRate float default 0, "
              "WeekendRate float default 0, HolidayAndWeekend float default 0, "
              "HolidayAndAfterFivePmRate float default 0, WeekendAfterFive float default 0, "
              "StatAndAfterFivePmRate float default 0, StatAndWeekendRate float default 0, "
              "MaxMarkupRate float default 0, isAssesmentMarkUp bit default 0, "
              "isPostChargeMarkUp bit default 0, isAllowafter11amMarkup bit default 0, "
              "isAllowOFWRate bit default 0, IsAllowOPDShowLabSpecimen bit default 0, "
              "isAllowERRate bit default 0, isAllowICURate bit default 0, "
              "isAllowHMORate bit default 0, dtWeekendStartMarkup datetime, "
              "dtWeekendEndMarkup datetime, dtSundayStartMarkup datetime, "
              "dtSundayEndMarkup datetime",
              {"SettingID"}),
        // PASSWORD: employees; AccessCode is kept scrambled, DepartmentID is
        // the station whose saves the employee may confirm.
        table("PASSWORD", "tbPasswordMaster",
              "EmployeeID varchar(10) not null, LastName varchar(40) not null, "
              "FirstName varchar(40), MiddleName varchar(40), AccessCode varchar(80), "
              "DepartmentID varchar(6), Designation varchar(40), isActive bit default 1",
              {"EmployeeID"}, {prefix("LastName")}),
    };
}

} // namespace chemodesk::hospital::schema
