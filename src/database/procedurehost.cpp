#include "procedurehost.h"

#include "sqltext.h"

#include <QLocale>

namespace chemodesk::db {

Value::Value(double number)
    : kind_(Number), text_(QString::number(number, 'g', QLocale::FloatingPointShortest))
{
}

QString Value::literal() const
{
    switch (kind_) {
    case Null:
        return QStringLiteral("NULL");
    case Number:
        return text_;
    default:
        return sql::quote(text_);
    }
}

std::vector<qsizetype> placeholders(const QString &text)
{
    std::vector<qsizetype> at;
    const qsizetype n = text.size();
    auto skipTo = [&](qsizetype from, QLatin1String end) {
        const qsizetype found = text.indexOf(end, from);
        return found < 0 ? n : found + end.size();
    };
    for (qsizetype i = 0; i < n;) {
        const QChar c = text.at(i);
        const QChar next = i + 1 < n ? text.at(i + 1) : QChar();
        if (c == QLatin1Char('?')) {
            at.push_back(i++);
        } else if (c == QLatin1Char('\'')) {
            // A doubled apostrophe inside reads as two literals side by side: the same skip.
            i = skipTo(i + 1, QLatin1String("'"));
        } else if (c == QLatin1Char('[')) {
            i = skipTo(i + 1, QLatin1String("]"));
        } else if (c == QLatin1Char('"')) {
            i = skipTo(i + 1, QLatin1String("\""));
        } else if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            i = skipTo(i + 2, QLatin1String("\n"));
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            i = skipTo(i + 2, QLatin1String("*/"));
        } else {
            ++i;
        }
    }
    return at;
}

std::vector<qsizetype> placesFor(const QString &text, size_t count)
{
    const std::vector<qsizetype> at = placeholders(text);
    if (at.size() != count)
        throw DatabaseError(QStringLiteral("The text has %1 places for values but %2 values "
                                           "were given.")
                                .arg(at.size())
                                .arg(count),
                            text);
    return at;
}

QString withValuesWritten(const QString &text, const Value *values, size_t count)
{
    const std::vector<qsizetype> at = placesFor(text, count);
    QString out;
    qsizetype copied = 0;
    for (size_t i = 0; i < count; ++i) {
        out += QStringView(text).mid(copied, at[i] - copied);
        out += values[i].literal();
        copied = at[i] + 1;
    }
    out += QStringView(text).mid(copied);
    return out;
}

QString ProcedureRegistry::key(const QString &database, const QString &name)
{
    return database.toLower() + QLatin1String("..") + name.toLower();
}

const ProcedureRegistry::Entry *ProcedureRegistry::entryByKey(const QString &key) const
{
    const auto it = procedures_.constFind(key);
    return it == procedures_.constEnd() ? nullptr : &it.value();
}

ProcedureRegistry &ProcedureRegistry::instance()
{
    static ProcedureRegistry registry;
    return registry;
}

void ProcedureRegistry::add(const QString &database, const QString &name, Procedure body)
{
    procedures_.insert(key(database, name), {std::move(body), false});
}

void ProcedureRegistry::addReadOnly(const QString &database, const QString &name, Procedure body)
{
    procedures_.insert(key(database, name), {std::move(body), true});
}

const ProcedureRegistry::Entry *ProcedureRegistry::entry(const QString &database,
                                                         const QString &name) const
{
    return entryByKey(key(database, name));
}

const Procedure *ProcedureRegistry::find(const QString &database, const QString &name) const
{
    const Entry *e = entry(database, name);
    return e ? &e->body : nullptr;
}

QStringList ProcedureRegistry::names() const
{
    QStringList out = procedures_.keys();
    out.sort();
    return out;
}

void ProcedureRegistry::addFunction(const QString &database, const QString &name,
                                    const QString &expression)
{
    // Functions are found by their own name: the screens qualify them
    // inconsistently ("DB.dbo.fn", "DB..fn"), and the names are unique.
    Q_UNUSED(database);
    functions_.insert(name.toLower(), expression);
}

const QString *ProcedureRegistry::findFunction(const QString &name) const
{
    const auto it = functions_.constFind(name.toLower());
    return it == functions_.constEnd() ? nullptr : &it.value();
}

} // namespace chemodesk::db
