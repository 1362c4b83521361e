#pragma once

// The hospital database this client runs against when it is not on the
// hospital's own server: tables, stored procedures, demo data.

#include "database/procedurehost.h"
#include "database/schemabuilder.h"
#include "database/schemadef.h"
#include "platform/connection.h"

#include <functional>
#include <vector>

namespace chemodesk::hospital {

// The number of the last of schemaSteps().
int schemaVersion();

// The steps from an empty database to today's, oldest first, each with its own
// frozen copy of what it creates; together they build tables().
const std::vector<db::SchemaStep> &schemaSteps();

// Every table of the eleven databases.
const std::vector<db::TableDef> &tables();

// Our implementations of the server's stored procedures and scalar functions.
void registerProcedures(db::ProcedureRegistry &registry);

// A believable hospital: rooms, doctors, about 200 patients, items, services,
// settings, employees with rights. Sent as ordinary texts through `connection`.
void loadDemoData(Connection &connection);

// `count` further registrations (patients and admissions) for benchmarks.
// `progress` is called now and then with the number written so far.
void generateRegistrations(Connection &connection, int count,
                           const std::function<void(int)> &progress = {});

} // namespace chemodesk::hospital
