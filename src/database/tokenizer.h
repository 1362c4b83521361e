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
    Token() = default;
    Token(Kind k, QString t, int p = -1) : kind(k), text(std::move(t)), param(p) {}

    Kind kind = Space;
    QString text;
    // A literal's place among the text's literals (0, 1, ...) while a text is
    // translated by its shape; -1 otherwise, and for what the translation makes.
    int param = -1;

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

// A literal of a text, as tokenize() reads it.
struct Literal {
    bool number = false;
    QString value;     // a string's value with doubled apostrophes undone, a number as written
    bool null = false; // a value bound as NULL in a literal's place (never read from a text)
};

// The shape of a text: the text with every literal ('...', N'...', numbers)
// replaced by a mark (one for texts of ASCII only, one for other texts, one for
// numbers), and the literals in order. Texts of one shape differ only
// in their values. False when the text cannot be read (tokenize() would refuse it).
bool shapeOf(const QString &text, QString &shape, std::vector<Literal> &literals);

} // namespace chemodesk::db
