#include "reportprocs.h"

#include "frmreportviewer.h"

#include "platform/connection.h"
#include "platform/usercomponent.h"
#include "reportengine/valueformat.h"
#include "reportengine/view/printing.h"
#include "session/globals.h"
#include "widgets/messages.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <memory>

namespace chemodesk::reports {

using platform::ParameterType;
using platform::Report;
using platform::ReportError;
using platform::TableLogOn;

namespace {

platform::ReportEngine *installedEngine = nullptr;
std::unique_ptr<Report> currentReport;
QString reportsFolder;

// The fixed login the report database and the billing subreports use.
const QString ReportLogin = QStringLiteral("sa");

Report &open(const QString &templatePath)
{
    currentReport = reportEngine().OpenTemplate(ReportPath(templatePath));
    return *currentReport;
}

// "hemodialysis" + ".dbo.Table": the old location from its first ".".
QString moved(const QString &location, const QString &database)
{
    const qsizetype dot = location.indexOf(QLatin1Char('.'));
    return database + (dot < 0 ? QString() : location.mid(dot));
}

void logOnAll(Report &report, const QString &server, const QString &database, const QString &user,
              const QString &password)
{
    for (int i = 0; i < report.TableCount(); ++i)
        report.SetTableLogOnInfo(i, TableLogOn{server, database, user, password});
}

void moveAll(Report &report, const QString &database)
{
    for (int i = 0; i < report.TableCount(); ++i)
        report.setTableLocation(i, moved(report.TableLocation(i), database));
}

// The element as a date, as the hospital's screens convert it; a value that is
// no date is refused rather than sent on.
QVariant asDate(const QVariant &value, ParameterType type, const QString &field)
{
    if (!value.isValid() || value.isNull() || value.toString().trimmed().isEmpty())
        return {};
    const auto moment = reportengine::toDateTime(value);
    if (!moment)
        throw ReportError(
            QStringLiteral("The report's parameter %1 takes a date; \"%2\" is not one.")
                .arg(field, value.toString()));
    return type == ParameterType::Date ? QVariant(moment->date()) : QVariant(*moment);
}

} // namespace

ReportLogOn ReportLogOn::from(const platform::UserComponent &user)
{
    return {user.ServerName(), user.Database(), user.UserId(), user.serverpassword(),
            user.EmployeeCode()};
}

ReportLogOn &reportLogOn()
{
    static ReportLogOn logOn;
    return logOn;
}

platform::ReportEngine &reportEngine()
{
    if (installedEngine)
        return *installedEngine;
    static reportengine::ViewingEngine ours([] { return session::globals().DbConnection; });
    return ours;
}

platform::ReportEngine *setReportEngine(platform::ReportEngine *engine)
{
    platform::ReportEngine *previous = installedEngine;
    installedEngine = engine;
    // A report belongs to the engine that opened it.
    currentReport.reset();
    return previous;
}

Report *CurrentReport()
{
    return currentReport.get();
}

QString ReportsFolder()
{
    if (!reportsFolder.isEmpty())
        return reportsFolder;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Reports");
}

void setReportsFolder(const QString &folder)
{
    reportsFolder = folder;
}

QString ReportPath(const QString &name)
{
    QString path = name.trimmed();
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QFileInfo(path).isAbsolute() && QFileInfo::exists(path))
        return path;
    while (path.startsWith(QLatin1Char('/')))
        path.remove(0, 1);
    if (path.startsWith(QLatin1String("Reports/"), Qt::CaseInsensitive))
        path.remove(0, 8);
    const QDir folder(ReportsFolder());
    if (!folder.exists(path)) {
        // The hospital's workstations never told "ChargeSlip.rpt" from "Chargeslip.RPT".
        const QFileInfo wanted(path);
        const QDir dir(folder.filePath(wanted.path()));
        for (const QString &entry : dir.entryList(QDir::Files))
            if (entry.compare(wanted.fileName(), Qt::CaseInsensitive) == 0)
                return QDir::cleanPath(dir.filePath(entry));
    }
    return QDir::cleanPath(folder.filePath(path));
}

