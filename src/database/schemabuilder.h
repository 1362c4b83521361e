#pragma once

// Writes the hospital's table definitions out for the engine under a hosted
// connection, and upgrades an older database in place.

#include "hostedconnection.h"
#include "schemadef.h"

#include <QSet>

#include <vector>

namespace chemodesk::db {

// The version recorded in the database, 0 when it has none.
int storedSchemaVersion(HostedConnection &connection);

// Creates missing namespaces, tables, columns and indexes, the engine-side
// helpers the translation relies on, and records `version`. Safe to repeat.
void applySchema(HostedConnection &connection, const std::vector<TableDef> &tables, int version);

// Lower-case names of the columns that are texts wherever they occur.
QSet<QString> textColumnNames(const std::vector<TableDef> &tables);

// The DDL statements for one table, for tests and for `chemodesk-admin`.
QStringList createStatements(Dialect dialect, const TableDef &table);

} // namespace chemodesk::db
