#pragma once

// The hospital components the screens share, made on first use for the
// connection of the signed-in user, and made again when the lock screen
// hands over another connection.

#include "components/itemlookup.h"
#include "components/keyaid.h"
#include "components/medicinecatalogue.h"
#include "components/medicinelist.h"

#include <memory>

class QWidget;

namespace chemodesk {
class Connection;
}

namespace chemodesk::components {

struct SharedComponents {
    std::unique_ptr<ItemLookup> lookup;
    std::unique_ptr<MedicineCatalogue> drugs;
    std::unique_ptr<MedicineList> drugList;
    KeyAid keys;
};

// The components for `connection`; `parent` owns the pick lists they show.
SharedComponents &sharedComponents(Connection &connection, QWidget *parent);

// Lets go of them (tests, and the program's end before the application goes).
void releaseSharedComponents();

} // namespace chemodesk::components
