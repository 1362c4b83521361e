#include "schemaparts.h"

// Charge packages: the items of each package, the package header repeated on
// every item row, as the dialysis unit's table keeps them.

namespace chemodesk::hospital::schema {

std::vector<db::TableDef> packageTables()
{
    return {
        // PackageType: "1" HMO (priced as a whole, PackageAmount), "0" NON - HMO
        // (the sum of its items). One row per item: an item appears once per package.
        table("HEMODIALYSIS", "tbhemopackage",
              "PackageCode varchar(10) not null, PackageName varchar(100), "
              "PackageType varchar(1) default '0', PackageAmount money default 0, "
              "RevenueID varchar(4) not null, ItemID varchar(10) not null, "
              "ItemDescription varchar(100), Quantity float default 1, Amount money default 0, "
              "UserID varchar(10), DateBuilt datetime",
              {"PackageCode", "RevenueID", "ItemID"}),
    };
}

} // namespace chemodesk::hospital::schema
