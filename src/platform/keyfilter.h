#pragma once

// The hospital system's key filter component: entry grids and name boxes pass
// every typed key through it so that letters are entered in capitals. It lies
// outside this program.

namespace chemodesk::platform {

class KeyFilter {
public:
    virtual ~KeyFilter() = default;

    // The code of the upper-case form of a typed letter; other keys unchanged.
    virtual int AllUppers(int keyCode) = 0;
};

} // namespace chemodesk::platform
