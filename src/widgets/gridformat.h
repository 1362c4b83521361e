#pragma once

// Column headers written the way the hospital's grids describe them: one
// format string, "|" between columns, a leading "<" (left), "^" (centre) or
// ">" (right) giving the alignment of the column. Widths are kept in twips,
// as the screens were laid out, and turned into pixels here.

#include <QList>
#include <QString>

class QTableView;
class QTableWidget;
class QTreeView;

namespace chemodesk::widgets {

struct FormatColumn {
    QString header;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

QList<FormatColumn> parseFormatString(const QString &format);

// 15 twips to a pixel on the screens the layout was made for.
int twipsToPixels(int twips);

// Sets the columns of `grid` from `format`: count, headers, header alignment.
// Widths in twips by column, never narrower than the heading; 0 hides the
// column, a missing one leaves it.
void applyFormatString(QTableWidget *grid, const QString &format, const QList<int> &widthsTwips);

// Widens each shown column of a filled grid or list to its heading and its widest value, so that
// no code, date or name is cut; a column already wide enough keeps its width.
void widenToContents(QTableView *grid);
void widenToContents(QTreeView *list);

} // namespace chemodesk::widgets
