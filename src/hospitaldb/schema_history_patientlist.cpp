#include "schemaparts.h"

#include "database/hostedconnection.h"

#include <array>

// Steps 6, 10 and 11, frozen: the patient list's indexes, its look-ups and the names kept beside
// each registration, as released. Never edited: a later change to the list's indexes or triggers
// is a new step of its own.

namespace chemodesk::hospital::schema::history {

namespace {

// The patient master, admissions and out-patient registrations as this engine names them.
std::array<QString, 3> patientTableNames(db::HostedConnection &c)
{
    auto name = [&c](const char *table) {
        return c.translator().tableName(QStringLiteral("PATIENT_DATA"), QLatin1String(table));
    };
    return {name("tbMaster"), name("tbPatient"), name("tbOutPatient")};
}

} // namespace

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
    const auto [master, admissions, registrations] = patientTableNames(c);
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

std::vector<db::TableDef> patientListNames()
{
    auto names = [](const char *table) {
        return db::TableDef{QStringLiteral("PATIENT_DATA"),
                            QString::fromLatin1(table),
                            db::columns(QStringLiteral("ListLastName varchar(40), "
                                                       "ListFirstName varchar(40), "
                                                       "ListMiddleName varchar(40)")),
                            {},
                            {}};
    };
    return {names("tbPatient"), names("tbOutPatient")};
}

namespace {

// The names copied by triggers, and the list's indexes, on SQLite.
QStringList sqliteNameUpkeep(const QString &master, const QString &admissions,
                             const QString &registrations)
{
    const QStringList kinds = {admissions, registrations};
    QStringList statements;
    const QString names = QStringLiteral("(ListLastName, ListFirstName, ListMiddleName)");
    for (const QString &t : kinds) {
        const QString copy =
            QStringLiteral("UPDATE %1 SET %2 = (SELECT LastName, FirstName, MiddleName FROM "
                           "%3 WHERE HospNum = NEW.HospNum) WHERE IdNum = NEW.IdNum; ")
                .arg(t, names, master);
        statements << QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1_list_names AFTER "
                                     "INSERT ON %1 BEGIN %2END")
                          .arg(t, copy)
                   << QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1_list_names_moved AFTER "
                                     "UPDATE OF HospNum ON %1 BEGIN %2END")
                          .arg(t, copy);
    }
    QString added, changed, removed;
    for (const QString &t : kinds) {
        const QString set = QStringLiteral("UPDATE %1 SET %2 = (NEW.LastName, NEW.FirstName, "
                                           "NEW.MiddleName) WHERE HospNum = NEW.HospNum; ")
                                .arg(t, names);
        const QString cleared =
            QStringLiteral("UPDATE %1 SET %2 = (NULL, NULL, NULL) WHERE HospNum = "
                           "OLD.HospNum")
                .arg(t, names);
        added += set;
        changed += cleared + QStringLiteral(" AND OLD.HospNum <> NEW.HospNum; ") + set;
        removed += cleared + QStringLiteral("; ");
    }
    statements << QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1_list_names AFTER INSERT "
                                 "ON %1 BEGIN %2END")
                      .arg(master, added)
               << QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1_list_names_changed AFTER "
                                 "UPDATE OF HospNum, LastName, FirstName, MiddleName ON %1 "
                                 "BEGIN %2END")
                      .arg(master, changed)
               << QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1_list_names_gone AFTER "
                                 "DELETE ON %1 BEGIN %2END")
                      .arg(master, removed);
    for (const QString &t : kinds)
        statements << QStringLiteral("UPDATE %1 SET %2 = (SELECT M.LastName, M.FirstName, "
                                     "M.MiddleName FROM %3 M WHERE M.HospNum = %1.HospNum) "
                                     "WHERE ListLastName IS NULL")
                          .arg(t, names, master);
    // The patients in, by name; every registration by name; the cash list's walk-ins by name.
    const QString order = QStringLiteral("(ListLastName, ListFirstName, AdmDate DESC)");
    for (const QString &t : kinds) {
        const QString index = QStringLiteral("ix_") + t.section(QLatin1String("__"), 0, 0) +
                              QLatin1Char('_') + t.section(QLatin1String("__"), 1);
        statements
            << QStringLiteral("CREATE INDEX IF NOT EXISTS %1_list_in ON %2 %3 WHERE "
                              "DcrDate IS NULL")
                   .arg(index, t, order)
            << QStringLiteral("CREATE INDEX IF NOT EXISTS %1_list ON %2 %3").arg(index, t, order);
    }
    statements << QStringLiteral("CREATE INDEX IF NOT EXISTS "
                                 "ix_patient_data_tboutpatient_list_type ON %1 (PatientType, "
                                 "ListLastName, ListFirstName, AdmDate DESC)")
                      .arg(registrations);
    return statements;
}

