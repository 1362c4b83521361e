#pragma once

// A report run: the template's sources read with the parameter values, and
// the result laid out as texts (header lines, column heads, detail rows, group
// headers and footers, totals) that the page, Excel and RTF writers share.
// Its text dump is what the golden files of the reports hold.

#include "reporttemplate.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

namespace chemodesk {
class Connection;
}

namespace chemodesk::reportengine {

struct DocText {
    QString text;
    Qt::Alignment align = Qt::AlignLeft;
    bool bold = false;
    bool italic = false;
    int size = 0;
};

struct DocColumn {
    QString caption;
    double width = 10;
    Qt::Alignment align = Qt::AlignLeft;
    // The number format Excel is given for the column's numbers; empty for text.
    QString numberFormat;
    // The display format Excel is given for the column's dates and times; empty when it holds
    // none.
    QString dateFormat;
};

struct DocCell {
    QString text;
    std::optional<double> number;
    // A date or time cell's value, so that a spreadsheet sorts and filters it as one.
    std::optional<QDateTime> moment;
};

struct DocRow {
    enum Kind { Detail, GroupHeader, GroupFooter, Total, Empty };
    Kind kind = Detail;
    int level = 0;              // groups: 0 outermost
    QString label;              // group headers and footers, totals, the empty note
    std::vector<DocCell> cells; // one per column (detail rows, footers' sums)
};

struct DocSection {
    QString name;
    QString title;
    std::vector<DocText> header;
    std::vector<DocColumn> columns;
    std::vector<DocRow> rows;
    std::vector<DocText> footer;
};

struct ReportDocument {
    QString path;
    QString title;
    QString paper;
    bool landscape = false;
    int fontSize = 8;
    // The hospital's name and the server's date and time when the report ran
    // (running page headers and page footers).
    QString hospital;
    QDateTime printDate;
    std::vector<DocSection> sections;

    // One line per printed line; what the golden files compare.
    QString dump() const;
};

// The values one section of the template runs with.
struct SectionValues {
    // One per parameter field; no value prints empty and reaches the source as
    // an empty text.
    std::vector<std::optional<QVariant>> values;
    // The database the source's unqualified names belong to.
    QString database;
};

struct RunValues {
    std::vector<SectionValues> sections; // main report first
    QString reportText;
    QHash<QString, QString> formulas; // upper-case names
};

// Runs the template's sources on `connection` (its default database is set
// for each source and restored afterwards). Raises ReportError naming the
// template when a source fails or lacks a column the layout prints.
ReportDocument buildDocument(const ReportTemplate &templ, const RunValues &values,
                             Connection &connection);

// The text a parameter value becomes inside a source's apostrophes (escaped),
// and as a header prints it; `format` may override the type's default.
QString sourceText(const std::optional<QVariant> &value, platform::ParameterType type,
                   const QString &format = {});
QString displayText(const std::optional<QVariant> &value, platform::ParameterType type,
                    const QString &format = {});

} // namespace chemodesk::reportengine
