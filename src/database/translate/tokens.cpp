#include "tokens.h"

#include <QDateTime>
#include <QRegularExpression>

#include <algorithm>

namespace chemodesk::db::translate {

namespace {

// Words the engines reserve that the hospital uses as names: quoted on output.
const QSet<QString> &reservedWords()
{
    static const QSet<QString> words = {
        QStringLiteral("user"),       QStringLiteral("order"),   QStringLiteral("group"),
        QStringLiteral("table"),      QStringLiteral("from"),    QStringLiteral("select"),
        QStringLiteral("where"),      QStringLiteral("limit"),   QStringLiteral("offset"),
        QStringLiteral("desc"),       QStringLiteral("asc"),     QStringLiteral("check"),
        QStringLiteral("column"),     QStringLiteral("default"), QStringLiteral("primary"),
        QStringLiteral("references"), QStringLiteral("to"),      QStringLiteral("end"),
        QStringLiteral("analyse"),    QStringLiteral("analyze"), QStringLiteral("both"),
    };
    return words;
}

QString renderToken(const Token &t)
{
    switch (t.kind) {
    case Token::String: {
        QString value = t.text;
        value.replace(QLatin1Char('\''), QLatin1String("''"));
        return QLatin1Char('\'') + value + QLatin1Char('\'');
    }
    case Token::Quoted: {
        static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
        const bool isPlain = plain.match(t.text).hasMatch();
        if (isPlain && !reservedWords().contains(t.text.toLower()))
            return t.text;
        QString name = t.text;
        name.replace(QLatin1Char('"'), QLatin1String("\"\""));
        // A reserved word names a column created in lower case; other quoted
        // names are aliases the caller reads back as written.
        if (isPlain)
            name = name.toLower();
        return QLatin1Char('"') + name + QLatin1Char('"');
    }
    default:
        return t.text;
    }
}

} // namespace

qsizetype nextSig(const Tokens &t, qsizetype i)
{
    for (++i; i < size(t); ++i)
        if (isSignificant(at(t, i)))
            return i;
    return -1;
}

qsizetype prevSig(const Tokens &t, qsizetype i)
{
    for (--i; i >= 0; --i)
        if (isSignificant(at(t, i)))
            return i;
    return -1;
}

qsizetype matchingParen(const Tokens &t, qsizetype open)
{
    int depth = 0;
    for (qsizetype i = open; i < size(t); ++i) {
        if (at(t, i).isSymbol("("))
            ++depth;
        else if (at(t, i).isSymbol(")") && --depth == 0)
            return i;
    }
    return -1;
}

qsizetype matchingOpen(const Tokens &t, qsizetype close)
{
    int depth = 0;
    for (qsizetype i = close; i >= 0; --i) {
        if (at(t, i).isSymbol(")"))
            ++depth;
        else if (at(t, i).isSymbol("(") && --depth == 0)
            return i;
    }
    return -1;
}

std::vector<Tokens> splitArguments(const Tokens &t, qsizetype open, qsizetype close)
{
    std::vector<Tokens> args(1);
    int depth = 0;
    for (qsizetype i = open + 1; i < close; ++i) {
        const Token &tok = at(t, i);
        if (tok.isSymbol("("))
            ++depth;
        else if (tok.isSymbol(")"))
            --depth;
        if (depth == 0 && tok.isSymbol(",")) {
            args.emplace_back();
            continue;
        }
        args.back().push_back(tok);
    }
    if (args.size() == 1 && std::none_of(args[0].begin(), args[0].end(), isSignificant))
        args.clear();
    return args;
}

void replaceRange(Tokens &t, qsizetype begin, qsizetype end, const Tokens &with)
{
    const qsizetype common = std::min(end - begin, size(with));
    std::copy(with.begin(), with.begin() + common, t.begin() + begin);
    if (common < end - begin)
        t.erase(t.begin() + begin + common, t.begin() + end);
    else
        t.insert(t.begin() + end, with.begin() + common, with.end());
}

Tokens glue(const QString &text)
{
    Tokens out = tokenize(text);
    for (Token &t : out)
        if (t.kind == Token::Word)
            t.kind = Token::Resolved;
    return out;
}

QString firstWordLower(const Tokens &arg)
{
    for (const Token &t : arg)
        if (isSignificant(t))
            return t.text.toLower();
    return {};
}

QString render(const Tokens &t)
{
    QString out;
    for (const Token &tok : t)
        out += renderToken(tok);
    return out;
}

std::vector<ShapePiece> renderShape(const Tokens &t, const std::vector<bool> &pinned)
{
    std::vector<ShapePiece> out(1);
    for (const Token &tok : t) {
        if (tok.param >= 0 && !pinned[static_cast<size_t>(tok.param)]) {
            out.back().param = tok.param;
            out.emplace_back();
        } else {
            out.back().text += renderToken(tok);
        }
    }
    return out;
}

const QSet<QString> &nonFunctionWords()
{
    static const QSet<QString> words = {
        QStringLiteral("in"),       QStringLiteral("exists"),  QStringLiteral("values"),
        QStringLiteral("as"),       QStringLiteral("on"),      QStringLiteral("and"),
        QStringLiteral("or"),       QStringLiteral("not"),     QStringLiteral("where"),
        QStringLiteral("select"),   QStringLiteral("from"),    QStringLiteral("join"),
        QStringLiteral("then"),     QStringLiteral("else"),    QStringLiteral("when"),
        QStringLiteral("case"),     QStringLiteral("between"), QStringLiteral("like"),
        QStringLiteral("into"),     QStringLiteral("is"),      QStringLiteral("set"),
        QStringLiteral("by"),       QStringLiteral("union"),   QStringLiteral("all"),
        QStringLiteral("any"),      QStringLiteral("some"),    QStringLiteral("having"),
        QStringLiteral("distinct"), QStringLiteral("end"),     QStringLiteral("returning"),
    };
    return words;
}

// The screens' date formats, stored by the engines in ISO form so dates
// compare and sort.
std::optional<QString> isoDate(const QString &value)
{
    // Most literals are no dates: rule them out before the pattern.
    if (value.size() < 8 || value.size() > 32 || !value.contains(QLatin1Char('/')))
        return std::nullopt;
    static const QRegularExpression pattern(QStringLiteral(
        R"(^\s*(\d{1,2})/(\d{1,2})/(\d{4})(?:\s+(\d{1,2}):(\d{2})(?::(\d{2}))?(?:\.\d+)?\s*([AaPp][Mm])?)?\s*$)"));
    const auto m = pattern.match(value);
    if (!m.hasMatch())
        return std::nullopt;
    const int month = m.captured(1).toInt(), day = m.captured(2).toInt(),
              year = m.captured(3).toInt();
    int hour = m.captured(4).toInt();
    const int minute = m.captured(5).toInt(), second = m.captured(6).toInt();
    const QString half = m.captured(7).toUpper();
    if (half == QLatin1String("PM") && hour < 12)
        hour += 12;
    if (half == QLatin1String("AM") && hour == 12)
        hour = 0;
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace chemodesk::db::translate
