#include "hospitaldb.h"
#include "schemaparts.h"

#include "database/hostedconnection.h"
#include "database/schemabuilder.h"

// The numbered steps from an empty database to today's, each with its own frozen copy of what it
// creates: a released step is never edited, so that every database that ran it got the same, and
// one upgraded ends as one built new. The live definitions (schema_*.cpp) move on only with a new
// step; tests/hospitaldb/test_schema_history.cpp checks both.

namespace chemodesk::hospital {

namespace {

using schema::index;
using schema::prefix;
using schema::table;

// Step 4.
std::vector<db::TableDef> requestLogBook()
{
    return {
        table("CLINICAL_AREA", "tbCancerRequestNum",
              "CounterID int not null default 1, RequestNum int not null default 1", {"CounterID"}),
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
              {index({"RequestNum"}), index({"IdNum"}), index({"HospNum"}),
               index({"RequestType", "RequestNum"})}),
        table("BUILD_FILE", "tbcoDosage",
              "DosageID varchar(8) not null, Dosage varchar(60) not null, "
              "Frequency int default 1, isActive bit default 1",
              {"DosageID"}, {prefix("Dosage")}),
    };
}

// Step 5.
std::vector<db::TableDef> examinations()
{
    return {
        table("BUILD_FILE", "tbcoXrayExam",
              "XrayExamID varchar(10) not null, XrayExam varchar(100) not null, "
              "RateA money default 0, RateB money default 0, RateC money default 0, "
              "RateD money default 0, RateE money default 0, RateG money default 0, "
              "isActive bit default 1",
              {"XrayExamID"}, {prefix("XrayExam")}),
        table("BUILD_FILE", "tbcoLabSpecimen",
              "SpecimenID varchar(6) not null, Specimen varchar(60) not null, "
              "isActive bit default 1",
              {"SpecimenID"}),
        table("BUILD_FILE", "tbcoLabSpecimenExam",
              "LabExamID varchar(10) not null, SpecimenID varchar(6) not null",
              {"LabExamID", "SpecimenID"}),
    };
}

// Step 7.
std::vector<db::TableDef> packages()
{
    return {
        table("HEMODIALYSIS", "tbhemopackage",
              "PackageCode varchar(10) not null, PackageName varchar(100), "
              "PackageType varchar(1) default '0', PackageAmount money default 0, "
              "RevenueID varchar(4) not null, ItemID varchar(10) not null, "
              "ItemDescription varchar(100), Quantity float default 1, Amount money default 0, "
              "UserID varchar(10), DateBuilt datetime",
              {"PackageCode", "RevenueID", "ItemID"}),
    };
}

// Step 8.
std::vector<db::TableDef> cashAssessments()
{
    return {
        table("BILLING", "tbAssessmentNum",
              "CounterID int not null default 1, AssessmentNum int not null default 1",
              {"CounterID"}),
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
        table("CLINICAL_AREA", "tbCancerGlobalChargePrint",
              "PrintID identity, ItemCode varchar(20), Description varchar(100), "
              "Quantity float default 0, Price money default 0, Amount money default 0, "
              "UserID varchar(10), PrintDate datetime",
              {"PrintID"}, {index({"UserID"})}),
    };
}

// The assessment counter's row, so that a database without the demo data can
// draw its first number too.
void assessmentCounter(db::HostedConnection &connection)
{
    connection.Execute(QStringLiteral(
        "INSERT INTO BILLING..tbAssessmentNum (CounterID, AssessmentNum) SELECT 1, 1 "
        "WHERE NOT EXISTS (SELECT 1 FROM BILLING..tbAssessmentNum)"));
}

// Step 9: a table already there, named with just what the step adds.
std::vector<db::TableDef> requestLookups()
{
    return {db::TableDef{QStringLiteral("CLINICAL_AREA"),
                         QStringLiteral("tbCancerRequest"),
                         {},
                         {},
                         {index({"IdNum", "RequestDate"})}}};
}

} // namespace

const std::vector<db::SchemaStep> &schemaSteps()
{
    // Append a step for each change, numbered one above the last, with its own copy of what it
    // creates (a new table whole; for a table already there, just the columns and indexes it
    // adds), and make the same change to the live definition. Never change a released step.
    static const std::vector<db::SchemaStep> steps = {
        // 2: every table as the department's first release had it, tbPatient.DischargeNotice
        // included. Databases from before the steps (version 1) are brought up to it in place.
        {2, schema::history::firstRelease(), {}},
        // 3: texts compare, group and sort without regard to case on PostgreSQL too, and beyond
        // ASCII on both engines.
        {3, {}, db::foldTextCase},
        // 4: the request log book of pharmacy and central supply requests, and dosage codes.
        {4, requestLogBook(), {}},
        // 5: x-ray examinations and the specimens of laboratory examinations.
        {5, examinations(), {}},
        // 6: indexes for every mode of the patient list; the planner is told of them at once,
        // or on a large database it keeps to the plans it had.
        {6, schema::history::patientListIndexes(),
         [](db::HostedConnection &c) {
             for (const db::TableDef &t : schema::history::patientListIndexes())
                 c.executeNative(QStringLiteral("ANALYZE ") +
                                 c.translator().tableName(t.database, t.name));
         }},
        // 7: charge packages, the items of each package.
        {7, packages(), {}},
        // 8: cash assessments under "OC" numbers, with their counter's one row.
        {8, cashAssessments(), assessmentCounter},
        // 9: the request log book indexed by registration and moment.
        {9, requestLookups(), {}},
        // 10: the patient list's searches by name read the names index alone and look up only
        // walk-ins for the cash list; on the server, hash look-ups by hospital number.
        {10, {}, schema::history::patientListLookups},
        // 11: the patients' names kept beside their registrations, so that one index of the
        // registrations gives each mode of the patient list its first rows in order.
        {11, schema::history::patientListNames(), schema::history::patientListNameUpkeep},
    };
    return steps;
}

} // namespace chemodesk::hospital
