#include "passes.h"

#include "platform/connection.h"

namespace chemodesk::db::translate {

void Context::refuse(const QString &construct) const
{
    throw DatabaseError(
        QStringLiteral("The statement cannot be translated: %1 is not supported.").arg(construct),
        original);
}

void refuseServerOnlyConstructs(Tokens &t, const Context &ctx)
{
    const qsizetype head = nextSig(t, -1);
    const Token &verb = at(t, head);
    if (verb.kind != Token::Word || !(verb.isWord("select") || verb.isWord("insert") ||
                                      verb.isWord("update") || verb.isWord("delete")))
        ctx.refuse(QStringLiteral("a statement beginning with '%1'").arg(verb.text));
    // Constructs of the server's procedural language have no place in a text.
    for (const Token &tok : t) {
        if (tok.kind == Token::Variable)
            ctx.refuse(QStringLiteral("the variable %1").arg(tok.text));
        if (tok.kind == Token::Temp)
            ctx.refuse(QStringLiteral("the temporary table %1").arg(tok.text));
        if (tok.isSymbol("!<") || tok.isSymbol("!>"))
            ctx.refuse(QStringLiteral("the operator %1").arg(tok.text));
    }
}

void refuseUnbalancedParentheses(Tokens &t, const Context &ctx)
{
    int depth = 0;
    for (const Token &tok : t) {
        if (tok.isSymbol("("))
            ++depth;
        else if (tok.isSymbol(")") && --depth < 0)
            ctx.refuse(QStringLiteral("an unmatched ')'"));
    }
    if (depth != 0)
        ctx.refuse(QStringLiteral("an unclosed '('"));
}

void refuseSelectInto(Tokens &t, const Context &ctx)
{
    // SELECT ... INTO makes a table on the server; refuse it plainly.
    for (qsizetype i = 0; i < size(t); ++i) {
        if (!at(t, i).isWord("select"))
            continue;
        int depth = 0;
        for (qsizetype k = i + 1; k < size(t); ++k) {
            if (at(t, k).isSymbol("("))
                ++depth;
            else if (at(t, k).isSymbol(")") && --depth < 0)
                break;
            if (depth == 0 && at(t, k).isWord("from"))
                break;
            if (depth == 0 && at(t, k).isWord("into"))
                ctx.refuse(QStringLiteral("SELECT ... INTO"));
        }
    }
}

} // namespace chemodesk::db::translate
