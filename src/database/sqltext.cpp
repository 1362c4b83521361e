#include "sqltext.h"

namespace chemodesk::sql {

QString escape(const QString &value)
{
    QString out = value;
    out.replace(QLatin1Char('\''), QLatin1String("''"));
    return out;
}

QString quote(const QString &value)
{
    return QLatin1Char('\'') + escape(value) + QLatin1Char('\'');
}

QString backtickApostrophes(const QString &value)
{
    QString out = value;
    out.replace(QLatin1Char('\''), QLatin1Char('`'));
    return out;
}

QString call(const QString &database, const QString &procedure, const QStringList &arguments)
{
    QString text = database + QLatin1String("..") + procedure;
    if (arguments.isEmpty())
        return text;
    qsizetype room = text.size() + 3 * arguments.size();
    for (const QString &argument : arguments)
        room += argument.size() + 2; // an apostrophe or two doubled
    text.reserve(room);
    text += QLatin1String(" '");
    for (int i = 0; i < arguments.size(); ++i) {
        if (i > 0)
            text += QLatin1String("','");
        text += escape(arguments.at(i));
    }
    text += QLatin1Char('\'');
    return text;
}

QString call(const QString &database, const QString &procedure,
             std::initializer_list<QString> arguments)
{
    return call(database, procedure, QStringList(arguments));
}

} // namespace chemodesk::sql
