#include "reportdocument.h"

#include "valueformat.h"

#include "database/sqltext.h"
#include "database/translator.h"
#include "platform/connection.h"

#include <map>

namespace chemodesk::reportengine {

using platform::ParameterType;
using platform::ReportError;

namespace {

struct Rows {
    QStringList columns;
    std::vector<std::vector<QVariant>> rows;

    int index(const QString &name) const
    {
        for (int i = 0; i < columns.size(); ++i)
            if (columns.at(i).compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }
};

// The connection is the screens' own: whatever default database a source
// needs, the screens find theirs again afterwards.
class DefaultDatabase {
public:
    DefaultDatabase(Connection &connection, const QString &database)
        : connection_(connection), previous_(connection.DefaultDatabase())
    {
        if (!database.isEmpty() && db::Translator::isDatabase(database))
            connection_.setDefaultDatabase(database);
    }
    ~DefaultDatabase()
    {
        try {
            if (connection_.DefaultDatabase() != previous_)
                connection_.setDefaultDatabase(previous_);
        } catch (...) {
        }
    }

private:
    Connection &connection_;
    QString previous_;
};

QString styleOf(const DocText &t)
{
    QStringList words;
    words << (t.align & Qt::AlignHCenter ? QStringLiteral("center")
              : t.align & Qt::AlignRight ? QStringLiteral("right")
                                         : QStringLiteral("left"));
    if (t.bold)
        words << QStringLiteral("bold");
    if (t.italic)
        words << QStringLiteral("italic");
    if (t.size > 0)
        words << QString::number(t.size);
    return words.join(QLatin1Char(' '));
}

QString joinCells(const std::vector<DocCell> &cells)
{
    QStringList texts;
    for (const DocCell &c : cells)
        texts << c.text;
    while (!texts.isEmpty() && texts.last().isEmpty())
        texts.removeLast();
    return texts.join(QStringLiteral(" | "));
}

QString withCells(const QString &label, const std::vector<DocCell> &cells)
{
    const QString figures = joinCells(cells);
    return figures.isEmpty() ? label : label + QStringLiteral(" | ") + figures;
}

class Runner {
public:
    Runner(const ReportTemplate &templ, const RunValues &values, Connection &connection)
        : t_(templ), v_(values), c_(connection)
    {
    }

    ReportDocument run()
    {
        ReportDocument doc;
        doc.path = t_.path;
        doc.title = t_.main.title;
        doc.paper = t_.paper;
        doc.landscape = t_.landscape;
        doc.fontSize = t_.fontSize;
        readHospital();
        doc.hospital = hospital_;
        doc.printDate = printDate_;
        for (int s = 0; s < t_.sectionCount(); ++s)
            doc.sections.push_back(section(s));
        doc.title = doc.sections.front().title;
        return doc;
    }

private:
    [[noreturn]] void fail(const QString &problem) const
    {
        throw ReportError(QStringLiteral("Report template \"%1\": %2.").arg(t_.path, problem));
    }

    QString which(int s) const
    {
        return s == 0 ? QStringLiteral("the report")
                      : QStringLiteral("the subreport \"%1\"").arg(t_.section(s).name);
    }

    Rows query(int s, const QString &text)
    {
        Rows out;
        const SectionValues *values =
            s < static_cast<int>(v_.sections.size()) ? &v_.sections[size_t(s)] : nullptr;
        DefaultDatabase scope(c_, values ? values->database : t_.section(s).database);
        try {
            Recordset rs = c_.Execute(text);
            out.columns = rs.ColumnNames();
            for (; !rs.atEnd(); rs.MoveNext()) {
                std::vector<QVariant> row;
                row.reserve(size_t(rs.FieldCount()));
                for (int i = 0; i < rs.FieldCount(); ++i)
                    row.push_back(rs.Fields(i).Value());
                out.rows.push_back(std::move(row));
            }
        } catch (const DatabaseError &e) {
            fail(QStringLiteral("the source of %1 failed: %2").arg(which(s), e.message()));
        }
        return out;
    }

    void readHospital()
    {
        try {
            Recordset rs = c_.Execute(QStringLiteral(
                "SELECT Company, GetDate() AS ServerDate FROM PATIENT_DATA..tbHospitalInfo"));
            if (!rs.atEnd()) {
                hospital_ = rs.Fields(QStringLiteral("Company")).trimmed();
                printDate_ = rs.Fields(QStringLiteral("ServerDate")).toDateTime();
            }
        } catch (const DatabaseError &e) {
            fail(QStringLiteral("the hospital's name cannot be read: %1").arg(e.message()));
        }
    }

