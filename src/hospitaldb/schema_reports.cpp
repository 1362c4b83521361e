#include "schemaparts.h"

// What the report procedures print from.

namespace chemodesk::hospital::schema {

std::vector<db::TableDef> reportTables()
{
    return {
        // Refilled on every save; the charge-slip report prints from it.
        table("CLINICAL_AREA", "tbCancerChargePrint",
              "PrintID identity, ItemID varchar(10), Amount money default 0, "
              "Quantity float default 0, RevenueID varchar(4), Description varchar(100), "
              "LocationID varchar(4), StockcardRevenueID varchar(4), LineFlags varchar(10)",
              {"PrintID"}),
    };
}

} // namespace chemodesk::hospital::schema
