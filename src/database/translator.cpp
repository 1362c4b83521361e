#include "translator.h"

#include "platform/connection.h"
#include "procedurehost.h"

#include <QRegularExpression>

namespace chemodesk::db {

namespace {

using Tokens = std::vector<Token>;

const QSet<QString> &statementKeywords()
{
    static const QSet<QString> words = {
        QStringLiteral("select"), QStringLiteral("insert"), QStringLiteral("update"),
        QStringLiteral("delete"), QStringLiteral("with"),   QStringLiteral("create"),
        QStringLiteral("alter"),  QStringLiteral("drop"),   QStringLiteral("truncate"),
        QStringLiteral("declare"), QStringLiteral("set"),   QStringLiteral("if"),
        QStringLiteral("begin"),  QStringLiteral("commit"), QStringLiteral("rollback"),
        QStringLiteral("exec"),   QStringLiteral("execute"), QStringLiteral("print"),
        QStringLiteral("while"),  QStringLiteral("use"),    QStringLiteral("go"),
        QStringLiteral("grant"),  QStringLiteral("merge"),  QStringLiteral("raiserror"),
    };
    return words;
}

// Words that may stand before "(" without being a function call.
const QSet<QString> &nonFunctionWords()
{
    static const QSet<QString> words = {
        QStringLiteral("in"),     QStringLiteral("exists"), QStringLiteral("values"),
        QStringLiteral("as"),     QStringLiteral("on"),     QStringLiteral("and"),
        QStringLiteral("or"),     QStringLiteral("not"),    QStringLiteral("where"),
        QStringLiteral("select"), QStringLiteral("from"),   QStringLiteral("join"),
        QStringLiteral("then"),   QStringLiteral("else"),   QStringLiteral("when"),
        QStringLiteral("case"),   QStringLiteral("between"), QStringLiteral("like"),
        QStringLiteral("into"),   QStringLiteral("is"),     QStringLiteral("set"),
        QStringLiteral("by"),     QStringLiteral("union"),  QStringLiteral("all"),
        QStringLiteral("any"),    QStringLiteral("some"),   QStringLiteral("having"),
        QStringLiteral("distinct"), QStringLiteral("end"),  QStringLiteral("returning"),
    };
    return words;
}

// Functions both engines know under the same name and arguments.
const QSet<QString> &commonFunctions()
{
    static const QSet<QString> words = {
        QStringLiteral("coalesce"), QStringLiteral("nullif"), QStringLiteral("upper"),
        QStringLiteral("lower"),    QStringLiteral("ltrim"),  QStringLiteral("rtrim"),
        QStringLiteral("trim"),     QStringLiteral("replace"), QStringLiteral("abs"),
        QStringLiteral("round"),    QStringLiteral("count"),  QStringLiteral("sum"),
        QStringLiteral("avg"),      QStringLiteral("min"),    QStringLiteral("max"),
        QStringLiteral("getdate"),  QStringLiteral("isnumeric"), QStringLiteral("length"),
        QStringLiteral("substr"),   QStringLiteral("instr"),  QStringLiteral("strpos"),
        QStringLiteral("datetime"), QStringLiteral("strftime"), QStringLiteral("to_char"),
        QStringLiteral("cast"),     QStringLiteral("floor"),  QStringLiteral("left"),
        QStringLiteral("right"),    QStringLiteral("julianday"), QStringLiteral("date"),
        QStringLiteral("extract"),  QStringLiteral("printf"), QStringLiteral("sign"),
    };
    return words;
}

// Functions whose result is a text: a "+" beside their call joins texts.
const QSet<QString> &textFunctions()
{
    static const QSet<QString> words = {
        QStringLiteral("upper"), QStringLiteral("lower"),  QStringLiteral("ltrim"),
        QStringLiteral("rtrim"), QStringLiteral("trim"),   QStringLiteral("replace"),
        QStringLiteral("substr"), QStringLiteral("substring"), QStringLiteral("left"),
        QStringLiteral("right"), QStringLiteral("strftime"), QStringLiteral("to_char"),
        QStringLiteral("str"),   QStringLiteral("char"),   QStringLiteral("chr"),
        QStringLiteral("space"), QStringLiteral("replicate"), QStringLiteral("repeat"),
    };
    return words;
}

// Words the engines reserve that the hospital uses as names: quoted on output.
const QSet<QString> &reservedWords()
{
    static const QSet<QString> words = {
        QStringLiteral("user"),   QStringLiteral("order"),  QStringLiteral("group"),
        QStringLiteral("table"),  QStringLiteral("from"),   QStringLiteral("select"),
        QStringLiteral("where"),  QStringLiteral("limit"),  QStringLiteral("offset"),
        QStringLiteral("desc"),   QStringLiteral("asc"),    QStringLiteral("check"),
        QStringLiteral("column"), QStringLiteral("default"), QStringLiteral("primary"),
        QStringLiteral("references"), QStringLiteral("to"), QStringLiteral("end"),
        QStringLiteral("analyse"), QStringLiteral("analyze"), QStringLiteral("both"),
    };
    return words;
}

bool isSignificant(const Token &t) { return t.kind != Token::Space; }

qsizetype nextSig(const Tokens &t, qsizetype i)
{
    for (++i; i < static_cast<qsizetype>(t.size()); ++i)
        if (isSignificant(t[static_cast<size_t>(i)]))
            return i;
    return -1;
}

qsizetype prevSig(const Tokens &t, qsizetype i)
{
    for (--i; i >= 0; --i)
        if (isSignificant(t[static_cast<size_t>(i)]))
            return i;
    return -1;
}

const Token &at(const Tokens &t, qsizetype i) { return t[static_cast<size_t>(i)]; }

bool isSym(const Tokens &t, qsizetype i, const char *s) { return i >= 0 && at(t, i).isSymbol(s); }

// Index of the ")" closing the "(" at `open`, or -1.
qsizetype matchingParen(const Tokens &t, qsizetype open)
{
    int depth = 0;
    for (qsizetype i = open; i < static_cast<qsizetype>(t.size()); ++i) {
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

// The argument token ranges of the call whose "(" is at `open`.
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

Token word(const QString &text) { return {Token::Word, text}; }
Token sym(const char *text) { return {Token::Symbol, QString::fromLatin1(text)}; }
Token resolved(const QString &text) { return {Token::Resolved, text}; }

QString firstWordLower(const Tokens &arg)
{
    for (const Token &t : arg)
        if (isSignificant(t))
            return t.text.toLower();
    return {};
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
        if (plain.match(t.text).hasMatch() && !reservedWords().contains(t.text.toLower()))
            return t.text;
        QString name = t.text;
        name.replace(QLatin1Char('"'), QLatin1String("\"\""));
        // A reserved word names a column created in lower case; other quoted
        // names are aliases the caller reads back as written.
        if (plain.match(t.text).hasMatch())
            name = name.toLower();
        return QLatin1Char('"') + name + QLatin1Char('"');
    }
    default:
        return t.text;
    }
}

QString render(const Tokens &t)
{
    QString out;
    for (const Token &tok : t)
        out += renderToken(tok);
    return out;
}

// "12/10/2026", "12/10/2026 03:15:00 PM" and the like: the screens' date
// formats, stored by the engines in ISO form so dates compare and sort.
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
    const int month = m.captured(1).toInt(), day = m.captured(2).toInt(), year = m.captured(3).toInt();
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

// "INTO DB..tb (" names a table and its columns, not a function call.
bool followsTableWord(const Tokens &t, qsizetype i)
{
    const qsizetype p = prevSig(t, i);
    if (p < 0 || at(t, p).kind != Token::Word)
        return false;
    const QString w = at(t, p).text.toLower();
    return w == QLatin1String("into") || w == QLatin1String("from") || w == QLatin1String("join") ||
           w == QLatin1String("update") || w == QLatin1String("insert");
}

[[noreturn]] void refuse(const QString &construct, const QString &original)
{
    throw DatabaseError(QStringLiteral("The statement cannot be translated: %1 is not supported.")
                            .arg(construct),
                        original);
}

} // namespace

const QStringList &Translator::databases()
{
    static const QStringList names = {
        QStringLiteral("CLINICAL_AREA"), QStringLiteral("PATIENT_DATA"), QStringLiteral("STATION"),
        QStringLiteral("BUILD_FILE"),    QStringLiteral("BILLING"),      QStringLiteral("HEMODIALYSIS"),
        QStringLiteral("INVENTORY"),     QStringLiteral("LABORATORY"),   QStringLiteral("RADIOLOGY"),
        QStringLiteral("REPORTS"),       QStringLiteral("PASSWORD"),
    };
    return names;
}

bool Translator::isDatabase(const QString &name)
{
    return databases().contains(name.toUpper());
}

Translator::Translator(Dialect dialect, const ProcedureRegistry *functions)
    : dialect_(dialect), functions_(functions)
{
}

void Translator::setDefaultDatabase(const QString &database)
{
    if (!isDatabase(database))
        throw DatabaseError(QStringLiteral("Database '%1' does not exist.").arg(database));
    defaultDatabase_ = database.toUpper();
}

QString Translator::tableName(const QString &database, const QString &table) const
{
    // SQLite attaches at most ten files, fewer than the hospital's databases:
    // there they share one file and the database becomes a name prefix.
    if (dialect_ == Dialect::SQLite)
        return database.toLower() + QLatin1String("__") + table.toLower();
    return database.toLower() + QLatin1Char('.') + table.toLower();
}

Translation Translator::translate(const QString &text) const
{
    Tokens tokens = tokenize(text);
    Translation result;
    if (auto call = procedureCall(tokens)) {
        result.call = std::move(call);
        return result;
    }
    // Several statements in one text run one after another, as on the server.
    Tokens current;
    int depth = 0;
    auto flush = [&] {
        if (std::any_of(current.begin(), current.end(), isSignificant))
            result.statements << translateStatement(std::move(current), text);
        current.clear();
    };
    for (Token &t : tokens) {
        if (t.isSymbol("("))
            ++depth;
        else if (t.isSymbol(")"))
            --depth;
        if (depth == 0 && t.isSymbol(";")) {
            flush();
            continue;
        }
        current.push_back(std::move(t));
    }
    flush();
    if (result.statements.isEmpty())
        throw DatabaseError(QStringLiteral("The statement is empty."), text);
    return result;
}

std::optional<ProcedureCall> Translator::procedureCall(const Tokens &all) const
{
    Tokens t;
    for (const Token &tok : all)
        if (isSignificant(tok))
            t.push_back(tok);
    size_t i = 0;
    if (i < t.size() && (t[i].isWord("exec") || t[i].isWord("execute")))
        ++i;
    if (i >= t.size() || t[i].kind != Token::Word)
        return std::nullopt;
    if (i == 0 && statementKeywords().contains(t[i].text.toLower()))
        return std::nullopt;
    ProcedureCall call;
    call.database = defaultDatabase_;
    QString first = t[i++].text;
    if (i + 1 < t.size() && t[i].isSymbol("..") && t[i + 1].kind == Token::Word) {
        call.database = first.toUpper();
        call.name = t[i + 1].text;
        i += 2;
    } else if (i + 3 < t.size() && t[i].isSymbol(".") && t[i + 1].kind == Token::Word &&
               t[i + 2].isSymbol(".") && t[i + 3].kind == Token::Word) {
        call.database = first.toUpper();
        call.name = t[i + 3].text;
        i += 4;
    } else if (i + 1 < t.size() && t[i].isSymbol(".") && t[i + 1].kind == Token::Word) {
        call.name = t[i + 1].text; // owner.procedure in the default database
        i += 2;
    } else {
        call.name = first;
    }
    // Arguments: literals separated by commas, nothing else.
    bool expectValue = true;
    for (; i < t.size(); ++i) {
        const Token &tok = t[i];
        if (expectValue) {
            if (tok.kind == Token::String || tok.kind == Token::Number) {
                call.args << tok.text;
            } else if (tok.isSymbol("-") && i + 1 < t.size() && t[i + 1].kind == Token::Number) {
                call.args << QLatin1Char('-') + t[++i].text;
            } else if (tok.isWord("null")) {
                call.args << QString();
            } else {
                return std::nullopt;
            }
            expectValue = false;
        } else {
            if (!tok.isSymbol(","))
                return std::nullopt;
            expectValue = true;
        }
    }
    if (expectValue && !call.args.isEmpty())
        return std::nullopt;
    if (!isDatabase(call.database))
        throw DatabaseError(QStringLiteral("Database '%1' does not exist.").arg(first));
    return call;
}

void Translator::expandFunctions(Tokens &t, const QString &original) const
{
    if (!functions_)
        return;
    for (int round = 0; round < 8; ++round) {
        bool expanded = false;
        for (qsizetype i = 0; i < static_cast<qsizetype>(t.size()); ++i) {
            if (at(t, i).kind != Token::Word)
                continue;
            // The last part of DB..name, DB.dbo.name, dbo.name or name, then "(".
            qsizetype open = nextSig(t, i);
            if (!isSym(t, open, "("))
                continue;
            const QString *body = functions_->findFunction(at(t, i).text);
            if (!body)
                continue;
            qsizetype begin = i;
            qsizetype p = prevSig(t, i);
            if (isSym(t, p, "..")) {
                begin = prevSig(t, p);
            } else if (isSym(t, p, ".")) {
                begin = prevSig(t, p);
                qsizetype q = prevSig(t, begin);
                if (isSym(t, q, "."))
                    begin = prevSig(t, q);
            }
            const qsizetype close = matchingParen(t, open);
            if (close < 0)
                refuse(QStringLiteral("an unclosed call of %1").arg(at(t, i).text), original);
            const auto args = splitArguments(t, open, close);
            QString expression = *body;
            for (int a = static_cast<int>(args.size()); a >= 1; --a)
                expression.replace(QLatin1Char('@') + QString::number(a),
                                   QLatin1Char('(') + render(args[static_cast<size_t>(a - 1)]) + QLatin1Char(')'));
            Tokens replacement = tokenize(QLatin1Char('(') + expression + QLatin1Char(')'));
            t.erase(t.begin() + begin, t.begin() + close + 1);
            t.insert(t.begin() + begin, replacement.begin(), replacement.end());
            expanded = true;
            break;
        }
        if (!expanded)
            return;
    }
    refuse(QStringLiteral("scalar functions calling themselves"), original);
}

QString Translator::translateStatement(Tokens t, const QString &original) const
{
    const bool lite = dialect_ == Dialect::SQLite;

    const qsizetype head = nextSig(t, -1);
    const QString verb = at(t, head).text.toLower();
    if (at(t, head).kind != Token::Word ||
        !(verb == QLatin1String("select") || verb == QLatin1String("insert") ||
          verb == QLatin1String("update") || verb == QLatin1String("delete")))
        refuse(QStringLiteral("a statement beginning with '%1'").arg(at(t, head).text), original);
    // Constructs of the server's procedural language have no place in a text.
    for (const Token &tok : t) {
        if (tok.kind == Token::Variable)
            refuse(QStringLiteral("the variable %1").arg(tok.text), original);
        if (tok.kind == Token::Temp)
            refuse(QStringLiteral("the temporary table %1").arg(tok.text), original);
        if (tok.isSymbol("!<") || tok.isSymbol("!>"))
            refuse(QStringLiteral("the operator %1").arg(tok.text), original);
    }

    expandFunctions(t, original);

    // Database-qualified names become the engine's table names.
    for (qsizetype i = 0; i < static_cast<qsizetype>(t.size()); ++i) {
        if (at(t, i).kind != Token::Word)
            continue;
        const qsizetype a = nextSig(t, i);
        if (isSym(t, a, "..")) {
            const qsizetype b = nextSig(t, a);
            if (b < 0 || at(t, b).kind != Token::Word)
                refuse(QStringLiteral("the name '%1..'").arg(at(t, i).text), original);
            if (!isDatabase(at(t, i).text))
                refuse(QStringLiteral("the database '%1'").arg(at(t, i).text), original);
            if (isSym(t, nextSig(t, b), "(") && !followsTableWord(t, i))
                refuse(QStringLiteral("the function %1..%2").arg(at(t, i).text, at(t, b).text), original);
            const QString name = tableName(at(t, i).text, at(t, b).text);
            t.erase(t.begin() + i + 1, t.begin() + b + 1);
            t[static_cast<size_t>(i)] = resolved(name);
        } else if (isSym(t, a, ".") && isDatabase(at(t, i).text)) {
            const qsizetype owner = nextSig(t, a);
            const qsizetype dot = nextSig(t, owner);
            const qsizetype b = nextSig(t, dot);
            if (owner < 0 || !isSym(t, dot, ".") || b < 0 || at(t, b).kind != Token::Word)
                continue; // a column of a table aliased with a database's name
            if (isSym(t, nextSig(t, b), "(") && !followsTableWord(t, i))
                refuse(QStringLiteral("the function %1.%2.%3")
                           .arg(at(t, i).text, at(t, owner).text, at(t, b).text),
                       original);
            const QString name = tableName(at(t, i).text, at(t, b).text);
            t.erase(t.begin() + i + 1, t.begin() + b + 1);
            t[static_cast<size_t>(i)] = resolved(name);
        }
    }

    // Table hints mean nothing to these engines.
    for (qsizetype i = 0; i < static_cast<qsizetype>(t.size()); ++i) {
        if (!at(t, i).isSymbol("("))
            continue;
        const qsizetype hint = nextSig(t, i);
        const qsizetype close = nextSig(t, hint);
        if (hint < 0 || !isSym(t, close, ")"))
            continue;
        const QString h = at(t, hint).text.toLower();
        if (at(t, hint).kind == Token::Word &&
            (h == QLatin1String("nolock") || h == QLatin1String("readuncommitted") ||
             h == QLatin1String("rowlock") || h == QLatin1String("updlock") || h == QLatin1String("holdlock"))) {
            qsizetype begin = i;
            const qsizetype w = prevSig(t, i);
            if (w >= 0 && at(t, w).isWord("with"))
                begin = w;
            if (begin > 0 && at(t, begin - 1).kind == Token::Space)
                --begin;
            t.erase(t.begin() + begin, t.begin() + close + 1);
            i = begin - 1;
        }
    }

    // Clause keywords and unqualified table names; TOP becomes LIMIT.
    QHash<QString, QString> columnAliases;
    bool inOrderBy = false;
    struct Limit { int depth; QString count; };
    std::vector<Limit> limits;
    int depth = 0;
    bool tableExpected = false;
    std::vector<bool> inFrom(1, false);
    auto closeLimits = [&](qsizetype position, int atDepth) -> qsizetype {
        qsizetype inserted = 0;
        while (!limits.empty() && limits.back().depth == atDepth) {
            const Tokens add = {{Token::Space, QStringLiteral(" ")}, word(QStringLiteral("LIMIT")),
                                {Token::Space, QStringLiteral(" ")}, {Token::Number, limits.back().count}};
            t.insert(t.begin() + position, add.begin(), add.end());
            inserted += static_cast<qsizetype>(add.size());
            limits.pop_back();
        }
        return inserted;
    };
    for (qsizetype i = 0; i < static_cast<qsizetype>(t.size()); ++i) {
        Token &tok = t[static_cast<size_t>(i)];
        if (!isSignificant(tok))
            continue;
        if (tok.isSymbol("(")) {
            ++depth;
            inFrom.push_back(false);
            tableExpected = false;
            continue;
        }
        if (tok.isSymbol(")")) {
            i += closeLimits(i, depth);
            --depth;
            if (depth < 0)
                refuse(QStringLiteral("an unmatched ')'"), original);
            inFrom.pop_back();
            continue;
        }
        if (tok.kind == Token::String) {
            if (auto iso = isoDate(tok.text))
                tok.text = *iso;
            tableExpected = false;
            continue;
        }
        if (tok.isSymbol(",") && inFrom.back()) {
            tableExpected = true;
            continue;
        }
        if (tok.kind == Token::Quoted && tableExpected) {
            tok = resolved(tableName(defaultDatabase_, tok.text));
            tableExpected = false;
            continue;
        }
        if (tok.kind != Token::Word) {
            tableExpected = false;
            continue;
        }
        const QString w = tok.text.toLower();
        const qsizetype nx = nextSig(t, i);
        if (inOrderBy && depth == 0 && columnAliases.contains(w) && !isSym(t, nx, "(") && !isSym(t, nx, ".") &&
            !isSym(t, prevSig(t, i), ".")) {
            tok = resolved(QLatin1Char('"') + columnAliases.value(w) + QLatin1Char('"'));
            continue;
        }
        if (w == QLatin1String("order") && depth == 0)
            inOrderBy = true;
        if (tableExpected && !nonFunctionWords().contains(w) && w != QLatin1String("select")) {
            tableExpected = false;
            if (!isSym(t, nx, ".") && !isSym(t, nx, "(")) {
                tok = resolved(tableName(defaultDatabase_, tok.text));
                continue;
            }
        }
        tableExpected = false;
        if (w == QLatin1String("as")) {
            // Any word may name a column on the hospital's server; quoted, it
            // stays a name here too ("AS Nothing", "AS Time").
            if (nx >= 0 && at(t, nx).kind == Token::Word && !isSym(t, nextSig(t, nx), "(")) {
                // A column keeps its name as written; a table alias is folded
                // as the engine folds the bare references to it.
                const bool tableAlias = inFrom.back();
                const QString alias = (lite || !tableAlias) ? at(t, nx).text : at(t, nx).text.toLower();
                if (!tableAlias)
                    columnAliases.insert(alias.toLower(), alias);
                t[static_cast<size_t>(nx)] = resolved(QLatin1Char('"') + alias + QLatin1Char('"'));
            }
            continue;
        }
        if (w == QLatin1String("from") || w == QLatin1String("join")) {
            tableExpected = true;
            if (w == QLatin1String("from"))
                inFrom.back() = true;
        } else if (w == QLatin1String("update") || w == QLatin1String("into")) {
            tableExpected = true;
        } else if (w == QLatin1String("where") || w == QLatin1String("group") ||
                   w == QLatin1String("order") || w == QLatin1String("having") ||
                   w == QLatin1String("union") || w == QLatin1String("on") || w == QLatin1String("set")) {
            inFrom.back() = false;
        } else if (w == QLatin1String("delete")) {
            if (nx >= 0 && !at(t, nx).isWord("from")) {
                t.insert(t.begin() + nx, {word(QStringLiteral("FROM")), {Token::Space, QStringLiteral(" ")}});
            }
        } else if (w == QLatin1String("insert")) {
            if (nx >= 0 && !at(t, nx).isWord("into")) {
                t.insert(t.begin() + nx, {word(QStringLiteral("INTO")), {Token::Space, QStringLiteral(" ")}});
            }
        } else if (w == QLatin1String("top")) {
            qsizetype n = nx;
            bool parens = isSym(t, n, "(");
            if (parens)
                n = nextSig(t, n);
            if (n < 0 || at(t, n).kind != Token::Number)
                refuse(QStringLiteral("TOP without a number"), original);
            qsizetype end = parens ? nextSig(t, n) : n;
            if (at(t, nextSig(t, end)).isWord("percent"))
                refuse(QStringLiteral("TOP ... PERCENT"), original);
            limits.push_back({depth, at(t, n).text});
            if (end + 1 < static_cast<qsizetype>(t.size()) && at(t, end + 1).kind == Token::Space)
                ++end;
            t.erase(t.begin() + i, t.begin() + end + 1);
            --i;
        } else if (w == QLatin1String("select") && depth >= 0) {
            // SELECT ... INTO makes a table on the server; refuse it plainly.
            int d = 0;
            for (qsizetype k = i + 1; k < static_cast<qsizetype>(t.size()); ++k) {
                if (at(t, k).isSymbol("("))
                    ++d;
                else if (at(t, k).isSymbol(")") && --d < 0)
                    break;
                if (d == 0 && at(t, k).isWord("from"))
                    break;
                if (d == 0 && at(t, k).isWord("into"))
                    refuse(QStringLiteral("SELECT ... INTO"), original);
            }
        } else if (isSym(t, nx, "(") && !nonFunctionWords().contains(w)) {
            i = rewriteFunction(t, i, nx, original);
        }
    }
    if (depth != 0)
        refuse(QStringLiteral("an unclosed '('"), original);
    closeLimits(static_cast<qsizetype>(t.size()), 0);

    joinTexts(t);
    if (!lite) {
        caseInsensitiveLike(t);
        caseInsensitiveOrder(t);
    }
    return render(t);
}

} // namespace chemodesk::db

