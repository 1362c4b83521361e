#include "passes.h"

#include <algorithm>

namespace chemodesk::db::translate {

void upperCaseLike(Tokens &t, const Context &ctx)
{
    // The hospital's server compares texts without regard to case. Upper-casing
    // both sides keeps that, and lets an index on upper(column) serve a prefix.
    for (qsizetype i = 0; i < size(t); ++i) {
        if (!at(t, i).isWord("like"))
            continue;
        qsizetype left = prevSig(t, i);
        if (isWordAt(t, left, "not"))
            left = prevSig(t, left);
        const qsizetype right = nextSig(t, i);
        const bool simpleLeft =
            left >= 0 && (at(t, left).kind == Token::Word || at(t, left).kind == Token::Quoted);
        const bool literalRight = right >= 0 && at(t, right).kind == Token::String;
        if (!simpleLeft || !literalRight) {
            at(t, i) = resolved(QStringLiteral("ILIKE"));
            continue;
        }
        ctx.pin(at(t, right));
        at(t, right).text = at(t, right).text.toUpper();
        qsizetype begin = left;
        while (isSym(t, prevSig(t, begin), ".") && prevSig(t, prevSig(t, begin)) >= 0)
            begin = prevSig(t, prevSig(t, begin));
        t.insert(t.begin() + left + 1, {sym(")"), resolved(QStringLiteral(" COLLATE \"C\""))});
        t.insert(t.begin() + begin, {resolved(QStringLiteral("upper")), sym("(")});
        i += 4;
    }
}

void unicodeLike(Tokens &t, const Context &ctx)
{
    // SQLite's LIKE folds ASCII letters only. A pattern with other letters is
    // matched on Unicode-folded texts: a prefix as a range of the column, which
    // its NOCASE index serves (the connection's NOCASE folds every letter), any
    // other pattern on upper-cased texts (the connection's upper() does too).
    for (qsizetype i = 0; i < size(t); ++i) {
        if (!at(t, i).isWord("like"))
            continue;
        const qsizetype right = nextSig(t, i);
        if (right < 0 || at(t, right).kind != Token::String ||
            isWordAt(t, nextSig(t, right), "escape"))
            continue;
        // SQLite plans a LIKE by its pattern: one bound as a value would have the
        // statement prepared again each time it is bound. It stays in the text.
        ctx.pin(at(t, right));
        const QString pattern = at(t, right).text;
        // Patterns of ASCII alone pass unchanged: their shape is told apart from the others'.
        if (std::all_of(pattern.begin(), pattern.end(), [](QChar c) { return c.unicode() < 0x80; }))
            continue;
        qsizetype left = prevSig(t, i);
        const bool negated = isWordAt(t, left, "not");
        if (negated)
            left = prevSig(t, left);
        if (left < 0 || (at(t, left).kind != Token::Word && at(t, left).kind != Token::Quoted))
            continue;
        qsizetype begin = left;
        while (isSym(t, prevSig(t, begin), ".") && prevSig(t, prevSig(t, begin)) >= 0)
            begin = prevSig(t, prevSig(t, begin));
        const Tokens column(t.begin() + begin, t.begin() + left + 1);
        const QString prefix = pattern.chopped(pattern.endsWith(QLatin1Char('%')) ? 1 : 0);
        const bool plainPrefix = pattern.endsWith(QLatin1Char('%')) && !prefix.isEmpty() &&
                                 !prefix.contains(QLatin1Char('%')) &&
                                 !prefix.contains(QLatin1Char('_')) &&
                                 !prefix.contains(QLatin1Char('['));
        Tokens with;
        if (plainPrefix) {
            // Every text whose folded form starts with the prefix's sorts from
            // the prefix up to the prefix followed by the last code point.
            if (negated)
                with.push_back(resolved(QStringLiteral("NOT ")));
            with.push_back(sym("("));
            with.insert(with.end(), column.begin(), column.end());
            with.insert(with.end(), {space(),
                                     sym(">="),
                                     space(),
                                     {Token::String, prefix},
                                     space(),
                                     resolved(QStringLiteral("AND")),
                                     space()});
            with.insert(with.end(), column.begin(), column.end());
            with.insert(with.end(), {space(),
                                     sym("<"),
                                     space(),
                                     {Token::String, prefix + QChar(0xDBFF) + QChar(0xDFFF)},
                                     sym(")")});
        } else {
            with.insert(with.end(), {resolved(QStringLiteral("upper")), sym("(")});
            with.insert(with.end(), column.begin(), column.end());
            with.insert(with.end(), {sym(")"), space()});
            if (negated)
                with.insert(with.end(), {resolved(QStringLiteral("NOT")), space()});
            with.insert(
                with.end(),
                {resolved(QStringLiteral("LIKE")), space(), {Token::String, pattern.toUpper()}});
        }
        replaceRange(t, begin, right + 1, with);
        i = begin + size(with) - 1;
    }
}

void upperCaseOrderBy(Tokens &t, const Context &ctx)
{
    // The hospital's server sorts texts without regard to case, as SQLite's
    // NOCASE columns do; here the same upper-cased expression that prefix
    // searches use lets one index serve both the search and the order.
    int depth = 0;
    qsizetype orderAt = -1;
    for (qsizetype i = 0; i < size(t); ++i) {
        const Token &tok = at(t, i);
        if (tok.isSymbol("("))
            ++depth;
        else if (tok.isSymbol(")"))
            --depth;
        else if (depth == 0 &&
                 (tok.isWord("distinct") || tok.isWord("group") || tok.isWord("union")))
            return; // the order must then repeat what is selected
        else if (depth == 0 && tok.isWord("order"))
            orderAt = i;
    }
    if (orderAt < 0 || !isWordAt(t, nextSig(t, orderAt), "by"))
        return;
    qsizetype i = nextSig(t, nextSig(t, orderAt));
    while (i >= 0) {
        // One item: its significant tokens up to a comma, LIMIT or the end.
        std::vector<qsizetype> item;
        qsizetype k = i;
        for (; k >= 0; k = nextSig(t, k)) {
            if (at(t, k).isSymbol(",") || at(t, k).isWord("limit") || at(t, k).isWord("offset"))
                break;
            item.push_back(k);
        }
        auto isDirection = [&](qsizetype x) {
            return at(t, x).isWord("asc") || at(t, x).isWord("desc");
        };
        size_t n = item.size();
        if (n > 0 && isDirection(item.back()))
            --n;
        const bool bare = n == 1 && at(t, item[0]).kind == Token::Word;
        const bool qualified = n == 3 && at(t, item[0]).kind == Token::Word &&
                               at(t, item[1]).isSymbol(".") && at(t, item[2]).kind == Token::Word;
        if ((bare || qualified) && ctx.textColumns.contains(at(t, item[n - 1]).text.toLower())) {
            const qsizetype first = item[0], last = item[n - 1];
            t.insert(t.begin() + last + 1, {sym(")"), resolved(QStringLiteral(" COLLATE \"C\""))});
            t.insert(t.begin() + first, {resolved(QStringLiteral("upper")), sym("(")});
            k = k < 0 ? -1 : k + 4;
        }
        if (k < 0 || !at(t, k).isSymbol(","))
            break;
        i = nextSig(t, k);
    }
}

} // namespace chemodesk::db::translate