void FillParameters(Report &report, const QVariantList &parameters, bool convertDates)
{
    for (int i = 0; i < report.ParameterFieldCount() && i < parameters.size(); ++i) {
        const ParameterType type = report.ParameterFieldType(i);
        const bool date = type == ParameterType::Date || type == ParameterType::DateTime;
        report.AddCurrentValue(i, convertDates && date
                                      ? asDate(parameters.at(i), type, report.ParameterFieldName(i))
                                      : parameters.at(i));
    }
}

void OpenReport(const QString &templatePath, const QVariantList &parameters)
{
    Report &report = open(templatePath);
    const ReportLogOn &u = reportLogOn();
    logOnAll(report, u.ServerName, u.Database, u.UserId, u.serverpassword);
    FillParameters(report, parameters, true);
}

void OpenReportBilling(const QString &templatePath, const QVariantList &parameters)
{
    Report &report = open(templatePath);
    const ReportLogOn &u = reportLogOn();
    logOnAll(report, u.ServerName, QStringLiteral("Billing"), u.UserId, u.serverpassword);
    FillParameters(report, parameters, true);
}

void OpenReportTreatment(const QString &templatePath, const QVariantList &parameters)
{
    Report &report = open(templatePath);
    const ReportLogOn &u = reportLogOn();
    moveAll(report, QStringLiteral("hemodialysis"));
    logOnAll(report, u.ServerName, u.Database, u.UserId, u.serverpassword);
    FillParameters(report, parameters, true);
}

void OpenReportWithDb(const QString &templatePath, const QString &database,
                      const QVariantList &parameters)
{
    Report &report = open(templatePath);
    const ReportLogOn &u = reportLogOn();
    report.setReportText(session::globals().HospitalName);
    logOnAll(report, u.ServerName, database, u.UserId, u.serverpassword);
    FillParameters(report, parameters, false);
}

void OpenReportReports(const QString &templatePath, const QVariantList &parameters,
                       const QString &hospNum)
{
    Report &report = open(templatePath);
    report.setReportText(hospNum);
    moveAll(report, QStringLiteral("Reports"));
    logOnAll(report, reportLogOn().ServerName, QStringLiteral("Reports"), ReportLogin, QString());
    FillParameters(report, parameters, false);
}

void OpenSubreportBilling(const QString &name, const QVariantList &parameters)
{
    if (!currentReport)
        throw ReportError(
            QStringLiteral("No report is open to take the subreport \"%1\".").arg(name));
    Report &sub = currentReport->OpenSubreport(name);
    moveAll(sub, QStringLiteral("billing"));
    logOnAll(sub, reportLogOn().ServerName, QStringLiteral("billing"), ReportLogin, QString());
    FillParameters(sub, parameters, false);
}

void LogOnTable(Report &report, int index, const QString &database)
{
    const ReportLogOn &u = reportLogOn();
    report.setTableLocation(index, moved(report.TableLocation(index), database));
    report.SetTableLogOnInfo(index, TableLogOn{u.ServerName, database, u.UserId, u.serverpassword});
}

void ShowReport(bool ShowGroupTree, const QString &caption, bool DirectPrint, QWidget *parent)
{
    if (!currentReport)
        throw ReportError(QStringLiteral("No report has been opened."));
    frmReportviewer viewer(*currentReport, reportEngine(),
                           parent ? parent : QApplication::activeWindow());
    viewer.ShowGroupTree = ShowGroupTree;
    viewer.DirectPrint = DirectPrint;
    viewer.setWindowTitle(caption);
    viewer.Form_Load();
    widgets::execModal(viewer);
}

void ShowPrintout(const Printout &print, QWidget *parent)
{
    try {
        OpenReport(ReportPath(print.templatePath), print.parameters);
        ShowReport(false, print.caption, false, parent);
    } catch (const platform::ReportError &e) {
        widgets::msgCritical(e.message());
    } catch (const DatabaseError &e) {
        widgets::msgCritical(e.message());
    }
}

} // namespace chemodesk::reports
