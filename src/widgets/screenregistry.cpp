#include "screenregistry.h"

#include "messages.h"
#include "platform/connection.h"
#include "platform/reportengine.h"

#include <QGuiApplication>

namespace chemodesk::widgets {

bool ScreenRegistry::run(const QString &action, platform::MainPanel &panel) const
{
    const auto found = screens_.constFind(action);
    if (found == screens_.constEnd() || !found.value())
        return false;
    // A copy: the screen may register or remove screens while it is open.
    const Open open = found.value();
    showingErrors([&] { open(panel); });
    return true;
}

ScreenRegistry &screens()
{
    static ScreenRegistry registry;
    return registry;
}

bool showingErrors(const std::function<void()> &work)
{
    QString failure;
    try {
        work();
        return true;
    } catch (const DatabaseError &e) {
        failure = e.message();
    } catch (const platform::ReportError &e) {
        failure = e.message();
    }
    // A wait cursor set before the failure must not outlive it.
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
    msgCritical(failure);
    return false;
}

} // namespace chemodesk::widgets