    // The parameter `name` of section s, or of the main report.
    bool parameter(int s, const QString &name, std::optional<QVariant> &value,
                   ParameterType &type) const
    {
        for (int owner : {s, 0}) {
            const int index = t_.section(owner).parameterIndex(name);
            if (index < 0)
                continue;
            type = t_.section(owner).parameters[size_t(index)].type;
            const auto &values = owner < static_cast<int>(v_.sections.size())
                                     ? v_.sections[size_t(owner)].values
                                     : std::vector<std::optional<QVariant>>{};
            value = index < static_cast<int>(values.size()) ? values[size_t(index)] : std::nullopt;
            return true;
        }
        return false;
    }

    std::optional<QString> special(int s, const Placeholder &p, std::optional<long> count) const
    {
        const QString name = p.name.toLower();
        if (p.name.startsWith(QLatin1Char('@')))
            return v_.formulas.value(p.name.mid(1).toUpper());
        if (name == QLatin1String("hospital"))
            return hospital_;
        if (name == QLatin1String("reporttext"))
            return v_.reportText;
        if (name == QLatin1String("title") && !t_.section(s).title.contains(QLatin1Char('{')))
            return t_.section(s).title;
        if (name == QLatin1String("printdate"))
            return formatDateTime(printDate_, p.format.isEmpty()
                                                  ? QStringLiteral("mm/dd/yyyy hh:mm AM/PM")
                                                  : p.format);
        if (name == QLatin1String("count") && count)
            return QString::number(*count);
        return std::nullopt;
    }

    static QString replaced(const QString &text, const std::vector<Placeholder> &found,
                            const std::vector<QString> &values)
    {
        QString out = text;
        for (size_t i = found.size(); i-- > 0;)
            out.replace(found[i].start, found[i].length, values[i]);
        return out.replace(QLatin1String("{{"), QLatin1String("{"));
    }

    QString resolveSource(int s, const QString &text) const
    {
        const auto found = placeholders(text);
        std::vector<QString> values;
        for (const Placeholder &p : found) {
            std::optional<QVariant> value;
            ParameterType type;
            if (parameter(s, p.name, value, type))
                values.push_back(sourceText(value, type, p.format));
            else
                values.push_back(sql::escape(special(s, p, std::nullopt).value_or(QString())));
        }
        return replaced(text, found, values);
    }

    QString resolveText(int s, const QString &text, const Rows *rows,
                        const std::vector<QVariant> *row,
                        std::optional<long> count = std::nullopt) const
    {
        const auto found = placeholders(text);
        std::vector<QString> values;
        for (const Placeholder &p : found) {
            std::optional<QVariant> value;
            ParameterType type;
            if (parameter(s, p.name, value, type)) {
                values.push_back(displayText(value, type, p.format));
            } else if (const auto sp = special(s, p, count)) {
                values.push_back(*sp);
            } else if (const int column = rows ? rows->index(p.name) : -1; column >= 0) {
                values.push_back(row ? formatValue((*row)[size_t(column)], p.format) : QString());
            } else {
                fail(QStringLiteral(
                         "%1 prints {%2}, which is neither a parameter nor a column of its source")
                         .arg(which(s), p.name));
            }
        }
        return replaced(text, found, values);
    }

    std::vector<DocText> lines(int s, const std::vector<TextLineSpec> &specs, const Rows *rows,
                               const std::vector<QVariant> *row) const
    {
        std::vector<DocText> out;
        for (const TextLineSpec &def : specs) {
            if (def.optional) {
                QString values;
                for (const Placeholder &p : placeholders(def.text))
                    values += def.text.mid(p.start, p.length);
                if (resolveText(s, values, rows, row).trimmed().isEmpty())
                    continue;
            }
            out.push_back(
                {resolveText(s, def.text, rows, row), def.align, def.bold, def.italic, def.size});
        }
        return out;
    }

    int columnOf(int s, const Rows &rows, const QString &field) const
    {
        const int index = rows.index(field);
        if (index < 0)
            fail(
                QStringLiteral(
                    "%1 prints the field \"%2\", which its source does not return (it returns: %3)")
                    .arg(which(s), field, rows.columns.join(QStringLiteral(", "))));
        return index;
    }

