#pragma once

// The passes a statement goes through, each rewriting the token stream in
// place or refusing the statement. Their order is the list in translator.cpp.

#include "database/translator.h"
#include "tokens.h"

namespace chemodesk::db::translate {

struct Context {
    const Translator &translator;
    const ProcedureRegistry *functions;
    const QSet<QString> &textColumns; // lower case
    const QSet<QString> &dateColumns; // lower case
    const QSet<QString> &bitColumns;  // lower case
    const QString &original;          // the text as the screen sent it, for messages
    // While a text is translated by its shape: the literals whose value a pass
    // read to decide what to write. Such a value is part of the translation.
    std::vector<bool> *pinned = nullptr;
    // While a text is translated by its shape: the literals read as dates, whose
    // values are bound in the engines' form of a date rather than pinned.
    std::vector<bool> *dates = nullptr;

    Dialect dialect() const { return translator.dialect(); }
    QString tableName(const QString &database, const QString &table) const
    {
        return translator.tableName(database, table);
    }
    QString defaultTable(const QString &table) const
    {
        return translator.tableName(translator.defaultDatabase(), table);
    }
    [[noreturn]] void refuse(const QString &construct) const;
    // Called by a pass before it decides anything by a literal's value.
    void pin(const Token &literal) const
    {
        if (pinned && literal.param >= 0 && static_cast<size_t>(literal.param) < pinned->size())
            (*pinned)[static_cast<size_t>(literal.param)] = true;
    }
    // Called by a pass that writes a literal in the engines' form of a date
    // (engineDate()) and decides nothing else by its value.
    void readAsDate(const Token &literal) const
    {
        if (dates && literal.param >= 0 && static_cast<size_t>(literal.param) < dates->size())
            (*dates)[static_cast<size_t>(literal.param)] = true;
    }
};

using Pass = void (*)(Tokens &, const Context &);

// checks.cpp: what has no translation, refused by name.
void refuseServerOnlyConstructs(Tokens &t, const Context &ctx);
void refuseUnbalancedParentheses(Tokens &t, const Context &ctx);
void refuseSelectInto(Tokens &t, const Context &ctx);

// functions.cpp: calls, the registered scalar functions first.
void expandRegisteredFunctions(Tokens &t, const Context &ctx);
void rewriteFunctions(Tokens &t, const Context &ctx);

// names.cpp: databases, tables and aliases.
void resolveQualifiedNames(Tokens &t, const Context &ctx);
void resolveUnqualifiedTables(Tokens &t, const Context &ctx);
void quoteAliases(Tokens &t, const Context &ctx);

// clauses.cpp: clause forms only the server accepts.
void dropTableHints(Tokens &t, const Context &ctx);
void addMissingFromAndInto(Tokens &t, const Context &ctx);
void topToLimit(Tokens &t, const Context &ctx);

// literals.cpp: values and the operators between them.
void typedLiterals(Tokens &t, const Context &ctx);
void plusJoiningTexts(Tokens &t, const Context &ctx);

// casefolding.cpp: the server's case-insensitive comparison where the engine
// compares case by case.
void upperCaseLike(Tokens &t, const Context &ctx);
void upperCaseOrderBy(Tokens &t, const Context &ctx);
void unicodeLike(Tokens &t, const Context &ctx);

} // namespace chemodesk::db::translate
