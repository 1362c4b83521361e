#include "screens.h"

#include "charging/frmcharge.h"
#include "charging/frmchargeslipverification.h"
#include "charging/frmopdsettings.h"
#include "charging/pricerules.h"
#include "components/itemlookup.h"
#include "components/keyaid.h"
#include "components/medicinecatalogue.h"
#include "components/medicinelist.h"
#include "platform/reportengine.h"
#include "platform/usercomponent.h"
#include "reports/frmreportrange.h"
#include "reports/reportprocs.h"
#include "session/globals.h"
#include "session/mainwindow/frmmain.h"
#include "session/mainwindow/screens.h"
#include "session/messages.h"

#include <QApplication>
#include <QGuiApplication>
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

void openChargeSlipVerification()
{
    auto &g = session::globals();
    if (!g.DbConnection)
        return;
    try {
        charging::frmChargeSlipVerification screen(*g.DbConnection, mainWindow());
        session::execModal(screen);
    } catch (const DatabaseError &e) {
        session::msgCritical(e.message());
    }
}

std::function<void()> reportRange(int number, const char *type)
{
    return [number, type] {
        reports::frmReportRange screen(number, QLatin1String(type), mainWindow());
        session::execModal(screen);
    };
}

void printDatasheet()
{
    const auto &g = session::globals();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        reports::OpenReportTreatment(reports::ReportPath(QStringLiteral("\\Reports\\DataSheet.rpt")),
                                     {panelText(mainWindow(), "txtIDNum").trimmed(), g.HospitalName, g.HospitalAddress});
        QGuiApplication::restoreOverrideCursor();
        reports::ShowReport(false, QStringLiteral("Print DataSheet"), false, mainWindow());
    } catch (const platform::ReportError &e) {
        QGuiApplication::restoreOverrideCursor();
        session::msgCritical(e.message());
    } catch (const DatabaseError &e) {
        QGuiApplication::restoreOverrideCursor();
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
    registry.set(QStringLiteral("mnuChange"), openChargeSlipVerification);
    // The report log-on comes from the signed-in user's component.
    registry.onStartup([](Connection &) {
        if (shell::frmMain *main = mainWindow(); main && main->currentUser())
            reports::reportLogOn() = reports::ReportLogOn::from(*main->currentUser());
    });
    const struct {
        const char *item;
        int number;
        const char *type;
    } ranges[] = {
        {"mnuReportAudit", 1, "A"},   {"mnuAuditIn", 1, "I"},   {"mnuAuditOut", 1, "O"},
        {"mnuAuditCash", 1, "C"},     {"mnuReportMonthly", 2, "A"}, {"mnuMonthIn", 2, "I"},
        {"mnuMonthOut", 2, "O"},      {"mnuMonthCash", 2, "C"}, {"mnuReportDailyTrans", 4, "A"},
        {"mnuMonthTrans", 6, "A"},    {"mnuReportAdjustment", 5, "A"}, {"mnuCensus", 2, "E"},
    };
    for (const auto &range : ranges)
        registry.set(QLatin1String(range.item), reportRange(range.number, range.type));
    registry.set(QStringLiteral("cmdDatasheet"), printDatasheet);
}

} // namespace chemodesk
