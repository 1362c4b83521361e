#include "screens.h"

namespace chemodesk::shell {

bool ScreenRegistry::run(const QString &action) const
{
    const auto found = screens_.constFind(action);
    if (found == screens_.constEnd() || !found.value())
        return false;
    // A copy: the screen may register or remove screens while it is open.
    const std::function<void()> open = found.value();
    open();
    return true;
}

ScreenRegistry &screens()
{
    static ScreenRegistry registry;
    return registry;
}

} // namespace chemodesk::shell
