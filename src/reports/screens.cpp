#include "screens.h"

#include "frmaudittrail.h"
#include "frmreportrange.h"
#include "platform/mainpanel.h"
#include "platform/usercomponent.h"
#include "reportprocs.h"
#include "session/globals.h"
#include "widgets/messages.h"
#include "widgets/screenregistry.h"

#include <QGuiApplication>

namespace chemodesk::reports {

namespace {

widgets::ScreenRegistry::Open reportRange(int number, const char *type)
{
    return [number, type](const platform::ScreenContext &context) {
        frmReportRange screen(number, QLatin1String(type), context.parent);
        widgets::execModal(screen);
    };
}

void printDatasheet(const platform::ScreenContext &context)
{
    const auto &g = session::globals();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    OpenReportTreatment(ReportPath(QStringLiteral("\\Reports\\DataSheet.rpt")),
                        {context.patient.idNum.trimmed(), g.HospitalName, g.HospitalAddress});
    QGuiApplication::restoreOverrideCursor();
    ShowReport(false, QStringLiteral("Print DataSheet"), false, context.parent);
}

} // namespace

void registerScreens(widgets::ScreenRegistry &registry)
{
    // The report log-on comes from the signed-in user's component.
    registry.onStartup([](Connection &, platform::MainPanel &panel) {
        if (platform::UserComponent *user = panel.currentUser())
            reportLogOn() = ReportLogOn::from(*user);
    });
    const struct {
        const char *item;
        int number;
        const char *type;
    } ranges[] = {
        {"mnuReportAudit", 1, "A"},      {"mnuAuditIn", 1, "I"},
        {"mnuAuditOut", 1, "O"},         {"mnuAuditCash", 1, "C"},
        {"mnuReportMonthly", 2, "A"},    {"mnuMonthIn", 2, "I"},
        {"mnuMonthOut", 2, "O"},         {"mnuMonthCash", 2, "C"},
        {"mnuReportDailyTrans", 4, "A"}, {"mnuMonthTrans", 6, "A"},
        {"mnuReportAdjustment", 5, "A"}, {"mnuCensus", 2, "E"},
    };
    for (const auto &range : ranges)
        registry.set(QLatin1String(range.item), reportRange(range.number, range.type));
    registry.set(QStringLiteral("cmdDatasheet"), printDatasheet);
    registry.set(QStringLiteral("mnuAuditTrail"), [](const platform::ScreenContext &context) {
        frmAuditTrail screen(context.connection, context.parent);
        if (screen.Show())
            widgets::execModal(screen);
    });
}

} // namespace chemodesk::reports
