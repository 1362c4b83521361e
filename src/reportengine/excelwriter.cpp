#include "exporters.h"

#include <QFile>
#include <QRegularExpression>

#include <map>

#include <xlsxwriter.h>

namespace chemodesk::reportengine {

using platform::ReportError;

namespace {

class Workbook {
public:
    explicit Workbook(const QString &path) : path_(path)
    {
        // The library only finds out on closing, and says so on the console.
        QFile probe(path);
        if (!probe.open(QIODevice::WriteOnly))
            fail(probe.errorString());
        probe.close();
        book_ = workbook_new(QFile::encodeName(path).constData());
        if (!book_)
            fail(QStringLiteral("the workbook cannot be made"));
    }
    ~Workbook()
    {
        // A workbook left open on a failure is still closed, which writes it.
        if (book_)
            workbook_close(book_);
    }

    [[noreturn]] void fail(const QString &problem) const
    {
        throw ReportError(
            QStringLiteral("The report cannot be saved as \"%1\": %2.").arg(path_, problem));
    }

    lxw_worksheet *sheet(const QString &title)
    {
        QString name = title;
        name.remove(QRegularExpression(QStringLiteral("[\\[\\]:*?/\\\\]")));
        name = name.trimmed().left(31);
        if (name.isEmpty())
            name = QStringLiteral("Report");
        lxw_worksheet *ws = workbook_add_worksheet(book_, name.toUtf8().constData());
        if (!ws)
            fail(QStringLiteral("the worksheet cannot be added"));
        return ws;
    }

    // One format per look, made on first use.
    lxw_format *format(bool bold, const QString &numberFormat, bool topBorder = false,
                       bool bottomBorder = false, int size = 0)
    {
        const QString key = QStringLiteral("%1|%2|%3|%4|%5")
                                .arg(bold)
                                .arg(numberFormat)
                                .arg(topBorder)
                                .arg(bottomBorder)
                                .arg(size);
        auto it = formats_.find(key);
        if (it != formats_.end())
            return it->second;
        lxw_format *f = workbook_add_format(book_);
        if (bold)
            format_set_bold(f);
        if (!numberFormat.isEmpty())
            format_set_num_format(f, numberFormat.toUtf8().constData());
        if (topBorder)
            format_set_top(f, LXW_BORDER_THIN);
        if (bottomBorder)
            format_set_bottom(f, LXW_BORDER_THIN);
        if (size > 0)
            format_set_font_size(f, size);
        formats_.emplace(key, f);
        return f;
    }

    void close()
    {
        const lxw_error error = workbook_close(book_);
        book_ = nullptr;
        if (error != LXW_NO_ERROR)
            fail(QString::fromUtf8(lxw_strerror(error)));
    }

private:
    QString path_;
    lxw_workbook *book_ = nullptr;
    std::map<QString, lxw_format *> formats_;
};

// The templates' date and time formats ("mm/dd/yyyy hh:mmAM/PM", "mmmm d, yyyy") are
// spreadsheet formats as they stand.
void moment(lxw_worksheet *ws, int row, int col, const QDateTime &value, lxw_format *format)
{
    const QDate d = value.date();
    const QTime t = value.time();
    lxw_datetime when = {d.year(), d.month(),  d.day(),
                         t.hour(), t.minute(), t.second() + t.msec() / 1000.0};
    worksheet_write_datetime(ws, lxw_row_t(row), lxw_col_t(col), &when, format);
}

void text(lxw_worksheet *ws, int row, int col, const QString &value, lxw_format *format)
{
    if (!value.isEmpty())
        worksheet_write_string(ws, lxw_row_t(row), lxw_col_t(col), value.toUtf8().constData(),
                               format);
    else if (format)
        worksheet_write_blank(ws, lxw_row_t(row), lxw_col_t(col), format);
}

} // namespace

void writeExcel(const ReportDocument &document, const QString &path)
{
    Workbook book(path);
    lxw_worksheet *ws = book.sheet(document.title);
    int row = 0;
    std::vector<double> widths;
    for (size_t s = 0; s < document.sections.size(); ++s) {
        const DocSection &section = document.sections[s];
        if (s > 0) {
            ++row;
            text(ws, row++, 0, section.title, book.format(true, {}, false, false, 12));
        }
        for (const DocText &line : section.header)
            text(ws, row++, 0, line.text, book.format(line.bold, {}, false, false, line.size));
        if (!section.header.empty())
            ++row;
        for (size_t k = 0; k < section.columns.size(); ++k) {
            text(ws, row, int(k), section.columns[k].caption, book.format(true, {}, false, true));
            if (widths.size() <= k)
                widths.resize(k + 1, 0);
            widths[k] = std::max(widths[k], section.columns[k].width * 1.2);
        }
        if (!section.columns.empty())
            ++row;
        for (const DocRow &r : section.rows) {
            const bool strong = r.kind != DocRow::Detail;
            if (r.kind == DocRow::GroupHeader || r.kind == DocRow::Empty) {
                text(ws, row++, 0, r.label, book.format(r.kind == DocRow::GroupHeader, {}));
                continue;
            }
            const bool ruled = r.kind == DocRow::Total;
            bool labelled = r.kind == DocRow::Detail;
            for (size_t k = 0; k < r.cells.size(); ++k) {
                const DocCell &cell = r.cells[k];
                const QString &numberFormat = section.columns[k].numberFormat;
                const QString &dateFormat = section.columns[k].dateFormat;
                if (cell.number && !numberFormat.isEmpty()) {
                    worksheet_write_number(ws, lxw_row_t(row), lxw_col_t(k), *cell.number,
                                           book.format(strong, numberFormat, ruled));
                } else if (cell.moment && !dateFormat.isEmpty()) {
                    moment(ws, row, int(k), *cell.moment, book.format(strong, dateFormat, ruled));
                } else if (!labelled && cell.text.isEmpty()) {
                    text(ws, row, int(k), r.label, book.format(true, {}, ruled));
                    labelled = true;
                } else {
                    text(ws, row, int(k), cell.text, book.format(strong, {}, ruled));
                }
            }
            if (!labelled && r.cells.empty())
                text(ws, row, 0, r.label, book.format(true, {}));
            ++row;
        }
        for (const DocText &line : section.footer)
            text(ws, row++, 0, line.text, book.format(line.bold, {}, false, false, line.size));
    }
    for (size_t k = 0; k < widths.size(); ++k)
        worksheet_set_column(ws, lxw_col_t(k), lxw_col_t(k), std::max(8.0, widths[k]), nullptr);
    book.close();
}

} // namespace chemodesk::reportengine
