#pragma once

// The report engine over our own templates: a template opened from the
// Reports folder, its table log-on and location, its parameter values and
// formula texts, run on the program's connection when first shown, printed or
// exported. This library needs no widget, so the admin command and scheduled
// reports export without one; printing and the viewer window come from
// view/printing.h, which hands its printer to the engine it makes.

#include "pagelayout.h"
#include "reportdocument.h"
#include "reporttemplate.h"

#include "platform/reportengine.h"

#include <functional>
#include <map>
#include <memory>

class QWidget;

namespace chemodesk {
class Connection;
}

namespace chemodesk::reportengine {

// Where the reports' data comes from: the program's connection of the moment.
using ConnectionSource = std::function<Connection *()>;

class TemplateReport;
// What PrintOut does with a report; none means the program does not print.
using PrintOutHandler = std::function<void(TemplateReport &)>;

class TemplateReport : public platform::Report {
public:
    TemplateReport(ReportTemplate templ, ConnectionSource connection,
                   PrintOutHandler printOut = {});
    ~TemplateReport() override;

    int TableCount() const override { return 1; }
    QString TableLocation(int index) const override;
    void setTableLocation(int index, const QString &location) override;
    void SetTableLogOnInfo(int index, const platform::TableLogOn &logOn) override;

    int ParameterFieldCount() const override;
    QString ParameterFieldName(int index) const override;
    platform::ParameterType ParameterFieldType(int index) const override;
    // Dates and date-times also take their "mm/dd/yyyy" text; an empty or
    // Null value leaves the field without one. A value the field's type
    // cannot take raises ReportError.
    void AddCurrentValue(int index, const QVariant &value) override;

    void setReportText(const QString &text) override;
    // The text prints as given; one pair of enclosing quotes is taken off.
    void setFormulaText(const QString &name, const QString &text) override;
    platform::Report &OpenSubreport(const QString &name) override;

    void Export(const QString &filePath, platform::ExportFormat format) override;
    // Prints every page through the engine's printer; raises ReportError
    // when the engine has none.
    void PrintOut() override;

    // The whole report with the values set so far; run on first use and again
    // after any change. Raises ReportError when its source fails.
    const ReportDocument &document();
    const PageLayout &layout();
    const ReportTemplate &reportTemplate() const;
    bool isSubreport() const { return section_ > 0; }

    // What was set, for the screens' tests.
    std::optional<QVariant> currentValue(int index) const;
    platform::TableLogOn tableLogOn(int index) const;
    QString reportText() const;
    QString formulaText(const QString &name) const;

private:
    struct Shared;
    TemplateReport(std::shared_ptr<Shared> shared, int section);
    void checkTable(int index) const;
    void checkParameter(int index) const;
    void changed();

    std::shared_ptr<Shared> shared_;
    int section_ = 0;
    std::map<int, std::unique_ptr<TemplateReport>> subreports_;
};

// Opens templates and exports them; PrintOut goes to `printOut`. It has no
// viewer window: CreateViewer raises ReportError (see ViewingEngine).
class TemplateEngine : public platform::ReportEngine {
public:
    explicit TemplateEngine(ConnectionSource connection, PrintOutHandler printOut = {});

    std::unique_ptr<platform::Report> OpenTemplate(const QString &templatePath) override;
    QWidget *CreateViewer(platform::Report &report, bool showGroupTree, QWidget *parent) override;

private:
    ConnectionSource connection_;
    PrintOutHandler printOut_;
};

} // namespace chemodesk::reportengine
