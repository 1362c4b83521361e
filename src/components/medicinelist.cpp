#include "medicinelist.h"

#include "widgets/picklist.h"

#include "database/sqltext.h"
#include "widgets/messages.h"

#include <QLineEdit>

namespace chemodesk::components {

using sql::quote;

namespace {

// %1 the item type, %2 the first letters of the brand or generic name, %3
// the order, %4 the location. Across locations the stock is summed and the
// price is the highest asked anywhere.
const char *const ItemsAtLocation =
    "SELECT M.ItemID, M.ItemName, M.GenericName, I.OnHand, I.SellingPriceIn "
    "FROM INVENTORY..tbInvMaster M INNER JOIN INVENTORY..tbinvent I ON I.ItemID = M.ItemID "
    "WHERE M.ItemType = %1 AND M.Inactive = 0 AND %2 AND I.LocationID = %4 "
    "ORDER BY %3";
const char *const ItemsAnywhere =
    "SELECT M.ItemID, M.ItemName, M.GenericName, sum(isnull(I.OnHand, 0)) AS OnHand, "
    "max(isnull(I.SellingPriceIn, 0)) AS SellingPriceIn "
    "FROM INVENTORY..tbInvMaster M LEFT OUTER JOIN INVENTORY..tbinvent I ON I.ItemID = M.ItemID "
    "WHERE M.ItemType = %1 AND M.Inactive = 0 AND %2 "
    "GROUP BY M.ItemID, M.ItemName, M.GenericName ORDER BY %3";

} // namespace

bool MedicineList::InitConnection(const QString &connectionString)
{
    return connectionString.isEmpty() || connectionString == connection_.ConnectionString();
}

QString MedicineList::ListTitle() const
{
    if (!title_.isEmpty())
        return title_;
    return supplies_ ? QStringLiteral("Supplies") : QStringLiteral("Medicines");
}

QString MedicineList::listText(const QString &typed, const QString &location) const
{
    const QString type = quote(supplies_ ? QStringLiteral("S") : QStringLiteral("M"));
    const QString prefix = widgets::startsWith(byGeneric_ ? QStringLiteral("M.GenericName")
                                                          : QStringLiteral("M.ItemName"),
                                               typed.trimmed());
    const QString order = byGeneric_ ? QStringLiteral("M.GenericName, M.ItemName, M.ItemID")
                                     : QStringLiteral("M.ItemName, M.ItemID");
    const QString where = location.trimmed();
    // One pass over the markers: a typed "%1" stays text.
    if (where.isEmpty())
        return QString::fromLatin1(ItemsAnywhere).arg(type, prefix, order);
    return QString::fromLatin1(ItemsAtLocation).arg(type, prefix, order, quote(where));
}

QString MedicineList::ShowList(QLineEdit *editBox, const QString &location)
{
    const QString typed = editBox ? editBox->text().trimmed() : QString();
    std::vector<widgets::PickColumn> grid = {
        {QStringLiteral("ItemID"), QStringLiteral("Code")},
        {QStringLiteral("ItemName"), QStringLiteral("Description")},
        {QStringLiteral("GenericName"), QStringLiteral("Generic Name")},
        {QStringLiteral("OnHand"), QStringLiteral("On Hand"), widgets::PickColumn::Number},
        {QStringLiteral("SellingPriceIn"), QStringLiteral("Price"), widgets::PickColumn::Amount},
    };
    if (byGeneric_)
        std::swap(grid[1], grid[2]);

    widgets::PickList dialog(
        ListTitle(), std::move(grid),
        [this, location](const QString &text) {
            return connection_.Execute(listText(text, location));
        },
        editBox ? editBox->window() : nullptr);
    if (dialog.search(typed) == 0)
        return {};
    if (widgets::execModal(dialog) != QDialog::Accepted || dialog.chosen().atEnd())
        return {};
    return dialog.chosen().Fields(QStringLiteral("ItemID")).trimmed();
}

} // namespace chemodesk::components
