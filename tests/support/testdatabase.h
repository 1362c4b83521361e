#pragma once

// Fresh hospital databases for tests, on each engine. SQLite always; the
// PostgreSQL ones when CHEMODESK_TEST_PG names a server (a URL to a database
// the tests may create databases from). With CHEMODESK_REQUIRE_PG set, a
// missing server fails the tests instead of skipping them.

#include "database/hostedconnection.h"

#include <memory>
#include <string>
#include <vector>

namespace chemodesk::test {

// The engines a database test runs on: "sqlite", "postgresql".
std::vector<std::string> backends();

// Skips (or fails) the current test when the engine is not available; call
// first in a test and return when it answers false.
bool backendAvailable(const std::string &backend);

// A new database with the demo data (from a template made once per run), or
// an empty schema when demo is false.
std::unique_ptr<db::HostedConnection> freshDatabase(const std::string &backend, bool demo = true);

// Where a fresh database lives, for tests that open it a second time
// (other processes, other connections).
QString lastTarget();

// Where nothing has been built yet: a file not yet made, or an empty server
// database.
QString unbuiltTarget(const std::string &backend);

// The server URL with the database replaced.
QString postgresUrl(const QString &database);

} // namespace chemodesk::test
