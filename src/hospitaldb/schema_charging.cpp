#include "schemaparts.h"

// Revenue codes, services and their prices, items and stock, charges and charge
// slips, and the requests a saved charge sends to the departments.

namespace chemodesk::hospital::schema {

std::vector<db::TableDef> chargingTables()
{
    return {
        table("CLINICAL_AREA", "tbGenericChargeslip",
              "CounterID int not null default 1, ChargeSlip int not null default 1", {"CounterID"}),
        // RequestStatus: X posted, R result entered, C cancelled.
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
        // OnCoActive / KidneyActive: offered to the cancer / dialysis units ("Y").
        table(
            "BUILD_FILE", "tbCoRevenueCode",
            "RevenueID varchar(4) not null, ItemName varchar(60) not null, LocationID varchar(4), "
            "StockcardRevenueid varchar(4), WithItems varchar(1) default 'Y', "
            "SearchInventory bit default 0, OnCoActive varchar(1) default 'N', "
            "KidneyActive varchar(1) default 'N'",
            {"RevenueID"}),
        // Services per section; Fixrate Y: no mark-up by quantity.
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
        // isFixed: falls on the same month and day every year.
        table("BUILD_FILE", "tbcoHolidays",
              "HolidayDate datetime not null, HolidayName varchar(60) not null, "
              "HolidayGreeting varchar(120), isFixed bit default 0",
              {"HolidayDate"}),
        // BILLING
        table("BILLING", "tbBillExamListing",
              "RevenueID varchar(4) not null, ItemID varchar(10) not null, "
              "Description varchar(100), FixRate varchar(1) default 'N'",
              {"RevenueID", "ItemID"}),
        // Charge-slip booklets issued to employees: ChargeSlip is the next unused number.
        table("HEMODIALYSIS", "tbKidneyChargeSlip",
              "EmployeeID varchar(10) not null, ChargeSlip int not null, StartSlip int, "
              "EndSlip int, DateIssued datetime",
              {"EmployeeID"}),
        // INVENTORY: items, stock per location and the stock card.
        table("INVENTORY", "tbInvLocation",
              "LocationID varchar(4) not null, LocationName varchar(60) not null, "
              "InventoryType varchar(1)",
              {"LocationID"}),
        // ItemType M medicine, S supply.
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
        // TransType: B beginning balance, R receipt, I issue, C cancelled issue.
        table("INVENTORY", "tbInvStockCard",
              "StockCardID identity, ItemID varchar(10) not null, LocationID varchar(4) not null, "
              "TransDate datetime not null, TransType varchar(1) not null, RefNum varchar(15), "
              "RevenueID varchar(4), QuantityIn float default 0, QuantityOut float default 0, "
              "UnitCost money default 0, SellingPrice money default 0, HospNum varchar(10), "
              "IdNum varchar(12), UserID varchar(10), PackageID varchar(15)",
              {"StockCardID"}, {index({"ItemID", "LocationID"}), index({"RefNum"})}),
        // LABORATORY
        table("LABORATORY", "tbLabRequest",
              "RequestID identity, HospNum varchar(10) not null, IdNum varchar(12) not null, "
              "ItemID varchar(10) not null, Amount money default 0, Quantity float default 1, "
              "RevenueID varchar(4), UserID varchar(10), RoomID varchar(10), DoctorID varchar(10), "
              "DoctorName varchar(80), ChargeSlip varchar(15), LocationID varchar(4), "
              "RequestDate datetime, RequestStatus varchar(1) default 'X', Stat varchar(1) default "
              "'N', "
              "SpecimenID varchar(10), LabSectionID varchar(4)",
              {"RequestID"}, {index({"IdNum"}), index({"ChargeSlip"})}),
        // RADIOLOGY
        table("RADIOLOGY", "tbRadioRequest",
              "RequestID identity, RevenueID varchar(4) not null, HospNum varchar(10) not null, "
              "IdNum varchar(12) not null, ItemID varchar(10) not null, Description varchar(100), "
              "Quantity float default 1, Amount money default 0, RoomID varchar(10), "
              "DoctorID varchar(10), DoctorName varchar(80), ChargeSlip varchar(15), "
              "RequestDate datetime, UserID varchar(10), RequestStatus varchar(1) default 'X', "
              "Remarks varchar(100)",
              {"RequestID"}, {index({"IdNum"}), index({"ChargeSlip"})}),
    };
}

} // namespace chemodesk::hospital::schema
