#include "passes.h"

#include <algorithm>
#include <iterator>

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

namespace {

enum class Target { None, Date, Bit };

bool isComparison(const Token &x)
{
    static const char *const ops[] = {"=", "<>", "!=", "<", ">", "<=", ">=", "!<", "!>"};
    return x.kind == Token::Symbol &&
           std::any_of(std::begin(ops), std::end(ops),
                       [&](const char *op) { return x.is(Token::Symbol, op); });
}

// What the column named by the word at `k` holds, judged by its name.
Target columnAt(const Tokens &t, qsizetype k, const Context &ctx)
{
    if (k < 0 || at(t, k).kind != Token::Word)
        return Target::None;
    const QString name = at(t, k).text.toLower();
    if (ctx.dateColumns.contains(name))
        return Target::Date;
    if (ctx.bitColumns.contains(name))
        return Target::Bit;
    return Target::None;
}

// The last word of the (possibly qualified) name starting at `k`.
qsizetype nameEnd(const Tokens &t, qsizetype k)
{
    while (isSym(t, nextSig(t, k), ".") && nextSig(t, nextSig(t, k)) >= 0 &&
           at(t, nextSig(t, nextSig(t, k))).kind == Token::Word)
        k = nextSig(t, nextSig(t, k));
    return k;
}

// Functions and conversions whose argument at a literal is a date.
bool dateArgument(const Tokens &t, qsizetype k)
{
    const qsizetype before = prevSig(t, k);
    const qsizetype after = nextSig(t, k);
    // cast('...' as datetime)
    if (isSym(t, before, "(") && isWordAt(t, prevSig(t, before), "cast") &&
        isWordAt(t, after, "as")) {
        const qsizetype type = nextSig(t, after);
        return isWordAt(t, type, "datetime") || isWordAt(t, type, "smalldatetime") ||
               isWordAt(t, type, "date");
    }
    // Walk back to the "(" of the call holding the literal, counting its place.
    qsizetype open = before;
    int place = 0;
    while (open >= 0 && !at(t, open).isSymbol("(")) {
        if (at(t, open).isSymbol(","))
            ++place;
        else if (at(t, open).isSymbol(")"))
            open = matchingOpen(t, open);
        if (open < 0)
            return false;
        open = prevSig(t, open);
    }
    const qsizetype fn = prevSig(t, open);
    if (fn < 0 || at(t, fn).kind != Token::Word)
        return false;
    const QString name = at(t, fn).text.toLower();
    if (name == QLatin1String("convert")) {
        const qsizetype type = nextSig(t, open);
        return place == 1 && (isWordAt(t, type, "datetime") || isWordAt(t, type, "smalldatetime") ||
                              isWordAt(t, type, "date"));
    }
    if (name == QLatin1String("datediff"))
        return place >= 1;
    if (name == QLatin1String("dateadd"))
        return place == 2;
    if (name == QLatin1String("datepart") || name == QLatin1String("datename"))
        return place == 1;
    return place == 0 && (name == QLatin1String("year") || name == QLatin1String("month") ||
                          name == QLatin1String("day"));
}

// The column a literal at `k` is compared with or set to, judged by its neighbours.
Target comparedWith(const Tokens &t, qsizetype k, const Context &ctx)
{
    qsizetype before = prevSig(t, k);
    const qsizetype after = nextSig(t, k);
    // column <op> 'x'
    if (before >= 0 && isComparison(at(t, before)))
        return columnAt(t, prevSig(t, before), ctx);
    // 'x' <op> column
    if (after >= 0 && isComparison(at(t, after))) {
        const qsizetype name = nextSig(t, after);
        return name >= 0 ? columnAt(t, nameEnd(t, name), ctx) : Target::None;
    }
    // column between 'x' and 'y'
    if (isWordAt(t, before, "and") && prevSig(t, before) >= 0 &&
        at(t, prevSig(t, before)).kind == Token::String &&
        isWordAt(t, prevSig(t, prevSig(t, before)), "between"))
        before = prevSig(t, prevSig(t, before));
    if (isWordAt(t, before, "between")) {
        qsizetype column = prevSig(t, before);
        if (isWordAt(t, column, "not"))
            column = prevSig(t, column);
        return columnAt(t, column, ctx);
    }
    // column in ('x', 'y')
    while (isSym(t, before, ",") && prevSig(t, before) >= 0 &&
           at(t, prevSig(t, before)).kind == Token::String)
        before = prevSig(t, prevSig(t, before));
    if (isSym(t, before, "(") && isWordAt(t, prevSig(t, before), "in")) {
        qsizetype column = prevSig(t, prevSig(t, before));
        if (isWordAt(t, column, "not"))
            column = prevSig(t, column);
        return columnAt(t, column, ctx);
    }
    return Target::None;
}

// INSERT [INTO] table (columns) VALUES (...), (...) or SELECT ...: each literal
// placed under a date or bit column, by position.
void targetsOfInserts(const Tokens &t, const Context &ctx, std::vector<Target> &targets)
{
    for (qsizetype i = 0; i < size(t); ++i) {
        if (!at(t, i).isWord("insert"))
            continue;
        qsizetype k = nextSig(t, i);
        if (isWordAt(t, k, "into"))
            k = nextSig(t, k);
        while (k >= 0 && !at(t, k).isSymbol("(") && !at(t, k).isWord("values") &&
               !at(t, k).isWord("select"))
            k = nextSig(t, k);
        if (!isSym(t, k, "("))
            continue;
        std::vector<Target> columns;
        const qsizetype close = matchingParen(t, k);
        if (close < 0)
            continue;
        for (const Tokens &arg : splitArguments(t, k, close)) {
            Tokens sig;
            for (const Token &x : arg)
                if (isSignificant(x))
                    sig.push_back(x);
            columns.push_back(sig.empty() ? Target::None : columnAt(sig, size(sig) - 1, ctx));
        }
        k = nextSig(t, close);
        auto mark = [&](qsizetype from, qsizetype to) {
            // Items of one row, split at commas outside parentheses.
            size_t place = 0;
            int depth = 0;
            qsizetype itemStart = -1;
            for (qsizetype x = from; x < to; ++x) {
                const Token &tok = at(t, x);
                if (!isSignificant(tok))
                    continue;
                if (tok.isSymbol("("))
                    ++depth;
                else if (tok.isSymbol(")"))
                    --depth;
                if (depth == 0 && tok.isSymbol(",")) {
                    ++place;
                    itemStart = -1;
                    continue;
                }
                if (itemStart < 0)
                    itemStart = x;
                // A lone literal is the item itself.
                if (depth == 0 && tok.kind == Token::String && itemStart == x &&
                    (nextSig(t, x) >= to || nextSig(t, x) < 0 || isSym(t, nextSig(t, x), ",")) &&
                    place < columns.size())
                    targets[static_cast<size_t>(x)] = columns[place];
            }
        };
        if (isWordAt(t, k, "values")) {
            k = nextSig(t, k);
            while (isSym(t, k, "(")) {
                const qsizetype end = matchingParen(t, k);
                if (end < 0)
                    break;
                mark(k + 1, end);
                k = nextSig(t, end);
                if (!isSym(t, k, ","))
                    break;
                k = nextSig(t, k);
            }
        } else if (isWordAt(t, k, "select")) {
            qsizetype end = k + 1;
            int depth = 0;
            for (; end < size(t); ++end) {
                if (at(t, end).isSymbol("("))
                    ++depth;
                else if (at(t, end).isSymbol(")"))
                    --depth;
                else if (depth == 0 && at(t, end).kind == Token::Word &&
                         (at(t, end).isWord("from") || at(t, end).isWord("where") ||
                          at(t, end).isWord("union")))
                    break;
            }
            mark(k + 1, end);
        }
    }
}

} // namespace

