#pragma once

// The read-only grid of the pick dialogs: whole rows, one selected at a time,
// filled from a record set.

#include <QStringList>

class QTableWidget;
class QWidget;

namespace chemodesk {
class Recordset;
}

namespace chemodesk::widgets {

QTableWidget *makePickerGrid(QWidget *parent);

// Replaces the rows with those of `rs`, column by column (Nulls empty), under
// `headers`, or the record set's own column names when `headers` is empty.
// The first row becomes current, so Enter picks it at once.
void fillPickerGrid(QTableWidget *grid, Recordset &rs, const QStringList &headers = {});

// The text of `column` in the current row; empty when there is none.
QString currentText(const QTableWidget *grid, int column);

} // namespace chemodesk::widgets
