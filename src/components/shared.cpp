#include "shared.h"

namespace chemodesk::components {

SharedComponents::SharedComponents(Connection &connection, QWidget *parent, bool byGeneric)
    : lookup(std::make_unique<ItemLookup>(connection, parent)),
      drugs(std::make_unique<MedicineCatalogue>(connection)),
      drugList(std::make_unique<MedicineList>(connection, byGeneric)), connection_(connection)
{
    lookup->setSearchMode(true);
}

} // namespace chemodesk::components
