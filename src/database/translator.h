#pragma once

// Turns the T-SQL texts the screens send into the dialect of the engine under
// the connection. Works on tokens: literals pass through as values, whatever
// they contain. What it cannot translate it refuses, naming the construct.

#include "tokenizer.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace chemodesk::db {

class ProcedureRegistry;

enum class Dialect { SQLite, PostgreSQL };

struct ProcedureCall {
    QString database; // upper case; the default database when the call names none
    QString name;
    QStringList args;
};

struct Translation {
    std::optional<ProcedureCall> call;
    QStringList statements; // one per statement of the text, in order
};

class Translator {
public:
    Translator(Dialect dialect, const ProcedureRegistry *functions = nullptr);

    // Names of columns that hold text in every table that has them: a "+"
    // next to one of these joins texts rather than adding numbers.
    void setTextColumns(QSet<QString> lowerCaseNames) { textColumns_ = std::move(lowerCaseNames); }
    // Columns that are dates, or bits, and texts in no table: a literal
    // compared with or stored into one is read as the server would read it.
    void setDateColumns(QSet<QString> lowerCaseNames) { dateColumns_ = std::move(lowerCaseNames); }
    void setBitColumns(QSet<QString> lowerCaseNames) { bitColumns_ = std::move(lowerCaseNames); }
    // The hospital's tables as "database..table" in lower case: a text that is
    // only one of these names opens the table instead of calling a procedure.
    void setTables(QSet<QString> lowerCaseNames) { tables_ = std::move(lowerCaseNames); }
    void setDefaultDatabase(const QString &database);
    QString defaultDatabase() const { return defaultDatabase_; }
    Dialect dialect() const { return dialect_; }

    Translation translate(const QString &text) const;

    // The engine's name of a hospital table: one namespace per database.
    QString tableName(const QString &database, const QString &table) const;
    static const QStringList &databases();
    static bool isDatabase(const QString &name);

private:
    std::optional<ProcedureCall> procedureCall(const std::vector<Token> &tokens) const;
    bool namesKnownTable(const ProcedureCall &call) const;
    // Runs the passes listed in translator.cpp over one statement.
    QString translateStatement(std::vector<Token> tokens, const QString &original) const;

    Dialect dialect_;
    const ProcedureRegistry *functions_;
    QSet<QString> textColumns_;
    QSet<QString> dateColumns_;
    QSet<QString> bitColumns_;
    QSet<QString> tables_;
    QString defaultDatabase_ = QStringLiteral("CLINICAL_AREA");
};

} // namespace chemodesk::db
