#include "tokenizer.h"

#include "platform/connection.h"

#include <algorithm>

namespace chemodesk::db {

namespace {

// Called for every character of every text: ASCII, nearly all of them, is
// decided without Unicode's tables.
inline bool isWordStart(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_';
    return c.isLetter();
}
inline bool isWordPart(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ||
               u == '_' || u == '$';
    return c.isLetterOrNumber();
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

namespace chemodesk::db {

bool shapeOf(const QString &text, QString &shape, std::vector<Literal> &literals)
{
    // The same reading as tokenize(), without making tokens: run for every
    // text whose exact form has not been seen, so it stays one pass, copying
    // the text between literals in whole runs.
    literals.clear();
    // Room for the text's literals at once (a call's dozen or two would take six
    // growths); numbers beyond them grow it.
    literals.reserve(static_cast<size_t>(text.count(QLatin1Char('\'')) / 2 + 2));
    const qsizetype n = text.size();
    // Written in place: a shape is never longer than its text (a literal or a
    // comment becomes one mark or nothing), and QString::append's checks cost
    // more than the copies on texts of a few dozen literals.
    shape.resize(n);
    QChar *out = shape.data();
    qsizetype written = 0;
    const QChar *s = text.constData();
    qsizetype i = 0;
    qsizetype copied = 0; // the text before this is in the shape
    auto leaveOut = [&](qsizetype from, qsizetype to) {
        std::copy(s + copied, s + from, out + written);
        written += from - copied;
        copied = to;
    };
    while (i < n) {
        const char16_t c = s[i].unicode();
        const char16_t next = i + 1 < n ? s[i + 1].unicode() : 0;
        const qsizetype start = i;
        if (c >= 1 && c <= 3) {
            return false; // the marks themselves
        } else if (c == '-' && next == '-') {
            while (i < n && s[i] != QLatin1Char('\n'))
                ++i;
            leaveOut(start, i);
        } else if (c == '/' && next == '*') {
            const qsizetype end = text.indexOf(QLatin1String("*/"), i + 2);
            if (end < 0)
                return false;
            i = end + 2;
            leaveOut(start, i);
        } else if (c == '\'' || ((c == 'N' || c == 'n') && next == '\'')) {
            // N'x' and 'x' are the same token: one mark for both.
            i += c == '\'' ? 1 : 2;
            QString value;
            char16_t seen = 0;
            qsizetype run = i;
            for (;;) {
                if (i >= n)
                    return false;
                const char16_t x = s[i].unicode();
                if (x == '\'') {
                    if (i + 1 < n && s[i + 1] == QLatin1Char('\'')) {
                        value.append(s + run, i + 1 - run); // one of the two apostrophes
                        i += 2;
                        run = i;
                        continue;
                    }
                    break;
                }
                seen |= x;
                ++i;
            }
            if (!value.isNull())
                value.append(s + run, i - run);
            else if (i > run) // '' stays a null string, as appending nothing leaves it
                value = QString(s + run, i - run);
            ++i;
            leaveOut(start, i);
            // Texts beyond ASCII are told apart: a LIKE pattern is read otherwise.
            out[written++] = QChar(seen < 0x80 ? 1 : 3);
            literals.push_back({false, std::move(value)});
        } else if (c == '[' || c == '"') {
            const qsizetype end =
                text.indexOf(c == '[' ? QLatin1Char(']') : QLatin1Char('"'), i + 1);
            if (end < 0)
                return false;
            i = end + 1;
        } else if (s[i].isDigit() || (c == '.' && i + 1 < n && s[i + 1].isDigit())) {
            while (i < n && (s[i].isDigit() || s[i] == QLatin1Char('.')))
                ++i;
            if (i < n && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E')) && i + 1 < n &&
                (s[i + 1].isDigit() || s[i + 1] == QLatin1Char('-') ||
                 s[i + 1] == QLatin1Char('+'))) {
                i += 2;
                while (i < n && s[i].isDigit())
                    ++i;
            }
            leaveOut(start, i);
            out[written++] = QChar(2);
            literals.push_back({true, QString(s + start, i - start)});
        } else if (isWordStart(s[i])) {
            while (i < n && isWordPart(s[i]))
                ++i;
        } else if (c == '@' || c == '#') {
            ++i;
            while (i < n &&
                   (isWordPart(s[i]) || s[i] == QLatin1Char('@') || s[i] == QLatin1Char('#')))
                ++i;
        } else {
            ++i;
        }
    }
    leaveOut(n, n);
    shape.resize(written);
    return true;
}

} // namespace chemodesk::db
