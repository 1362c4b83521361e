#include "passes.h"

#include <QHash>

namespace chemodesk::db::translate {

namespace {

// "INTO DB..tb (" names a table and its columns, not a function call.
bool followsTableWord(const Tokens &t, qsizetype i)
{
    const qsizetype p = prevSig(t, i);
    if (p < 0 || at(t, p).kind != Token::Word)
        return false;
    const Token &w = at(t, p);
    return w.isWord("into") || w.isWord("from") || w.isWord("join") || w.isWord("update") ||
           w.isWord("insert");
}

// Which parenthesis levels are in a FROM list, so that a comma there starts
// another table and an AS there names a table rather than a column.
class FromTracker {
public:
    void enter() { inFrom_.push_back(false); }
    void leave() { inFrom_.pop_back(); }
    bool inFrom() const { return inFrom_.back(); }
    // A clause word at this level: FROM begins the list, the others end it.
    void clauseWord(const Token &w)
    {
        if (w.isWord("from"))
            inFrom_.back() = true;
        else if (w.isWord("where") || w.isWord("group") || w.isWord("order") ||
                 w.isWord("having") || w.isWord("union") || w.isWord("on") || w.isWord("set"))
            inFrom_.back() = false;
    }

private:
    std::vector<bool> inFrom_ = {false};
};

} // namespace

void resolveQualifiedNames(Tokens &t, const Context &ctx)
{
    for (qsizetype i = 0; i < size(t); ++i) {
        if (at(t, i).kind != Token::Word)
            continue;
        const qsizetype a = nextSig(t, i);
        if (isSym(t, a, "..")) {
            const qsizetype b = nextSig(t, a);
            if (b < 0 || at(t, b).kind != Token::Word)
                ctx.refuse(QStringLiteral("the name '%1..'").arg(at(t, i).text));
            if (!Translator::isDatabase(at(t, i).text))
                ctx.refuse(QStringLiteral("the database '%1'").arg(at(t, i).text));
            if (isSym(t, nextSig(t, b), "(") && !followsTableWord(t, i))
                ctx.refuse(QStringLiteral("the function %1..%2").arg(at(t, i).text, at(t, b).text));
            const QString name = ctx.tableName(at(t, i).text, at(t, b).text);
            t.erase(t.begin() + i + 1, t.begin() + b + 1);
            at(t, i) = resolved(name);
        } else if (isSym(t, a, ".") && Translator::isDatabase(at(t, i).text)) {
            const qsizetype owner = nextSig(t, a);
            const qsizetype dot = nextSig(t, owner);
            const qsizetype b = nextSig(t, dot);
            if (owner < 0 || !isSym(t, dot, ".") || b < 0 || at(t, b).kind != Token::Word)
                continue; // a column of a table aliased with a database's name
            if (isSym(t, nextSig(t, b), "(") && !followsTableWord(t, i))
                ctx.refuse(QStringLiteral("the function %1.%2.%3")
                               .arg(at(t, i).text, at(t, owner).text, at(t, b).text));
            const QString name = ctx.tableName(at(t, i).text, at(t, b).text);
            t.erase(t.begin() + i + 1, t.begin() + b + 1);
            at(t, i) = resolved(name);
        }
    }
}

void resolveUnqualifiedTables(Tokens &t, const Context &ctx)
{
    // A name where a table is expected is one of the default database.
    FromTracker from;
    bool tableExpected = false;
    for (qsizetype i = 0; i < size(t); ++i) {
        Token &tok = at(t, i);
        if (!isSignificant(tok))
            continue;
        if (tok.isSymbol("(")) {
            from.enter();
            tableExpected = false;
            continue;
        }
        if (tok.isSymbol(")")) {
            from.leave();
            continue;
        }
        if (tok.isSymbol(",") && from.inFrom()) {
            tableExpected = true;
            continue;
        }
        if (tok.kind == Token::Quoted && tableExpected) {
            tok = resolved(ctx.defaultTable(tok.text));
            tableExpected = false;
            continue;
        }
        if (tok.kind != Token::Word) {
            tableExpected = false;
            continue;
        }
        if (tableExpected) {
            tableExpected = false;
            const QString w = tok.text.toLower();
            const qsizetype nx = nextSig(t, i);
            if (!nonFunctionWords().contains(w) && !isSym(t, nx, ".") && !isSym(t, nx, "(")) {
                tok = resolved(ctx.defaultTable(tok.text));
                continue;
            }
        }
        if (tok.isWord("from") || tok.isWord("join") || tok.isWord("update") || tok.isWord("into"))
            tableExpected = true;
        from.clauseWord(tok);
    }
}

void quoteAliases(Tokens &t, const Context &ctx)
{
    // Any word may name a column on the hospital's server; quoted, it stays a
    // name here too ("AS Nothing", "AS Time"), and ORDER BY finds it by name.
    const bool foldTableAliases = ctx.dialect() != Dialect::SQLite;
    FromTracker from;
    QHash<QString, QString> columnAliases;
    bool inOrderBy = false;
    int depth = 0;
    for (qsizetype i = 0; i < size(t); ++i) {
        Token &tok = at(t, i);
        if (tok.isSymbol("(")) {
            ++depth;
            from.enter();
            continue;
        }
        if (tok.isSymbol(")")) {
            --depth;
            from.leave();
            continue;
        }
        if (tok.kind != Token::Word)
            continue;
        const qsizetype nx = nextSig(t, i);
        if (inOrderBy && depth == 0 && !columnAliases.isEmpty() && !isSym(t, nx, "(") &&
            !isSym(t, nx, ".") && !isSym(t, prevSig(t, i), ".")) {
            const auto alias = columnAliases.constFind(tok.text.toLower());
            if (alias != columnAliases.constEnd()) {
                tok = resolved(QLatin1Char('"') + *alias + QLatin1Char('"'));
                continue;
            }
        }
        if (tok.isWord("order") && depth == 0)
            inOrderBy = true;
        if (tok.isWord("as")) {
            if (nx >= 0 && at(t, nx).kind == Token::Word && !isSym(t, nextSig(t, nx), "(")) {
                // A column keeps its name as written; a table alias is folded
                // as the engine folds the bare references to it.
                const bool tableAlias = from.inFrom();
                const QString alias =
                    foldTableAliases && tableAlias ? at(t, nx).text.toLower() : at(t, nx).text;
                if (!tableAlias)
                    columnAliases.insert(alias.toLower(), alias);
                at(t, nx) = resolved(QLatin1Char('"') + alias + QLatin1Char('"'));
            }
            continue;
        }
        from.clauseWord(tok);
    }
}

} // namespace chemodesk::db::translate