namespace chemodesk::db {

namespace {

// Glue written by the translation itself: its words are final.
Tokens glue(const QString &text)
{
    Tokens out = tokenize(text);
    for (Token &t : out)
        if (t.kind == Token::Word)
            t.kind = Token::Resolved;
    return out;
}

struct Builder {
    Tokens out;
    Builder &operator<<(const QString &text)
    {
        const Tokens g = glue(text);
        out.insert(out.end(), g.begin(), g.end());
        return *this;
    }
    Builder &operator<<(const char *text) { return *this << QString::fromLatin1(text); }
    Builder &operator<<(const Tokens &arg)
    {
        out.insert(out.end(), arg.begin(), arg.end());
        return *this;
    }
};

QString datePart(const QString &part)
{
    static const QHash<QString, QString> parts = {
        {QStringLiteral("year"), QStringLiteral("year")},     {QStringLiteral("yy"), QStringLiteral("year")},
        {QStringLiteral("yyyy"), QStringLiteral("year")},     {QStringLiteral("month"), QStringLiteral("month")},
        {QStringLiteral("mm"), QStringLiteral("month")},      {QStringLiteral("m"), QStringLiteral("month")},
        {QStringLiteral("day"), QStringLiteral("day")},       {QStringLiteral("dd"), QStringLiteral("day")},
        {QStringLiteral("d"), QStringLiteral("day")},         {QStringLiteral("hour"), QStringLiteral("hour")},
        {QStringLiteral("hh"), QStringLiteral("hour")},       {QStringLiteral("minute"), QStringLiteral("minute")},
        {QStringLiteral("mi"), QStringLiteral("minute")},     {QStringLiteral("n"), QStringLiteral("minute")},
        {QStringLiteral("second"), QStringLiteral("second")}, {QStringLiteral("ss"), QStringLiteral("second")},
        {QStringLiteral("s"), QStringLiteral("second")},      {QStringLiteral("weekday"), QStringLiteral("weekday")},
        {QStringLiteral("dw"), QStringLiteral("weekday")},
    };
    return parts.value(part.toLower());
}

QString sqliteFormat(const QString &part)
{
    static const QHash<QString, QString> formats = {
        {QStringLiteral("year"), QStringLiteral("%Y")},   {QStringLiteral("month"), QStringLiteral("%m")},
        {QStringLiteral("day"), QStringLiteral("%d")},    {QStringLiteral("hour"), QStringLiteral("%H")},
        {QStringLiteral("minute"), QStringLiteral("%M")}, {QStringLiteral("second"), QStringLiteral("%S")},
        {QStringLiteral("weekday"), QStringLiteral("%w")},
    };
    return formats.value(part);
}

} // namespace

qsizetype Translator::rewriteFunction(Tokens &t, qsizetype i, qsizetype open, const QString &original) const
{
    const bool lite = dialect_ == Dialect::SQLite;
    Token &tok = t[static_cast<size_t>(i)];
    const QString name = tok.text.toLower();
    auto rename = [&](const QString &to) {
        tok = resolved(to);
        return i - 1;
    };
    if (name == QLatin1String("isnull"))
        return rename(QStringLiteral("coalesce"));
    if (name == QLatin1String("len"))
        return rename(QStringLiteral("length"));
    if (name == QLatin1String("getdate"))
        return rename(QStringLiteral("getdate"));
    if (name == QLatin1String("substring"))
        return rename(lite ? QStringLiteral("substr") : QStringLiteral("substring"));
    if (name == QLatin1String("char"))
        return rename(lite ? QStringLiteral("char") : QStringLiteral("chr"));
    if (name == QLatin1String("ceiling") && !lite)
        return rename(QStringLiteral("ceil"));
    if (name == QLatin1String("replicate") && !lite)
        return rename(QStringLiteral("repeat"));
    if (commonFunctions().contains(name) && !(lite && (name == QLatin1String("left") || name == QLatin1String("right"))))
        return rename(tok.text);

    const qsizetype close = matchingParen(t, open);
    if (close < 0)
        refuse(QStringLiteral("an unclosed call of %1").arg(tok.text), original);
    const auto args = splitArguments(t, open, close);
    auto need = [&](size_t count) {
        if (args.size() != count)
            refuse(QStringLiteral("%1 with %2 arguments").arg(tok.text).arg(args.size()), original);
    };
    Builder b;
    if (name == QLatin1String("charindex")) {
        need(2);
        b << (lite ? "instr(" : "strpos(") << args[1] << "," << args[0] << ")";
    } else if (name == QLatin1String("left")) { // SQLite only: RIGHT and LEFT are join words there
        need(2);
        b << "substr(" << args[0] << ", 1, " << args[1] << ")";
    } else if (name == QLatin1String("right")) {
        need(2);
        b << "substr(" << args[0] << ", -(" << args[1] << "))";
    } else if (name == QLatin1String("cast") || name == QLatin1String("convert")) {
        Tokens expression;
        Tokens type;
        QString style;
        if (name == QLatin1String("cast")) {
            need(1);
            // Split "expr AS type" at the last AS outside parentheses.
            const Tokens &a = args[0];
            qsizetype asAt = -1;
            int d = 0;
            for (qsizetype k = 0; k < static_cast<qsizetype>(a.size()); ++k) {
                if (a[static_cast<size_t>(k)].isSymbol("("))
                    ++d;
                else if (a[static_cast<size_t>(k)].isSymbol(")"))
                    --d;
                else if (d == 0 && a[static_cast<size_t>(k)].isWord("as"))
                    asAt = k;
            }
            if (asAt < 0)
                refuse(QStringLiteral("CAST without AS"), original);
            expression.assign(a.begin(), a.begin() + asAt);
            type.assign(a.begin() + asAt + 1, a.end());
        } else {
            if (args.size() < 2 || args.size() > 3)
                refuse(QStringLiteral("CONVERT with %1 arguments").arg(args.size()), original);
            type = args[0];
            expression = args[1];
            if (args.size() == 3)
                style = render(args[2]).trimmed();
        }
        const QString typeName = firstWordLower(type);
        const bool textType = typeName.contains(QLatin1String("char")) || typeName == QLatin1String("text");
        if (!style.isEmpty() && textType) {
            static const QHash<QString, std::pair<const char *, const char *>> styles = {
                {QStringLiteral("101"), {"%m/%d/%Y", "MM/DD/YYYY"}},
                {QStringLiteral("103"), {"%d/%m/%Y", "DD/MM/YYYY"}},
                {QStringLiteral("108"), {"%H:%M:%S", "HH24:MI:SS"}},
                {QStringLiteral("110"), {"%m-%d-%Y", "MM-DD-YYYY"}},
                {QStringLiteral("111"), {"%Y/%m/%d", "YYYY/MM/DD"}},
                {QStringLiteral("112"), {"%Y%m%d", "YYYYMMDD"}},
                {QStringLiteral("120"), {"%Y-%m-%d %H:%M:%S", "YYYY-MM-DD HH24:MI:SS"}},
            };
            const auto it = styles.constFind(style);
            if (it == styles.constEnd())
                refuse(QStringLiteral("CONVERT style %1").arg(style), original);
            if (lite)
                b << QStringLiteral("strftime('%1', ").arg(QLatin1String(it->first)) << expression << ")";
            else
                b << "to_char(cast(" << expression << QStringLiteral(" AS timestamp), '%1')").arg(QLatin1String(it->second));
        } else if (typeName == QLatin1String("datetime") || typeName == QLatin1String("smalldatetime") ||
                   typeName == QLatin1String("date")) {
            const bool dateOnly = typeName == QLatin1String("date");
            if (lite)
                b << (dateOnly ? "date(" : "datetime(") << expression << ")";
            else
                b << "cast(" << expression << (dateOnly ? " AS date)" : " AS timestamp)");
        } else {
            QString target;
            if (textType)
                target = QStringLiteral("text");
            else if (typeName == QLatin1String("int") || typeName == QLatin1String("integer") ||
                     typeName == QLatin1String("smallint") || typeName == QLatin1String("tinyint") ||
                     typeName == QLatin1String("bit"))
                target = QStringLiteral("integer");
            else if (typeName == QLatin1String("bigint"))
                target = QStringLiteral("bigint");
            else if (typeName == QLatin1String("money") || typeName == QLatin1String("decimal") ||
                     typeName == QLatin1String("numeric"))
                target = lite ? QStringLiteral("real") : QStringLiteral("numeric");
            else if (typeName == QLatin1String("float") || typeName == QLatin1String("real"))
                target = lite ? QStringLiteral("real") : QStringLiteral("double precision");
            else
                refuse(QStringLiteral("conversion to %1").arg(render(type).trimmed()), original);
            b << "cast(" << expression << " AS " << target << ")";
        }
    } else if (name == QLatin1String("year") || name == QLatin1String("month") || name == QLatin1String("day") ||
               name == QLatin1String("datepart")) {
        QString part = name;
        Tokens expression;
        if (name == QLatin1String("datepart")) {
            need(2);
            part = datePart(firstWordLower(args[0]));
            expression = args[1];
        } else {
            need(1);
            expression = args[0];
        }
        if (part.isEmpty())
            refuse(QStringLiteral("the date part %1").arg(render(args[0]).trimmed()), original);
        const QString plusOne = part == QLatin1String("weekday") ? QStringLiteral(" + 1") : QString();
        if (lite)
            b << QStringLiteral("(cast(strftime('%1', ").arg(sqliteFormat(part)) << expression << ") AS integer)" << plusOne << ")";
        else
            b << "(cast(extract(" << (part == QLatin1String("weekday") ? QStringLiteral("dow") : part)
              << " from cast(" << expression << " AS timestamp)) AS integer)" << plusOne << ")";
    } else if (name == QLatin1String("dateadd")) {
        need(3);
        const QString part = datePart(firstWordLower(args[0]));
        if (part.isEmpty() || part == QLatin1String("weekday"))
            refuse(QStringLiteral("DATEADD of %1").arg(render(args[0]).trimmed()), original);
        if (lite)
            b << "datetime(" << args[2] << ", (" << args[1] << QStringLiteral(") || ' %1s')").arg(part);
        else
            b << "(cast(" << args[2] << " AS timestamp) + (" << args[1] << QStringLiteral(") * interval '1 %1')").arg(part);
    } else if (name == QLatin1String("datediff")) {
        need(3);
        const QString part = datePart(firstWordLower(args[0]));
        const Tokens &from = args[1];
        const Tokens &to = args[2];
        if (part == QLatin1String("day")) {
            if (lite)
                b << "cast(julianday(date(" << to << ")) - julianday(date(" << from << ")) AS integer)";
            else
                b << "(cast(" << to << " AS date) - cast(" << from << " AS date))";
        } else if (part == QLatin1String("month") || part == QLatin1String("year")) {
            const QString months = part == QLatin1String("month") ? QStringLiteral(" * 12") : QString();
            if (lite) {
                b << "((cast(strftime('%Y', " << to << ") AS integer) - cast(strftime('%Y', " << from << ") AS integer))" << months;
                if (!months.isEmpty())
                    b << " + cast(strftime('%m', " << to << ") AS integer) - cast(strftime('%m', " << from << ") AS integer)";
                b << ")";
            } else {
                b << "cast((extract(year from cast(" << to << " AS timestamp)) - extract(year from cast(" << from << " AS timestamp)))" << months;
                if (!months.isEmpty())
                    b << " + extract(month from cast(" << to << " AS timestamp)) - extract(month from cast(" << from << " AS timestamp))";
                b << " AS integer)";
            }
        } else if (part == QLatin1String("hour") || part == QLatin1String("minute")) {
            const bool hours = part == QLatin1String("hour");
            if (lite) {
                const QString trunc = hours ? QStringLiteral("%Y-%m-%d %H:00:00") : QStringLiteral("%Y-%m-%d %H:%M:00");
                b << QStringLiteral("cast(round((julianday(strftime('%1', ").arg(trunc) << to
                  << QStringLiteral(")) - julianday(strftime('%1', ").arg(trunc) << from << "))) * "
                  << (hours ? "24" : "1440") << ") AS integer)";
            } else {
                b << QStringLiteral("cast(extract(epoch from date_trunc('%1', cast(").arg(part) << to
                  << QStringLiteral(" AS timestamp)) - date_trunc('%1', cast(").arg(part) << from << " AS timestamp))) / "
                  << (hours ? "3600" : "60") << " AS integer)";
            }
        } else {
            refuse(QStringLiteral("DATEDIFF of %1").arg(render(args[0]).trimmed()), original);
        }
    } else {
        refuse(QStringLiteral("the function %1").arg(tok.text), original);
    }
    t.erase(t.begin() + i, t.begin() + close + 1);
    t.insert(t.begin() + i, b.out.begin(), b.out.end());
    return i - 1; // walk the replacement from its first token
}

void Translator::joinTexts(Tokens &t) const
{
    auto textColumn = [&](qsizetype k) {
        return k >= 0 && at(t, k).kind == Token::Word && textColumns_.contains(at(t, k).text.toLower());
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
                if (sig.size() == 1 && (sig[0].kind == Token::String ||
                                        (sig[0].kind == Token::Word && textColumns_.contains(sig[0].text.toLower()))))
                    return true;
                if (sig.size() == 3 && sig[1].isSymbol(".") && textColumns_.contains(sig[2].text.toLower()))
                    return true;
            }
        }
        if (fn == QLatin1String("cast")) {
            const qsizetype close = matchingParen(t, open);
            const qsizetype last = prevSig(t, close);
            return last >= 0 && (at(t, last).text.compare(QLatin1String("text"), Qt::CaseInsensitive) == 0);
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
            return fn >= 0 && (at(t, fn).kind == Token::Word || at(t, fn).kind == Token::Resolved) && callIsText(fn, open);
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
    for (qsizetype i = 0; i < static_cast<qsizetype>(t.size()); ++i) {
        if (!at(t, i).isSymbol("+"))
            continue;
        if (leftIsText(prevSig(t, i)) || rightIsText(nextSig(t, i)))
            t[static_cast<size_t>(i)] = sym("||");
    }
}

void Translator::caseInsensitiveLike(Tokens &t) const
{
    // The hospital's server compares texts without regard to case. Upper-casing
    // both sides keeps that, and lets an index on upper(column) serve a prefix.
    for (qsizetype i = 0; i < static_cast<qsizetype>(t.size()); ++i) {
        if (!at(t, i).isWord("like"))
            continue;
        qsizetype left = prevSig(t, i);
        if (left >= 0 && at(t, left).isWord("not"))
            left = prevSig(t, left);
        const qsizetype right = nextSig(t, i);
        const bool simpleLeft = left >= 0 && (at(t, left).kind == Token::Word || at(t, left).kind == Token::Quoted);
        const bool literalRight = right >= 0 && at(t, right).kind == Token::String;
        if (!simpleLeft || !literalRight) {
            t[static_cast<size_t>(i)] = resolved(QStringLiteral("ILIKE"));
            continue;
        }
        t[static_cast<size_t>(right)].text = at(t, right).text.toUpper();
        qsizetype begin = left;
        while (isSym(t, prevSig(t, begin), ".") && prevSig(t, prevSig(t, begin)) >= 0)
            begin = prevSig(t, prevSig(t, begin));
        t.insert(t.begin() + left + 1, {sym(")"), resolved(QStringLiteral(" COLLATE \"C\""))});
        t.insert(t.begin() + begin, {resolved(QStringLiteral("upper")), sym("(")});
        i += 4;
    }
}

void Translator::caseInsensitiveOrder(Tokens &t) const
{
    // The hospital's server sorts texts without regard to case, as SQLite's
    // NOCASE columns do; here the same upper-cased expression that prefix
    // searches use lets one index serve both the search and the order.
    int depth = 0;
    qsizetype orderAt = -1;
    for (qsizetype i = 0; i < static_cast<qsizetype>(t.size()); ++i) {
        const Token &tok = at(t, i);
        if (tok.isSymbol("("))
            ++depth;
        else if (tok.isSymbol(")"))
            --depth;
        else if (depth == 0 && (tok.isWord("distinct") || tok.isWord("group") || tok.isWord("union")))
            return; // the order must then repeat what is selected
        else if (depth == 0 && tok.isWord("order"))
            orderAt = i;
    }
    if (orderAt < 0 || !at(t, nextSig(t, orderAt)).isWord("by"))
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
        auto isDirection = [&](qsizetype x) { return at(t, x).isWord("asc") || at(t, x).isWord("desc"); };
        size_t n = item.size();
        if (n > 0 && isDirection(item.back()))
            --n;
        const bool bare = n == 1 && at(t, item[0]).kind == Token::Word;
        const bool qualified = n == 3 && at(t, item[0]).kind == Token::Word && at(t, item[1]).isSymbol(".") &&
                               at(t, item[2]).kind == Token::Word;
        if ((bare || qualified) && textColumns_.contains(at(t, item[n - 1]).text.toLower())) {
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

} // namespace chemodesk::db
