#pragma once

// Splits a text in the screens' dialect into tokens. The translation works on
// these, never on raw text, so a value that looks like SQL stays a value.

#include <QString>

#include <vector>

namespace chemodesk::db {

struct Token {
    enum Kind {
        Space,  // blanks, line breaks and comments
        Word,   // a bare identifier or keyword
        Quoted, // [name] or "name"; text holds the name without its quotes
        String, // 'value'; text holds the value with doubled apostrophes undone
        Number,
        Variable, // @name
        Temp,     // #name
        Symbol,   // operators and punctuation, longest match ("<=", "..")
        Resolved  // never made here: the translator's output (an engine table name, a rewritten
                  // function), emitted as it stands and left alone by later passes
    };
    Kind kind;
    QString text;

    bool is(Kind k, const char *t) const
    {
        // Called for every token by every pass: a length that differs decides
        // without comparing.
        const QLatin1String s(t);
        return kind == k && text.size() == s.size() && text.compare(s, Qt::CaseInsensitive) == 0;
    }
    bool isWord(const char *w) const { return is(Word, w); }
    bool isSymbol(const char *s) const { return is(Symbol, s); }
};

// Throws DatabaseError on an unterminated literal or bracket.
std::vector<Token> tokenize(const QString &text);

} // namespace chemodesk::db
