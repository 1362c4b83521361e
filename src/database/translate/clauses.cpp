#include "passes.h"

namespace chemodesk::db::translate {

void dropTableHints(Tokens &t, const Context &)
{
    // Table hints mean nothing to these engines.
    for (qsizetype i = 0; i < size(t); ++i) {
        if (!at(t, i).isSymbol("("))
            continue;
        const qsizetype hint = nextSig(t, i);
        const qsizetype close = nextSig(t, hint);
        if (hint < 0 || !isSym(t, close, ")"))
            continue;
        const Token &h = at(t, hint);
        if (h.isWord("nolock") || h.isWord("readuncommitted") || h.isWord("rowlock") ||
            h.isWord("updlock") || h.isWord("holdlock")) {
            qsizetype begin = i;
            const qsizetype w = prevSig(t, i);
            if (isWordAt(t, w, "with"))
                begin = w;
            if (begin > 0 && at(t, begin - 1).kind == Token::Space)
                --begin;
            t.erase(t.begin() + begin, t.begin() + close + 1);
            i = begin - 1;
        }
    }
}

void addMissingFromAndInto(Tokens &t, const Context &)
{
    // The server takes "DELETE tb" and "INSERT tb"; the engines want the word.
    auto complete = [&](qsizetype i, const char *missing) {
        const qsizetype nx = nextSig(t, i);
        if (nx >= 0 && !at(t, nx).isWord(missing))
            t.insert(t.begin() + nx, {word(QString::fromLatin1(missing).toUpper()), space()});
    };
    for (qsizetype i = 0; i < size(t); ++i) {
        if (at(t, i).isWord("delete"))
            complete(i, "from");
        else if (at(t, i).isWord("insert"))
            complete(i, "into");
    }
}

void topToLimit(Tokens &t, const Context &ctx)
{
    // TOP n of a SELECT becomes LIMIT n at the end of the same level.
    struct Limit {
        int depth;
        QString count;
    };
    std::vector<Limit> limits;
    int depth = 0;
    auto closeLimits = [&](qsizetype position, int atDepth) -> qsizetype {
        qsizetype inserted = 0;
        while (!limits.empty() && limits.back().depth == atDepth) {
            const Tokens add = {space(),
                                word(QStringLiteral("LIMIT")),
                                space(),
                                {Token::Number, limits.back().count}};
            t.insert(t.begin() + position, add.begin(), add.end());
            inserted += size(add);
            limits.pop_back();
        }
        return inserted;
    };
    for (qsizetype i = 0; i < size(t); ++i) {
        const Token &tok = at(t, i);
        if (tok.isSymbol("(")) {
            ++depth;
        } else if (tok.isSymbol(")")) {
            i += closeLimits(i, depth);
            --depth;
        } else if (tok.isWord("top")) {
            qsizetype n = nextSig(t, i);
            const bool parens = isSym(t, n, "(");
            if (parens)
                n = nextSig(t, n);
            if (n < 0 || at(t, n).kind != Token::Number)
                ctx.refuse(QStringLiteral("TOP without a number"));
            qsizetype end = parens ? nextSig(t, n) : n;
            if (isWordAt(t, nextSig(t, end), "percent"))
                ctx.refuse(QStringLiteral("TOP ... PERCENT"));
            limits.push_back({depth, at(t, n).text});
            if (end + 1 < size(t) && at(t, end + 1).kind == Token::Space)
                ++end;
            t.erase(t.begin() + i, t.begin() + end + 1);
            --i;
        }
    }
    closeLimits(size(t), 0);
}

} // namespace chemodesk::db::translate
