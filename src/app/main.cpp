// chemodesk: the department's desktop client. The main window does the
// start; the program ends when it closes.

#include "screens.h"
#include "screenshots.h"
#include "shell/frmmain.h"

#include <QApplication>

#include <sys/stat.h>

int main(int argc, char *argv[])
{
    // Every file the program makes (its database, settings, exported reports) is its user's own.
    umask(077);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("chemodesk"));
    QApplication::setApplicationVersion(QStringLiteral(CHEMODESK_VERSION));

    chemodesk::registerScreens();
    chemodesk::shell::frmMain window;
    QObject::connect(&window, &chemodesk::shell::frmMain::unloaded, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    const auto tour = chemodesk::ScreenshotTour::fromEnvironment(window);
    if (!window.startUp())
        return 1;
    if (tour)
        tour->start();
    return app.exec();
}