// The same on the server; the trigger functions run with the owner's rights, so that whoever
// may write a registration or a patient keeps the copies without rights on the other table.
QStringList serverNameUpkeep(const QString &master, const QString &admissions,
                             const QString &registrations)
{
    const QStringList kinds = {admissions, registrations};
    QStringList statements;
    const QString definer = QStringLiteral(
        "LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public, pg_temp");
    statements << QStringLiteral(
                      "CREATE OR REPLACE FUNCTION patient_data.list_names_of_registration() "
                      "RETURNS trigger %1 AS $$BEGIN "
                      "IF TG_OP = 'UPDATE' AND OLD.hospnum = NEW.hospnum THEN RETURN NEW; "
                      "END IF; "
                      "SELECT m.lastname, m.firstname, m.middlename "
                      "INTO NEW.listlastname, NEW.listfirstname, NEW.listmiddlename "
                      "FROM %2 m WHERE m.hospnum = NEW.hospnum; RETURN NEW; END$$")
                      .arg(definer, master);
    QString cleared, set;
    for (const QString &t : kinds) {
        cleared += QStringLiteral("UPDATE %1 SET listlastname = NULL, listfirstname = NULL, "
                                  "listmiddlename = NULL WHERE hospnum = OLD.hospnum; ")
                       .arg(t);
        // Compared as plain texts: a name put right in its letters' case is copied too.
        set += QStringLiteral("UPDATE %1 SET listlastname = NEW.lastname, listfirstname = "
                              "NEW.firstname, listmiddlename = NEW.middlename WHERE hospnum = "
                              "NEW.hospnum AND (listlastname::text, listfirstname::text, "
                              "listmiddlename::text) IS DISTINCT FROM (NEW.lastname::text, "
                              "NEW.firstname::text, NEW.middlename::text); ")
                   .arg(t);
    }
    statements << QStringLiteral("CREATE OR REPLACE FUNCTION patient_data.list_names_of_patient() "
                                 "RETURNS trigger %1 AS $$BEGIN "
                                 "IF TG_OP = 'DELETE' THEN %2RETURN NULL; END IF; "
                                 "IF TG_OP = 'UPDATE' THEN "
                                 "IF (OLD.hospnum, OLD.lastname::text, OLD.firstname::text, "
                                 "OLD.middlename::text) IS NOT DISTINCT FROM (NEW.hospnum, "
                                 "NEW.lastname::text, NEW.firstname::text, NEW.middlename::text) "
                                 "THEN RETURN NULL; END IF; "
                                 "IF OLD.hospnum <> NEW.hospnum THEN %2END IF; END IF; "
                                 "%3RETURN NULL; END$$")
                      .arg(definer, cleared, set);
    // Without a list of columns: a trigger naming them would forbid changing their types.
    for (const QString &t : kinds)
        statements << QStringLiteral("DROP TRIGGER IF EXISTS list_names ON %1").arg(t)
                   << QStringLiteral("CREATE TRIGGER list_names BEFORE INSERT OR UPDATE ON %1 "
                                     "FOR EACH ROW EXECUTE FUNCTION "
                                     "patient_data.list_names_of_registration()")
                          .arg(t);
    statements << QStringLiteral("DROP TRIGGER IF EXISTS list_names ON %1").arg(master)
               << QStringLiteral("CREATE TRIGGER list_names AFTER INSERT OR DELETE OR UPDATE "
                                 "ON %1 FOR EACH ROW EXECUTE FUNCTION "
                                 "patient_data.list_names_of_patient()")
                      .arg(master);
    for (const QString &t : kinds)
        statements << QStringLiteral("UPDATE %1 r SET listlastname = m.lastname, "
                                     "listfirstname = m.firstname, listmiddlename = "
                                     "m.middlename FROM %2 m WHERE m.hospnum = r.hospnum AND "
                                     "r.listlastname IS NULL")
                          .arg(t, master);
    // In the form the translation sends the list's order and a prefix search (upper-cased,
    // compared bytewise), with what the list shows, read from the index alone.
    const QString order = QStringLiteral("((upper(listlastname) COLLATE \"C\"), "
                                         "(upper(listfirstname) COLLATE \"C\"), admdate DESC)");
    const QString shown =
        QStringLiteral("hospnum, idnum, listlastname, listfirstname, listmiddlename, billingdate");
    auto index = [&shown](const char *name, const QString &table, const QString &keys,
                          const char *alsoShown, const char *where) {
        return QStringLiteral("CREATE INDEX IF NOT EXISTS ix_patient_data_%1 ON %2 %3 "
                              "INCLUDE (%4%5)%6")
            .arg(QLatin1String(name), table, keys, shown, QLatin1String(alsoShown),
                 QLatin1String(where));
    };
    const char *in = " WHERE dcrdate IS NULL";
    statements << index("tbpatient_list_in", admissions, order, "", in)
               << index("tbpatient_list", admissions, order, ", dcrdate", "")
               << index("tboutpatient_list_in", registrations, order, ", patienttype", in)
               << index("tboutpatient_list", registrations, order, ", dcrdate, patienttype", "")
               // The walk-ins by name: the type compared first, so that a type bound as a
               // value still leaves the rows in order.
               << index("tboutpatient_list_type", registrations,
                        QStringLiteral("(patienttype, ") + order.mid(1), ", dcrdate", "");
    return statements;
}

} // namespace

void patientListNameUpkeep(db::HostedConnection &c)
{
    // The list is ordered by the patient's names and filtered on his registration. With the
    // names kept beside each registration, one index of the registrations serves both: a mode
    // reads its first rows in order and stops, instead of joining every patient in (or every
    // patient of a name) to the master and sorting them. The database keeps the copies, so
    // whatever writes a registration or a patient (the hospital's own admitting included)
    // keeps them right.
    const auto [master, admissions, registrations] = patientTableNames(c);
    const QStringList statements = c.dialect() == db::Dialect::SQLite
                                       ? sqliteNameUpkeep(master, admissions, registrations)
                                       : serverNameUpkeep(master, admissions, registrations);
    for (const QString &statement : statements)
        c.executeNative(statement);
    for (const QString &table : {admissions, registrations})
        c.executeNative(QStringLiteral("ANALYZE ") + table);
}

} // namespace chemodesk::hospital::schema::history
