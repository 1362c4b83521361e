#include "pagelayout.h"

#include "valueformat.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

namespace chemodesk::reportengine {

using platform::ReportError;

namespace {

constexpr double Padding = 2;
constexpr double FooterHeight = 14;

} // namespace

namespace {

QPageSize::PageSizeId paperId(const QString &paper)
{
    if (paper == QLatin1String("a4"))
        return QPageSize::A4;
    if (paper == QLatin1String("legal"))
        return QPageSize::Legal;
    return QPageSize::Letter;
}

} // namespace

QSizeF PageLayout::paperSize(const QString &paper, bool landscape)
{
    QSizeF size = QPageSize(paperId(paper)).size(QPageSize::Point);
    if (landscape)
        size.transpose();
    return size;
}

PageLayout::PageLayout(const ReportDocument &document) : doc_(&document)
{
    paper_ = paperId(document.paper);
    size_ = paperSize(document.paper, document.landscape);
    bottom_ = size_.height() - margin_ - FooterHeight;

    newPage();
    for (size_t s = 0; s < document.sections.size(); ++s) {
        const DocSection &section = document.sections[s];
        if (s > 0) {
            const QFont title = font(document.fontSize + 2, true);
            ensure(lineHeight(title) * 3);
            y_ += lineHeight(title) * 0.6;
            bookmarks_.push_back({section.title, 0, pageCount() - 1});
            addText(QRectF(margin_, y_, size_.width() - 2 * margin_, lineHeight(title)),
                    section.title, title, Qt::AlignLeft | Qt::AlignVCenter);
            y_ += lineHeight(title);
        }
        for (const DocText &line : section.header)
            text(line);
        if (!section.header.empty())
            y_ += lineHeight(font(document.fontSize)) * 0.5;
        if (!section.columns.empty()) {
            table_ = &section;
            double total = 0;
            for (const DocColumn &c : section.columns)
                total += c.width;
            columnX_.assign(1, margin_);
            double used = 0;
            for (const DocColumn &c : section.columns) {
                used += c.width;
                columnX_.push_back(margin_ + (size_.width() - 2 * margin_) * used / total);
            }
            ensure(lineHeight(font(document.fontSize)) * 3);
            columnHeads();
        }
        for (const DocRow &r : section.rows)
            row(r);
        table_ = nullptr;
        if (!section.footer.empty())
            y_ += lineHeight(font(document.fontSize)) * 0.5;
        for (const DocText &line : section.footer)
            text(line);
    }
    finish();
    doc_ = nullptr;
}

QPageLayout PageLayout::pageLayout() const
{
    return QPageLayout(QPageSize(paper_),
                       size_.width() > size_.height() ? QPageLayout::Landscape
                                                      : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
}

QFont PageLayout::font(int size, bool bold, bool italic) const
{
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    // Pixel sizes in a one-point coordinate system: the painter's scale makes
    // them points on every device.
    f.setPixelSize(size > 0 ? size : doc_->fontSize);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

double PageLayout::lineHeight(const QFont &font) const
{
    return QFontMetricsF(font).height() * 1.25;
}

void PageLayout::addText(const QRectF &rect, const QString &text, const QFont &font, int flags)
{
    QString shown = text;
    if (!(flags & Qt::TextWordWrap))
        shown = QFontMetricsF(font).elidedText(text, Qt::ElideRight, rect.width());
    pages_.back().push_back({Item::Text, rect, shown, font, flags, text});
}

int PageLayout::cellFlags(size_t column, const QString &text, const QFont &font) const
{
    const double width = columnX_[column + 1] - columnX_[column] - 2 * Padding;
    int flags = int(table_->columns[column].align) | Qt::AlignTop | Qt::TextWordWrap;
    // A word wider than its column (a long number, a code) breaks anywhere
    // rather than running into the next column.
    const QFontMetricsF metrics(font);
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        if (metrics.horizontalAdvance(word) > width) {
            flags |= Qt::TextWrapAnywhere;
            break;
        }
    return flags;
}

double PageLayout::cellsHeight(const DocRow &r, size_t first, const QFont &font,
                               double minimum) const
{
    double height = minimum;
    for (size_t k = first; k < r.cells.size() && table_; ++k) {
        const QString &text = r.cells[k].text;
        if (text.isEmpty())
            continue;
        const double width = columnX_[k + 1] - columnX_[k] - 2 * Padding;
        const QRectF bounds = QFontMetricsF(font).boundingRect(QRectF(0, 0, width, 1e6),
                                                               cellFlags(k, text, font), text);
        height = std::max(height, bounds.height() + 2);
    }
    return height;
}

void PageLayout::addLine(double x1, double x2, double y)
{
    pages_.back().push_back({Item::Line, QRectF(x1, y, x2 - x1, 0), {}, {}, 0, {}});
}

void PageLayout::newPage()
{
    pages_.emplace_back();
    y_ = top_;
    if (pages_.size() > 1) {
        const QFont bold = font(doc_->fontSize, true);
        const double h = lineHeight(bold);
        const double width = size_.width() - 2 * margin_;
        addText(QRectF(margin_, y_, width, h), doc_->hospital, bold,
                Qt::AlignLeft | Qt::AlignVCenter);
        addText(QRectF(margin_, y_, width, h), doc_->title, bold,
                Qt::AlignRight | Qt::AlignVCenter);
        y_ += h;
        addLine(margin_, size_.width() - margin_, y_);
        y_ += h * 0.4;
        if (table_)
            columnHeads();
    }
}

void PageLayout::ensure(double height)
{
    if (y_ + height > bottom_ && y_ > top_ + 1)
        newPage();
}

void PageLayout::text(const DocText &line)
{
    const QFont f = font(line.size, line.bold, line.italic);
    const double width = size_.width() - 2 * margin_;
    const int flags = int(line.align) | Qt::AlignVCenter | Qt::TextWordWrap;
    const QRectF bounds = QFontMetricsF(f).boundingRect(QRectF(0, 0, width, 1e6), flags, line.text);
    const double h = std::max(lineHeight(f), bounds.height() + 2);
    ensure(h);
    addText(QRectF(margin_, y_, width, h), line.text, f, flags);
    y_ += h;
}

void PageLayout::columnHeads()
{
    const QFont bold = font(doc_->fontSize, true);
    // A caption wider than its column goes on two lines rather than cut.
    DocRow heads;
    for (const DocColumn &c : table_->columns)
        heads.cells.push_back({c.caption, {}, {}});
    const double h = lineHeight(bold);
    const double height = cellsHeight(heads, 0, bold, h);
    for (size_t k = 0; k < table_->columns.size(); ++k) {
        const DocColumn &c = table_->columns[k];
        addText(
            QRectF(columnX_[k] + Padding, y_, columnX_[k + 1] - columnX_[k] - 2 * Padding, height),
            c.caption, bold,
            height > h ? cellFlags(k, c.caption, bold) : int(c.align) | Qt::AlignVCenter);
    }
    y_ += height;
    addLine(margin_, size_.width() - margin_, y_);
    y_ += 1;
}

void PageLayout::row(const DocRow &r)
{
    const bool strong = r.kind != DocRow::Detail && r.kind != DocRow::Empty;
    const QFont f = font(doc_->fontSize, strong, r.kind == DocRow::Empty);
    const double h = lineHeight(f);
    const double right = size_.width() - margin_;
    switch (r.kind) {
    case DocRow::GroupHeader: {
        const double before = r.level == 0 ? h * 0.4 : h * 0.2;
        // A heading needs its first row under it.
        ensure(before + 2 * h);
        y_ += before;
        const double indent = margin_ + Padding + r.level * 10;
        bookmarks_.push_back({r.label, r.level + 1, pageCount() - 1});
        addText(QRectF(indent, y_, right - indent, h), r.label, f,
                Qt::AlignLeft | Qt::AlignVCenter);
        y_ += h;
        return;
    }
    case DocRow::Empty:
        ensure(h);
        addText(QRectF(margin_ + Padding, y_, right - margin_, h), r.label, f,
                Qt::AlignLeft | Qt::AlignVCenter);
        y_ += h;
        return;
    case DocRow::Detail:
        break;
    case DocRow::GroupFooter:
    case DocRow::Total:
        break;
    }
    // Labels run over the empty cells before the first figure.
    size_t firstFigure = r.cells.size();
    if (r.kind != DocRow::Detail) {
        for (size_t k = 0; k < r.cells.size(); ++k)
            if (!r.cells[k].text.isEmpty()) {
                firstFigure = k;
                break;
            }
    }
    // Dates, reasons and long names wrap in their columns: the row grows to
    // its tallest cell instead of cutting any short.
    const size_t firstCell = r.kind == DocRow::Detail ? 0 : firstFigure;
    double rowHeight = cellsHeight(r, firstCell, f, h);
    const double labelEnd = table_ && firstFigure < r.cells.size() ? columnX_[firstFigure] : right;
    const double indent = margin_ + Padding + r.level * 10;
    const int labelFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextWrapAnywhere;
    if (r.kind != DocRow::Detail && !r.label.isEmpty()) {
        const QRectF bounds = QFontMetricsF(f).boundingRect(
            QRectF(0, 0, labelEnd - indent - Padding, 1e6), labelFlags, r.label);
        rowHeight = std::max(rowHeight, bounds.height() + 2);
    }
    if (r.kind == DocRow::Detail) {
        ensure(rowHeight);
    } else {
        ensure(rowHeight + 3);
        y_ += 1;
        if (r.kind == DocRow::Total)
            addLine(margin_, right, y_ - 0.5);
        else
            for (size_t k = firstFigure; k < r.cells.size() && table_; ++k)
                if (!r.cells[k].text.isEmpty())
                    addLine(columnX_[k] + Padding, columnX_[k + 1] - Padding, y_ - 0.5);
        addText(QRectF(indent, y_, labelEnd - indent - Padding, rowHeight), r.label, f,
                rowHeight > h ? labelFlags : Qt::AlignLeft | Qt::AlignVCenter);
    }
    for (size_t k = firstCell; k < r.cells.size() && table_; ++k) {
        if (r.cells[k].text.isEmpty())
            continue;
        const DocColumn &c = table_->columns[k];
        const QRectF cell(columnX_[k] + Padding, y_, columnX_[k + 1] - columnX_[k] - 2 * Padding,
                          rowHeight);
        // A row of one line keeps its texts centred on the line.
        addText(cell, r.cells[k].text, f,
                rowHeight > h ? cellFlags(k, r.cells[k].text, f) : int(c.align) | Qt::AlignVCenter);
    }
    y_ += rowHeight;
    if (r.kind == DocRow::Total)
        y_ += 2;
}

void PageLayout::finish()
{
    const QFont small = font(std::max(6, doc_->fontSize - 1));
    const double y = size_.height() - margin_ - FooterHeight + 4;
    const double width = size_.width() - 2 * margin_;
    const QString printed =
        doc_->printDate.isValid()
            ? QStringLiteral("Printed: ") +
                  formatDateTime(doc_->printDate, QStringLiteral("mm/dd/yyyy hh:mm AM/PM"))
            : QString();
    for (int i = 0; i < pageCount(); ++i) {
        const QString number = QStringLiteral("Page %1 of %2").arg(i + 1).arg(pageCount());
        pages_[size_t(i)].push_back({Item::Text, QRectF(margin_, y, width, FooterHeight), printed,
                                     small, Qt::AlignLeft | Qt::AlignVCenter, printed});
        pages_[size_t(i)].push_back({Item::Text, QRectF(margin_, y, width, FooterHeight), number,
                                     small, Qt::AlignRight | Qt::AlignVCenter, number});
    }
}

void PageLayout::paintPage(QPainter &painter, int page) const
{
    if (page < 0 || page >= pageCount())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QPen pen(Qt::black);
    pen.setWidthF(0.5);
    painter.setPen(pen);
    for (const Item &item : pages_[size_t(page)]) {
        if (item.kind == Item::Line) {
            painter.drawLine(item.rect.topLeft(), item.rect.topRight());
            continue;
        }
        painter.setFont(item.font);
        painter.drawText(item.rect, item.flags, item.text);
    }
    painter.restore();
}

void PageLayout::paint(QPagedPaintDevice &device, const QString &what, int first, int last) const
{
    first = std::clamp(first, 0, pageCount() - 1);
    last = last < 0 ? pageCount() - 1 : std::clamp(last, first, pageCount() - 1);
    QPainter painter;
    if (!painter.begin(&device))
        throw ReportError(QStringLiteral("The report cannot be written to %1.").arg(what));
    const double scale = device.logicalDpiX() / 72.0;
    for (int i = first; i <= last; ++i) {
        if (i > first && !device.newPage()) {
            painter.end();
            throw ReportError(QStringLiteral("The report cannot be written to %1.").arg(what));
        }
        painter.save();
        painter.scale(scale, device.logicalDpiY() / 72.0);
        paintPage(painter, i);
        painter.restore();
    }
    if (!painter.end())
        throw ReportError(QStringLiteral("The report cannot be written to %1.").arg(what));
}

QStringList PageLayout::cutTexts(int page) const
{
    QStringList out;
    if (page < 0 || page >= pageCount())
        return out;
    for (const Item &item : pages_[size_t(page)]) {
        if (item.kind != Item::Text || item.full.isEmpty())
            continue;
        const QRectF needed = QFontMetricsF(item.font).boundingRect(
            QRectF(0, 0, item.rect.width(), 1e6), item.flags, item.full);
        if (item.text != item.full || needed.height() > item.rect.height() + 0.5 ||
            needed.width() > item.rect.width() + 0.5)
            out << item.full;
    }
    return out;
}

QStringList PageLayout::pageTexts(int page) const
{
    QStringList out;
    if (page < 0 || page >= pageCount())
        return out;
    for (const Item &item : pages_[size_t(page)])
        if (item.kind == Item::Text && !item.text.isEmpty())
            out << item.text;
    return out;
}

} // namespace chemodesk::reportengine
