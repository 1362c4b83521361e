#pragma once

// The shared server's own guard over the hospital's data: who may touch what
// (roles and grants), the employee each server session belongs to (bound by
// an access code the server checks itself), the rights enforced on the
// writes they gate, and an audit trail written by triggers. The procedures
// run on the workstation with the workstation's login, so the server guards
// what it sees: tables and its own functions.
//
// The guard is plain SQL in guard/*.sql, kept as resources, so that the IT can
// read and apply exactly what the program applies.

#include "database/hostedconnection.h"

#include <vector>

namespace chemodesk::hospital {

// Owns every schema, table and function; never signs in.
inline constexpr const char *OwnerRole = "chemodesk_owner";
// Granted to each workstation's login: the screens' reads and writes, no DDL,
// no access codes, no clock, no audit trail but through its functions.
inline constexpr const char *WorkstationRole = "chemodesk_workstation";

// Raised by the server's own refusals; the connection shows their text alone.
inline constexpr const char *RefusalState = "CDR01";

struct GuardFile {
    QString name; // "guard/roles.sql"
    QString text;
};

// The guard's files in the order they are applied.
const std::vector<GuardFile> &guardFiles();

// The whole guard as one script for psql, in one transaction: what secureServer applies to a
// database whose schema steps are all done.
QString guardScript();

// A hash of the guard's files, so that databases made from a template are made again whenever
// the guard changes.
QString serverSecurityRevision();

// Puts the password table back where the schema steps and the demo data expect it, inside the
// caller's transaction. Answers whether it was behind its view (and so must be put back).
bool revealPasswordTable(db::HostedConnection &connection);

// The password table back in the private schema behind its view (guard/password.sql), inside the
// caller's transaction.
void hidePasswordTable(db::HostedConnection &connection);

// Applies the whole guard in one transaction: roles, ownership, grants (covering the tables
// there are now), the password table behind a view without the access codes, the sign-in and
// binding functions, rights triggers and the audit trail. Safe to repeat. A statement that fails
// is named, with its file and line, beside the server's message.
void secureServer(db::HostedConnection &connection);

} // namespace chemodesk::hospital
