#include "recordsetfilter.h"

#include "widgets/recordsetmodel.h"

namespace chemodesk::widgets {

namespace {

bool isNull(const QVariant &value)
{
    return !value.isValid() || value.isNull();
}

bool isText(const QVariant &value)
{
    return value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray;
}

} // namespace

RecordsetFilterModel::RecordsetFilterModel(QObject *parent) : QSortFilterProxyModel(parent)
{
    setSortRole(RecordsetModel::SortRole);
}

void RecordsetFilterModel::setFilterColumns(QList<int> columns)
{
    columns_ = std::move(columns);
    invalidateFilter();
}

void RecordsetFilterModel::setMatch(Match match)
{
    match_ = match;
    invalidateFilter();
}

void RecordsetFilterModel::setFilterText(const QString &text)
{
    if (text == text_)
        return;
    text_ = text;
    invalidateFilter();
}

bool RecordsetFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    if (text_.isEmpty())
        return true;
    const QAbstractItemModel *source = sourceModel();
    auto holds = [&](int column) {
        const QString shown =
            source->index(sourceRow, column, sourceParent).data(Qt::DisplayRole).toString();
        return match_ == Match::StartsWith ? shown.startsWith(text_, Qt::CaseInsensitive)
                                           : shown.contains(text_, Qt::CaseInsensitive);
    };
    if (columns_.isEmpty()) {
        for (int column = 0; column < source->columnCount(sourceParent); ++column)
            if (holds(column))
                return true;
        return false;
    }
    for (const int column : columns_)
        if (column >= 0 && column < source->columnCount(sourceParent) && holds(column))
            return true;
    return false;
}

int RecordsetFilterModel::compareValues(const QVariant &left, const QVariant &right)
{
    const bool leftNull = isNull(left);
    const bool rightNull = isNull(right);
    if (leftNull || rightNull)
        return int(rightNull) - int(leftNull);
    if (isText(left) || isText(right))
        return left.toString().compare(right.toString(), Qt::CaseInsensitive);
    // Numbers of any width, date-times: by value.
    const QPartialOrdering order = QVariant::compare(left, right);
    if (order == QPartialOrdering::Less)
        return -1;
    if (order == QPartialOrdering::Greater)
        return 1;
    if (order == QPartialOrdering::Equivalent)
        return 0;
    return left.toString().compare(right.toString(), Qt::CaseInsensitive);
}

bool RecordsetFilterModel::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    return compareValues(left.data(sortRole()), right.data(sortRole())) < 0;
}

} // namespace chemodesk::widgets
