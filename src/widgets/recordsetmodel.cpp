#include "recordsetmodel.h"

#include "reportengine/valueformat.h"
#include "widgets/gridformat.h"

#include <QAbstractProxyModel>

namespace chemodesk::widgets {

namespace {

bool isNull(const QVariant &value)
{
    return !value.isValid() || value.isNull();
}

// Case-insensitive, as the server's names are.
int indexIn(const QStringList &names, const QString &field)
{
    for (qsizetype i = 0; i < names.size(); ++i)
        if (names.at(i).compare(field, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

// In the words a record set uses for the same mistakes.
DatabaseError unknownColumn(const QString &field)
{
    return DatabaseError(QStringLiteral("Item cannot be found in the collection corresponding to "
                                        "the requested name or ordinal: %1")
                             .arg(field));
}

} // namespace

std::vector<RecordsetColumn> formatStringColumns(const QString &gridFormat,
                                                 const QStringList &fields,
                                                 const QStringList &formats)
{
    const QList<FormatColumn> layout = parseFormatString(gridFormat);
    std::vector<RecordsetColumn> out;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        RecordsetColumn column;
        column.field = fields.at(i);
        column.format = formats.value(i);
        if (i < layout.size()) {
            column.caption = layout.at(i).header.trimmed();
            column.alignment = layout.at(i).alignment;
        }
        out.push_back(column);
    }
    return out;
}

RecordsetModel::RecordsetModel(std::vector<RecordsetColumn> columns, QObject *parent)
    : QAbstractTableModel(parent), everyColumn_(columns.empty())
{
    for (const RecordsetColumn &column : columns) {
        Shown shown;
        shown.column = column;
        if (reportengine::isDateFormat(column.format))
            shown.kind = Kind::Date;
        else if (column.format.contains(QLatin1Char('0')) ||
                 column.format.contains(QLatin1Char('#')))
            shown.kind = Kind::Number;
        if (!shown.column.alignment)
            shown.column.alignment =
                (shown.kind == Kind::Number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
        shown_.push_back(shown);
    }
    sortValues_.resize(shown_.size());
}

void RecordsetModel::setRecordset(Recordset rows)
{
    const QStringList names =
        rows.State() == Recordset::adStateOpen ? rows.ColumnNames() : QStringList();
    // Checked before anything changes, so a misspelt column leaves the rows.
    std::vector<Shown> shown;
    if (everyColumn_) {
        for (qsizetype i = 0; i < names.size(); ++i) {
            Shown all;
            all.column.field = names.at(i);
            all.column.alignment = Qt::AlignLeft | Qt::AlignVCenter;
            all.source = int(i);
            shown.push_back(all);
        }
    } else {
        shown = shown_;
        for (Shown &column : shown) {
            column.source = indexIn(names, column.column.field);
            if (column.source < 0 && !names.isEmpty())
                throw unknownColumn(column.column.field);
        }
    }

    beginResetModel();
    shown_ = std::move(shown);
    names_ = names;
    cells_.clear();
    sortValues_.assign(shown_.size(), {});
    rows_ = 0;
    if (!names.isEmpty()) {
        cells_.reserve(size_t(std::max<long>(rows.RecordCount(), 0)) * size_t(names.size()));
        for (rows.MoveFirst(); !rows.atEnd(); rows.MoveNext(), ++rows_)
            for (int i = 0; i < rows.FieldCount(); ++i)
                cells_.push_back(rows.Fields(i).Value());
    }
    endResetModel();
}

const QVariant &RecordsetModel::cell(int row, int column) const
{
    return cells_.at(size_t(row) * size_t(names_.size()) + size_t(column));
}

void RecordsetModel::checkRow(int row) const
{
    if (row < 0 || row >= rows_)
        throw DatabaseError(QStringLiteral("Either BOF or EOF is True, or the current record has "
                                           "been deleted. Requested operation requires a current "
                                           "record."));
}

Field RecordsetModel::value(int row, const QString &field) const
{
    const int column = indexIn(names_, field);
    if (column < 0)
        throw unknownColumn(field);
    checkRow(row);
    return Field(names_.at(column), cell(row, column));
}

Field RecordsetModel::value(const QModelIndex &index, const QString &field) const
{
    return value(sourceRow(index), field);
}

int RecordsetModel::sourceRow(const QModelIndex &index) const
{
    QModelIndex at = index;
    while (at.isValid() && at.model() != this) {
        const auto *proxy = qobject_cast<const QAbstractProxyModel *>(at.model());
        if (!proxy)
            return -1;
        at = proxy->mapToSource(at);
    }
    return at.isValid() ? at.row() : -1;
}

Recordset RecordsetModel::record(int row) const
{
    checkRow(row);
    std::vector<QVariant> values;
    for (int column = 0; column < names_.size(); ++column)
        values.push_back(cell(row, column));
    return Recordset(names_, {values});
}

int RecordsetModel::columnOf(const QString &field) const
{
    for (size_t i = 0; i < shown_.size(); ++i)
        if (shown_[i].column.field.compare(field, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

int RecordsetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int RecordsetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(shown_.size());
}

QVariant RecordsetModel::sortValue(const Shown &shown, const QVariant &raw) const
{
    if (isNull(raw))
        return {};
    switch (shown.kind) {
    case Kind::Date:
        if (const auto moment = reportengine::toDateTime(raw))
            return *moment;
        break;
    case Kind::Number:
        if (const auto number = reportengine::toNumber(raw))
            return *number;
        break;
    case Kind::Text:
        break;
    }
    return raw;
}

QString RecordsetModel::text(const Shown &shown, const QVariant &raw) const
{
    if (isNull(raw))
        return QString();
    // The kind was read from the format once; a value not of that kind shows
    // as it came.
    switch (shown.kind) {
    case Kind::Date:
        if (const auto moment = reportengine::toDateTime(raw))
            return reportengine::formatDateTime(*moment, shown.column.format);
        return raw.toString();
    case Kind::Number:
        if (const auto number = reportengine::toNumber(raw))
            return reportengine::formatNumber(*number, shown.column.format);
        return raw.toString();
    case Kind::Text:
        break;
    }
    return reportengine::formatValue(raw, shown.column.format);
}

QVariant RecordsetModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const size_t column = size_t(index.column());
    const Shown &shown = shown_.at(column);
    switch (role) {
    case Qt::DisplayRole:
        return text(shown, cell(index.row(), shown.source));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(shown.column.alignment);
    case SortRole: {
        // A sort asks for each value many times: a column's values are worked
        // out once, when it is first sorted on.
        std::vector<QVariant> &keys = sortValues_.at(column);
        if (keys.empty()) {
            keys.reserve(size_t(rows_));
            for (int row = 0; row < rows_; ++row)
                keys.push_back(sortValue(shown, cell(row, shown.source)));
        }
        return keys.at(size_t(index.row()));
    }
    default:
        return {};
    }
}

QVariant RecordsetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    const RecordsetColumn &column = shown_.at(size_t(section)).column;
    if (role == Qt::DisplayRole)
        return column.caption.isEmpty() ? column.field : column.caption;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(column.alignment);
    return {};
}

} // namespace chemodesk::widgets
