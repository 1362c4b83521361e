#include "templatereport.h"

#include "exporters.h"
#include "valueformat.h"

#include "database/translator.h"
#include "platform/connection.h"

#include <QFileInfo>

namespace chemodesk::reportengine {

using platform::ParameterType;
using platform::ReportError;

namespace {

struct SectionState {
    QString location;
    platform::TableLogOn logOn;
    std::vector<std::optional<QVariant>> values;
};

QString databaseOf(const QString &location)
{
    return location.section(QLatin1Char('.'), 0, 0).trimmed();
}

std::optional<QTime> parseTime(const QString &text)
{
    for (const char *pattern : {"h:mm:ss AP", "h:mm AP", "h:mmAP", "H:mm:ss", "H:mm"}) {
        const QTime t = QTime::fromString(text.trimmed().toUpper(), QLatin1String(pattern));
        if (t.isValid())
            return t;
    }
    return std::nullopt;
}

} // namespace

struct TemplateReport::Shared {
    ReportTemplate templ;
    ConnectionSource connection;
    PrintOutHandler printOut;
    std::vector<SectionState> sections;
    QString reportText;
    QHash<QString, QString> formulas;
    std::optional<ReportDocument> document;
    std::unique_ptr<PageLayout> layout;
};

TemplateReport::TemplateReport(ReportTemplate templ, ConnectionSource connection,
                               PrintOutHandler printOut)
    : shared_(std::make_shared<Shared>())
{
    shared_->connection = std::move(connection);
    shared_->printOut = std::move(printOut);
    const QString base = QFileInfo(templ.path).completeBaseName();
    for (int s = 0; s < templ.sectionCount(); ++s) {
        const SectionSpec &def = templ.section(s);
        SectionState state;
        state.location = def.database + QStringLiteral(".dbo.") + (s == 0 ? base : def.name);
        state.values.resize(def.parameters.size());
        shared_->sections.push_back(state);
    }
    shared_->templ = std::move(templ);
}

TemplateReport::TemplateReport(std::shared_ptr<Shared> shared, int section)
    : shared_(std::move(shared)), section_(section)
{
}

TemplateReport::~TemplateReport() = default;

const ReportTemplate &TemplateReport::reportTemplate() const
{
    return shared_->templ;
}

void TemplateReport::changed()
{
    shared_->layout.reset();
    shared_->document.reset();
}

void TemplateReport::checkTable(int index) const
{
    if (index != 0)
        throw ReportError(QStringLiteral("Report template \"%1\" has no table %2.")
                              .arg(shared_->templ.path)
                              .arg(index));
}

void TemplateReport::checkParameter(int index) const
{
    if (index < 0 || index >= ParameterFieldCount())
        throw ReportError(QStringLiteral("Report template \"%1\" has no parameter field %2.")
                              .arg(shared_->templ.path)
                              .arg(index));
}

QString TemplateReport::TableLocation(int index) const
{
    checkTable(index);
    return shared_->sections[size_t(section_)].location;
}

void TemplateReport::setTableLocation(int index, const QString &location)
{
    checkTable(index);
    const QString database = databaseOf(location);
    if (!db::Translator::isDatabase(database))
        throw ReportError(
            QStringLiteral("Report template \"%1\": the database \"%2\" does not exist.")
                .arg(shared_->templ.path, database));
    shared_->sections[size_t(section_)].location = location;
    changed();
}

void TemplateReport::SetTableLogOnInfo(int index, const platform::TableLogOn &logOn)
{
    checkTable(index);
    shared_->sections[size_t(section_)].logOn = logOn;
    changed();
}

platform::TableLogOn TemplateReport::tableLogOn(int index) const
{
    checkTable(index);
    return shared_->sections[size_t(section_)].logOn;
}

int TemplateReport::ParameterFieldCount() const
{
    return static_cast<int>(shared_->templ.section(section_).parameters.size());
}

QString TemplateReport::ParameterFieldName(int index) const
{
    checkParameter(index);
    return shared_->templ.section(section_).parameters[size_t(index)].name;
}

ParameterType TemplateReport::ParameterFieldType(int index) const
{
    checkParameter(index);
    return shared_->templ.section(section_).parameters[size_t(index)].type;
}

void TemplateReport::AddCurrentValue(int index, const QVariant &value)
{
    checkParameter(index);
    const QString name = ParameterFieldName(index);
    auto refuse = [&](const QString &kind) {
        throw ReportError(
            QStringLiteral("Report template \"%1\": the parameter %2 takes %3; \"%4\" is not one.")
                .arg(shared_->templ.path, name, kind, value.toString()));
    };
    std::optional<QVariant> stored;
    const bool blank =
        !value.isValid() || value.isNull() ||
        (value.metaType().id() == QMetaType::QString && value.toString().trimmed().isEmpty());
    if (!blank) {
        switch (ParameterFieldType(index)) {
        case ParameterType::Date: {
            const auto moment = toDateTime(value);
            if (!moment)
                refuse(QStringLiteral("a date"));
            stored = QVariant(moment->date());
            break;
        }
        case ParameterType::DateTime: {
            const auto moment = toDateTime(value);
            if (!moment)
                refuse(QStringLiteral("a date and time"));
            stored = QVariant(*moment);
            break;
        }
        case ParameterType::Time: {
            std::optional<QTime> time;
            if (value.metaType().id() == QMetaType::QTime)
                time = value.toTime();
            else if (const auto moment = toDateTime(value))
                time = moment->time();
            else
                time = parseTime(value.toString());
            if (!time)
                refuse(QStringLiteral("a time"));
            stored = QVariant(*time);
            break;
        }
        case ParameterType::Number: {
            const auto number = toNumber(value);
            if (!number)
                refuse(QStringLiteral("a number"));
            stored = QVariant(*number);
            break;
        }
        case ParameterType::Boolean: {
            const QString text = value.toString().trimmed().toLower();
            if (value.metaType().id() == QMetaType::Bool)
                stored = value;
            else if (text == QLatin1String("true") || text == QLatin1String("yes") ||
                     text == QLatin1String("1") || text == QLatin1String("-1"))
                stored = QVariant(true);
            else if (text == QLatin1String("false") || text == QLatin1String("no") ||
                     text == QLatin1String("0"))
                stored = QVariant(false);
            else
                refuse(QStringLiteral("true or false"));
            break;
        }
        case ParameterType::Text:
            stored = QVariant(formatValue(value, QString()));
            break;
        }
    }
    shared_->sections[size_t(section_)].values[size_t(index)] = stored;
    changed();
}

std::optional<QVariant> TemplateReport::currentValue(int index) const
{
    checkParameter(index);
    return shared_->sections[size_t(section_)].values[size_t(index)];
}

void TemplateReport::setReportText(const QString &text)
{
    shared_->reportText = text;
    changed();
}

QString TemplateReport::reportText() const
{
    return shared_->reportText;
}

void TemplateReport::setFormulaText(const QString &name, const QString &text)
{
    QString value = text;
    if (value.size() >= 2 &&
        (value.front() == QLatin1Char('\'') || value.front() == QLatin1Char('"')) &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    shared_->formulas.insert(name.toUpper(), value);
    changed();
}

QString TemplateReport::formulaText(const QString &name) const
{
    return shared_->formulas.value(name.toUpper());
}

platform::Report &TemplateReport::OpenSubreport(const QString &name)
{
    if (isSubreport())
        throw ReportError(QStringLiteral("Report template \"%1\": a subreport has no subreports.")
                              .arg(shared_->templ.path));
    for (int s = 1; s < shared_->templ.sectionCount(); ++s) {
        if (shared_->templ.section(s).name.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        auto &sub = subreports_[s];
        if (!sub)
            sub.reset(new TemplateReport(shared_, s));
        return *sub;
    }
    throw ReportError(QStringLiteral("Report template \"%1\" has no subreport \"%2\".")
                          .arg(shared_->templ.path, name));
}

const ReportDocument &TemplateReport::document()
{
    if (!shared_->document) {
        Connection *connection = shared_->connection ? shared_->connection() : nullptr;
        if (!connection)
            throw ReportError(
                QStringLiteral("Report template \"%1\": there is no database connection.")
                    .arg(shared_->templ.path));
        RunValues run;
        for (const SectionState &state : shared_->sections) {
            // A log-on naming one of the hospital's databases decides where the
            // source's unqualified names live; otherwise the table location does.
            const QString logOnDatabase = state.logOn.database.trimmed();
            const QString database = db::Translator::isDatabase(logOnDatabase)
                                         ? logOnDatabase
                                         : databaseOf(state.location);
            run.sections.push_back({state.values, database.toUpper()});
        }
        run.reportText = shared_->reportText;
        run.formulas = shared_->formulas;
        shared_->document = buildDocument(shared_->templ, run, *connection);
    }
    return *shared_->document;
}

const PageLayout &TemplateReport::layout()
{
    if (!shared_->layout) {
        const ReportDocument &doc = document();
        shared_->layout = std::make_unique<PageLayout>(doc);
    }
    return *shared_->layout;
}

void TemplateReport::Export(const QString &filePath, platform::ExportFormat format)
{
    if (filePath.trimmed().isEmpty())
        throw ReportError(QStringLiteral("No file was named to save the report in."));
    switch (format) {
    case platform::ExportFormat::Pdf:
        writePdf(document(), filePath);
        break;
    case platform::ExportFormat::Excel:
        writeExcel(document(), filePath);
        break;
    case platform::ExportFormat::RichText:
        writeRtf(document(), filePath);
        break;
    }
}

void TemplateReport::PrintOut()
{
    if (!shared_->printOut)
        throw ReportError(
            QStringLiteral("This program does not print; export the report instead."));
    shared_->printOut(*this);
}

TemplateEngine::TemplateEngine(ConnectionSource connection, PrintOutHandler printOut)
    : connection_(std::move(connection)), printOut_(std::move(printOut))
{
}

std::unique_ptr<platform::Report> TemplateEngine::OpenTemplate(const QString &templatePath)
{
    return std::make_unique<TemplateReport>(readTemplate(templatePath), connection_, printOut_);
}

QWidget *TemplateEngine::CreateViewer(platform::Report &, bool, QWidget *)
{
    throw ReportError(
        QStringLiteral("This program shows no report window; export the report instead."));
}

} // namespace chemodesk::reportengine
