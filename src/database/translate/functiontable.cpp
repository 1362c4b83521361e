#include "functiontable.h"

#include <QHash>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace chemodesk::db::translate {

namespace {

FunctionForm asWritten()
{
    FunctionForm f;
    f.kind = FunctionForm::Rename;
    return f;
}

FunctionForm rename(const char *name)
{
    FunctionForm f;
    f.kind = FunctionForm::Rename;
    f.name = QString::fromLatin1(name);
    return f;
}

FunctionForm custom(Rewrite rewrite)
{
    FunctionForm f;
    f.kind = FunctionForm::Custom;
    f.rewrite = std::move(rewrite);
    return f;
}

QString engineName(const Call &call)
{
    return call.ctx.dialect() == Dialect::SQLite ? QStringLiteral("SQLite")
                                                 : QStringLiteral("PostgreSQL");
}

// A function this engine does not have: the text is refused when it is
// translated, saying so, rather than sent to fail on the server.
FunctionForm missingOn(const char *hint = nullptr)
{
    return custom([hint](const Call &call) -> Tokens {
        QString what =
            QStringLiteral("the function %1 on %2").arg(call.name.text, engineName(call));
        if (hint)
            what += QStringLiteral(" (%1)").arg(QLatin1String(hint));
        call.refuse(what);
    });
}

// SQLite's date functions take modifiers after the date; the server is given
// the date alone, in `sql` ($1 is the date).
FunctionForm dateAloneAs(const char *sql)
{
    return custom([form = SqlTemplate(sql)](const Call &call) {
        if (call.args.size() > 1)
            call.refuse(QStringLiteral("%1 with modifiers on %2 (DATEADD moves a date)")
                            .arg(call.name.text, engineName(call)));
        call.need(1);
        return form.fill(call.args);
    });
}

// The names DATEPART, DATEADD and DATEDIFF accept for a part of a date.
QString datePart(const QString &part)
{
    static const QHash<QString, QString> parts = {
        {QStringLiteral("year"), QStringLiteral("year")},
        {QStringLiteral("yy"), QStringLiteral("year")},
        {QStringLiteral("yyyy"), QStringLiteral("year")},
        {QStringLiteral("month"), QStringLiteral("month")},
        {QStringLiteral("mm"), QStringLiteral("month")},
        {QStringLiteral("m"), QStringLiteral("month")},
        {QStringLiteral("day"), QStringLiteral("day")},
        {QStringLiteral("dd"), QStringLiteral("day")},
        {QStringLiteral("d"), QStringLiteral("day")},
        {QStringLiteral("hour"), QStringLiteral("hour")},
        {QStringLiteral("hh"), QStringLiteral("hour")},
        {QStringLiteral("minute"), QStringLiteral("minute")},
        {QStringLiteral("mi"), QStringLiteral("minute")},
        {QStringLiteral("n"), QStringLiteral("minute")},
        {QStringLiteral("second"), QStringLiteral("second")},
        {QStringLiteral("ss"), QStringLiteral("second")},
        {QStringLiteral("s"), QStringLiteral("second")},
        {QStringLiteral("weekday"), QStringLiteral("weekday")},
        {QStringLiteral("dw"), QStringLiteral("weekday")},
    };
    return parts.value(part.toLower());
}

QString argumentText(const Tokens &arg)
{
    return render(arg).trimmed();
}

// DATEPART(part, d) and its shorthands YEAR(d), MONTH(d), DAY(d): $1 is d.
// The server counts weekdays from 1.
const EngineForms *extraction(const QString &part)
{
    static const QHash<QString, EngineForms> forms = {
        {QStringLiteral("year"),
         {"(cast(strftime('%Y', $1) AS integer))",
          "(cast(extract(year from cast($1 AS timestamp)) AS integer))"}},
        {QStringLiteral("month"),
         {"(cast(strftime('%m', $1) AS integer))",
          "(cast(extract(month from cast($1 AS timestamp)) AS integer))"}},
        {QStringLiteral("day"),
         {"(cast(strftime('%d', $1) AS integer))",
          "(cast(extract(day from cast($1 AS timestamp)) AS integer))"}},
        {QStringLiteral("hour"),
         {"(cast(strftime('%H', $1) AS integer))",
          "(cast(extract(hour from cast($1 AS timestamp)) AS integer))"}},
        {QStringLiteral("minute"),
         {"(cast(strftime('%M', $1) AS integer))",
          "(cast(extract(minute from cast($1 AS timestamp)) AS integer))"}},
        {QStringLiteral("second"),
         {"(cast(strftime('%S', $1) AS integer))",
          "(cast(extract(second from cast($1 AS timestamp)) AS integer))"}},
        {QStringLiteral("weekday"),
         {"(cast(strftime('%w', $1) AS integer) + 1)",
          "(cast(extract(dow from cast($1 AS timestamp)) AS integer) + 1)"}},
    };
    const auto it = forms.constFind(part);
    return it == forms.constEnd() ? nullptr : &*it;
}

Tokens extractPart(const Call &call, const QString &part, const Tokens &date)
{
    const EngineForms *forms = extraction(part);
    if (!forms)
        call.refuse(QStringLiteral("the date part %1").arg(argumentText(call.args[0])));
    return call.pick(*forms).fill({date});
}

Rewrite shorthandPart(const char *part)
{
    return [part = QString::fromLatin1(part)](const Call &call) {
        call.need(1);
        return extractPart(call, part, call.args[0]);
    };
}

Tokens rewriteDatePart(const Call &call)
{
    call.need(2);
    return extractPart(call, datePart(firstWordLower(call.args[0])), call.args[1]);
}

// DATEADD(part, n, d): $2 is n, $3 is d.
Tokens rewriteDateAdd(const Call &call)
{
    static const QHash<QString, EngineForms> forms = [] {
        QHash<QString, EngineForms> f;
        for (const char *part : {"year", "month", "day", "hour", "minute", "second"})
            f.insert(QLatin1String(part),
                     {SqlTemplate(
                          QStringLiteral("datetime($3, ($2) || ' %1s')").arg(QLatin1String(part))),
                      SqlTemplate(QStringLiteral("(cast($3 AS timestamp) + ($2) * interval '1 %1')")
                                      .arg(QLatin1String(part)))});
        return f;
    }();
    call.need(3);
    const auto it = forms.constFind(datePart(firstWordLower(call.args[0])));
    if (it == forms.constEnd())
        call.refuse(QStringLiteral("DATEADD of %1").arg(argumentText(call.args[0])));
    return call.pick(*it).fill(call.args);
}

// DATEDIFF(part, from, to): $2 is from, $3 is to. Boundaries crossed, as the
// server counts them, not time elapsed.
Tokens rewriteDateDiff(const Call &call)
{
    static const QHash<QString, EngineForms> forms = {
        {QStringLiteral("day"),
         {"cast(julianday(date($3)) - julianday(date($2)) AS integer)",
          "(cast($3 AS date) - cast($2 AS date))"}},
        {QStringLiteral("year"),
         {"((cast(strftime('%Y', $3) AS integer) - cast(strftime('%Y', $2) AS integer)))",
          "cast((extract(year from cast($3 AS timestamp)) - extract(year from cast($2 AS "
          "timestamp))) AS integer)"}},
        {QStringLiteral("month"),
         {"((cast(strftime('%Y', $3) AS integer) - cast(strftime('%Y', $2) AS integer)) * 12"
          " + cast(strftime('%m', $3) AS integer) - cast(strftime('%m', $2) AS integer))",
          "cast((extract(year from cast($3 AS timestamp)) - extract(year from cast($2 AS "
          "timestamp))) * 12"
          " + extract(month from cast($3 AS timestamp)) - extract(month from cast($2 AS "
          "timestamp)) AS integer)"}},
        {QStringLiteral("hour"),
         {"cast(round((julianday(strftime('%Y-%m-%d %H:00:00', $3))"
          " - julianday(strftime('%Y-%m-%d %H:00:00', $2))) * 24) AS integer)",
          "cast(extract(epoch from date_trunc('hour', cast($3 AS timestamp))"
          " - date_trunc('hour', cast($2 AS timestamp))) / 3600 AS integer)"}},
        {QStringLiteral("minute"),
         {"cast(round((julianday(strftime('%Y-%m-%d %H:%M:00', $3))"
          " - julianday(strftime('%Y-%m-%d %H:%M:00', $2))) * 1440) AS integer)",
          "cast(extract(epoch from date_trunc('minute', cast($3 AS timestamp))"
          " - date_trunc('minute', cast($2 AS timestamp))) / 60 AS integer)"}},
    };
    call.need(3);
    const auto it = forms.constFind(datePart(firstWordLower(call.args[0])));
    if (it == forms.constEnd())
        call.refuse(QStringLiteral("DATEDIFF of %1").arg(argumentText(call.args[0])));
    return call.pick(*it).fill(call.args);
}

// The text of an argument that must be a literal text, such as a format.
QString literalText(const Call &call, const Tokens &arg, const QString &what)
{
    const Token *only = nullptr;
    for (const Token &x : arg) {
        if (!isSignificant(x))
            continue;
        if (only || x.kind != Token::String)
            call.refuse(QStringLiteral("%1 with a %2 that is not a literal text")
                            .arg(call.name.text, what));
        only = &x;
    }
    if (!only)
        call.refuse(QStringLiteral("%1 without its %2").arg(call.name.text, what));
    return only->text;
}

// The fields of a date both engines can write: strftime's code beside the
// server's to_char pattern.
struct DateField {
    char code;
    const char *pattern;
};
constexpr DateField dateFields[] = {
    {'Y', "YYYY"}, {'H', "HH24"}, {'j', "DDD"}, {'m', "MM"}, {'d', "DD"}, {'M', "MI"}, {'S', "SS"},
};

// Characters both formats copy as they stand.
bool copiedAsIs(QChar c)
{
    return QStringView(u" /-:.,;()").contains(c);
}

// STRFTIME(format, date) on the server: to_char with the same fields. $2 is the date.
Tokens rewriteStrftime(const Call &call)
{
    if (call.args.size() > 2)
        call.refuse(QStringLiteral("strftime with modifiers on %1 (DATEADD moves a date)")
                        .arg(engineName(call)));
    call.need(2);
    const QString format = literalText(call, call.args[0], QStringLiteral("format"));
    QString pattern;
    QString quoted; // letters and digits: to_char would read them as fields
    auto flush = [&] {
        if (!quoted.isEmpty())
            pattern += QLatin1Char('"') + quoted + QLatin1Char('"');
        quoted.clear();
    };
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('%') && i + 1 < format.size()) {
            const QChar code = format.at(++i);
            if (code == QLatin1Char('%')) {
                flush();
                pattern += code;
                continue;
            }
            const auto field = std::find_if(std::begin(dateFields), std::end(dateFields),
                                            [&](const DateField &f) { return code == f.code; });
            if (field == std::end(dateFields))
                call.refuse(
                    QStringLiteral("the strftime field %%1 on %2").arg(code).arg(engineName(call)));
            flush();
            pattern += QLatin1String(field->pattern);
        } else if (copiedAsIs(c)) {
            flush();
            pattern += c;
        } else if (c.isLetterOrNumber()) {
            quoted += c;
        } else {
            call.refuse(QStringLiteral("the character %1 in a strftime format on %2")
                            .arg(c)
                            .arg(engineName(call)));
        }
    }
    flush();
    static const SqlTemplate form("to_char(cast($1 AS timestamp), $2)");
    return form.fill({call.args[1], {Token(Token::String, pattern)}});
}

