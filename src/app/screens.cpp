#include "screens.h"

#include "charging/frmcharge.h"
#include "charging/frmopdsettings.h"
#include "charging/pricerules.h"
#include "components/itemlookup.h"
#include "components/keyaid.h"
#include "components/medicinecatalogue.h"
#include "components/medicinelist.h"
#include "platform/usercomponent.h"
#include "session/globals.h"
#include "session/mainwindow/frmmain.h"
#include "session/mainwindow/screens.h"
#include "session/messages.h"

#include <QApplication>
#include <QLineEdit>

#include <memory>

namespace chemodesk {

namespace {

// The hospital components the screens share, made on first use for the
// connection of the signed-in user (and again after the lock screen hands
// over a new one).
struct Components {
    Connection *connection = nullptr;
    std::unique_ptr<components::ItemLookup> lookup;
    std::unique_ptr<components::MedicineCatalogue> drugs;
    std::unique_ptr<components::MedicineList> drugList;
    components::KeyAid keys;

    void ensure(Connection &c, QWidget *mainWindow)
    {
        if (connection == &c && lookup)
            return;
        lookup = std::make_unique<components::ItemLookup>(c, mainWindow);
        lookup->setSearchMode(true);
        drugs = std::make_unique<components::MedicineCatalogue>(c);
        drugList = std::make_unique<components::MedicineList>(c, session::globals().DrugListByGeneric);
        connection = &c;
    }
};

Components &components()
{
    static Components shared;
    return shared;
}

shell::frmMain *mainWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *main = qobject_cast<shell::frmMain *>(w))
            return main;
    return nullptr;
}

QString panelText(QWidget *main, const char *name)
{
    const auto *box = main ? main->findChild<QLineEdit *>(QLatin1String(name)) : nullptr;
    return box ? box->text() : QString();
}

void openCharge()
{
    auto &g = session::globals();
    shell::frmMain *main = mainWindow();
    if (!g.DbConnection || !main)
        return;
    Components &shared = components();
    shared.ensure(*g.DbConnection, main);
    charging::ChargePatient patient;
    patient.name = panelText(main, "txtPatName");
    patient.hospNum = g.SelHospNum;
    patient.idNum = g.SelIdNum;
    if (panelText(main, "txtPatInOut") == QLatin1String("O"))
        patient.room = QStringLiteral("OPD");
    if (main->currentUser())
        patient.employeeCode = main->currentUser()->EmployeeCode();
    try {
        charging::frmCharge screen(*g.DbConnection, {*shared.lookup, *shared.drugs, *shared.drugList, shared.keys},
                                   patient, main, main);
        session::execModal(screen);
    } catch (const DatabaseError &e) {
        session::msgCritical(e.message());
    }
}

void openSettings()
{
    auto &g = session::globals();
    if (!g.DbConnection)
        return;
    try {
        charging::frmOPDsettings screen(*g.DbConnection, charging::rateSettings(), mainWindow());
        session::execModal(screen);
    } catch (const DatabaseError &e) {
        session::msgCritical(e.message());
    }
}

} // namespace

void registerScreens()
{
    auto &registry = shell::screens();
    // The surcharge tests answer "no" until the rate settings are read; read
    // them at start rather than at the first priced charge.
    registry.onStartup([](Connection &connection) { charging::LoadRateSettings(connection, charging::rateSettings()); });
    registry.set(QStringLiteral("cmdPostCharge"), openCharge);
    registry.set(QStringLiteral("mnuPostCharge"), openCharge);
    // Reached through the department password ("Cancer System Settings").
    registry.set(QStringLiteral("mnuSetup"), openSettings);
}

} // namespace chemodesk
