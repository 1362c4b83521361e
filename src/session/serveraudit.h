#pragma once

// What the program itself records in the shared server's audit trail: the
// actions that write nothing the server's triggers would see (a reprint).
// The embedded file keeps no trail; there it does nothing.

#include <QString>

namespace chemodesk {
class Connection;
}

namespace chemodesk::session {

// Throws DatabaseError when the server refuses it.
void recordAuditEvent(Connection &connection, const QString &action, const QString &object);

} // namespace chemodesk::session
