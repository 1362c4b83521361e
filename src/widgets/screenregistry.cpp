#include "screenregistry.h"

#include "platform/connection.h"
#include "platform/reportengine.h"

#include <QGuiApplication>

namespace chemodesk::widgets {

QString noRightsMessage()
{
    return QStringLiteral("You don't have enough rights to perform this operation.");
}

QString selectPatientMessage()
{
    return QStringLiteral("Select a patient.");
}

namespace {

void show(const Refusal &refusal)
{
    messages().message(refusal.text, refusal.title.isEmpty() ? defaultTitle() : refusal.title,
                       refusal.icon);
}

} // namespace

bool ScreenRegistry::admits(const QString &action, const platform::ScreenContext &context) const
{
    const ScreenGate g = gate(action);
    const auto refusedForRights = [&] {
        if (!g.right || platform::allows(context.panel, *g.right))
            return false;
        show(
            Refusal{noRightsMessage(), QStringLiteral("Information"), MessageService::Information});
        return true;
    };
    const auto refusedWithoutPatient = [&] {
        if (!g.needsPatient || !context.patient.isEmpty())
            return false;
        Refusal refusal = g.noPatient;
        if (refusal.text.isEmpty())
            refusal.text = selectPatientMessage();
        show(refusal);
        return true;
    };
    if (g.patientFirst)
        return !refusedWithoutPatient() && !refusedForRights();
    return !refusedForRights() && !refusedWithoutPatient();
}

bool ScreenRegistry::open(const QString &action, const platform::ScreenContext &context) const
{
    const auto found = screens_.constFind(action);
    if (found == screens_.constEnd() || !found.value())
        return false;
    // A copy: the screen may register or remove screens while it is open.
    const Open screen = found.value();
    showingErrors([&] { screen(context); });
    return true;
}

bool ScreenRegistry::run(const QString &action, const platform::ScreenContext &context) const
{
    return has(action) && admits(action, context) && open(action, context);
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
