#pragma once

// Every value embedded in a text goes through quote(): apostrophes doubled,
// so no typed value can end the literal early and change the statement.

#include <QString>
#include <QStringList>

#include <initializer_list>

namespace chemodesk::sql {

// The value as it stands between two apostrophes: each "'" doubled.
QString escape(const QString &value);
// The value as a whole literal: "'" + escape(value) + "'".
QString quote(const QString &value);

// Free text of the discharge clearance: "'" becomes "`" before embedding.
QString backtickApostrophes(const QString &value);

// "DB..Name 'a','b','c'": database, two dots, name, a blank and each argument
// between apostrophes, separated by "','". No arguments gives "DB..Name".
QString call(const QString &database, const QString &procedure, const QStringList &arguments);
QString call(const QString &database, const QString &procedure,
             std::initializer_list<QString> arguments);

} // namespace chemodesk::sql
