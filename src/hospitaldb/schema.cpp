#include "hospitaldb.h"
#include "schemaparts.h"

#include "database/hostedconnection.h"
#include "database/schemabuilder.h"

#include <algorithm>

// The tables the department's screens and our stored procedures read and
// write, in the databases and with the names the hospital's server uses.
// Column names follow the hospital's spelling; what the screens never read
// but a working hospital keeps (keys, who and when, cancellation trail) is
// added alongside. One-row tables (settings, counters) carry a fixed key
// column so that every table has a primary key.

namespace chemodesk::hospital {

namespace {

// The assessment counter's row, so that a database without the demo data can
// draw its first number too.
void assessmentCounter(db::HostedConnection &connection)
{
    connection.Execute(QStringLiteral(
        "INSERT INTO BILLING..tbAssessmentNum (CounterID, AssessmentNum) SELECT 1, 1 "
        "WHERE NOT EXISTS (SELECT 1 FROM BILLING..tbAssessmentNum)"));
}

std::vector<db::TableDef> gatherTables()
{
    std::vector<db::TableDef> all;
    for (auto part : {schema::sessionTables, schema::patientTables, schema::wardTables,
                      schema::chargingTables, schema::reportTables, schema::requestTables,
                      schema::examinationTables, schema::packageTables, schema::assessmentTables}) {
        auto tables = part();
        all.insert(all.end(), std::make_move_iterator(tables.begin()),
                   std::make_move_iterator(tables.end()));
    }
    // Listed database by database, as `chemodesk-admin check` prints them.
    static const QStringList databases = {
        QStringLiteral("CLINICAL_AREA"), QStringLiteral("PATIENT_DATA"),
        QStringLiteral("BUILD_FILE"),    QStringLiteral("BILLING"),
        QStringLiteral("HEMODIALYSIS"),  QStringLiteral("INVENTORY"),
        QStringLiteral("LABORATORY"),    QStringLiteral("RADIOLOGY"),
        QStringLiteral("PASSWORD")};
    std::stable_sort(all.begin(), all.end(), [](const db::TableDef &a, const db::TableDef &b) {
        return databases.indexOf(a.database) < databases.indexOf(b.database);
    });
    return all;
}

} // namespace

const std::vector<db::TableDef> &tables()
{
    static const std::vector<db::TableDef> all = gatherTables();
    return all;
}

const std::vector<db::SchemaStep> &schemaSteps()
{
    // Append a step for each change, numbered one above the last; never change
    // a step that has been released. A new table is also defined in its
    // subsystem's file; a step adding columns names the table with just those
    // columns (and any new index).
    static const std::vector<db::SchemaStep> steps = {
        // 2: every table as the department's first release had it, tbPatient.DischargeNotice
        // included. Databases from before the steps (version 1) are brought up to it in place.
        {2, tables(), {}},
        // 3: texts compare, group and sort without regard to case on PostgreSQL too, and beyond
        // ASCII on both engines.
        {3, {}, db::foldTextCase},
        // 4: the request log book of pharmacy and central supply requests, and dosage codes.
        {4, schema::requestTables(), {}},
        // 5: x-ray examinations and the specimens of laboratory examinations.
        {5, schema::examinationTables(), {}},
        // 6: indexes for every mode of the patient list; the planner is told of them at once,
        // or on a large database it keeps to the plans it had.
        {6, schema::patientListIndexes(),
         [](db::HostedConnection &c) {
             for (const db::TableDef &t : schema::patientListIndexes())
                 c.executeNative(QStringLiteral("ANALYZE ") +
                                 c.translator().tableName(t.database, t.name));
         }},
        // 7: charge packages, the items of each package.
        {7, schema::packageTables(), {}},
        // 8: cash assessments under "OC" numbers, with their counter's one row.
        {8, schema::assessmentTables(), assessmentCounter},
        // 9: the request log book indexed by registration and moment.
        {9, schema::requestTables(), {}},
        // 10: the patient list's searches by name read the names index alone and look up only
        // walk-ins for the cash list; on the server, hash look-ups by hospital number.
        {10, {}, schema::patientListLookups},
        // 11: the patients' names kept beside their registrations, so that one index of the
        // registrations gives each mode of the patient list its first rows in order.
        {11, schema::patientListNames(), schema::patientListNameUpkeep},
    };
    return steps;
}

int schemaVersion()
{
    return schemaSteps().back().version;
}

} // namespace chemodesk::hospital
