#include "assessmentpackage.h"

#include "assessmentsave.h"

namespace chemodesk::assessment {

AssessmentRow packageRow(const packages::PackageItem &item)
{
    const double quantity = cellNumber(item.quantity);
    const double amount = cellNumber(item.amount);
    const double price = quantity == 0 ? amount : amount / quantity;
    AssessmentRow row;
    row.dept = item.revenue.toUpper();
    row.code = item.item;
    row.particular = item.description;
    row.price = price;
    row.baseRate = price;
    row.quantity = item.quantity.isEmpty() ? QStringLiteral("1") : item.quantity;
    row.amount = amount;
    row.stocked = !item.location.isEmpty() ||
                  item.revenue.compare(QLatin1String("PH"), Qt::CaseInsensitive) == 0 ||
                  item.revenue.compare(QLatin1String("CS"), Qt::CaseInsensitive) == 0;
    row.location = item.location;
    return row;
}

} // namespace chemodesk::assessment
