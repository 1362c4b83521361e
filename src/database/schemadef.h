#pragma once

// The hospital database, defined once and written out for each engine. An
// upgrade is a numbered step (schemabuilder.h) that names the tables and
// columns it adds; `chemodesk-admin init` applies the steps a database lacks.

#include <QString>
#include <QStringList>

#include <vector>

namespace chemodesk::db {

enum class ColumnType {
    Text,     // varchar: case-insensitive comparisons, as on the hospital's server
    Integer,  // int
    BigInt,   // bigint
    Bit,      // 0/1 flag, stored as a small integer so isnull(flag,0) works everywhere
    Money,    // exact decimal, 4 places
    Float,    // double
    DateTime, // date and time
    Identity  // auto-numbered integer key
};

struct ColumnDef {
    QString name;
    ColumnType type = ColumnType::Text;
    int length = 0; // for Text; 0 means unbounded
    bool notNull = false;
    QString defaultValue; // a literal in the screens' dialect, e.g. "0" or "''"
};

struct IndexDef {
    QStringList columns;
    bool unique = false;
    // Serves "col LIKE 'ABC%'" case-insensitively on every engine.
    bool prefixSearch = false;
};

struct TableDef {
    QString database; // one of the hospital's databases, upper case
    QString name;     // as the hospital spells it
    std::vector<ColumnDef> columns;
    QStringList primaryKey;
    std::vector<IndexDef> indexes;
};

// Parses a compact column list such as
// "IdNum varchar(10) not null, AdmDate datetime, Amount money, Flag bit default 0".
// Types: varchar(n)/varchar/char(n)/text, int, bigint, bit, money/decimal, float,
// datetime, identity.
std::vector<ColumnDef> columns(const QString &def);

} // namespace chemodesk::db
