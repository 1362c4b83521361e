#include "functiontable.h"

#include <QHash>

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

FunctionForm unsupported()
{
    return {};
}

FunctionForm custom(Rewrite rewrite)
{
    FunctionForm f;
    f.kind = FunctionForm::Custom;
    f.rewrite = std::move(rewrite);
    return f;
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
    const auto &args = call.args;
    if (args.size() < 2 || args.size() > 3)
        call.refuse(QStringLiteral("CONVERT with %1 arguments").arg(args.size()));
    const Tokens &type = args[0];
    const std::vector<Tokens> value = {args[1]};
    const QString style = args.size() == 3 ? argumentText(args[2]) : QString();
    const QString typeName = firstWordLower(type);
    const bool textType =
        typeName.contains(QLatin1String("char")) || typeName == QLatin1String("text");
    if (!style.isEmpty() && textType) {
        const auto it = styles.constFind(style);
        if (it == styles.constEnd())
            call.refuse(QStringLiteral("CONVERT style %1").arg(style));
        return call.pick(*it).fill(value);
    }
    if (textType)
        return call.pick(text).fill(value);
    const auto it = types.constFind(typeName);
    if (it == types.constEnd())
        call.refuse(QStringLiteral("conversion to %1").arg(argumentText(type)));
    return call.pick(*it).fill(value);
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
        {"ceiling",    unsupported(),                rename("ceil")},
        {"replicate",  unsupported(),                rename("repeat")},
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
        // Known to both engines under the same name and arguments. CAST too:
        // its types are the engines' own.
        {"cast",       asWritten(),                  asWritten()},
        {"coalesce",   asWritten(),                  asWritten()},
        {"nullif",     asWritten(),                  asWritten()},
        {"upper",      asWritten(),                  asWritten()},
        {"lower",      asWritten(),                  asWritten()},
        {"ltrim",      asWritten(),                  asWritten()},
        {"rtrim",      asWritten(),                  asWritten()},
        {"trim",       asWritten(),                  asWritten()},
        {"replace",    asWritten(),                  asWritten()},
        {"abs",        asWritten(),                  asWritten()},
        {"round",      asWritten(),                  asWritten()},
        {"floor",      asWritten(),                  asWritten()},
        {"sign",       asWritten(),                  asWritten()},
        {"count",      asWritten(),                  asWritten()},
        {"sum",        asWritten(),                  asWritten()},
        {"avg",        asWritten(),                  asWritten()},
        {"min",        asWritten(),                  asWritten()},
        {"max",        asWritten(),                  asWritten()},
        {"isnumeric",  asWritten(),                  asWritten()},
        {"length",     asWritten(),                  asWritten()},
        {"substr",     asWritten(),                  asWritten()},
        {"instr",      asWritten(),                  asWritten()},
        {"strpos",     asWritten(),                  asWritten()},
        {"printf",     asWritten(),                  asWritten()},
        {"datetime",   asWritten(),                  asWritten()},
        {"date",       asWritten(),                  asWritten()},
        {"julianday",  asWritten(),                  asWritten()},
        {"strftime",   asWritten(),                  asWritten()},
        {"to_char",    asWritten(),                  asWritten()},
        {"extract",    asWritten(),                  asWritten()},
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
