#include "procedurehost.h"

namespace chemodesk::db {

namespace {
QString key(const QString &database, const QString &name)
{
    return database.toLower() + QLatin1String("..") + name.toLower();
}
} // namespace

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
    const auto it = procedures_.constFind(key(database, name));
    return it == procedures_.constEnd() ? nullptr : &it.value();
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
