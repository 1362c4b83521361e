#include "shared.h"

#include "session/globals.h"

namespace chemodesk::components {

namespace {

struct Holder {
    Connection *connection = nullptr;
    SharedComponents components;
};

Holder &holder()
{
    static Holder shared;
    return shared;
}

} // namespace

SharedComponents &sharedComponents(Connection &connection, QWidget *parent)
{
    Holder &h = holder();
    if (h.connection == &connection && h.components.lookup)
        return h.components;
    SharedComponents &c = h.components;
    c.lookup = std::make_unique<ItemLookup>(connection, parent);
    c.lookup->setSearchMode(true);
    c.drugs = std::make_unique<MedicineCatalogue>(connection);
    c.drugList = std::make_unique<MedicineList>(connection, session::globals().DrugListByGeneric);
    h.connection = &connection;
    return c;
}

void releaseSharedComponents()
{
    Holder &h = holder();
    h.components.lookup.reset();
    h.components.drugs.reset();
    h.components.drugList.reset();
    h.connection = nullptr;
}

} // namespace chemodesk::components
