#pragma once

// The report engine all printed output goes through: it opens a report
// template (a file under the Reports folder beside the program), logs the
// template's tables on to the database server, takes parameter values in the
// template's order, and prints, exports or hands the report to a viewer.
// Failures (a template that cannot be opened, a refused log-on) raise
// ReportError to the screen that printed.

#include <QString>
#include <QVariant>

#include <memory>
#include <stdexcept>

class QWidget;

namespace chemodesk::platform {

class ReportError : public std::runtime_error {
public:
    explicit ReportError(const QString &message)
        : std::runtime_error(message.toStdString()), message_(message)
    {
    }
    QString message() const { return message_; }

private:
    QString message_;
};

struct TableLogOn {
    QString server;
    QString database;
    QString user;
    QString password;
};

// What a parameter field expects. Date and DateTime fields take a QDate or
// QDateTime, never the text the caller holds.
enum class ParameterType { Text, Number, Boolean, Date, DateTime, Time };

enum class ExportFormat { Pdf, Excel, RichText };

class Report {
public:
    virtual ~Report() = default;

    // The tables of the template, 0 .. TableCount() - 1.
    virtual int TableCount() const = 0;
    // Where a table lives, "database.owner.table"; changing the part before
    // the first "." points the table at another database.
    virtual QString TableLocation(int index) const = 0;
    virtual void setTableLocation(int index, const QString &location) = 0;
    virtual void SetTableLogOnInfo(int index, const TableLogOn &logOn) = 0;

    // Parameter fields in template order, 0 .. ParameterFieldCount() - 1.
    virtual int ParameterFieldCount() const = 0;
    virtual QString ParameterFieldName(int index) const = 0;
    virtual ParameterType ParameterFieldType(int index) const = 0;
    virtual void AddCurrentValue(int index, const QVariant &value) = 0;

    // The one report-level text some openings set (hospital name, hospital
    // number) before logging on.
    virtual void setReportText(const QString &text) = 0;
    // A formula field of the template, by name.
    virtual void setFormulaText(const QString &name, const QString &text) = 0;

    // A subreport by name, with its own tables and parameter fields; owned by
    // this report.
    virtual Report &OpenSubreport(const QString &name) = 0;

    virtual void Export(const QString &filePath, ExportFormat format) = 0;
    virtual void PrintOut() = 0;
};

class ReportEngine {
public:
    virtual ~ReportEngine() = default;

    // Opens a temporary copy of the template at `templatePath`.
    virtual std::unique_ptr<Report> OpenTemplate(const QString &templatePath) = 0;

    // A viewer of `report` (which must outlive it), with or without the group
    // tree; owned by `parent`.
    virtual QWidget *CreateViewer(Report &report, bool showGroupTree, QWidget *parent) = 0;
};

} // namespace chemodesk::platform