// TO_CHAR(date, pattern) on SQLite: strftime with the same fields. $1 is the date.
Tokens rewriteToChar(const Call &call)
{
    call.need(2);
    const QString pattern = literalText(call, call.args[1], QStringLiteral("pattern"));
    QString format;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('"')) {
            const qsizetype close = pattern.indexOf(QLatin1Char('"'), i + 1);
            if (close < 0)
                call.refuse(QStringLiteral("an unclosed quotation in a to_char pattern"));
            format +=
                pattern.mid(i + 1, close - i - 1).replace(QLatin1Char('%'), QLatin1String("%%"));
            i = close + 1;
            continue;
        }
        const auto field =
            std::find_if(std::begin(dateFields), std::end(dateFields), [&](const DateField &f) {
                return QStringView(pattern).mid(i).startsWith(QLatin1String(f.pattern),
                                                              Qt::CaseInsensitive);
            });
        if (field != std::end(dateFields)) {
            format += QLatin1Char('%') + QLatin1Char(field->code);
            i += qsizetype(std::strlen(field->pattern));
        } else if (copiedAsIs(c)) {
            format += c;
            ++i;
        } else {
            // Numbers' patterns, names of months and days, 12-hour clocks.
            call.refuse(QStringLiteral("the to_char pattern %1 on %2")
                            .arg(pattern.mid(i), engineName(call)));
        }
    }
    static const SqlTemplate form("strftime($2, $1)");
    return form.fill({call.args[0], {Token(Token::String, format)}});
}

