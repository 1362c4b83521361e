#pragma once

// Walking and building token streams: what every translation pass shares.

#include "database/tokenizer.h"
#include "database/translator.h"

#include <QSet>
#include <QString>

#include <optional>
#include <vector>

namespace chemodesk::db::translate {

using Tokens = std::vector<Token>;

inline bool isSignificant(const Token &t)
{
    return t.kind != Token::Space;
}

inline const Token &at(const Tokens &t, qsizetype i)
{
    return t[static_cast<size_t>(i)];
}
inline Token &at(Tokens &t, qsizetype i)
{
    return t[static_cast<size_t>(i)];
}
inline qsizetype size(const Tokens &t)
{
    return static_cast<qsizetype>(t.size());
}

// Index of the next or previous token that is not a space, or -1.
qsizetype nextSig(const Tokens &t, qsizetype i);
qsizetype prevSig(const Tokens &t, qsizetype i);

inline bool isSym(const Tokens &t, qsizetype i, const char *s)
{
    return i >= 0 && at(t, i).isSymbol(s);
}
inline bool isWordAt(const Tokens &t, qsizetype i, const char *w)
{
    return i >= 0 && at(t, i).isWord(w);
}

// Index of the ")" closing the "(" at `open` (or of the "(" opening the ")" at
// `close`), or -1.
qsizetype matchingParen(const Tokens &t, qsizetype open);
qsizetype matchingOpen(const Tokens &t, qsizetype close);

// The argument token ranges of the call whose "(" is at `open`, spaces kept.
std::vector<Tokens> splitArguments(const Tokens &t, qsizetype open, qsizetype close);

inline Token word(const QString &text)
{
    return {Token::Word, text};
}
inline Token sym(const char *text)
{
    return {Token::Symbol, QString::fromLatin1(text)};
}
inline Token resolved(const QString &text)
{
    return {Token::Resolved, text};
}
inline Token space()
{
    return {Token::Space, QStringLiteral(" ")};
}

// Puts `with` in place of the tokens [begin, end), moving the rest only once.
void replaceRange(Tokens &t, qsizetype begin, qsizetype end, const Tokens &with);

// Text written by the translation itself, as tokens: its words are final.
Tokens glue(const QString &text);

QString firstWordLower(const Tokens &arg);

QString render(const Tokens &t);
// The same text in pieces around the literals that are bound rather than written.
std::vector<ShapePiece> renderShape(const Tokens &t, const std::vector<bool> &pinned);

// Words that may stand before "(" without being a function call.
const QSet<QString> &nonFunctionWords();

// "12/10/2026", "12/10/2026 03:15:00 PM" and the like in ISO form.
std::optional<QString> isoDate(const QString &value);

} // namespace chemodesk::db::translate
