#pragma once

// The charge screen's components on a real database, made as the program
// makes them, for the tests that open the screen or save through it.

#include "charging/frmcharge.h"
#include "components/itemlookup.h"
#include "components/keyaid.h"
#include "components/medicinecatalogue.h"
#include "components/medicinelist.h"

namespace chemodesk::test {

struct ChargeParts {
    explicit ChargeParts(Connection &c) : lookup(c), catalogue(c), list(c) {}
    components::ItemLookup lookup;
    components::MedicineCatalogue catalogue;
    components::MedicineList list;
    components::KeyAid keys;
    charging::ChargeComponents refs() { return {lookup, catalogue, list, keys}; }
};

} // namespace chemodesk::test
