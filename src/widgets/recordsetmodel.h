#pragma once

// A record set as a table for a QTableView: the chosen columns under their
// headings, each value written in its column's format (as the reports spell
// formats), Nulls empty, numbers right-aligned. Every column of the rows is
// kept, shown or not, so the caller reads the chosen row's code or anything
// else by name. Sorting and the typed filter are RecordsetFilterModel's.
//
//     RecordsetModel model({{"ORNo", "OR No."}, {"ORDate", "Date", "mm/dd/yyyy"},
//                           {"Amount", "Amount", "##0.00"}});
//     model.setRecordset(db.Open(sql));

#include "platform/connection.h"

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <vector>

namespace chemodesk::widgets {

struct RecordsetColumn {
    QString field{};   // the record set's column, in any case
    QString caption{}; // its heading; the field's name when empty
    // "" (the value as it comes), "mm/dd/yyyy", "hh:mmAM/PM", "0.00", "##0.00", ...
    QString format{};
    // None given: numbers (a format of 0 and #) right, the rest left.
    Qt::Alignment alignment = {};
};

// Columns laid out by a grid's format string ("<Code|<Name|>Amount"), the one
// the screens' grids are described with: its headings and alignments, and by
// position the fields and their value formats.
std::vector<RecordsetColumn> formatStringColumns(const QString &gridFormat,
                                                 const QStringList &fields,
                                                 const QStringList &formats = {});

class RecordsetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role {
        // The value to order by: a date-time in date columns, a number in
        // number columns, else the value as it came. Invalid for a Null.
        SortRole = Qt::UserRole + 1,
    };

    // No columns: every column of each record set, under its own name.
    explicit RecordsetModel(std::vector<RecordsetColumn> columns = {}, QObject *parent = nullptr);

    // Replaces every row (a model reset). A closed record set empties the
    // model; an open one without a chosen column raises DatabaseError naming
    // it, and the model keeps its rows.
    void setRecordset(Recordset rows);

    // The value of `field` (any case) in `row`; an unknown name raises
    // DatabaseError, as a record set does.
    Field value(int row, const QString &field) const;
    // The same for an index of this model or of any proxy over it.
    Field value(const QModelIndex &index, const QString &field) const;
    // The row whole, every column, as a one-row record set. A row out of
    // range raises DatabaseError, as a record set past its end does.
    Recordset record(int row) const;
    // This model's row for an index of this model or of a proxy over it; -1
    // for none.
    int sourceRow(const QModelIndex &index) const;
    // The shown column of `field`, -1 when it is not shown.
    int columnOf(const QString &field) const;
    const QStringList &fieldNames() const { return names_; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    enum class Kind { Text, Number, Date };
    struct Shown {
        RecordsetColumn column;
        Kind kind = Kind::Text;
        int source = -1; // index in the record set's columns
    };

    void checkRow(int row) const;
    const QVariant &cell(int row, int column) const;
    QVariant sortValue(const Shown &shown, const QVariant &raw) const;
    QString text(const Shown &shown, const QVariant &raw) const;

    bool everyColumn_ = false;
    std::vector<Shown> shown_;
    QStringList names_;
    std::vector<QVariant> cells_; // row after row, every column of the record set
    mutable std::vector<std::vector<QVariant>> sortValues_; // by shown column, once sorted on
    int rows_ = 0;
};

} // namespace chemodesk::widgets