    DocSection section(int s)
    {
        const SectionSpec &def = t_.section(s);
        DocSection out;
        out.name = def.name;
        // Titles may name parameters: "title = {ReportTitle}".
        out.title = resolveText(s, def.title, nullptr, nullptr);
        Rows detail;
        if (!def.source.trimmed().isEmpty())
            detail = query(s, resolveSource(s, def.source));
        Rows head;
        const Rows *headRows = &detail;
        if (!def.headerSource.trimmed().isEmpty()) {
            head = query(s, resolveSource(s, def.headerSource));
            headRows = &head;
        }
        const std::vector<QVariant> *headRow =
            headRows->rows.empty() ? nullptr : &headRows->rows.front();
        out.header = lines(s, def.header, headRows, headRow);

        std::vector<int> columns;
        for (const ColumnSpec &c : def.columns) {
            columns.push_back(columnOf(s, detail, c.field));
            DocColumn dc;
            dc.caption = c.caption;
            dc.width = c.width;
            if (!c.format.isEmpty() && !isDateFormat(c.format))
                dc.numberFormat = c.format;
            else if (!c.format.isEmpty())
                dc.dateFormat = c.format;
            dc.align = c.align                     ? c.align
                       : dc.numberFormat.isEmpty() ? Qt::AlignLeft
                                                   : Qt::AlignRight;
            out.columns.push_back(dc);
        }
        auto sumIndexes = [&](const QStringList &fields) {
            std::vector<size_t> at;
            for (const QString &field : fields)
                for (size_t k = 0; k < def.columns.size(); ++k)
                    if (def.columns[k].field.compare(field, Qt::CaseInsensitive) == 0)
                        at.push_back(k);
            return at;
        };
        struct Level {
            int field = -1;
            std::vector<size_t> sums;
            QString key;
            std::map<size_t, double> totals;
            long count = 0;
        };
        std::vector<Level> levels;
        for (const GroupSpec &g : def.groups)
            levels.push_back({columnOf(s, detail, g.field), sumIndexes(g.sums), {}, {}, 0});
        Level grand{-1, sumIndexes(def.totals.sums), {}, {}, 0};

        auto footerRow = [&](DocRow::Kind kind, int level, const QString &label, const Level &acc) {
            DocRow row;
            row.kind = kind;
            row.level = level;
            row.label = label;
            row.cells.resize(def.columns.size());
            for (size_t k : acc.sums) {
                const double sum = acc.totals.count(k) ? acc.totals.at(k) : 0.0;
                const QString &format = def.columns[k].format;
                row.cells[k].text = formatNumber(sum, isDateFormat(format) ? QString() : format);
                row.cells[k].number = sum;
            }
            return row;
        };
        const std::vector<QVariant> *lastRow = nullptr;
        auto close = [&](size_t from) {
            for (size_t l = levels.size(); l-- > from;) {
                const GroupSpec &g = def.groups[l];
                if (g.footer.isEmpty() && g.sums.isEmpty())
                    continue;
                const QString label = g.footer.isEmpty() ? QStringLiteral("Total")
                                                         : resolveText(s, g.footer, &detail,
                                                                       lastRow, levels[l].count);
                out.rows.push_back(footerRow(DocRow::GroupFooter, int(l), label, levels[l]));
            }
        };
        auto add = [&](Level &acc, const std::vector<QVariant> &row) {
            ++acc.count;
            for (size_t k : acc.sums)
                acc.totals[k] += toNumber(row[size_t(columns[k])]).value_or(0.0);
        };

        for (size_t r = 0; r < detail.rows.size(); ++r) {
            const std::vector<QVariant> &row = detail.rows[r];
            size_t changed = levels.size();
            for (size_t l = 0; l < levels.size(); ++l) {
                const QString key = row[size_t(levels[l].field)].toString();
                if (r == 0 || key != levels[l].key) {
                    changed = l;
                    break;
                }
            }
            if (r > 0 && changed < levels.size())
                close(changed);
            for (size_t l = changed; l < levels.size(); ++l) {
                levels[l].key = row[size_t(levels[l].field)].toString();
                levels[l].totals.clear();
                levels[l].count = 0;
                const QString &header = def.groups[l].header;
                DocRow heading;
                heading.kind = DocRow::GroupHeader;
                heading.level = int(l);
                heading.label = header.isEmpty()
                                    ? formatValue(row[size_t(levels[l].field)], QString())
                                    : resolveText(s, header, &detail, &row);
                out.rows.push_back(heading);
            }
            DocRow line;
            line.kind = DocRow::Detail;
            for (size_t k = 0; k < columns.size(); ++k) {
                const QVariant &value = row[size_t(columns[k])];
                DocCell cell;
                cell.text = formatValue(value, def.columns[k].format);
                if (!out.columns[k].numberFormat.isEmpty())
                    cell.number = toNumber(value);
                else if (!out.columns[k].dateFormat.isEmpty())
                    cell.moment = toDateTime(value);
                line.cells.push_back(cell);
            }
            out.rows.push_back(line);
            for (Level &l : levels)
                add(l, row);
            add(grand, row);
            lastRow = &row;
        }
        if (!detail.rows.empty())
            close(0);
        else if (!def.emptyText.isEmpty())
            out.rows.push_back(
                {DocRow::Empty, 0, resolveText(s, def.emptyText, &detail, nullptr), {}});
        if (def.totals.present)
            out.rows.push_back(
                footerRow(DocRow::Total, 0,
                          resolveText(s, def.totals.label, &detail, lastRow, grand.count), grand));
        out.footer = lines(s, def.footer, headRows, headRow);
        return out;
    }

