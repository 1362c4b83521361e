#pragma once

// What a grid or list cuts: each shown heading or value wider than its column.

#include <QHeaderView>
#include <QStringList>
#include <QTableView>
#include <QTreeView>

namespace chemodesk::test {

namespace detail {

// Room for the cell's padding and the header's sort arrow besides the text.
inline bool fits(const QFontMetrics &metrics, const QString &text, int width)
{
    return metrics.horizontalAdvance(text.trimmed()) + 4 <= width;
}

template <typename View> QStringList cutTexts(const View &view, const QHeaderView &header, int rows)
{
    QStringList cut;
    const QAbstractItemModel *model = view.model();
    for (int c = 0; model && c < model->columnCount(); ++c) {
        if (header.isSectionHidden(c))
            continue;
        const int width = header.sectionSize(c);
        const QString heading = model->headerData(c, Qt::Horizontal).toString();
        if (!fits(header.fontMetrics(), heading, width))
            cut << heading;
        for (int r = 0; r < rows; ++r) {
            const QString text = model->index(r, c).data().toString();
            if (!fits(view.fontMetrics(), text, width))
                cut << text;
        }
    }
    return cut;
}

} // namespace detail

inline QStringList cutTexts(const QTableView &grid)
{
    return detail::cutTexts(grid, *grid.horizontalHeader(),
                            grid.model() ? grid.model()->rowCount() : 0);
}

inline QStringList cutTexts(const QTreeView &list)
{
    return detail::cutTexts(list, *list.header(), list.model() ? list.model()->rowCount() : 0);
}

} // namespace chemodesk::test
