#pragma once

// A report document cut into pages: the first page opens with the report's
// header lines, later pages with a running header of the hospital and the
// title; column heads repeat on every page a table continues on; group
// headers never stay alone at the foot of a page; every page ends with the
// print date and "Page N of M". Coordinates are points (1/72 inch), so one
// layout serves the viewer, PDF files and printers alike.

#include "reportdocument.h"

#include <QFont>
#include <QPageLayout>
#include <QRectF>
#include <QSizeF>

#include <vector>

class QPainter;
class QPagedPaintDevice;

namespace chemodesk::reportengine {

class PageLayout {
public:
    explicit PageLayout(const ReportDocument &document);

    // The paper in points, turned as the template asks.
    QSizeF pageSize() const { return size_; }
    static QSizeF paperSize(const QString &paper, bool landscape);
    QPageLayout pageLayout() const;
    int pageCount() const { return static_cast<int>(pages_.size()); }

    // Paints one page with the painter's unit being one point.
    void paintPage(QPainter &painter, int page) const;
    // Pages first..last (0-based; every page by default) onto a PDF writer or
    // a printer whose page layout is already set (see pageLayout()). Raises
    // ReportError naming `what` when the device refuses.
    void paint(QPagedPaintDevice &device, const QString &what, int first = 0, int last = -1) const;

    // The groups and subreports, with the page each starts on: the viewer's
    // group tree.
    struct Bookmark {
        QString text;
        int level = 0;
        int page = 0;
    };
    const std::vector<Bookmark> &bookmarks() const { return bookmarks_; }

    // The texts of a page, for tests.
    QStringList pageTexts(int page) const;
    // The texts of a page shown cut short (elided, or taller or wider than
    // their box), as they should have read; for tests.
    QStringList cutTexts(int page) const;

private:
    struct Item {
        enum Kind { Text, Line };
        Kind kind = Text;
        QRectF rect;
        QString text;
        QFont font;
        int flags = 0;
        QString full; // the text before any eliding
    };
    using Page = std::vector<Item>;

    QFont font(int size, bool bold = false, bool italic = false) const;
    double lineHeight(const QFont &font) const;
    void newPage();
    void ensure(double height);
    void text(const DocText &line);
    void columnHeads();
    void row(const DocRow &row);
    // The height the cells of a row need with their texts wrapped in their
    // columns, at least `minimum`.
    double cellsHeight(const DocRow &row, size_t first, const QFont &font, double minimum) const;
    int cellFlags(size_t column, const QString &text, const QFont &font) const;
    void addText(const QRectF &rect, const QString &text, const QFont &font, int flags);
    void addLine(double x1, double x2, double y);
    void finish();

    // Only while the pages are being made.
    const ReportDocument *doc_ = nullptr;
    QPageSize::PageSizeId paper_ = QPageSize::Letter;
    QSizeF size_;
    double margin_ = 36;
    double top_ = 36;
    double bottom_ = 0;
    double y_ = 0;
    std::vector<Page> pages_;
    std::vector<Bookmark> bookmarks_;
    // The table being laid out, when one is.
    const DocSection *table_ = nullptr;
    std::vector<double> columnX_;
};

} // namespace chemodesk::reportengine
