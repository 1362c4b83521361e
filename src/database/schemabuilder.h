#pragma once

// Writes the hospital's table definitions out for the engine under a hosted
// connection, and upgrades an older database in place.

#include "hostedconnection.h"
#include "schemadef.h"

#include <QSet>

#include <functional>
#include <vector>

namespace chemodesk::db {

// The version recorded in the database, 0 when it has none.
int storedSchemaVersion(HostedConnection &connection);

// Creates missing namespaces, tables, columns and indexes, the engine-side
// helpers the translation relies on, and records `version`. Safe to repeat.
void applySchema(HostedConnection &connection, const std::vector<TableDef> &tables, int version);

// One numbered change of the schema. Its tables are created, or brought up to their definition
// (missing columns and indexes added; nothing is dropped or altered), then `fill` writes whatever
// data the change needs.
struct SchemaStep {
    int version = 0;
    std::vector<TableDef> tables;
    std::function<void(HostedConnection &)> fill;
};

// Work that shares the transaction of every step applied: `before` runs ahead of the step and
// `after` once it is done, before it is committed. What `before` undoes for the step's sake and
// `after` makes again is then never left half done by a step that fails.
struct StepFrame {
    std::function<void(HostedConnection &)> before;
    std::function<void(HostedConnection &)> after;
};

// Applies, in order, each of `steps` numbered above the stored version: each in a transaction of
// its own that records its number, so that a step is applied once and a failing one leaves the
// database at the step before. Programs doing it at once on one database apply each step once.
// Answers how many steps were applied.
int applySchemaSteps(HostedConnection &connection, const std::vector<SchemaStep> &steps,
                     const StepFrame &frame = {});

// Gives the text columns of a database made before texts compared without
// regard to case beyond ASCII (and on PostgreSQL at all) that comparison.
void foldTextCase(HostedConnection &connection);

// Lower-case names of the columns that are texts wherever they occur.
QSet<QString> textColumnNames(const std::vector<TableDef> &tables);
// Lower-case names of the columns of `type` wherever they occur.
QSet<QString> columnNamesOfType(const std::vector<TableDef> &tables, ColumnType type);
// The tables as "database..table", lower case.
QSet<QString> qualifiedTableNames(const std::vector<TableDef> &tables);
// Tells the connection's translation what the tables hold.
void describeTables(Translator &translator, const std::vector<TableDef> &tables);

// The DDL statements for one table, for tests and for `chemodesk-admin`.
QStringList createStatements(Dialect dialect, const TableDef &table);

} // namespace chemodesk::db
