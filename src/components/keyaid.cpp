#include "keyaid.h"

#include "session/module1.h"

namespace chemodesk::components {

int KeyAid::AllUppers(int keyCode)
{
    return session::UpperKey(keyCode);
}

} // namespace chemodesk::components
