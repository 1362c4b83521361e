#pragma once

// Opening the hospital database this client hosts itself, and creating or
// upgrading it.

#include "database/hostedconnection.h"
#include "database/schemabuilder.h"

#include <functional>
#include <memory>

namespace chemodesk::hospital {

// The embedded database of this workstation when nothing else is chosen.
QString defaultDatabasePath();

// Opens `target` (a SQLite file path or a postgresql:// URL) with the hospital's
// procedures and names known to the translation. A SQLite file not there yet
// is made empty: for building a new database.
std::unique_ptr<db::HostedConnection> openDatabase(const QString &target,
                                                   const db::OpenOptions &options = {});

// True when `target` names a PostgreSQL server rather than a SQLite file; told from the text
// alone, before anything is opened.
bool isServerUrl(const QString &target);

// As openDatabase, but a SQLite file that is not there is an error naming the
// path: a mistyped path or a share not connected never becomes a new database.
std::unique_ptr<db::HostedConnection> openExisting(const QString &target,
                                                   const db::OpenOptions &options = {});

// True when the database holds the demonstration data (a marker kept in it),
// so the program can say so on every start.
bool isDemoDatabase(db::HostedConnection &connection);

struct InitOptions {
    bool demo = false;
    int registrations = 0;
    std::function<void(const QString &)> progress;
};

// Applies those of `steps` not applied yet, as initDatabase does. On the shared server the
// password table is put where the steps expect it and back behind its view inside each step's
// own transaction, so that a failing step leaves the access codes private, where they were.
int applySteps(db::HostedConnection &connection, const std::vector<db::SchemaStep> &steps);

// Creates the schema or upgrades it in place; loads the demo data once and
// adds generated registrations when asked. The demo data is refused for a
// database that already holds patients of its own.
void initDatabase(db::HostedConnection &connection, const InitOptions &options);

enum class MissingFile {
    Refuse,         // an error naming the path
    CreateWithDemo, // a new database with the demo data: the first run on the default path
};

// Opens the embedded database at `path` and brings its schema up to date; a
// file that cannot be written is opened for reading, as it is.
std::unique_ptr<db::HostedConnection> openEmbedded(const QString &path,
                                                   MissingFile missing = MissingFile::Refuse);

} // namespace chemodesk::hospital