// EXTRACT(field FROM date). Its FROM is written as the translation's own, so
// that the passes after it do not take the date for a table.
Tokens rewriteExtract(const Call &call)
{
    call.need(1);
    const Tokens &arg = call.args[0];
    const qsizetype field = nextSig(arg, -1);
    const qsizetype from = field < 0 ? -1 : nextSig(arg, field);
    if (field < 0 || at(arg, field).kind != Token::Word || !isWordAt(arg, from, "from") ||
        nextSig(arg, from) < 0)
        call.refuse(QStringLiteral("EXTRACT written otherwise than EXTRACT(field FROM date)"));
    const Tokens date(arg.begin() + from + 1, arg.end());
    const QString name = at(arg, field).text.toLower();
    if (call.ctx.dialect() == Dialect::PostgreSQL) {
        Tokens out = glue(QStringLiteral("extract(%1 from").arg(name));
        out.insert(out.end(), date.begin(), date.end());
        out.push_back(sym(")"));
        return out;
    }
    static const QSet<QString> parts = {
        QStringLiteral("year"), QStringLiteral("month"),  QStringLiteral("day"),
        QStringLiteral("hour"), QStringLiteral("minute"), QStringLiteral("second"),
    };
    if (name == QLatin1String("dow")) // the server counts Sunday as 0, as strftime does
        return SqlTemplate("(cast(strftime('%w', $1) AS integer))").fill({date});
    if (!parts.contains(name))
        call.refuse(QStringLiteral("EXTRACT of %1 on SQLite").arg(name));
    return extractPart(call, name, date);
}