    const ReportTemplate &t_;
    const RunValues &v_;
    Connection &c_;
    QString hospital_;
    QDateTime printDate_;
};

QString defaultFormat(ParameterType type)
{
    switch (type) {
    case ParameterType::Date:
        return QStringLiteral("mm/dd/yyyy");
    case ParameterType::DateTime:
        return QStringLiteral("mm/dd/yyyy hh:mm:ss AM/PM");
    case ParameterType::Time:
        return QStringLiteral("hh:mm:ss AM/PM");
    default:
        return {};
    }
}

QString plainText(const std::optional<QVariant> &value, ParameterType type, const QString &format)
{
    if (!value || !value->isValid() || value->isNull())
        return {};
    switch (type) {
    case ParameterType::Date:
    case ParameterType::DateTime:
    case ParameterType::Time: {
        const auto moment = toDateTime(*value);
        if (!moment && value->metaType().id() == QMetaType::QTime)
            return formatDateTime(QDateTime(QDate(1899, 12, 30), value->toTime()),
                                  format.isEmpty() ? defaultFormat(type) : format);
        return moment ? formatDateTime(*moment, format.isEmpty() ? defaultFormat(type) : format)
                      : value->toString();
    }
    case ParameterType::Number: {
        const auto number = toNumber(*value);
        return number ? formatNumber(*number, format) : value->toString();
    }
    case ParameterType::Boolean:
        return value->toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case ParameterType::Text:
        break;
    }
    return value->toString();
}

} // namespace

QString sourceText(const std::optional<QVariant> &value, ParameterType type, const QString &format)
{
    return sql::escape(plainText(value, type, format));
}

QString displayText(const std::optional<QVariant> &value, ParameterType type, const QString &format)
{
    if (type == ParameterType::Boolean && value && value->isValid() && !value->isNull())
        return value->toBool() ? QStringLiteral("Yes") : QStringLiteral("No");
    return plainText(value, type, format);
}

ReportDocument buildDocument(const ReportTemplate &templ, const RunValues &values,
                             Connection &connection)
{
    return Runner(templ, values, connection).run();
}

QString ReportDocument::dump() const
{
    QStringList out;
    out << QStringLiteral("REPORT %1 (%2, %3)")
               .arg(title, paper,
                    landscape ? QStringLiteral("landscape") : QStringLiteral("portrait"));
    out << QStringLiteral("PRINTED %1")
               .arg(formatDateTime(printDate, QStringLiteral("mm/dd/yyyy hh:mm AM/PM")));
    for (const DocSection &s : sections) {
        out << QStringLiteral("SECTION %1: %2").arg(s.name, s.title);
        for (const DocText &t : s.header)
            out << QStringLiteral("TEXT %1 | %2").arg(styleOf(t), t.text);
        if (!s.columns.empty()) {
            QStringList captions;
            for (const DocColumn &c : s.columns)
                captions << c.caption;
            out << QStringLiteral("COLUMNS ") + captions.join(QStringLiteral(" | "));
        }
        for (const DocRow &r : s.rows) {
            switch (r.kind) {
            case DocRow::Detail:
                out << QStringLiteral("ROW ") + joinCells(r.cells);
                break;
            case DocRow::GroupHeader:
                out << QStringLiteral("G%1 %2").arg(r.level + 1).arg(r.label);
                break;
            case DocRow::GroupFooter:
                out << QStringLiteral("G%1END %2")
                           .arg(r.level + 1)
                           .arg(withCells(r.label, r.cells));
                break;
            case DocRow::Total:
                out << QStringLiteral("TOTAL ") + withCells(r.label, r.cells);
                break;
            case DocRow::Empty:
                out << QStringLiteral("EMPTY ") + r.label;
                break;
            }
        }
        for (const DocText &t : s.footer)
            out << QStringLiteral("TAIL %1 | %2").arg(styleOf(t), t.text);
    }
    return out.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace chemodesk::reportengine
