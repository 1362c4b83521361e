#include "platform/connection.h"

#include <cstring>

namespace chemodesk {

QString Field::toString() const
{
    if (IsNull())
        return {};
    if (value_.typeId() == QMetaType::QDateTime)
        return value_.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (value_.typeId() == QMetaType::Bool)
        return value_.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    return value_.toString();
}

bool Field::toBool() const
{
    if (IsNull())
        return false;
    if (value_.typeId() == QMetaType::Bool)
        return value_.toBool();
    const QString text = value_.toString().trimmed();
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    bool ok = false;
    const double number = text.toDouble(&ok);
    return ok && number != 0.0;
}

double Field::toDouble() const
{
    if (IsNull())
        return 0.0;
    bool ok = false;
    const double number = value_.toString().trimmed().toDouble(&ok);
    return ok ? number : 0.0;
}

qlonglong Field::toLongLong() const
{
    if (value_.typeId() == QMetaType::LongLong || value_.typeId() == QMetaType::Int)
        return value_.toLongLong();
    return static_cast<qlonglong>(toDouble());
}

QDateTime Field::toDateTime() const
{
    if (IsNull())
        return {};
    if (value_.typeId() == QMetaType::QDateTime)
        return value_.toDateTime();
    if (value_.typeId() == QMetaType::QDate)
        return value_.toDate().startOfDay();
    const QString text = value_.toString().trimmed();
    for (const char *format : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm:ss.zzz",
                               "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-ddTHH:mm:ss.zzz", "yyyy-MM-dd"}) {
        const QDateTime parsed = QDateTime::fromString(text, QLatin1String(format));
        if (parsed.isValid())
            return parsed;
    }
    return QDateTime::fromString(text, Qt::ISODateWithMs);
}

Recordset::Builder::Builder(QStringList columns, size_t expectedRows) : columns_(std::move(columns))
{
    cells_.reserve(expectedRows * static_cast<size_t>(columns_.size()));
    text_.reserve(expectedRows * 16 * static_cast<size_t>(columns_.size()));
}

void Recordset::Builder::addReal(double value)
{
    qint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    cells_.push_back({Cell::Real, 0, bits});
}

void Recordset::Builder::addVariant(const QVariant &value)
{
    if (!value.isValid() || value.isNull()) {
        addNull();
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
        addBool(value.toBool());
        return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        addInteger(value.toLongLong());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        addReal(value.toDouble());
        return;
    case QMetaType::QDateTime: {
        // One form for every engine: the ISO text SQLite keeps.
        const QByteArray text =
            value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
        addText(text.constData(), static_cast<int>(text.size()));
        return;
    }
    case QMetaType::QDate: {
        const QByteArray text =
            value.toDate().toString(QStringLiteral("yyyy-MM-dd 00:00:00")).toUtf8();
        addText(text.constData(), static_cast<int>(text.size()));
        return;
    }
    default: {
        const QByteArray text = value.toString().toUtf8();
        addText(text.constData(), static_cast<int>(text.size()));
    }
    }
}

Recordset Recordset::Builder::finish()
{
    Recordset rs;
    rs.columns_ = std::move(columns_);
    const size_t width = static_cast<size_t>(rs.columns_.size());
    rs.rowCount_ = width == 0 ? 0 : cells_.size() / width;
    rs.cells_ = std::move(cells_);
    rs.text_ = std::move(text_);
    rs.open_ = true;
    return rs;
}

Recordset::Recordset(QStringList columns, const std::vector<std::vector<QVariant>> &rows)
{
    Builder builder(std::move(columns));
    const qsizetype width = builder.columns_.size();
    for (const auto &row : rows)
        for (qsizetype i = 0; i < width; ++i)
            builder.addVariant(i < static_cast<qsizetype>(row.size()) ? row[static_cast<size_t>(i)]
                                                                      : QVariant());
    *this = builder.finish();
}

void Recordset::Close()
{
    open_ = false;
    cells_.clear();
    text_.clear();
    rowCount_ = 0;
    position_ = 0;
}

int Recordset::indexOf(const QString &name) const
{
    // Few columns: a scan without building a lower-case key is the fastest.
    for (qsizetype i = 0; i < columns_.size(); ++i)
        if (columns_.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

QVariant Recordset::value(size_t row, int column) const
{
    const Builder::Cell &cell =
        cells_[row * static_cast<size_t>(columns_.size()) + static_cast<size_t>(column)];
    switch (cell.type) {
    case Builder::Cell::Null:
        return {};
    case Builder::Cell::Integer:
        return QVariant(static_cast<qlonglong>(cell.value));
    case Builder::Cell::Bool:
        return QVariant(cell.value != 0);
    case Builder::Cell::Real: {
        double value;
        std::memcpy(&value, &cell.value, sizeof value);
        return QVariant(value);
    }
    case Builder::Cell::Text:
        return QVariant(
            QString::fromUtf8(text_.data() + cell.value, static_cast<qsizetype>(cell.length)));
    }
    return {};
}

Field Recordset::Fields(const QString &name) const
{
    const int index = indexOf(name);
    if (index < 0)
        throw DatabaseError(
            QStringLiteral("Item cannot be found in the collection corresponding to "
                           "the requested name or ordinal: %1")
                .arg(name));
    return Fields(index);
}

Field Recordset::Fields(int index) const
{
    if (!open_)
        throw DatabaseError(QStringLiteral("Operation is not allowed when the object is closed."));
    if (index < 0 || index >= columns_.size())
        throw DatabaseError(
            QStringLiteral("Item cannot be found in the collection corresponding to "
                           "the requested name or ordinal: %1")
                .arg(index));
    if (position_ >= rowCount_)
        throw DatabaseError(
            QStringLiteral("Either BOF or EOF is True, or the current record has been "
                           "deleted. Requested operation requires a current record."));
    return Field(columns_.at(index), value(position_, index));
}

} // namespace chemodesk
