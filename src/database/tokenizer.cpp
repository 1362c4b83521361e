#include "tokenizer.h"

#include "platform/connection.h"

namespace chemodesk::db {

namespace {

bool isWordStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}
bool isWordPart(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

} // namespace

std::vector<Token> tokenize(const QString &text)
{
    std::vector<Token> tokens;
    tokens.reserve(static_cast<size_t>(text.size() / 3 + 4));
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto unterminated = [&](const char *what) {
        throw DatabaseError(
            QStringLiteral("Unclosed %1 in the statement.").arg(QLatin1String(what)), text);
    };
    while (i < n) {
        const QChar c = text.at(i);
        const qsizetype start = i;
        if (c.isSpace()) {
            while (i < n && text.at(i).isSpace())
                ++i;
            tokens.push_back({Token::Space, text.mid(start, i - start)});
        } else if (c == QLatin1Char('-') && i + 1 < n && text.at(i + 1) == QLatin1Char('-')) {
            while (i < n && text.at(i) != QLatin1Char('\n'))
                ++i;
            tokens.push_back({Token::Space, QStringLiteral(" ")});
        } else if (c == QLatin1Char('/') && i + 1 < n && text.at(i + 1) == QLatin1Char('*')) {
            const qsizetype end = text.indexOf(QLatin1String("*/"), i + 2);
            if (end < 0)
                unterminated("comment");
            i = end + 2;
            tokens.push_back({Token::Space, QStringLiteral(" ")});
        } else if (c == QLatin1Char('\'') || ((c == QLatin1Char('N') || c == QLatin1Char('n')) &&
                                              i + 1 < n && text.at(i + 1) == QLatin1Char('\''))) {
            i += (c == QLatin1Char('\'')) ? 1 : 2;
            QString value;
            for (;;) {
                if (i >= n)
                    unterminated("quotation mark");
                if (text.at(i) == QLatin1Char('\'')) {
                    if (i + 1 < n && text.at(i + 1) == QLatin1Char('\'')) {
                        value += QLatin1Char('\'');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += text.at(i++);
            }
            tokens.push_back({Token::String, value});
        } else if (c == QLatin1Char('[')) {
            const qsizetype end = text.indexOf(QLatin1Char(']'), i + 1);
            if (end < 0)
                unterminated("bracket");
            tokens.push_back({Token::Quoted, text.mid(i + 1, end - i - 1)});
            i = end + 1;
        } else if (c == QLatin1Char('"')) {
            const qsizetype end = text.indexOf(QLatin1Char('"'), i + 1);
            if (end < 0)
                unterminated("quotation mark");
            tokens.push_back({Token::Quoted, text.mid(i + 1, end - i - 1)});
            i = end + 1;
        } else if (c.isDigit() ||
                   (c == QLatin1Char('.') && i + 1 < n && text.at(i + 1).isDigit())) {
            while (i < n && (text.at(i).isDigit() || text.at(i) == QLatin1Char('.')))
                ++i;
            if (i < n && (text.at(i) == QLatin1Char('e') || text.at(i) == QLatin1Char('E')) &&
                i + 1 < n &&
                (text.at(i + 1).isDigit() || text.at(i + 1) == QLatin1Char('-') ||
                 text.at(i + 1) == QLatin1Char('+'))) {
                i += 2;
                while (i < n && text.at(i).isDigit())
                    ++i;
            }
            // "1abc" is a name in T-SQL only with letters following: keep numbers plain.
            tokens.push_back({Token::Number, text.mid(start, i - start)});
        } else if (isWordStart(c)) {
            while (i < n && isWordPart(text.at(i)))
                ++i;
            tokens.push_back({Token::Word, text.mid(start, i - start)});
        } else if (c == QLatin1Char('@') || c == QLatin1Char('#')) {
            ++i;
            while (i < n && (isWordPart(text.at(i)) || text.at(i) == QLatin1Char('@') ||
                             text.at(i) == QLatin1Char('#')))
                ++i;
            tokens.push_back({c == QLatin1Char('@') ? Token::Variable : Token::Temp,
                              text.mid(start, i - start)});
        } else {
            static const char *const twoChar[] = {"<=", ">=", "<>", "!=", "!<", "!>", "||", ".."};
            QString symbol(c);
            if (i + 1 < n) {
                const QString pair = text.mid(i, 2);
                for (const char *candidate : twoChar) {
                    if (pair == QLatin1String(candidate)) {
                        symbol = pair;
                        break;
                    }
                }
            }
            i += symbol.size();
            tokens.push_back({Token::Symbol, symbol});
        }
    }
    return tokens;
}

} // namespace chemodesk::db