void typedLiterals(Tokens &t, const Context &ctx)
{
    // A literal is read as the server reads it only where a date or a bit is
    // expected; elsewhere it stays the text typed, however it looks.
    if (ctx.dateColumns.isEmpty() && ctx.bitColumns.isEmpty() &&
        std::none_of(t.begin(), t.end(), [](const Token &x) { return x.kind == Token::String; }))
        return;
    std::vector<Target> inserted(t.size(), Target::None);
    if (std::any_of(t.begin(), t.end(), [](const Token &x) { return x.isWord("insert"); }))
        targetsOfInserts(t, ctx, inserted);
    for (qsizetype i = 0; i < size(t); ++i) {
        Token &tok = at(t, i);
        if (tok.kind != Token::String)
            continue;
        Target target = inserted[static_cast<size_t>(i)];
        if (target == Target::None)
            target = comparedWith(t, i, ctx);
        if (target == Target::None && dateArgument(t, i))
            target = Target::Date;
        if (target == Target::Date) {
            ctx.readAsDate(tok);
            if (auto iso = isoDate(tok.text))
                tok.text = *iso;
        } else if (target == Target::Bit) {
            ctx.pin(tok);
            // The server reads 'true' and 'false' as 1 and 0 for a bit.
            const QString word = tok.text.trimmed().toLower();
            if (word == QLatin1String("true"))
                tok = {Token::Number, QStringLiteral("1")};
            else if (word == QLatin1String("false"))
                tok = {Token::Number, QStringLiteral("0")};
        }
    }
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
        if (x.kind == Token::String) {
            ctx.pin(x);
            return !isoDate(x.text).has_value();
        }
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
