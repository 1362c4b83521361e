#include "schemadef.h"

#include "platform/connection.h"

#include <QRegularExpression>

namespace chemodesk::db {

namespace {

ColumnType typeOf(const QString &word, const QString &def)
{
    static const QHash<QString, ColumnType> types = {
        {QStringLiteral("varchar"), ColumnType::Text},
        {QStringLiteral("nvarchar"), ColumnType::Text},
        {QStringLiteral("char"), ColumnType::Text},
        {QStringLiteral("nchar"), ColumnType::Text},
        {QStringLiteral("text"), ColumnType::Text},
        {QStringLiteral("int"), ColumnType::Integer},
        {QStringLiteral("integer"), ColumnType::Integer},
        {QStringLiteral("smallint"), ColumnType::Integer},
        {QStringLiteral("bigint"), ColumnType::BigInt},
        {QStringLiteral("bit"), ColumnType::Bit},
        {QStringLiteral("money"), ColumnType::Money},
        {QStringLiteral("decimal"), ColumnType::Money},
        {QStringLiteral("numeric"), ColumnType::Money},
        {QStringLiteral("float"), ColumnType::Float},
        {QStringLiteral("real"), ColumnType::Float},
        {QStringLiteral("datetime"), ColumnType::DateTime},
        {QStringLiteral("smalldatetime"), ColumnType::DateTime},
        {QStringLiteral("identity"), ColumnType::Identity},
    };
    const auto it = types.constFind(word.toLower());
    if (it == types.constEnd())
        throw DatabaseError(QStringLiteral("Unknown column type '%1' in \"%2\"").arg(word, def));
    return it.value();
}

// Splits on commas outside parentheses and quotes, so "decimal(19,4)" stays whole.
QStringList splitTopLevel(const QString &def)
{
    QStringList parts;
    QString current;
    int depth = 0;
    bool inQuote = false;
    for (const QChar c : def) {
        if (c == QLatin1Char('\''))
            inQuote = !inQuote;
        else if (!inQuote && c == QLatin1Char('('))
            ++depth;
        else if (!inQuote && c == QLatin1Char(')'))
            --depth;
        if (c == QLatin1Char(',') && depth == 0 && !inQuote) {
            parts << current;
            current.clear();
        } else {
            current += c;
        }
    }
    parts << current;
    return parts;
}

} // namespace

std::vector<ColumnDef> columns(const QString &def)
{
    static const QRegularExpression pattern(
        QStringLiteral(
            R"x(^\s*(\w+)\s+(\w+)(?:\s*\(\s*(\d+)(?:\s*,\s*\d+)?\s*\))?((?:\s+not\s+null)?))x"
            R"x((?:\s+default\s+('(?:[^']|'')*'|[-\w.]+))?\s*$)x"),
        QRegularExpression::CaseInsensitiveOption);
    std::vector<ColumnDef> out;
    for (const QString &part : splitTopLevel(def)) {
        if (part.trimmed().isEmpty())
            continue;
        const auto match = pattern.match(part);
        if (!match.hasMatch())
            throw DatabaseError(
                QStringLiteral("Cannot read column definition \"%1\"").arg(part.trimmed()));
        ColumnDef column;
        column.name = match.captured(1);
        column.type = typeOf(match.captured(2), def);
        column.length = match.captured(3).toInt();
        column.notNull =
            !match.captured(4).trimmed().isEmpty() || column.type == ColumnType::Identity;
        column.defaultValue = match.captured(5);
        out.push_back(column);
    }
    return out;
}

} // namespace chemodesk::db