// ROUND(x, places): the server rounds a double precision to places only as a numeric.
Tokens rewriteRound(const Call &call)
{
    static const EngineForms one("round($1)");
    static const EngineForms two("round($1,$2)", "round(cast($1 AS numeric),$2)");
    if (call.args.size() == 1)
        return call.pick(one).fill(call.args);
    if (call.args.size() == 3)
        call.refuse(QStringLiteral("ROUND with a third argument (truncation)"));
    call.need(2);
    return call.pick(two).fill(call.args);
}

// The screens' types other than texts, as each engine converts to them ($1 is the value).
const QHash<QString, EngineForms> &conversionTypes()
{
    static const QHash<QString, EngineForms> types = {
        {QStringLiteral("datetime"), {"datetime($1)", "cast($1 AS timestamp)"}},
        {QStringLiteral("smalldatetime"), {"datetime($1)", "cast($1 AS timestamp)"}},
        {QStringLiteral("date"), {"date($1)", "cast($1 AS date)"}},
        {QStringLiteral("int"), {"cast($1 AS integer)"}},
        {QStringLiteral("integer"), {"cast($1 AS integer)"}},
        {QStringLiteral("smallint"), {"cast($1 AS integer)"}},
        {QStringLiteral("tinyint"), {"cast($1 AS integer)"}},
        {QStringLiteral("bit"), {"cast($1 AS integer)"}},
        {QStringLiteral("bigint"), {"cast($1 AS bigint)"}},
        {QStringLiteral("money"), {"cast($1 AS real)", "cast($1 AS numeric)"}},
        {QStringLiteral("decimal"), {"cast($1 AS real)", "cast($1 AS numeric)"}},
        {QStringLiteral("numeric"), {"cast($1 AS real)", "cast($1 AS numeric)"}},
        {QStringLiteral("float"), {"cast($1 AS real)", "cast($1 AS double precision)"}},
        {QStringLiteral("real"), {"cast($1 AS real)", "cast($1 AS double precision)"}},
    };
    return types;
}

