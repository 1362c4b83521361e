#pragma once

// The shared server's own guard over the hospital's data: who may touch what
// (roles and grants), the employee each server session belongs to (bound by
// an access code the server checks itself), the rights enforced on the
// writes they gate, and an audit trail written by triggers. The procedures
// run on the workstation with the workstation's login, so the server guards
// what it sees: tables and its own functions.

#include "database/hostedconnection.h"

namespace chemodesk::hospital {

// Owns every schema, table and function; never signs in.
inline constexpr const char *OwnerRole = "chemodesk_owner";
// Granted to each workstation's login: the screens' reads and writes, no DDL,
// no access codes, no clock, no audit trail but through its functions.
inline constexpr const char *WorkstationRole = "chemodesk_workstation";

// Raised by the server's own refusals; the connection shows their text alone.
inline constexpr const char *RefusalState = "CDR01";

// Bumped whenever the server-side objects below change, so that databases
// made from a template are made again.
int serverSecurityRevision();

// Before the schema steps: the password table back where the steps and the
// demo data expect it.
void revealPasswordTable(db::HostedConnection &connection);

// After the schema steps: roles, ownership, grants (computed from the tables
// there are now, so that tables added by later steps are covered), the
// password table behind a view without the access codes, the sign-in and
// binding functions, rights triggers and the audit trail. Safe to repeat.
void secureServer(db::HostedConnection &connection);

} // namespace chemodesk::hospital
