#pragma once

// The sorting and the typed filter over a RecordsetModel (or any model that
// answers its SortRole): a header click orders by value, so dates and amounts
// sort as dates and amounts, not as their text; typed text keeps the rows
// whose shown text holds it, in any case, in one or several columns.
//
//     auto *rows = new RecordsetFilterModel(this);
//     rows->setSourceModel(model);
//     rows->setFilterColumns({model->columnOf("Code"), model->columnOf("Name")});
//     connect(txtFind, &QLineEdit::textEdited, rows, &RecordsetFilterModel::setFilterText);
//     grdList->setModel(rows);
//     grdList->setSortingEnabled(true);

#include <QList>
#include <QSortFilterProxyModel>
#include <QString>

namespace chemodesk::widgets {

class RecordsetFilterModel : public QSortFilterProxyModel {
    Q_OBJECT
public:
    enum class Match { Contains, StartsWith };

    explicit RecordsetFilterModel(QObject *parent = nullptr);

    // The source columns the text is looked for in; none: every column.
    void setFilterColumns(QList<int> columns);
    void setMatch(Match match);
    QString filterText() const { return text_; }

    // Negative when `left` goes first. Nulls go before every value; numbers
    // and date-times by value; texts without regard to case.
    static int compareValues(const QVariant &left, const QVariant &right);

public Q_SLOTS:
    // An empty text keeps every row.
    void setFilterText(const QString &text);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    QList<int> columns_;
    QString text_;
    Match match_ = Match::Contains;
};

} // namespace chemodesk::widgets
