#include "windows.h"

#include <QApplication>
#include <QList>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QWidget>

namespace chemodesk::session {

namespace {

bool isKeptForm(const QString &name)
{
    return name == QLatin1String("frmMain") || name == QLatin1String("frmHemoPatients");
}

bool isKeptSubWindow(const QMdiSubWindow *sub)
{
    return isKeptForm(sub->objectName()) ||
           (sub->widget() && isKeptForm(sub->widget()->objectName()));
}

// Menus and tool tips are windows to Qt but not forms of ours.
bool isForm(const QWidget *window)
{
    const Qt::WindowType type = window->windowType();
    return type != Qt::Popup && type != Qt::ToolTip;
}

} // namespace

void CloseOtherForms()
{
    // Closing one window may delete another, so hold them weakly.
    QList<QPointer<QWidget>> windows;
    for (QWidget *window : QApplication::topLevelWidgets())
        windows.append(window);

    for (const QPointer<QWidget> &window : windows) {
        if (!window)
            continue;
        QList<QPointer<QMdiSubWindow>> children;
        for (QMdiArea *area : window->findChildren<QMdiArea *>())
            for (QMdiSubWindow *sub : area->subWindowList())
                children.append(sub);
        for (const QPointer<QMdiSubWindow> &sub : children)
            if (sub && !isKeptSubWindow(sub))
                sub->close();
    }

    for (const QPointer<QWidget> &window : windows)
        if (window && isForm(window) && !isKeptForm(window->objectName()))
            window->close();
}

int SetTranslucent(QWidget *window, int level)
{
    if (level < 0 || level > 255)
        return 1;
    if (!window || !window->isWindow())
        return 2;
    window->setWindowOpacity(level / 255.0);
    return 0;
}

} // namespace chemodesk::session
