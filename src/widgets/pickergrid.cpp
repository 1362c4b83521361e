#include "pickergrid.h"

#include "platform/connection.h"

#include <QHeaderView>
#include <QTableWidget>

namespace chemodesk::widgets {

QTableWidget *makePickerGrid(QWidget *parent)
{
    auto *grid = new QTableWidget(parent);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setTabKeyNavigation(false);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

void fillPickerGrid(QTableWidget *grid, Recordset &rs, const QStringList &headers)
{
    const QStringList labels = headers.isEmpty() ? rs.ColumnNames() : headers;
    const int columns = headers.isEmpty() ? rs.FieldCount() : int(headers.size());
    grid->clearContents();
    grid->setRowCount(0);
    grid->setColumnCount(columns);
    grid->setHorizontalHeaderLabels(labels);
    grid->setRowCount(int(std::max<long>(rs.RecordCount(), 0)));
    int row = 0;
    for (rs.MoveFirst(); !rs.atEnd(); rs.MoveNext(), ++row) {
        for (int column = 0; column < columns && column < rs.FieldCount(); ++column)
            grid->setItem(row, column, new QTableWidgetItem(rs.Fields(column).toString()));
    }
    if (grid->rowCount() > 0)
        grid->setCurrentCell(0, 0);
}

QString currentText(const QTableWidget *grid, int column)
{
    const int row = grid->currentRow();
    if (row < 0 || column >= grid->columnCount())
        return {};
    const QTableWidgetItem *item = grid->item(row, column);
    return item ? item->text() : QString();
}

} // namespace chemodesk::widgets
