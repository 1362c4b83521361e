#include "hospitaldb.h"
#include "schemaparts.h"

#include <algorithm>

// The tables the department's screens and our stored procedures read and
// write, in the databases and with the names the hospital's server uses.
// Column names follow the hospital's spelling; what the screens never read
// but a working hospital keeps (keys, who and when, cancellation trail) is
// added alongside. One-row tables (settings, counters) carry a fixed key
// column so that every table has a primary key.
//
// These live definitions are what the code reads (the translation, `chemodesk-admin check`);
// databases are built by the steps (schema_history.cpp), which must build the same.

namespace chemodesk::hospital {

namespace {

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

int schemaVersion()
{
    return schemaSteps().back().version;
}

} // namespace chemodesk::hospital
