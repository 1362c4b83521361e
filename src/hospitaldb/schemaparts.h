#pragma once

// The hospital's tables, one file per subsystem (schema_*.cpp), gathered by
// tables(); and what the numbered steps that build a database apply, frozen
// as each was released (schema_history*.cpp).

#include "database/schemadef.h"

namespace chemodesk::db {
class HostedConnection;
}

#include <QStringList>

#include <vector>

namespace chemodesk::hospital::schema {

inline db::IndexDef index(QStringList columns)
{
    return db::IndexDef{std::move(columns), false, false};
}

// For the pick lists that search by the first letters of a name.
inline db::IndexDef prefix(const QString &column)
{
    return db::IndexDef{QStringList{column}, false, true};
}

inline db::TableDef table(const char *database, const char *name, const char *columns,
                          QStringList primaryKey, std::vector<db::IndexDef> indexes = {})
{
    return db::TableDef{QString::fromLatin1(database), QString::fromLatin1(name),
                        db::columns(QString::fromLatin1(columns)), std::move(primaryKey),
                        std::move(indexes)};
}

std::vector<db::TableDef> sessionTables();
std::vector<db::TableDef> patientTables();
std::vector<db::TableDef> wardTables();
std::vector<db::TableDef> chargingTables();
std::vector<db::TableDef> reportTables();
std::vector<db::TableDef> requestTables();
std::vector<db::TableDef> examinationTables();
std::vector<db::TableDef> packageTables();
std::vector<db::TableDef> assessmentTables();

} // namespace chemodesk::hospital::schema

// What released steps apply, as they were released; never edited.
namespace chemodesk::hospital::schema::history {

// Step 2: every table of the first release.
std::vector<db::TableDef> firstRelease();
// Step 6: the patient list's indexes, by table.
std::vector<db::TableDef> patientListIndexes();
// Step 10: the list's indexes a table definition cannot say: covering, partial, hash.
void patientListLookups(db::HostedConnection &connection);
// Step 11: the patient master's names kept beside each registration, with the indexes that serve
// every mode of the list from the registrations alone.
std::vector<db::TableDef> patientListNames();
void patientListNameUpkeep(db::HostedConnection &connection);

} // namespace chemodesk::hospital::schema::history
