#include "schemaparts.h"

// Step 2, frozen: every table as the department's first release created it. Never edited: a
// database built from it must stay what that release built. What the columns mean is told by
// the live definitions (schema_*.cpp).

namespace chemodesk::hospital::schema::history {

std::vector<db::TableDef> firstRelease()
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
        table("CLINICAL_AREA", "tbGenericChargeslip",
              "CounterID int not null default 1, ChargeSlip int not null default 1", {"CounterID"}),
        table("CLINICAL_AREA", "tbCancerCharges",
              "ChargeID identity, HospNum varchar(10) not null, IdNum varchar(12) not null, "
              "ItemID varchar(10) not null, Amount money default 0, Quantity float default 0, "
              "TransDate datetime, RevenueID varchar(4) not null, RequestStatus varchar(1) default "
              "'X', "
              "UserID varchar(10), Description varchar(100), PatientType varchar(1), "
              "ChargeType varchar(1) default 'D', RoomID varchar(10), SectionCode varchar(10), "
              "DoctorID varchar(10), ChargeSlip varchar(15) not null, LocationID varchar(4), "
              "isReceivable bit default 0, DoctorName varchar(80), StockcardRevenueID varchar(4), "
              "PackageID varchar(15), CancelDate datetime, CancelledBy varchar(10), "
              "CancelReason varchar(100)",
              {"ChargeID"},
              {index({"IdNum"}), index({"ChargeSlip"}), index({"HospNum"}), index({"TransDate"})}),
        table("CLINICAL_AREA", "tbCancerLogBook",
              "LogID identity, HospNum varchar(10) not null, IdNum varchar(12) not null, "
              "ItemID varchar(10) not null, Amount money default 0, Quantity float default 0, "
              "TransDate datetime, RevenueID varchar(4), RequestStatus varchar(1) default 'X', "
              "UserID varchar(10), Description varchar(100), PatientType varchar(1), "
              "ChargeType varchar(1) default 'D', RoomID varchar(10), SectionCode varchar(10), "
              "DoctorID varchar(10), ChargeSlip varchar(15), LocationID varchar(4), "
              "DoctorName varchar(80), Remarks varchar(100)",
              {"LogID"}, {index({"IdNum"}), index({"TransDate"})}),
        table("CLINICAL_AREA", "tbPulmoRequestNum",
              "CounterID int not null default 1, RequestNum int not null default 1", {"CounterID"}),
        table("CLINICAL_AREA", "tbPulmoRequest",
              "RequestNum int not null, HospNum varchar(10) not null, IdNum varchar(12) not null, "
              "ItemID varchar(10) not null, Description varchar(100), Amount money default 0, "
              "Quantity float default 1, RequestDate datetime, RoomID varchar(10), "
              "DoctorID varchar(10), DoctorName varchar(80), ChargeSlip varchar(15), "
              "UserID varchar(10), RequestStatus varchar(1) default 'X', Remarks varchar(100)",
              {"RequestNum"}, {index({"IdNum"}), index({"ChargeSlip"})}),
        table("CLINICAL_AREA", "tbCancerChargePrint",
              "PrintID identity, ItemID varchar(10), Amount money default 0, "
              "Quantity float default 0, RevenueID varchar(4), Description varchar(100), "
              "LocationID varchar(4), StockcardRevenueID varchar(4), LineFlags varchar(10)",
              {"PrintID"}),
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
        table("PATIENT_DATA", "tbMaster",
              "HospNum varchar(10) not null, LastName varchar(40) not null, FirstName varchar(40), "
              "MiddleName varchar(40), Sex varchar(1), BirthDate datetime, CivilStatus varchar(2), "
              "HouseStreet varchar(80), Barangay varchar(60), Town varchar(60), "
              "Province varchar(60), ZipCode varchar(6), ContactNum varchar(30), "
              "Occupation varchar(60), SeniorCitizen bit default 0, SeniorCitizenID varchar(20), "
              "AccountNum varchar(12), Allergy1 varchar(40), Allergy2 varchar(40), "
              "Allergy3 varchar(40), Allergy4 varchar(40), Allergy5 varchar(40), "
              "DateCreated datetime, CreatedBy varchar(10)",
              {"HospNum"}, {prefix("LastName")}),
        table(
            "PATIENT_DATA", "tbPatient",
            "IdNum varchar(12) not null, HospNum varchar(10) not null, AdmDate datetime not null, "
            "DcrDate datetime, BillingDate datetime, RoomID varchar(10), AccountNum varchar(12), "
            "AttendingDr1 varchar(10), AttendingDr2 varchar(10), AdmDiagnosis varchar(200), "
            "ERNum varchar(12), DischargeResult varchar(4), DischargeDisposition varchar(4), "
            "AdmittedBy varchar(10), DischargedBy varchar(10), DischargeNotice bit default 0",
            {"IdNum"}, {index({"HospNum"}), index({"DcrDate"}), index({"RoomID"})}),
        table(
            "PATIENT_DATA", "tbPatient2",
            "IdNum varchar(12) not null, Okeylab bit default 1, Okeyxray bit default 1, "
            "Okeyultra bit default 1, OkeyPH bit default 1, OkeyCS bit default 1, "
            "OkeyDI bit default 1, OkeyPT bit default 1, OkeyCT bit default 1, "
            "OkeyRTS bit default 1, OkeyAU bit default 1, OkeyNU bit default 1, "
            "OkeyHS bit default 1, DietID varchar(6), UpdatedBy varchar(10), UpdatedDate datetime",
            {"IdNum"}),
        table(
            "PATIENT_DATA", "tbOutPatient",
            "IdNum varchar(12) not null, HospNum varchar(10) not null, AdmDate datetime not null, "
            "DcrDate datetime, BillingDate datetime, PatientType varchar(1) default 'O', "
            "ERNum varchar(12), AccountNum varchar(12), DoctorID1 varchar(10), "
            "DoctorID2 varchar(10), DoctorID3 varchar(10), RoomID varchar(10), "
            "Complaint varchar(200), RegisteredBy varchar(10)",
            {"IdNum"}, {index({"HospNum"}), index({"DcrDate"})}),
        table(
            "BUILD_FILE", "tbCoDoctor",
            "DoctorID varchar(10) not null, LastName varchar(40) not null, FirstName varchar(40), "
            "MiddleName varchar(40), Specialization varchar(60), LicenseNum varchar(20), "
            "ContactNum varchar(30), isActive bit default 1",
            {"DoctorID"}, {prefix("LastName")}),
        table("BUILD_FILE", "tbCoCompany",
              "AccountNum varchar(12) not null, Company varchar(100) not null, "
              "isHMO bit default 0, Address varchar(150), ContactNum varchar(30), "
              "isActive bit default 1",
              {"AccountNum"}),
        table("BUILD_FILE", "tbCoStation",
              "StationID varchar(6) not null, Station varchar(60) not null, isActive bit default 1",
              {"StationID"}),
        table("BUILD_FILE", "tbCoRoomClass",
              "RoomClassID varchar(2) not null, RoomClass varchar(40) not null, "
              "RoomRate money default 0",
              {"RoomClassID"}),
        table("BUILD_FILE", "TbCoRoom",
              "RoomID varchar(10) not null, RoomClassID varchar(2), StationID varchar(6), "
              "RoomRate money default 0, BedCount int default 1, isActive bit default 1",
              {"RoomID"}, {index({"StationID"})}),
        table(
            "BUILD_FILE", "tbCoRevenueCode",
            "RevenueID varchar(4) not null, ItemName varchar(60) not null, LocationID varchar(4), "
            "StockcardRevenueid varchar(4), WithItems varchar(1) default 'Y', "
            "SearchInventory bit default 0, OnCoActive varchar(1) default 'N', "
            "KidneyActive varchar(1) default 'N'",
            {"RevenueID"}),
        table("BUILD_FILE", "TbCoOtherRevenue",
              "OtherSectionID varchar(4) not null, OtherRevenueID varchar(10) not null, "
              "OtherRevenue varchar(100) not null, RateA money default 0, RateB money default 0, "
              "RateC money default 0, RateD money default 0, RateE money default 0, "
              "RateG money default 0, RateH money default 0, RateI money default 0, "
              "IcuRate money default 0, Fixrate varchar(1) default 'N', isActive bit default 1",
              {"OtherSectionID", "OtherRevenueID"}, {prefix("OtherRevenue")}),
        table("BUILD_FILE", "tbcoLabExam",
              "LabExamID varchar(10) not null, LabExam varchar(100) not null, "
              "LabSectionID varchar(4), RateA money default 0, RateB money default 0, "
              "RateC money default 0, RateD money default 0, RateE money default 0, "
              "RateG money default 0, isActive bit default 1",
              {"LabExamID"}, {prefix("LabExam")}),
        table("BUILD_FILE", "tbcoultraexam",
              "UltraExamID varchar(10) not null, UltraExam varchar(100) not null, "
              "RateA money default 0, RateB money default 0, RateC money default 0, "
              "RateD money default 0, RateE money default 0, RateG money default 0, "
              "isActive bit default 1",
              {"UltraExamID"}, {prefix("UltraExam")}),
        table("BUILD_FILE", "tbcoHolidays",
              "HolidayDate datetime not null, HolidayName varchar(60) not null, "
              "HolidayGreeting varchar(120), isFixed bit default 0",
              {"HolidayDate"}),
        table("BILLING", "tbBillExamListing",
              "RevenueID varchar(4) not null, ItemID varchar(10) not null, "
              "Description varchar(100), FixRate varchar(1) default 'N'",
              {"RevenueID", "ItemID"}),
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
        table("HEMODIALYSIS", "tbKidneyChargeSlip",
              "EmployeeID varchar(10) not null, ChargeSlip int not null, StartSlip int, "
              "EndSlip int, DateIssued datetime",
              {"EmployeeID"}),
        table("INVENTORY", "tbInvLocation",
              "LocationID varchar(4) not null, LocationName varchar(60) not null, "
              "InventoryType varchar(1)",
              {"LocationID"}),
        table("INVENTORY", "tbInvMaster",
              "ItemID varchar(10) not null, ItemName varchar(100) not null, "
              "GenericName varchar(100), ClassificationName varchar(60), "
              "UnitOfMeasure varchar(10), ItemType varchar(1), Inactive bit default 0",
              {"ItemID"}, {prefix("ItemName"), prefix("GenericName")}),
        table(
            "INVENTORY", "tbinvent",
            "ItemID varchar(10) not null, LocationID varchar(4) not null, OnHand float default 0, "
            "SellingPriceIn money default 0, SellingPriceOut money default 0, "
            "UnitCost money default 0, ReorderLevel float default 0, LastUpdated datetime",
            {"ItemID", "LocationID"}, {index({"LocationID"})}),
        table("INVENTORY", "tbInvStockCard",
              "StockCardID identity, ItemID varchar(10) not null, LocationID varchar(4) not null, "
              "TransDate datetime not null, TransType varchar(1) not null, RefNum varchar(15), "
              "RevenueID varchar(4), QuantityIn float default 0, QuantityOut float default 0, "
              "UnitCost money default 0, SellingPrice money default 0, HospNum varchar(10), "
              "IdNum varchar(12), UserID varchar(10), PackageID varchar(15)",
              {"StockCardID"}, {index({"ItemID", "LocationID"}), index({"RefNum"})}),
        table("LABORATORY", "tbLabRequest",
              "RequestID identity, HospNum varchar(10) not null, IdNum varchar(12) not null, "
              "ItemID varchar(10) not null, Amount money default 0, Quantity float default 1, "
              "RevenueID varchar(4), UserID varchar(10), RoomID varchar(10), DoctorID varchar(10), "
              "DoctorName varchar(80), ChargeSlip varchar(15), LocationID varchar(4), "
              "RequestDate datetime, RequestStatus varchar(1) default 'X', Stat varchar(1) default "
              "'N', "
              "SpecimenID varchar(10), LabSectionID varchar(4)",
              {"RequestID"}, {index({"IdNum"}), index({"ChargeSlip"})}),
        table("RADIOLOGY", "tbRadioRequest",
              "RequestID identity, RevenueID varchar(4) not null, HospNum varchar(10) not null, "
              "IdNum varchar(12) not null, ItemID varchar(10) not null, Description varchar(100), "
              "Quantity float default 1, Amount money default 0, RoomID varchar(10), "
              "DoctorID varchar(10), DoctorName varchar(80), ChargeSlip varchar(15), "
              "RequestDate datetime, UserID varchar(10), RequestStatus varchar(1) default 'X', "
              "Remarks varchar(100)",
              {"RequestID"}, {index({"IdNum"}), index({"ChargeSlip"})}),
        table("PASSWORD", "tbPasswordMaster",
              "EmployeeID varchar(10) not null, LastName varchar(40) not null, "
              "FirstName varchar(40), MiddleName varchar(40), AccessCode varchar(80), "
              "DepartmentID varchar(6), Designation varchar(40), isActive bit default 1",
              {"EmployeeID"}, {prefix("LastName")}),
    };
}

} // namespace chemodesk::hospital::schema::history
