#include "procedures.h"

namespace chemodesk::hospital {

using db::arg;
using sql::quote;

namespace {

// Sets the stock on hand of one item at one location to what its stock card
// adds up to (all quantities in less all quantities out), so a card written
// or reversed shows in the balance the charge screens check.
Recordset updateBalance(db::ProcedureContext &db, const QStringList &args)
{
    const QString item = quote(arg(args, 0).trimmed());
    const QString location = quote(arg(args, 1).trimmed());
    db.exec(QStringLiteral("UPDATE INVENTORY..tbinvent SET OnHand = "
                           "(SELECT isnull(sum(isnull(QuantityIn, 0) - isnull(QuantityOut, 0)), 0) "
                           "FROM INVENTORY..tbInvStockCard WHERE ItemID = %1 AND LocationID = %2), "
                           "LastUpdated = getdate() WHERE ItemID = %1 AND LocationID = %2")
                .arg(item, location));
    return {};
}

} // namespace

void registerInventoryProcedures(db::ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("INVENTORY"), QStringLiteral("sp_Inv_UpdateBalance"),
                 updateBalance);
}

} // namespace chemodesk::hospital
