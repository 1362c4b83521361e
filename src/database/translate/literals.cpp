#include "passes.h"

namespace chemodesk::db::translate {

namespace {

// Functions whose result is a text: a "+" beside their call joins texts.
const QSet<QString> &textFunctions()
{
    static const QSet<QString> words = {
        QStringLiteral("upper"),  QStringLiteral("lower"),     QStringLiteral("ltrim"),
        QStringLiteral("rtrim"),  QStringLiteral("trim"),      QStringLiteral("replace"),
        QStringLiteral("substr"), QStringLiteral("substring"), QStringLiteral("left"),
        QStringLiteral("right"),  QStringLiteral("strftime"),  QStringLiteral("to_char"),
        QStringLiteral("str"),    QStringLiteral("char"),      QStringLiteral("chr"),
        QStringLiteral("space"),  QStringLiteral("replicate"), QStringLiteral("repeat"),
    };
    return words;
}

} // namespace

void isoDateLiterals(Tokens &t, const Context &)
{
    for (Token &tok : t)
        if (tok.kind == Token::String)
            if (auto iso = isoDate(tok.text))
                tok.text = *iso;
}

void plusJoiningTexts(Tokens &t, const Context &ctx)
{
    // "+" joins texts on the server; here it only adds. It becomes "||" where
    // a side is known to be a text: a literal, a text column, a text function.
    const QSet<QString> &textColumns = ctx.textColumns;
    auto textColumn = [&](qsizetype k) {
        return k >= 0 && at(t, k).kind == Token::Word &&
               textColumns.contains(at(t, k).text.toLower());
    };
    auto callIsText = [&](qsizetype nameAt, qsizetype open) {
        const QString fn = at(t, nameAt).text.toLower();
        if (textFunctions().contains(fn))
            return true;
        if (fn == QLatin1String("coalesce")) {
            const qsizetype close = matchingParen(t, open);
            for (const Tokens &arg : splitArguments(t, open, close)) {
                Tokens sig;
                for (const Token &x : arg)
                    if (isSignificant(x))
                        sig.push_back(x);
                if (sig.size() == 1 &&
                    (sig[0].kind == Token::String ||
                     (sig[0].kind == Token::Word && textColumns.contains(sig[0].text.toLower()))))
                    return true;
                if (sig.size() == 3 && sig[1].isSymbol(".") &&
                    textColumns.contains(sig[2].text.toLower()))
                    return true;
            }
        }
        if (fn == QLatin1String("cast")) {
            const qsizetype close = matchingParen(t, open);
            const qsizetype last = prevSig(t, close);
            return last >= 0 &&
                   (at(t, last).text.compare(QLatin1String("text"), Qt::CaseInsensitive) == 0);
        }
        return false;
    };
    auto leftIsText = [&](qsizetype k) {
        if (k < 0)
            return false;
        const Token &x = at(t, k);
        if (x.kind == Token::String)
            return !isoDate(x.text).has_value();
        if (x.isSymbol("||"))
            return true;
        if (textColumn(k))
            return true;
        if (x.isSymbol(")")) {
            const qsizetype open = matchingOpen(t, k);
            const qsizetype fn = prevSig(t, open);
            return fn >= 0 &&
                   (at(t, fn).kind == Token::Word || at(t, fn).kind == Token::Resolved) &&
                   callIsText(fn, open);
        }
        return false;
    };
    auto rightIsText = [&](qsizetype k) {
        if (k < 0)
            return false;
        const Token &x = at(t, k);
        if (x.kind == Token::String)
            return true;
        if (x.kind == Token::Word || x.kind == Token::Resolved) {
            qsizetype last = k;
            while (isSym(t, nextSig(t, last), ".") && nextSig(t, nextSig(t, last)) >= 0)
                last = nextSig(t, nextSig(t, last));
            const qsizetype after = nextSig(t, last);
            if (isSym(t, after, "("))
                return callIsText(last, after);
            return textColumn(last);
        }
        return false;
    };
    for (qsizetype i = 0; i < size(t); ++i) {
        if (!at(t, i).isSymbol("+"))
            continue;
        if (leftIsText(prevSig(t, i)) || rightIsText(nextSig(t, i)))
            at(t, i) = sym("||");
    }
}

} // namespace chemodesk::db::translate
