#pragma once

// A report template as read from its text file under the Reports folder: the
// title, the typed parameters in order, the data source, the layout (header
// lines, a detail table, groups, totals) and subreports with their own
// sources. Reports/README.md describes the file for the hospital's IT staff.

#include "platform/reportengine.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace chemodesk::reportengine {

struct ParameterSpec {
    QString name;
    platform::ParameterType type = platform::ParameterType::Text;
};

// One line of text of a header or footer; its placeholders ({Name}) are
// filled when the report runs.
struct TextLineSpec {
    QString text;
    Qt::Alignment align = Qt::AlignLeft;
    bool bold = false;
    bool italic = false;
    int size = 0; // points; 0 is the report's body size
    // Left out when every placeholder of the line prints empty.
    bool optional = false;
};

struct ColumnSpec {
    QString field;
    QString caption;
    double width = 10;
    QString format;
    Qt::Alignment align; // empty: numbers right, everything else left
};

// Footers and the totals label may name {count}, the rows they close.
struct GroupSpec {
    QString field;
    QString header;
    QString footer;
    QStringList sums;
};

struct TotalsSpec {
    bool present = false;
    QString label;
    QStringList sums;
};

// The main report or one subreport.
struct SectionSpec {
    QString name;
    QString title;
    QString database = QStringLiteral("CLINICAL_AREA");
    QString emptyText;
    std::vector<ParameterSpec> parameters;
    QString source;
    int sourceLine = 0;
    // A one-row source whose columns the header and footer lines may name.
    QString headerSource;
    int headerSourceLine = 0;
    std::vector<TextLineSpec> header;
    std::vector<ColumnSpec> columns;
    std::vector<GroupSpec> groups;
    TotalsSpec totals;
    std::vector<TextLineSpec> footer;

    int parameterIndex(const QString &name) const;
};

struct ReportTemplate {
    QString path;
    QString paper = QStringLiteral("letter");
    bool landscape = false;
    int fontSize = 8;
    SectionSpec main;
    std::vector<SectionSpec> subreports;

    const SectionSpec &section(int index) const
    {
        return index == 0 ? main : subreports.at(index - 1);
    }
    int sectionCount() const { return 1 + static_cast<int>(subreports.size()); }
};

// Reads and checks the template at `path`. Raises ReportError naming the
// file (and the line, where there is one) when it cannot be read or is wrong.
ReportTemplate readTemplate(const QString &path);
// The same from text, for tests and tools; `path` only names it in errors.
ReportTemplate parseTemplate(const QString &text, const QString &path);

// A "{Name}" or "{Name:format}" of a text; "{{" stands for a brace itself.
struct Placeholder {
    qsizetype start = 0;
    qsizetype length = 0;
    QString name;
    QString format;
};
std::vector<Placeholder> placeholders(const QString &text);

// The names a template may use in any text besides its parameters and fields.
bool isSpecialName(const QString &name);

} // namespace chemodesk::reportengine
