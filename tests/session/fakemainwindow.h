#pragma once

// A stand-in for the main window: the gated buttons and menu actions under
// the object names the rights are applied by.

#include <QAction>
#include <QPushButton>
#include <QString>
#include <QWidget>

namespace chemodesk::test {

struct FakeMainWindow {
    static constexpr const char *Buttons[] = {"cmdCash", "cmdResultEntry", "cmdPostCharge",
                                              "cmdCSRRequest", "cmdPharmacy"};
    static constexpr const char *Actions[] = {
        "mnuCashAssessment", "mnuNurseActivity", "mnuPostCharge", "mnuCsr",
        "mnuPhRequest",      "mnuMaintenance",   "mnuReport",     "mnuLedger"};

    FakeMainWindow()
    {
        for (const char *name : Buttons)
            (new QPushButton(&window))->setObjectName(QLatin1String(name));
        for (const char *name : Actions)
            (new QAction(&window))->setObjectName(QLatin1String(name));
    }

    QPushButton *button(const char *name)
    {
        return window.findChild<QPushButton *>(QLatin1String(name));
    }
    QAction *action(const char *name) { return window.findChild<QAction *>(QLatin1String(name)); }

    // "1" or "0" for each control: the five buttons, then the eight actions.
    QString states()
    {
        QString out;
        for (const char *name : Buttons)
            out += button(name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        out += QLatin1Char(' ');
        for (const char *name : Actions)
            out += action(name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return out;
    }

    void setAll(bool enabled)
    {
        for (const char *name : Buttons)
            button(name)->setEnabled(enabled);
        for (const char *name : Actions)
            action(name)->setEnabled(enabled);
    }

    QWidget window;
};

} // namespace chemodesk::test
