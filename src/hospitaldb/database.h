#pragma once

// Opening the hospital database this client hosts itself, and creating or
// upgrading it.

#include "database/hostedconnection.h"

#include <functional>
#include <memory>

namespace chemodesk::hospital {

// The embedded database of this workstation when nothing else is chosen.
QString defaultDatabasePath();

// Opens `target` (a SQLite file path or a postgresql:// URL) with the hospital's
// procedures and names known to the translation. Does not create anything.
std::unique_ptr<db::HostedConnection> openDatabase(const QString &target);

struct InitOptions {
    bool demo = false;
    int registrations = 0;
    std::function<void(const QString &)> progress;
};

// Creates the schema or upgrades it in place; loads the demo data once and
// adds generated registrations when asked.
void initDatabase(db::HostedConnection &connection, const InitOptions &options);

// Opens the embedded database at `path`, creating it with the demo data on
// first use.
std::unique_ptr<db::HostedConnection> openEmbedded(const QString &path);

} // namespace chemodesk::hospital
