#pragma once

// The report procedures every printing screen calls: open a template from the
// Reports folder beside the program into the program-wide CurrentReport, log
// its tables on, fill its parameter fields in order, and show it in the
// report viewer. A template that cannot be opened or run raises
// platform::ReportError to the screen that printed; the viewer is then not
// shown.

#include "platform/reportengine.h"

#include <QString>
#include <QVariantList>

class QWidget;

namespace chemodesk::platform {
class UserComponent;
}

namespace chemodesk::reports {

// The signed-in user's log-on as the user component reports it; the main
// window fills it after the sign-in. EmployeeCode is who prints (the audit
// report names the employee).
struct ReportLogOn {
    QString ServerName;
    QString Database;
    QString UserId;
    QString serverpassword;
    QString EmployeeCode;

    static ReportLogOn from(const platform::UserComponent &user);
};
ReportLogOn &reportLogOn();

// The engine in use: our template engine on the program's connection unless
// a test installed another. Returns the one it replaced; nullptr restores ours.
platform::ReportEngine &reportEngine();
platform::ReportEngine *setReportEngine(platform::ReportEngine *engine);

// The report last opened; null before the first.
platform::Report *CurrentReport();

// The folder the templates are read from: "Reports" in the program's folder
// unless set (tests).
QString ReportsFolder();
void setReportsFolder(const QString &folder);

// A template's full path from its file name, as the screens spell it
// ("\Reports\DataSheet.rpt", "Reports/DataSheet.rpt" or "DataSheet.rpt").
// The name is matched without regard to case, as the workstations' file
// system did, so "ChargeSlip.rpt" finds "Chargeslip.RPT". A full path to an
// existing file stays as it is.
QString ReportPath(const QString &name);

// Log-on (ServerName, Database, UserId, serverpassword); date and date-time
// fields get their element converted to a date.
void OpenReport(const QString &templatePath, const QVariantList &parameters);
// As OpenReport, logged on to "Billing".
void OpenReportBilling(const QString &templatePath, const QVariantList &parameters);
// Tables moved to the treatment database "hemodialysis", then as OpenReport.
void OpenReportTreatment(const QString &templatePath, const QVariantList &parameters);
// Report text = HospitalName; logged on to `database`; values added as given.
void OpenReportWithDb(const QString &templatePath, const QString &database,
                      const QVariantList &parameters);
// Report text = the hospital number of the patient it is for; tables moved to "Reports" with the
// fixed report login ("sa", no password); values added as given.
void OpenReportReports(const QString &templatePath, const QVariantList &parameters,
                       const QString &hospNum);
// A subreport of CurrentReport moved to "billing" with the fixed report login;
// the values go to the subreport's fields as given.
void OpenSubreportBilling(const QString &name, const QVariantList &parameters);
// Moves table `index` of `report` to `database` and logs it on with the
// signed-in user's credentials.
void LogOnTable(platform::Report &report, int index, const QString &database);

// Shows CurrentReport in a new report viewer, modally. `parent` defaults to
// the active window.
void ShowReport(bool ShowGroupTree, const QString &caption, bool DirectPrint,
                QWidget *parent = nullptr);

// A template to show with its values: what a screen prints.
struct Printout {
    QString templatePath; // as the screens spell it, under the Reports folder
    QVariantList parameters;
    QString caption; // of the viewer
};

// Opens the template and shows it; a template that cannot be opened or run,
// or a database error while running it, is reported in a message and nothing
// is shown.
void ShowPrintout(const Printout &print, QWidget *parent);

// Fills the fields in order from `parameters`: a short list leaves the rest
// without a value, extra elements are ignored, an empty list touches nothing.
// With `convertDates`, date and date-time fields get the element as a date.
void FillParameters(platform::Report &report, const QVariantList &parameters, bool convertDates);

} // namespace chemodesk::reports
