#include "schemaparts.h"

#include "database/hostedconnection.h"

// Patients, their admissions and out-patient registrations, and the doctors and
// companies those refer to.

namespace chemodesk::hospital::schema {

std::vector<db::TableDef> patientListIndexes()
{
    // Every mode of the patient list, on a million registrations: the names in
    // the list's order (a search by the first letters, and the first rows of a
    // long list without a sort), the numbers searched by their first digits, and
    // the walk-in cash patients still here.
    auto indexes = [](const char *name, std::vector<db::IndexDef> list) {
        return db::TableDef{
            QStringLiteral("PATIENT_DATA"), QString::fromLatin1(name), {}, {}, std::move(list)};
    };
    return {
        indexes("tbMaster", {db::IndexDef{{"LastName", "FirstName"}, false, true}}),
        indexes("tbPatient", {prefix("HospNum"), prefix("IdNum")}),
        indexes("tbOutPatient",
                {prefix("HospNum"), prefix("IdNum"), index({"PatientType", "DcrDate"})}),
    };
}

void patientListLookups(db::HostedConnection &c)
{
    const QString master =
        c.translator().tableName(QStringLiteral("PATIENT_DATA"), QStringLiteral("tbMaster"));
    const QString admissions =
        c.translator().tableName(QStringLiteral("PATIENT_DATA"), QStringLiteral("tbPatient"));
    const QString registrations =
        c.translator().tableName(QStringLiteral("PATIENT_DATA"), QStringLiteral("tbOutPatient"));
    QStringList statements;
    if (c.dialect() == db::Dialect::SQLite) {
        // A search by name walks the names and looks up each patient's registration: the
        // names with what the list shows of them, and the walk-ins apart (a tenth of the
        // registrations, and most patients of a name are not walk-ins).
        statements = {
            QStringLiteral("CREATE INDEX IF NOT EXISTS ix_patient_data_tbmaster_names ON %1 "
                           "(LastName, FirstName, MiddleName, HospNum)")
                .arg(master),
            QStringLiteral("CREATE INDEX IF NOT EXISTS ix_patient_data_tboutpatient_hospnum_walkin "
                           "ON %1 (HospNum) WHERE PatientType = 'W'")
                .arg(registrations),
        };
    } else {
        // The same, and: every mode joins registrations and the patient master by hospital
        // number, one look-up a row, and the server's case-insensitive keys lower-case both
        // texts at each comparison, some twenty of them down a B-tree: twenty microseconds a
        // look-up, most of a search's time. A hash index compares once.
        statements = {
            QStringLiteral("CREATE INDEX IF NOT EXISTS ix_patient_data_tbmaster_hospnum_hash ON "
                           "%1 USING hash (hospnum)")
                .arg(master),
            QStringLiteral("CREATE INDEX IF NOT EXISTS ix_patient_data_tbpatient_hospnum_hash ON "
                           "%1 USING hash (hospnum)")
                .arg(admissions),
            QStringLiteral("CREATE INDEX IF NOT EXISTS ix_patient_data_tboutpatient_hospnum_hash "
                           "ON %1 USING hash (hospnum)")
                .arg(registrations),
            QStringLiteral("CREATE INDEX IF NOT EXISTS ix_patient_data_tboutpatient_hospnum_walkin "
                           "ON %1 USING hash (hospnum) WHERE patienttype = 'W'")
                .arg(registrations),
            // In the order and form the translation sends (upper-cased, compared bytewise).
            QStringLiteral("CREATE INDEX IF NOT EXISTS ix_patient_data_tbmaster_names ON %1 "
                           "((upper(lastname) COLLATE \"C\"), (upper(firstname) COLLATE \"C\")) "
                           "INCLUDE (hospnum, lastname, firstname, middlename)")
                .arg(master),
            // The department reads the master a patient or a name at a time, never whole. Left
            // to itself the planner splits a search by a common name over parallel workers,
            // whose start costs a hundred milliseconds where the search costs a few.
            QStringLiteral("ALTER TABLE %1 SET (parallel_workers = 0)").arg(master),
        };
    }
    for (const QString &statement : statements)
        c.executeNative(statement);
    for (const QString &table : {master, admissions, registrations})
        c.executeNative(QStringLiteral("ANALYZE ") + table);
}

std::vector<db::TableDef> patientTables()
{
    std::vector<db::TableDef> tables = patientBaseTables();
    for (const db::TableDef &added : patientListIndexes())
        for (db::TableDef &t : tables)
            if (t.database == added.database && t.name == added.name)
                t.indexes.insert(t.indexes.end(), added.indexes.begin(), added.indexes.end());
    return tables;
}

std::vector<db::TableDef> patientBaseTables()
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
              {"HospNum"}, {prefix("LastName")}),
        // Admissions: IdNum is numeric. DischargeNotice: the doctor has ordered the
        // discharge and the unit still has to clear the patient.
        table(
            "PATIENT_DATA", "tbPatient",
            "IdNum varchar(12) not null, HospNum varchar(10) not null, AdmDate datetime not null, "
            "DcrDate datetime, BillingDate datetime, RoomID varchar(10), AccountNum varchar(12), "
            "AttendingDr1 varchar(10), AttendingDr2 varchar(10), AdmDiagnosis varchar(200), "
            "ERNum varchar(12), DischargeResult varchar(4), DischargeDisposition varchar(4), "
            "AdmittedBy varchar(10), DischargedBy varchar(10), DischargeNotice bit default 0",
            {"IdNum"}, {index({"HospNum"}), index({"DcrDate"}), index({"RoomID"})}),
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
            "Complaint varchar(200), RegisteredBy varchar(10)",
            {"IdNum"}, {index({"HospNum"}), index({"DcrDate"})}),
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
