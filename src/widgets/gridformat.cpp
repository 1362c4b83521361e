#include "gridformat.h"

#include <QHeaderView>
#include <QTableWidget>

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

} // namespace chemodesk::widgets
