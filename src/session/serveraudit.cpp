#include "serveraudit.h"

#include "database/hostedconnection.h"
#include "database/sqltext.h"

namespace chemodesk::session {

void recordAuditEvent(Connection &connection, const QString &action, const QString &object)
{
    auto *server = dynamic_cast<db::HostedConnection *>(&connection);
    if (!server || server->dialect() != db::Dialect::PostgreSQL)
        return;
    server->executeNative(QStringLiteral("SELECT public.chemodesk_audit_event(%1, %2)")
                              .arg(sql::quote(action), sql::quote(object)));
}

} // namespace chemodesk::session
