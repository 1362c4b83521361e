#include "stockonhand.h"

#include "database/sqltext.h"
#include "platform/connection.h"

namespace chemodesk::components {

double stockOnHand(Connection &connection, const QString &item, const QString &location)
{
    const Recordset rs = connection.Open(
        QStringLiteral("select isnull(OnHand,0)Onhand from INVENTORY..tbinvent where ItemID = '") +
        sql::escape(item) + QStringLiteral("' and LocationID = '") + sql::escape(location) +
        QLatin1Char('\''));
    return rs.atEnd() ? 0.0 : rs.Fields(QStringLiteral("Onhand")).toDouble();
}

} // namespace chemodesk::components
