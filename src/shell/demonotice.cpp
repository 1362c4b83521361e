#include "demonotice.h"

#include "database/hostedconnection.h"
#include "hospitaldb/database.h"

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

namespace chemodesk::shell {

bool runsOnDemoDatabase(Connection *connection)
{
    auto *hosted = dynamic_cast<db::HostedConnection *>(connection);
    if (!hosted)
        return false;
    try {
        return hospital::isDemoDatabase(*hosted);
    } catch (const DatabaseError &) {
        return false;
    }
}

void showDemoNotice(QMainWindow &window, bool demo)
{
    if (!demo)
        return;
    const QString suffix = QStringLiteral(" - DEMONSTRATION DATABASE");
    if (!window.windowTitle().endsWith(suffix))
        window.setWindowTitle(window.windowTitle() + suffix);
    if (window.findChild<QLabel *>(QStringLiteral("sbDemoDatabase")))
        return;
    auto *note = new QLabel(QStringLiteral("Demonstration database: fictitious patients, not for "
                                           "real charges"),
                            window.statusBar());
    note->setObjectName(QStringLiteral("sbDemoDatabase"));
    note->setStyleSheet(QStringLiteral("QLabel { color: #b00020; font-weight: bold; }"));
    window.statusBar()->insertPermanentWidget(0, note);
}

} // namespace chemodesk::shell
