// How to add a construct the screens need:
// - a T-SQL function: one row in the table in translate/functiontable.cpp,
//   its SQLite form and its PostgreSQL form side by side (a rename, a template
//   such as "instr($2,$1)", or a small rewrite where a template is not enough);
// - anything else: one pass, a function over the token stream declared in
//   translate/passes.h, put in `passes()` below where what it needs is done.
// Passes work on tokens: a literal stays one String token whatever it holds.

#include "translator.h"

#include "platform/connection.h"
#include "procedurehost.h"
#include "translate/passes.h"

#include <algorithm>
#include <array>

namespace chemodesk::db {

using namespace translate;

namespace {

const QSet<QString> &statementKeywords()
{
    static const QSet<QString> words = {
        QStringLiteral("select"),  QStringLiteral("insert"),  QStringLiteral("update"),
        QStringLiteral("delete"),  QStringLiteral("with"),    QStringLiteral("create"),
        QStringLiteral("alter"),   QStringLiteral("drop"),    QStringLiteral("truncate"),
        QStringLiteral("declare"), QStringLiteral("set"),     QStringLiteral("if"),
        QStringLiteral("begin"),   QStringLiteral("commit"),  QStringLiteral("rollback"),
        QStringLiteral("exec"),    QStringLiteral("execute"), QStringLiteral("print"),
        QStringLiteral("while"),   QStringLiteral("use"),     QStringLiteral("go"),
        QStringLiteral("grant"),   QStringLiteral("merge"),   QStringLiteral("raiserror"),
    };
    return words;
}

struct Step {
    Pass run;
    std::optional<Dialect> only; // the pass runs for this engine alone
};

// One statement's way from the server's dialect to the engine's, in order.
const auto &passes()
{
    static const std::array<Step, 16> list = {{
        {refuseServerOnlyConstructs, {}},
        {expandRegisteredFunctions, {}}, // their bodies are T-SQL: every pass below sees them
        // Before the functions: it knows convert, cast and the date functions by their names.
        {typedLiterals, {}},
        {resolveQualifiedNames, {}},
        {dropTableHints, {}},
        {rewriteFunctions, {}},
        // After the functions, so that an unclosed call is refused by its name.
        {refuseUnbalancedParentheses, {}},
        {refuseSelectInto, {}},
        // Before the tables: the FROM or INTO added shows where a table stands.
        {addMissingFromAndInto, {}},
        {resolveUnqualifiedTables, {}},
        {quoteAliases, {}},
        // After the names: a TOP they took for a table or an alias is none.
        {topToLimit, {}},
        // It knows text functions by their engine names.
        {plusJoiningTexts, {}},
        {upperCaseLike, Dialect::PostgreSQL},
        {unicodeLike, Dialect::SQLite},
        {upperCaseOrderBy, Dialect::PostgreSQL},
    }};
    return list;
}

} // namespace

const QStringList &Translator::databases()
{
    static const QStringList names = {
        QStringLiteral("CLINICAL_AREA"), QStringLiteral("PATIENT_DATA"),
        QStringLiteral("STATION"),       QStringLiteral("BUILD_FILE"),
        QStringLiteral("BILLING"),       QStringLiteral("HEMODIALYSIS"),
        QStringLiteral("INVENTORY"),     QStringLiteral("LABORATORY"),
        QStringLiteral("RADIOLOGY"),     QStringLiteral("REPORTS"),
        QStringLiteral("PASSWORD"),
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
    bool listsTable = false;
    if (auto call = procedureCall(tokens)) {
        const auto first = std::find_if(tokens.begin(), tokens.end(), isSignificant);
        const bool exec = first->isWord("exec") || first->isWord("execute");
        if (exec || !call->args.isEmpty() || !namesKnownTable(*call)) {
            result.call = std::move(call);
            return result;
        }
        listsTable = true;
    }
    for (Tokens &statement : statements(std::move(tokens), text, listsTable))
        result.statements << translateStatement(std::move(statement), text);
    return result;
}

std::vector<Tokens> Translator::statements(Tokens tokens, const QString &text,
                                           bool listsTable) const
{
    if (listsTable) {
        // Only a table's name: the server's way of listing the whole table.
        tokens.insert(tokens.begin(), {{Token::Word, QStringLiteral("SELECT")},
                                       {Token::Space, QStringLiteral(" ")},
                                       {Token::Symbol, QStringLiteral("*")},
                                       {Token::Space, QStringLiteral(" ")},
                                       {Token::Word, QStringLiteral("FROM")},
                                       {Token::Space, QStringLiteral(" ")}});
    }
    // Several statements in one text run one after another, as on the server.
    std::vector<Tokens> out;
    Tokens current;
    int depth = 0;
    auto flush = [&] {
        if (std::any_of(current.begin(), current.end(), isSignificant))
            out.push_back(std::move(current));
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
    if (out.empty())
        throw DatabaseError(QStringLiteral("The statement is empty."), text);
    return out;
}

namespace {

// A number bound as a value reads as the engine reads it written: an integer
// of up to 18 digits, or a decimal of up to 15.
bool bindableNumber(const QString &n)
{
    qsizetype digits = 0, dots = 0;
    for (QChar c : n) {
        if (c.isDigit())
            ++digits;
        else if (c == QLatin1Char('.'))
            ++dots;
        else
            return false;
    }
    return dots == 0 ? digits <= 18 : dots == 1 && digits <= 15 && digits > 0;
}

} // namespace

QString engineDate(const QString &value)
{
    return isoDate(value).value_or(value);
}

std::optional<ShapeTranslation>
Translator::translateShape(const QString &text, const std::vector<Literal> &literals) const
{
    Tokens tokens = tokenize(text);
    ShapeTranslation result;
    result.pinned.assign(literals.size(), false);
    size_t next = 0;
    for (Token &t : tokens) {
        if (t.kind != Token::String && t.kind != Token::Number)
            continue;
        if (next >= literals.size() || literals[next].number != (t.kind == Token::Number) ||
            literals[next].value != t.text)
            return std::nullopt;
        if (t.kind == Token::Number && !bindableNumber(t.text))
            result.pinned[next] = true;
        t.param = static_cast<int>(next++);
    }
    if (next != literals.size())
        return std::nullopt;
    result.dates.assign(literals.size(), false);
    // A procedure call: the host reads its arguments from the text's literals.
    if (auto call = procedureCall(tokens)) {
        if (call->sources.size() != static_cast<size_t>(call->args.size()))
            return std::nullopt;
        result.call = std::move(call);
        return result;
    }
    std::vector<Tokens> translated = statements(std::move(tokens), text, false);
    for (Tokens &statement : translated)
        runPasses(statement, text, &result.pinned, &result.dates);
    // A literal that left the statements, or came out changed, was made into
    // something else by its value: that value belongs to the translation.
    std::vector<bool> seen(literals.size(), false);
    for (const Tokens &statement : translated) {
        for (const Token &t : statement) {
            if (t.param < 0)
                continue;
            const auto p = static_cast<size_t>(t.param);
            const Literal &l = literals[p];
            if (l.number != (t.kind == Token::Number) ||
                (t.kind != Token::String && t.kind != Token::Number) ||
                t.text != (result.dates[p] ? engineDate(l.value) : l.value))
                result.pinned[p] = true;
            seen[p] = true;
        }
    }
    for (size_t p = 0; p < seen.size(); ++p)
        if (!seen[p])
            result.pinned[p] = true;
    for (const Tokens &statement : translated)
        result.statements.push_back(renderShape(statement, result.pinned));
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
                call.sources.push_back({tok.param, false});
            } else if (tok.isSymbol("-") && i + 1 < t.size() && t[i + 1].kind == Token::Number) {
                call.args << QLatin1Char('-') + t[++i].text;
                call.sources.push_back({t[i].param, true});
            } else if (tok.isWord("null")) {
                call.args << QString();
                call.sources.push_back({-1, false});
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

bool Translator::namesKnownTable(const ProcedureCall &call) const
{
    if (functions_ && functions_->find(call.database, call.name))
        return false;
    return tables_.contains(call.database.toLower() + QLatin1String("..") + call.name.toLower());
}

QString Translator::translateStatement(Tokens t, const QString &original) const
{
    runPasses(t, original, nullptr, nullptr);
    return render(t);
}

void Translator::runPasses(Tokens &t, const QString &original, std::vector<bool> *pinned,
                           std::vector<bool> *dates) const
{
    const Context ctx{*this,       functions_, textColumns_, dateColumns_,
                      bitColumns_, original,   pinned,       dates};
    for (const Step &step : passes())
        if (!step.only || *step.only == dialect_)
            step.run(t, ctx);
}

} // namespace chemodesk::db