bool isTextType(const QString &lowerCaseName)
{
    return lowerCaseName.contains(QLatin1String("char")) || lowerCaseName == QLatin1String("text");
}

// CONVERT(type, value [, style]): $1 is the value.
Tokens rewriteConvert(const Call &call)
{
    // Styles of dates written as text.
    static const QHash<QString, EngineForms> styles = {
        {QStringLiteral("101"),
         {"strftime('%m/%d/%Y', $1)", "to_char(cast($1 AS timestamp), 'MM/DD/YYYY')"}},
        {QStringLiteral("103"),
         {"strftime('%d/%m/%Y', $1)", "to_char(cast($1 AS timestamp), 'DD/MM/YYYY')"}},
        {QStringLiteral("108"),
         {"strftime('%H:%M:%S', $1)", "to_char(cast($1 AS timestamp), 'HH24:MI:SS')"}},
        {QStringLiteral("110"),
         {"strftime('%m-%d-%Y', $1)", "to_char(cast($1 AS timestamp), 'MM-DD-YYYY')"}},
        {QStringLiteral("111"),
         {"strftime('%Y/%m/%d', $1)", "to_char(cast($1 AS timestamp), 'YYYY/MM/DD')"}},
        {QStringLiteral("112"),
         {"strftime('%Y%m%d', $1)", "to_char(cast($1 AS timestamp), 'YYYYMMDD')"}},
        {QStringLiteral("120"),
         {"strftime('%Y-%m-%d %H:%M:%S', $1)",
          "to_char(cast($1 AS timestamp), 'YYYY-MM-DD HH24:MI:SS')"}},
    };
    static const EngineForms text("cast($1 AS text)");
    const auto &args = call.args;
    if (args.size() < 2 || args.size() > 3)
        call.refuse(QStringLiteral("CONVERT with %1 arguments").arg(args.size()));
    const Tokens &type = args[0];
    const std::vector<Tokens> value = {args[1]};
    const QString style = args.size() == 3 ? argumentText(args[2]) : QString();
    const QString typeName = firstWordLower(type);
    const bool textType = isTextType(typeName);
    if (!style.isEmpty() && textType) {
        const auto it = styles.constFind(style);
        if (it == styles.constEnd())
            call.refuse(QStringLiteral("CONVERT style %1").arg(style));
        return call.pick(*it).fill(value);
    }
    if (textType)
        return call.pick(text).fill(value);
    const auto it = conversionTypes().constFind(typeName);
    if (it == conversionTypes().constEnd())
        call.refuse(QStringLiteral("conversion to %1").arg(argumentText(type)));
    return call.pick(*it).fill(value);
}

// CAST(value AS type): a type of the screens' as CONVERT gives it, any other (the engines' own)
// as written. Either way the type is the translation's own words, which no later pass takes for
// an alias to quote.
Tokens rewriteCast(const Call &call)
{
    call.need(1);
    const Tokens &arg = call.args[0];
    qsizetype as = -1;
    int depth = 0;
    for (qsizetype i = 0; i < size(arg); ++i) {
        const Token &x = at(arg, i);
        if (x.isSymbol("("))
            ++depth;
        else if (x.isSymbol(")"))
            --depth;
        else if (depth == 0 && x.isWord("as"))
            as = i;
    }
    if (as < 0 || nextSig(arg, as) < 0)
        call.refuse(QStringLiteral("CAST without AS and a type"));
    Tokens value(arg.begin(), arg.begin() + as);
    while (!value.empty() && !isSignificant(value.back()))
        value.pop_back();
    const Tokens type(arg.begin() + as + 1, arg.end());
    const QString typeName = firstWordLower(type);
    if (isTextType(typeName) || conversionTypes().contains(typeName)) {
        const std::vector<Tokens> asConvert = {type, value};
        return rewriteConvert(Call{call.name, asConvert, call.ctx});
    }
    Tokens out = glue(QStringLiteral("cast("));
    out.insert(out.end(), value.begin(), value.end());
    const Tokens written = glue(QStringLiteral(" AS ") + argumentText(type));
    out.insert(out.end(), written.begin(), written.end());
    out.push_back(sym(")"));
    return out;
}

