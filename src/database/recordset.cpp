#include "platform/connection.h"

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
    for (const char *format : {"yyyy-MM-dd HH:mm:ss.zzz", "yyyy-MM-dd HH:mm:ss", "yyyy-MM-ddTHH:mm:ss",
                               "yyyy-MM-ddTHH:mm:ss.zzz", "yyyy-MM-dd"}) {
        const QDateTime parsed = QDateTime::fromString(text, QLatin1String(format));
        if (parsed.isValid())
            return parsed;
    }
    return QDateTime::fromString(text, Qt::ISODateWithMs);
}

Recordset::Recordset(QStringList columns, std::vector<std::vector<QVariant>> rows)
    : columns_(std::move(columns)), rows_(std::move(rows)), open_(true)
{
    for (int i = 0; i < columns_.size(); ++i) {
        const QString key = columns_.at(i).toLower();
        if (!index_.contains(key)) // the first of two equal names wins, as by name on the server
            index_.insert(key, i);
    }
}

void Recordset::Close()
{
    open_ = false;
    rows_.clear();
    position_ = 0;
}

bool Recordset::HasField(const QString &name) const
{
    return index_.contains(name.toLower());
}

int Recordset::indexOf(const QString &name) const
{
    const auto it = index_.constFind(name.toLower());
    if (it == index_.constEnd())
        throw DatabaseError(QStringLiteral("Item cannot be found in the collection corresponding to "
                                           "the requested name or ordinal: %1")
                                .arg(name));
    return it.value();
}

Field Recordset::Fields(const QString &name) const
{
    return Fields(indexOf(name));
}

Field Recordset::Fields(int index) const
{
    if (!open_)
        throw DatabaseError(QStringLiteral("Operation is not allowed when the object is closed."));
    if (index < 0 || index >= columns_.size())
        throw DatabaseError(QStringLiteral("Item cannot be found in the collection corresponding to "
                                           "the requested name or ordinal: %1")
                                .arg(index));
    if (position_ >= rows_.size())
        throw DatabaseError(QStringLiteral("Either BOF or EOF is True, or the current record has been "
                                           "deleted. Requested operation requires a current record."));
    return Field(columns_.at(index), rows_[position_][static_cast<size_t>(index)]);
}

} // namespace chemodesk
