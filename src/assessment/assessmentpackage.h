#pragma once

// A package's items as rows of an assessment: the package dialog hands its
// items over one by one, and each becomes an AssessmentRow that the screen
// lays in its own grid. The items keep the package's prices: no surcharge
// and no stat is laid on them.

#include "assessmentrules.h"
#include "packages/packagetarget.h"

#include <functional>
#include <utility>

namespace chemodesk::assessment {

// The row of one package item: the price is the item's amount over its
// quantity (the amount itself when the quantity is 0), the quantity "1" when
// the package gives none. Medicines and supplies (a location, "PH" or "CS")
// are marked stocked.
AssessmentRow packageRow(const packages::PackageItem &item);

// The package dialog's target for an assessment: every item is handed to
// `put` as its row.
class AssessmentPackageTarget : public packages::PackageTarget {
public:
    using PutRow = std::function<void(const AssessmentRow &row)>;
    explicit AssessmentPackageTarget(PutRow put) : put_(std::move(put)) {}
    void appendPackageItem(const packages::PackageInfo &,
                           const packages::PackageItem &item) override
    {
        put_(packageRow(item));
    }

private:
    PutRow put_;
};

} // namespace chemodesk::assessment
