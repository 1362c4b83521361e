#include "gridformat.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QTreeView>

#include <algorithm>

namespace chemodesk::widgets {

QList<FormatColumn> parseFormatString(const QString &format)
{
    QList<FormatColumn> out;
    const QStringList parts = format.split(QLatin1Char('|'));
    for (QString part : parts) {
        FormatColumn column;
        if (!part.isEmpty()) {
            switch (part.at(0).unicode()) {
            case '<':
                column.alignment = Qt::AlignLeft | Qt::AlignVCenter;
                part.remove(0, 1);
                break;
            case '^':
                column.alignment = Qt::AlignHCenter | Qt::AlignVCenter;
                part.remove(0, 1);
                break;
            case '>':
                column.alignment = Qt::AlignRight | Qt::AlignVCenter;
                part.remove(0, 1);
                break;
            default:
                break;
            }
        }
        column.header = part;
        out.append(column);
    }
    return out;
}

int twipsToPixels(int twips)
{
    return (twips + 7) / 15;
}

void applyFormatString(QTableWidget *grid, const QString &format, const QList<int> &widthsTwips)
{
    const QList<FormatColumn> columns = parseFormatString(format);
    if (grid->columnCount() < columns.size())
        grid->setColumnCount(int(columns.size()));
    for (int i = 0; i < columns.size(); ++i) {
        auto *item = new QTableWidgetItem(columns[i].header.trimmed());
        item->setTextAlignment(columns[i].alignment);
        grid->setHorizontalHeaderItem(i, item);
    }
    // The layout's widths were made for a smaller font: a heading is never cut.
    const QFontMetrics metrics = grid->horizontalHeader()->fontMetrics();
    for (int i = 0; i < widthsTwips.size() && i < grid->columnCount(); ++i) {
        if (widthsTwips[i] <= 0) {
            grid->setColumnHidden(i, true);
            continue;
        }
        grid->setColumnHidden(i, false);
        const QString header = i < columns.size() ? columns[i].header.trimmed() : QString();
        const int fit = header.isEmpty() ? 0 : metrics.horizontalAdvance(header) + 14;
        grid->setColumnWidth(i, std::max(twipsToPixels(widthsTwips[i]), fit));
    }
}

namespace {

template <typename View, typename Header> void widen(View *view, Header *header, int columns)
{
    for (int c = 0; c < columns; ++c) {
        if (header->isSectionHidden(c))
            continue;
        const int before = view->columnWidth(c);
        view->resizeColumnToContents(c);
        if (view->columnWidth(c) < before)
            view->setColumnWidth(c, before);
    }
}

} // namespace

void widenToContents(QTableView *grid)
{
    if (grid->model())
        widen(grid, grid->horizontalHeader(), grid->model()->columnCount());
}

void widenToContents(QTreeView *list)
{
    if (list->model())
        widen(list, list->header(), list->model()->columnCount());
}

} // namespace chemodesk::widgets
