#pragma once

// A report engine that records what the report procedures did to the
// reports it opened: log-ons, locations, parameter values, texts.

#include "platform/reportengine.h"

#include <QLabel>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

namespace chemodesk::test {

struct FakeField {
    QString name;
    platform::ParameterType type;
};

class FakeReport : public platform::Report {
public:
    explicit FakeReport(std::vector<FakeField> fields,
                        QString location = QStringLiteral("CLINICAL_AREA.dbo.Report"))
        : fields_(std::move(fields)), location_(std::move(location))
    {
    }

    int TableCount() const override { return 1; }
    QString TableLocation(int) const override { return location_; }
    void setTableLocation(int, const QString &location) override
    {
        location_ = location;
        log << QStringLiteral("location ") + location;
    }
    void SetTableLogOnInfo(int, const platform::TableLogOn &l) override
    {
        logOn = l;
        log << QStringLiteral("logon %1 %2 %3 %4").arg(l.server, l.database, l.user, l.password);
    }
    int ParameterFieldCount() const override { return static_cast<int>(fields_.size()); }
    QString ParameterFieldName(int index) const override { return fields_.at(size_t(index)).name; }
    platform::ParameterType ParameterFieldType(int index) const override
    {
        return fields_.at(size_t(index)).type;
    }
    void AddCurrentValue(int index, const QVariant &value) override
    {
        values[index] = value;
        log << QStringLiteral("value %1").arg(index);
    }
    void setReportText(const QString &text) override
    {
        reportText = text;
        log << QStringLiteral("text ") + text;
    }
    void setFormulaText(const QString &name, const QString &text) override
    {
        formulas[name] = text;
    }
    platform::Report &OpenSubreport(const QString &name) override
    {
        auto &sub = subreports[name];
        if (!sub)
            sub = std::make_unique<FakeReport>(
                std::vector<FakeField>{{QStringLiteral("IdNum"), platform::ParameterType::Text}},
                QStringLiteral("CLINICAL_AREA.dbo.") + name);
        return *sub;
    }
    void Export(const QString &path, platform::ExportFormat format) override
    {
        exports.push_back({path, format});
    }
    void PrintOut() override { ++printed; }

    QStringList log;
    platform::TableLogOn logOn;
    std::map<int, QVariant> values;
    QString reportText;
    std::map<QString, QString> formulas;
    std::map<QString, std::unique_ptr<FakeReport>> subreports;
    std::vector<std::pair<QString, platform::ExportFormat>> exports;
    int printed = 0;

private:
    std::vector<FakeField> fields_;
    QString location_;
};

class FakeEngine : public platform::ReportEngine {
public:
    // The fields every report it opens has.
    std::vector<FakeField> fields;
    QStringList opened;
    FakeReport *last = nullptr;
    bool failViewer = false;

    std::unique_ptr<platform::Report> OpenTemplate(const QString &path) override
    {
        opened << path;
        auto report = std::make_unique<FakeReport>(fields);
        last = report.get();
        return report;
    }
    QWidget *CreateViewer(platform::Report &, bool showGroupTree, QWidget *parent) override
    {
        if (failViewer)
            throw platform::ReportError(QStringLiteral("the source failed"));
        auto *view = new QLabel(QStringLiteral("pages"), parent);
        view->setProperty("groupTree", showGroupTree);
        return view;
    }
};

} // namespace chemodesk::test
