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
    // Read by its shape: the literal each argument is (-1: NULL), and whether a
    // minus stands before it.
    struct Source {
        int literal = -1;
        bool negative = false;
    };
    std::vector<Source> sources;
    // The procedure's key in the registry, once worked out (see ProcedureRegistry::key()).
    QString key;
};

struct Translation {
    std::optional<ProcedureCall> call;
    QStringList statements; // one per statement of the text, in order
};

// A statement translated by its shape: text between the places of the literals
// that are bound as values (`param`: the literal's place in the text, -1 after
// the last piece's text).
struct ShapePiece {
    QString text;
    int param = -1;
};

struct ShapeTranslation {
    std::vector<std::vector<ShapePiece>> statements;
    // Literals whose value the translation depends on (a date typed where a
    // date is expected, a LIKE pattern, a TOP count...): written into the
    // statements, so the translation serves only texts with these same values.
    std::vector<bool> pinned;
    // Literals read as dates where a date is expected: bound in the engines'
    // form of a date (see engineDate()).
    std::vector<bool> dates;
    // A procedure call: its arguments are the text's literals.
    std::optional<ProcedureCall> call;
};

// A literal read where a date is expected, as the engines store it: a date in
// one of the screens' forms in ISO form, anything else as it stands.
QString engineDate(const QString &value);

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
    // The translation of every text of this one's shape (see shapeOf()) whose
    // pinned literals have the same values, or the procedure call they all make;
    // nothing for a text whose literals are not the ones given.
    std::optional<ShapeTranslation> translateShape(const QString &text,
                                                   const std::vector<Literal> &literals) const;

    // The engine's name of a hospital table: one namespace per database.
    QString tableName(const QString &database, const QString &table) const;
    static const QStringList &databases();
    static bool isDatabase(const QString &name);

private:
    std::optional<ProcedureCall> procedureCall(const std::vector<Token> &tokens) const;
    bool namesKnownTable(const ProcedureCall &call) const;
    // Runs the passes listed in translator.cpp over one statement.
    QString translateStatement(std::vector<Token> tokens, const QString &original) const;
    void runPasses(std::vector<Token> &tokens, const QString &original, std::vector<bool> *pinned,
                   std::vector<bool> *dates) const;
    // The text's tokens made into one token stream per statement.
    std::vector<std::vector<Token>> statements(std::vector<Token> tokens, const QString &text,
                                               bool listsTable) const;

    Dialect dialect_;
    const ProcedureRegistry *functions_;
    QSet<QString> textColumns_;
    QSet<QString> dateColumns_;
    QSet<QString> bitColumns_;
    QSet<QString> tables_;
    QString defaultDatabase_ = QStringLiteral("CLINICAL_AREA");
};

} // namespace chemodesk::db
