#include "schemaparts.h"

// Cash assessments: the fees of cash and out-patients listed for the cashier
// under an "OC" number, and what their slips are printed from.

namespace chemodesk::hospital::schema {

std::vector<db::TableDef> assessmentTables()
{
    return {
        // AssessmentNum is the next number to give.
        table("BILLING", "tbAssessmentNum",
              "CounterID int not null default 1, AssessmentNum int not null default 1",
              {"CounterID"}),
        // One row per item assessed. TransType: the series ("OC"). ORNumber: the
        // cashier's official receipt once paid; Revoked: taken back before payment.
        // ItemFlag: the working value the entry screen sends with the row (the
        // issuing location of a stocked item).
        table("BILLING", "tbCashAssessment",
              "AssessID identity, RefNum varchar(15) not null, PatientName varchar(100), "
              "ItemID varchar(10) not null, RevenueID varchar(4) not null, "
              "Description varchar(100), Quantity float default 0, Amount money default 0, "
              "TransType varchar(4), UserID varchar(10), IdNum varchar(12), "
              "HospNum varchar(10), DoctorID varchar(10), DoctorName varchar(80), "
              "ItemFlag varchar(10), PackageID varchar(15), TransDate datetime, "
              "Remarks varchar(100), ORNumber varchar(15), PaidDate datetime, "
              "Revoked bit default 0, RevokeDate datetime",
              {"AssessID"},
              {index({"RefNum"}), index({"HospNum"}), index({"TransDate"}), prefix("PatientName")}),
        // Every slip line printed, by whom and when (the print table keeps only
        // the last slip's).
        table("CLINICAL_AREA", "tbCancerGlobalChargePrint",
              "PrintID identity, ItemCode varchar(20), Description varchar(100), "
              "Quantity float default 0, Price money default 0, Amount money default 0, "
              "UserID varchar(10), PrintDate datetime",
              {"PrintID"}, {index({"UserID"})}),
    };
}

} // namespace chemodesk::hospital::schema
