#pragma once

// The key filter component: letters typed in entry grids and name boxes are
// entered in capitals.

#include "platform/keyfilter.h"

namespace chemodesk::components {

class KeyAid : public platform::KeyFilter {
public:
    int AllUppers(int keyCode) override;
};

} // namespace chemodesk::components
