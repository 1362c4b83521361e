#pragma once

// The hospital components the entry screens share, made for one connection:
// the main window keeps one set for the signed-in employee's connection and
// makes it again when the lock screen hands over another.

#include "components/itemlookup.h"
#include "components/keyaid.h"
#include "components/medicinecatalogue.h"
#include "components/medicinelist.h"
#include "platform/screencontext.h"

#include <memory>

class QWidget;

namespace chemodesk {
class Connection;
}

namespace chemodesk::components {

class SharedComponents {
public:
    // `parent` owns the pick lists they show; `byGeneric` lists medicines by generic name.
    SharedComponents(Connection &connection, QWidget *parent, bool byGeneric);

    Connection &connection() const { return connection_; }
    platform::ScreenComponents parts() { return {*lookup, *drugs, *drugList, keys}; }

    std::unique_ptr<ItemLookup> lookup;
    std::unique_ptr<MedicineCatalogue> drugs;
    std::unique_ptr<MedicineList> drugList;
    KeyAid keys;

private:
    Connection &connection_;
};

} // namespace chemodesk::components
