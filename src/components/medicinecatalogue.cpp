#include "medicinecatalogue.h"

#include "database/sqltext.h"

#include <cmath>

namespace chemodesk::components {

using sql::quote;

namespace {

// The item and its prices at one location, or at every location it is
// stocked in, the first location first.
const char *const ItemAtLocation =
    "SELECT M.ItemID, M.ItemName, M.Inactive, I.SellingPriceIn, I.SellingPriceOut "
    "FROM INVENTORY..tbInvMaster M INNER JOIN INVENTORY..tbinvent I ON I.ItemID = M.ItemID "
    "WHERE M.ItemID = %1 AND I.LocationID = %2";
const char *const ItemAnywhere =
    "SELECT M.ItemID, M.ItemName, M.Inactive, I.SellingPriceIn, I.SellingPriceOut "
    "FROM INVENTORY..tbInvMaster M LEFT OUTER JOIN INVENTORY..tbinvent I ON I.ItemID = M.ItemID "
    "WHERE M.ItemID = %1 ORDER BY I.LocationID";
const char *const GenericOfItem =
    "SELECT GenericName, ClassificationName FROM INVENTORY..tbInvMaster WHERE ItemID = %1";
const char *const StockOfItem =
    "SELECT UnitCost FROM INVENTORY..tbinvent WHERE ItemID = %1 AND LocationID = %2";
const char *const NewStockCard =
    "INSERT INTO INVENTORY..tbInvStockCard (ItemID, LocationID, TransDate, TransType, RefNum, "
    "RevenueID, QuantityIn, QuantityOut, UnitCost) "
    "VALUES (%1, %2, getdate(), %3, %4, %5, %6, %7, %8)";

QString number(double value)
{
    return QString::number(value, 'g', 15);
}

} // namespace

bool MedicineGeneric::search(const QString &itemCode)
{
    genericName_.clear();
    classificationName_.clear();
    Recordset rs =
        connection_.Execute(QString::fromLatin1(GenericOfItem).arg(quote(itemCode.trimmed())));
    if (rs.atEnd() || rs.Fields(QStringLiteral("GenericName")).trimmed().isEmpty())
        return false;
    genericName_ = rs.Fields(QStringLiteral("GenericName")).trimmed();
    classificationName_ = rs.Fields(QStringLiteral("ClassificationName")).trimmed();
    return true;
}

bool MedicineDrug::SearchDrug(const QString &code, const QString &location)
{
    code_.clear();
    name_.clear();
    inactive_ = false;
    prices_ = {};
    const QString item = code.trimmed();
    const QString where = location.trimmed();
    if (item.isEmpty())
        return false;

    Recordset rs = connection_.Execute(
        where.isEmpty() ? QString::fromLatin1(ItemAnywhere).arg(quote(item))
                        : QString::fromLatin1(ItemAtLocation).arg(quote(item), quote(where)));
    if (rs.atEnd())
        return false;
    code_ = rs.Fields(QStringLiteral("ItemID")).trimmed();
    name_ = rs.Fields(QStringLiteral("ItemName")).trimmed();
    inactive_ = rs.Fields(QStringLiteral("Inactive")).toBool();
    prices_.SellingPriceIn = rs.Fields(QStringLiteral("SellingPriceIn")).toDouble();
    prices_.SellingPriceOut = rs.Fields(QStringLiteral("SellingPriceOut")).toDouble();
    return true;
}

void MedicineDrug::AppendStockCard(const QString &chargeSlip, const QString &itemId,
                                   const QString &locationId, double quantity,
                                   const QString &departmentCode, platform::StockCardKind kind)
{
    const QString item = itemId.trimmed();
    const QString location = locationId.trimmed();
    if (!std::isfinite(quantity) || quantity <= 0)
        throw DatabaseError(
            QStringLiteral("The stock card of item %1 needs a quantity above zero.").arg(item));
    Recordset stock =
        connection_.Execute(QString::fromLatin1(StockOfItem).arg(quote(item), quote(location)));
    if (stock.atEnd())
        throw DatabaseError(
            QStringLiteral("Item %1 is not stocked at location %2.").arg(item, location));

    const bool reversal = kind == platform::StockCardKind::Reversal;
    connection_.Execute(QString::fromLatin1(NewStockCard)
                            .arg(quote(item), quote(location),
                                 quote(reversal ? QStringLiteral("C") : QStringLiteral("I")),
                                 quote(chargeSlip.trimmed()), quote(departmentCode.trimmed()),
                                 number(reversal ? quantity : 0), number(reversal ? 0 : quantity),
                                 number(stock.Fields(QStringLiteral("UnitCost")).toDouble())));
}

bool MedicineCatalogue::InitConnect(const QString &connectionString)
{
    return connectionString.isEmpty() || connectionString == connection_.ConnectionString();
}

} // namespace chemodesk::components
