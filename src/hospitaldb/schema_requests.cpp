#include "schemaparts.h"

// The department's request log book (medicines asked of the pharmacy,
// supplies of the central supply room) and the dosage codes the pharmacy
// request reads.

namespace chemodesk::hospital::schema {

std::vector<db::TableDef> requestTables()
{
    return {
        table("CLINICAL_AREA", "tbCancerRequestNum",
              "CounterID int not null default 1, RequestNum int not null default 1", {"CounterID"}),
        // One row per item; the items of one save share RequestNum. RequestType PH pharmacy,
        // CS central supply. ForPharmacy and Reference are the last two values the screens send
        // ("Y" and the line's reference for medicines, "N" and "0" for supplies).
        // RequestStatus: X requested, S served, C cancelled.
        table("CLINICAL_AREA", "tbCancerRequest",
              "RequestID identity, RequestNum int not null, HospNum varchar(10) not null, "
              "IdNum varchar(12) not null, PatientType varchar(1), ItemID varchar(10) not null, "
              "Amount money default 0, Quantity float default 0, Dosage varchar(10), "
              "Route varchar(20), RequestDate datetime not null, RequestType varchar(2) not null, "
              "DoctorID varchar(10), DoctorName varchar(80), UserID varchar(10) not null, "
              "Remarks varchar(100), Description varchar(100), StationID varchar(6), "
              "ForPharmacy varchar(1), Reference varchar(20), LocationID varchar(4), "
              "RequestStatus varchar(1) default 'X', SavedAt datetime",
              {"RequestID"},
              // A save finds the request number its earlier lines drew by the patient's
              // registration and the request's moment.
              {index({"RequestNum"}), index({"IdNum"}), index({"HospNum"}),
               index({"RequestType", "RequestNum"}), index({"IdNum", "RequestDate"})}),
        // Frequency: the doses a day, the quantity a request starts from.
        table("BUILD_FILE", "tbcoDosage",
              "DosageID varchar(8) not null, Dosage varchar(60) not null, "
              "Frequency int default 1, isActive bit default 1",
              {"DosageID"}, {prefix("Dosage")}),
    };
}

} // namespace chemodesk::hospital::schema