QHash<QString, FunctionRow> buildTable()
{
    // clang-format off
    const std::vector<FunctionRow> rows = {
        // T-SQL       SQLite                        PostgreSQL
        {"isnull",     rename("coalesce"),           rename("coalesce")},
        {"len",        rename("length"),             rename("length")},
        {"getdate",    rename("getdate"),            rename("getdate")},
        {"substring",  rename("substr"),             rename("substring")},
        {"char",       rename("char"),               rename("chr")},
        // Not in every build of SQLite.
        {"ceiling",    missingOn(),                  rename("ceil")},
        {"replicate",  missingOn(),                  rename("repeat")},
        {"charindex",  "instr($2,$1)",               "strpos($2,$1)"},
        // LEFT and RIGHT are join words in SQLite: never a function there.
        {"left",       "substr($1, 1, $2)",          asWritten()},
        {"right",      "substr($1, -($2))",          asWritten()},
        {"year",       custom(shorthandPart("year")),  custom(shorthandPart("year"))},
        {"month",      custom(shorthandPart("month")), custom(shorthandPart("month"))},
        {"day",        custom(shorthandPart("day")),   custom(shorthandPart("day"))},
        {"datepart",   custom(rewriteDatePart),      custom(rewriteDatePart)},
        {"dateadd",    custom(rewriteDateAdd),       custom(rewriteDateAdd)},
        {"datediff",   custom(rewriteDateDiff),      custom(rewriteDateDiff)},
        {"convert",    custom(rewriteConvert),       custom(rewriteConvert)},
        {"round",      custom(rewriteRound),         custom(rewriteRound)},
        {"cast",       custom(rewriteCast),          custom(rewriteCast)},
        // Known to both engines under the same name and arguments.
        {"coalesce",   asWritten(),                  asWritten()},
        {"nullif",     asWritten(),                  asWritten()},
        {"upper",      asWritten(),                  asWritten()},
        {"lower",      asWritten(),                  asWritten()},
        {"ltrim",      asWritten(),                  asWritten()},
        {"rtrim",      asWritten(),                  asWritten()},
        {"trim",       asWritten(),                  asWritten()},
        {"replace",    asWritten(),                  asWritten()},
        {"abs",        asWritten(),                  asWritten()},
        {"floor",      asWritten(),                  asWritten()},
        {"sign",       asWritten(),                  asWritten()},
        {"count",      asWritten(),                  asWritten()},
        {"sum",        asWritten(),                  asWritten()},
        {"avg",        asWritten(),                  asWritten()},
        {"min",        asWritten(),                  asWritten()},
        {"max",        asWritten(),                  asWritten()},
        {"isnumeric",  asWritten(),                  asWritten()}, // the connection's, the schema's
        {"length",     asWritten(),                  asWritten()},
        {"substr",     asWritten(),                  asWritten()},
        // One engine's own functions: the other is given its equivalent, or
        // refuses the call when the text is translated.
        {"instr",      asWritten(),                  "strpos($1,$2)"},
        {"strpos",     "instr($1,$2)",               asWritten()},
        {"printf",     asWritten(),                  missingOn("SQLite's own: CONVERT writes a value as text")},
        {"datetime",   asWritten(),                  dateAloneAs("cast($1 AS timestamp)")},
        {"date",       asWritten(),                  dateAloneAs("cast($1 AS date)")},
        // Days since noon of 24 November 4714 BC, as a fraction.
        {"julianday",  asWritten(),                  dateAloneAs("(extract(epoch from cast($1 AS timestamp)) / 86400 + 2440587.5)")},
        {"strftime",   asWritten(),                  custom(rewriteStrftime)},
        {"to_char",    custom(rewriteToChar),        asWritten()},
        {"extract",    custom(rewriteExtract),       custom(rewriteExtract)},
    };
    // clang-format on
    QHash<QString, FunctionRow> table;
    for (const FunctionRow &row : rows)
        table.insert(QString::fromLatin1(row.name), row);
    return table;
}

} // namespace

const FunctionRow *functionRow(const QString &lowerCaseName)
{
    static const QHash<QString, FunctionRow> table = buildTable();
    const auto it = table.constFind(lowerCaseName);
    return it == table.constEnd() ? nullptr : &*it;
}

} // namespace chemodesk::db::translate
