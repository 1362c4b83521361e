#include "schemaparts.h"

// Patients, their admissions and out-patient registrations, and the doctors and
// companies those refer to. The patient list's other indexes, which a table's definition cannot
// say (covering, partial, hash, and those kept in the form the translation sends), are made by
// schema steps 10 and 11.

namespace chemodesk::hospital::schema {

std::vector<db::TableDef> patientTables()
{
    return {
        // CivilStatus codes: 1 single, 2 married, 3 widowed, 4 separated.
        table("PATIENT_DATA", "tbMaster",
              "HospNum varchar(10) not null, LastName varchar(40) not null, FirstName varchar(40), "
              "MiddleName varchar(40), Sex varchar(1), BirthDate datetime, CivilStatus varchar(2), "
              "HouseStreet varchar(80), Barangay varchar(60), Town varchar(60), "
              "Province varchar(60), ZipCode varchar(6), ContactNum varchar(30), "
              "Occupation varchar(60), SeniorCitizen bit default 0, SeniorCitizenID varchar(20), "
              "AccountNum varchar(12), Allergy1 varchar(40), Allergy2 varchar(40), "
              "Allergy3 varchar(40), Allergy4 varchar(40), Allergy5 varchar(40), "
              "DateCreated datetime, CreatedBy varchar(10)",
              {"HospNum"},
              // The list by name, and a search by the first letters of a name.
              {prefix("LastName"), db::IndexDef{{"LastName", "FirstName"}, false, true}}),
        // Admissions: IdNum is numeric. The List*Name columns are the patient master's names,
        // kept beside each registration by the database itself, so that one index of the
        // registrations serves each mode of the patient list. DischargeNotice: the doctor has
        // ordered the discharge and the unit still has to clear the patient.
        table(
            "PATIENT_DATA", "tbPatient",
            "IdNum varchar(12) not null, HospNum varchar(10) not null, AdmDate datetime not null, "
            "DcrDate datetime, BillingDate datetime, RoomID varchar(10), AccountNum varchar(12), "
            "AttendingDr1 varchar(10), AttendingDr2 varchar(10), AdmDiagnosis varchar(200), "
            "ERNum varchar(12), DischargeResult varchar(4), DischargeDisposition varchar(4), "
            "AdmittedBy varchar(10), DischargedBy varchar(10), DischargeNotice bit default 0, "
            "ListLastName varchar(40), ListFirstName varchar(40), ListMiddleName varchar(40)",
            {"IdNum"},
            {index({"HospNum"}), index({"DcrDate"}), index({"RoomID"}), prefix("HospNum"),
             prefix("IdNum")}),
        // Which services an admission may charge to its account (1) or must pay in cash (0).
        table(
            "PATIENT_DATA", "tbPatient2",
            "IdNum varchar(12) not null, Okeylab bit default 1, Okeyxray bit default 1, "
            "Okeyultra bit default 1, OkeyPH bit default 1, OkeyCS bit default 1, "
            "OkeyDI bit default 1, OkeyPT bit default 1, OkeyCT bit default 1, "
            "OkeyRTS bit default 1, OkeyAU bit default 1, OkeyNU bit default 1, "
            "OkeyHS bit default 1, DietID varchar(6), UpdatedBy varchar(10), UpdatedDate datetime",
            {"IdNum"}),
        // Out-patient registrations: IdNum ends in "B". PatientType: O registered,
        // E emergency room (ERNum set), W walk-in cash (AccountNum = HospNum).
        table(
            "PATIENT_DATA", "tbOutPatient",
            "IdNum varchar(12) not null, HospNum varchar(10) not null, AdmDate datetime not null, "
            "DcrDate datetime, BillingDate datetime, PatientType varchar(1) default 'O', "
            "ERNum varchar(12), AccountNum varchar(12), DoctorID1 varchar(10), "
            "DoctorID2 varchar(10), DoctorID3 varchar(10), RoomID varchar(10), "
            "Complaint varchar(200), RegisteredBy varchar(10), ListLastName varchar(40), "
            "ListFirstName varchar(40), ListMiddleName varchar(40)",
            {"IdNum"},
            {index({"HospNum"}), index({"DcrDate"}), prefix("HospNum"), prefix("IdNum"),
             index({"PatientType", "DcrDate"})}),
        table(
            "BUILD_FILE", "tbCoDoctor",
            "DoctorID varchar(10) not null, LastName varchar(40) not null, FirstName varchar(40), "
            "MiddleName varchar(40), Specialization varchar(60), LicenseNum varchar(20), "
            "ContactNum varchar(30), isActive bit default 1",
            {"DoctorID"}, {prefix("LastName")}),
        // HMOs and companies that carry patients' accounts.
        table("BUILD_FILE", "tbCoCompany",
              "AccountNum varchar(12) not null, Company varchar(100) not null, "
              "isHMO bit default 0, Address varchar(150), ContactNum varchar(30), "
              "isActive bit default 1",
              {"AccountNum"}),
    };
}

} // namespace chemodesk::hospital::schema
