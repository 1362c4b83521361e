// The translation of the screens' dialect, checked on its output for the
// constructs the screens use; whether the engines accept that output is the
// business of the connection tests, which run it, except for the function
// table's rows that one engine lacks, run on both here.

#include "database/procedurehost.h"
#include "database/translator.h"
#include "support/enginetest.h"

#include <gtest/gtest.h>

using namespace chemodesk;
using namespace chemodesk::db;

namespace {

struct Case {
    const char *input;
    const char *sqlite;
    const char *postgres;
};

ProcedureRegistry &functions()
{
    static ProcedureRegistry registry = [] {
        ProcedureRegistry r;
        r.addFunction(QStringLiteral("HEMODIALYSIS"), QStringLiteral("fn_Double"),
                      QStringLiteral("@1 * 2"));
        return r;
    }();
    return registry;
}

QString translated(Dialect dialect, const char *input)
{
    Translator t(dialect, &functions());
    t.setTextColumns(
        {QStringLiteral("lastname"), QStringLiteral("firstname"), QStringLiteral("cancelreason")});
    t.setDateColumns({QStringLiteral("d"), QStringLiteral("canceldate")});
    t.setBitColumns({QStringLiteral("isfixed")});
    const Translation result = t.translate(QString::fromUtf8(input));
    EXPECT_FALSE(result.call.has_value()) << input;
    return result.statements.join(QStringLiteral("; "));
}

class TranslatorOutput : public ::testing::TestWithParam<Case> {};

TEST_P(TranslatorOutput, MatchesEachDialect)
{
    const Case &c = GetParam();
    EXPECT_EQ(translated(Dialect::SQLite, c.input).toStdString(), c.sqlite);
    EXPECT_EQ(translated(Dialect::PostgreSQL, c.input).toStdString(), c.postgres);
}

// A text translated by its shape, its own values written back where they
// stand, reads exactly as the text translated whole.
TEST_P(TranslatorOutput, ByShapeWithItsOwnValuesIsTheSame)
{
    const QString input = QString::fromUtf8(GetParam().input);
    for (Dialect dialect : {Dialect::SQLite, Dialect::PostgreSQL}) {
        Translator t(dialect, &functions());
        t.setTextColumns({QStringLiteral("lastname"), QStringLiteral("firstname"),
                          QStringLiteral("cancelreason")});
        t.setDateColumns({QStringLiteral("d"), QStringLiteral("canceldate")});
        t.setBitColumns({QStringLiteral("isfixed")});
        QString shape;
        std::vector<Literal> literals;
        ASSERT_TRUE(shapeOf(input, shape, literals)) << GetParam().input;
        const auto byShape = t.translateShape(input, literals);
        if (!byShape)
            continue; // no literals to lift, or a call
        QStringList statements;
        for (const auto &pieces : byShape->statements) {
            QString sql;
            for (const ShapePiece &piece : pieces) {
                sql += piece.text;
                if (piece.param < 0)
                    continue;
                const auto p = static_cast<size_t>(piece.param);
                const Literal &l = literals[p];
                const QString value = byShape->dates[p] ? engineDate(l.value) : l.value;
                sql += l.number
                           ? value
                           : QLatin1Char('\'') +
                                 QString(value).replace(QLatin1Char('\''), QLatin1String("''")) +
                                 QLatin1Char('\'');
            }
            statements << sql;
        }
        EXPECT_EQ(statements.join(QStringLiteral("; ")).toStdString(),
                  t.translate(input).statements.join(QStringLiteral("; ")).toStdString());
    }
}

// What the translation decides by a literal's value keeps that value in the
// translation; other literals become the shape's places, a date's bound in the
// engines' form of a date.
TEST(Translator, ShapePinsTheValuesItDecidesBy)
{
    struct PinCase {
        const char *input;
        std::vector<bool> sqlite;
        std::vector<bool> postgres;
        std::vector<bool> dates;
    };
    const PinCase cases[] = {
        {"select * from t where LastName = 'A' and x = 5", {false, false}, {false, false}, {}},
        {"select * from t where d = '12/10/2026' and LastName = 'x'",
         {false, false},
         {false, false},
         {true, false}},
        {"select * from t where d = 'x'", {false}, {false}, {true}},
        {"select * from t where isFixed = 'true' and LastName = '1'",
         {true, false},
         {true, false},
         {}},
        // SQLite plans a LIKE by its pattern.
        {"select top 5 LastName from t where LastName like 'sa%'", {true, true}, {true, true}, {}},
        {"select * from t where LastName like 'Ñ%'", {true}, {true}, {}},
        {"select 'a' + LastName from t", {true}, {true}, {}},
        {"select HEMODIALYSIS.dbo.fn_Double(4) from t", {true}, {true}, {}},
        {"select 12345678901234567890, 1e5 from t", {true, true}, {true, true}, {}},
    };
    for (const PinCase &c : cases) {
        for (Dialect dialect : {Dialect::SQLite, Dialect::PostgreSQL}) {
            Translator t(dialect, &functions());
            t.setTextColumns({QStringLiteral("lastname")});
            t.setDateColumns({QStringLiteral("d")});
            t.setBitColumns({QStringLiteral("isfixed")});
            QString shape;
            std::vector<Literal> literals;
            ASSERT_TRUE(shapeOf(QString::fromUtf8(c.input), shape, literals));
            const auto byShape = t.translateShape(QString::fromUtf8(c.input), literals);
            ASSERT_TRUE(byShape.has_value()) << c.input;
            EXPECT_EQ(byShape->pinned, dialect == Dialect::SQLite ? c.sqlite : c.postgres)
                << c.input << (dialect == Dialect::SQLite ? " (SQLite)" : " (PostgreSQL)");
            std::vector<bool> dates = c.dates;
            dates.resize(literals.size(), false);
            EXPECT_EQ(byShape->dates, dates) << c.input;
        }
    }
}

// A procedure call's shape: its arguments are the text's literals, read
// again from each text.
TEST(Translator, ShapeOfACallNamesWhereEachArgumentComesFrom)
{
    Translator t(Dialect::SQLite, &functions());
    const QString text = QStringLiteral("Clinical_Area..spX 'a', -5, NULL, 'b''c', 2.5");
    QString shape;
    std::vector<Literal> literals;
    ASSERT_TRUE(shapeOf(text, shape, literals));
    const auto byShape = t.translateShape(text, literals);
    ASSERT_TRUE(byShape && byShape->call);
    EXPECT_EQ(byShape->call->name, QStringLiteral("spX"));
    const std::vector<std::pair<int, bool>> expected = {
        {0, false}, {1, true}, {-1, false}, {2, false}, {3, false}};
    ASSERT_EQ(byShape->call->sources.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(byShape->call->sources[i].literal, expected[i].first) << i;
        EXPECT_EQ(byShape->call->sources[i].negative, expected[i].second) << i;
    }
    EXPECT_EQ(literals[2].value, QStringLiteral("b'c"));
}

INSTANTIATE_TEST_SUITE_P(
    Constructs, TranslatorOutput,
    ::testing::Values(
        Case{"Select * from PATIENT_DATA..tbPatient where idnum = '1'",
             "Select * from patient_data__tbpatient where idnum = '1'",
             "Select * from patient_data.tbpatient where idnum = '1'"},
        Case{"select x from Patient_Data.dbo.tbMaster", "select x from patient_data__tbmaster",
             "select x from patient_data.tbmaster"},
        Case{"Select top 1 Getdate() [ServerDate],isnull(PhoneNum,'')PhoneNum From "
             "Patient_Data..tbHospitalInfo",
             "Select getdate() ServerDate,coalesce(PhoneNum,'')PhoneNum From "
             "patient_data__tbhospitalinfo LIMIT 1",
             "Select getdate() ServerDate,coalesce(PhoneNum,'')PhoneNum From "
             "patient_data.tbhospitalinfo LIMIT 1"},
        Case{"select a from t where b in (select top 2 c from u order by c)",
             "select a from clinical_area__t where b in (select c from clinical_area__u order by c "
             "LIMIT 2)",
             "select a from clinical_area.t where b in (select c from clinical_area.u order by c "
             "LIMIT 2)"},
        Case{"select isnull(LastName,'') + ' , ' +  isnull(FirstName,'') as N from "
             "Password..tbpasswordmaster",
             "select coalesce(LastName,'') || ' , ' ||  coalesce(FirstName,'') as \"N\" from "
             "password__tbpasswordmaster",
             "select coalesce(LastName,'') || ' , ' ||  coalesce(FirstName,'') as \"N\" from "
             "password.tbpasswordmaster"},
        Case{"Delete Clinical_Area..tbCancerChargePrint",
             "Delete FROM clinical_area__tbcancerchargeprint",
             "Delete FROM clinical_area.tbcancerchargeprint"},
        Case{"select [Hospital #] = 1, [Time] from a (nolock) where x like 'smi%'",
             "select \"Hospital #\" = 1, Time from clinical_area__a where x like 'smi%'",
             "select \"Hospital #\" = 1, Time from clinical_area.a where upper(x) COLLATE \"C\" "
             "like 'SMI%'"},
        Case{"select 1 from a where d between '12/01/2026' and '12/31/2026 11:59:59 PM'",
             "select 1 from clinical_area__a where d between '2026-12-01 00:00:00' and '2026-12-31 "
             "23:59:59'",
             "select 1 from clinical_area.a where d between '2026-12-01 00:00:00' and '2026-12-31 "
             "23:59:59'"},
        // A text shaped like a date stays the text typed unless a date is expected.
        Case{"update t set CancelReason = '12/10/2026', CancelDate = '12/10/2026 03:00:00 PM' "
             "where CancelReason <> '1/2/2026' and x.d >= '12/01/2026' and d in ('12/02/2026')",
             "update clinical_area__t set CancelReason = '12/10/2026', CancelDate = '2026-12-10 "
             "15:00:00' where CancelReason <> '1/2/2026' and x.d >= '2026-12-01 00:00:00' and d in "
             "('2026-12-02 00:00:00')",
             "update clinical_area.t set CancelReason = '12/10/2026', CancelDate = '2026-12-10 "
             "15:00:00' where CancelReason <> '1/2/2026' and x.d >= '2026-12-01 00:00:00' and d in "
             "('2026-12-02 00:00:00')"},
        Case{"insert into Clinical_Area..t (CancelReason, CancelDate, isFixed) values "
             "('12/10/2026', "
             "'12/10/2026', 'True'); select '12/10/2026' as v, datediff(day, '12/01/2026', d) as "
             "n from t",
             "insert into clinical_area__t (CancelReason, CancelDate, isFixed) values "
             "('12/10/2026', '2026-12-10 00:00:00', 1);  select '12/10/2026' as \"v\", "
             "cast(julianday(date( d)) - julianday(date( '2026-12-01 00:00:00')) AS integer) as "
             "\"n\" from clinical_area__t",
             "insert into clinical_area.t (CancelReason, CancelDate, isFixed) values "
             "('12/10/2026', '2026-12-10 00:00:00', 1);  select '12/10/2026' as \"v\", "
             "(cast( d AS date) - cast( '2026-12-01 00:00:00' AS date)) as "
             "\"n\" from clinical_area.t"},
        // A pattern with letters beyond ASCII: a prefix is a range of the column on SQLite
        // (its NOCASE index serves it), any other pattern compares upper-cased texts.
        Case{"select 1 from t where LastName like 'peñ%' or FirstName not like '%ñ_'",
             "select 1 from clinical_area__t where (LastName >= 'peñ' AND LastName < "
             "'peñ\U0010FFFF') or upper(FirstName) NOT LIKE '%Ñ_'",
             "select 1 from clinical_area.t where upper(LastName) COLLATE \"C\" like 'PEÑ%' or "
             "upper(FirstName) COLLATE \"C\" not like '%Ñ_'"},
        // 'true' and 'false' against a bit are 1 and 0; elsewhere they are texts.
        Case{"Select * from Build_File..tbcoHolidays where isFixed = 'true' or 'FALSE' = "
             "h.isFixed or x = 'true'",
             "Select * from build_file__tbcoholidays where isFixed = 1 or 0 = h.isFixed or x = "
             "'true'",
             "Select * from build_file.tbcoholidays where isFixed = 1 or 0 = h.isFixed or x = "
             "'true'"},
        Case{"SELECT isnull(HEMODIALYSIS.dbo.fn_Double('3'),'N') as P",
             "SELECT coalesce((('3') * 2),'N') as \"P\"",
             "SELECT coalesce((('3') * 2),'N') as \"P\""},
        Case{"select charindex('a', b), len(b), convert(varchar(10), d, 101) from t",
             "select instr( b,'a'), length(b), strftime('%m/%d/%Y',  d) from clinical_area__t",
             "select strpos( b,'a'), length(b), to_char(cast( d AS timestamp), 'MM/DD/YYYY') from "
             "clinical_area.t"},
        Case{"select a.x as Total, b as [B] from t as A order by Total, A.x",
             "select a.x as \"Total\", b as B from clinical_area__t as \"A\" order by \"Total\", "
             "A.x",
             "select a.x as \"Total\", b as B from clinical_area.t as \"a\" order by \"Total\", "
             "A.x"},
        Case{"select LastName from PATIENT_DATA..t where LastName like 'san%' order by LastName "
             "desc, Amount, M.FirstName",
             "select LastName from patient_data__t where LastName like 'san%' order by LastName "
             "desc, Amount, M.FirstName",
             "select LastName from patient_data.t where upper(LastName) COLLATE \"C\" like 'SAN%' "
             "order by upper(LastName) "
             "COLLATE \"C\" desc, Amount, upper(M.FirstName) COLLATE \"C\""},
        Case{"select 'DELETE FROM x; --' as v, 'O''Brien' as w",
             "select 'DELETE FROM x; --' as \"v\", 'O''Brien' as \"w\"",
             "select 'DELETE FROM x; --' as \"v\", 'O''Brien' as \"w\""},
        // One of each kind of row in the function table: a per-engine rewrite,
        // a template on one engine only, a rename on one engine only.
        Case{"select datepart(dw, d), dateadd(mm, -2, d), datediff(month, a, b) from t",
             "select (cast(strftime('%w',  d) AS integer) + 1), datetime( d, ( -2) || ' months'), "
             "((cast(strftime('%Y',  b) AS integer) - cast(strftime('%Y',  a) AS integer)) * 12 + "
             "cast(strftime('%m',  b) AS integer) - cast(strftime('%m',  a) AS integer)) from "
             "clinical_area__t",
             "select (cast(extract(dow from cast( d AS timestamp)) AS integer) + 1), (cast( d AS "
             "timestamp) + "
             "( -2) * interval '1 month'), cast((extract(year from cast( b AS timestamp)) - "
             "extract(year from "
             "cast( a AS timestamp))) * 12 + extract(month from cast( b AS timestamp)) - "
             "extract(month from "
             "cast( a AS timestamp)) AS integer) from clinical_area.t"},
        Case{"select left(LastName, 3) + '.', right(b, 2), substring(c, 1, 2), char(65) from t",
             "select substr(LastName, 1,  3) || '.', substr(b, -( 2)), substr(c, 1, 2), char(65) "
             "from clinical_area__t",
             "select left(LastName, 3) || '.', right(b, 2), substring(c, 1, 2), chr(65) from "
             "clinical_area.t"},
        Case{"select convert(money, x), convert(datetime, d), convert(int, '3') from t",
             "select cast( x AS real), datetime( d), cast( '3' AS integer) from clinical_area__t",
             "select cast( x AS numeric), cast( d AS timestamp), cast( '3' AS integer) from "
             "clinical_area.t"},
        Case{"delete t where a = 1; insert PATIENT_DATA..tbPatient (a, b) select a, b from u",
             "delete FROM clinical_area__t where a = 1;  insert INTO patient_data__tbpatient (a, "
             "b) select a, b "
             "from clinical_area__u",
             "delete FROM clinical_area.t where a = 1;  insert INTO patient_data.tbpatient (a, b) "
             "select a, b "
             "from clinical_area.u"},
        Case{"select top 10 * from (select top 5 a from t with (nolock)) x",
             "select * from (select a from clinical_area__t LIMIT 5) x LIMIT 10",
             "select * from (select a from clinical_area.t LIMIT 5) x LIMIT 10"},
        // One engine's own functions, given the other engine's equivalent.
        Case{"select instr(LastName, 'a'), strpos(LastName, 'b') from t",
             "select instr(LastName, 'a'), instr(LastName, 'b') from clinical_area__t",
             "select strpos(LastName, 'a'), strpos(LastName, 'b') from clinical_area.t"},
        Case{"select datetime(d), date(d), julianday(d) from t",
             "select datetime(d), date(d), julianday(d) from clinical_area__t",
             "select cast(d AS timestamp), cast(d AS date), (extract(epoch from cast(d AS "
             "timestamp)) / 86400 + 2440587.5) from clinical_area.t"},
        Case{"select strftime('%d/%m/%Y %H:%M at %%', d), to_char(d, 'YYYY-MM-DD \"h\"HH24:MI:SS') "
             "from t",
             "select strftime('%d/%m/%Y %H:%M at %%', d), strftime('%Y-%m-%d h%H:%M:%S', d) from "
             "clinical_area__t",
             "select to_char(cast( d AS timestamp), 'DD/MM/YYYY HH24:MI \"at\" %'), to_char(d, "
             "'YYYY-MM-DD \"h\"HH24:MI:SS') from clinical_area.t"},
        // EXTRACT's FROM is not a table's; the server's ROUND to places wants a numeric.
        Case{"select extract(year from d), extract(dow from d), round(Amount, 2), round(Amount) "
             "from t",
             "select (cast(strftime('%Y',  d) AS integer)), (cast(strftime('%w',  d) AS integer)), "
             "round(Amount, 2), round(Amount) from clinical_area__t",
             "select extract(year from d), extract(dow from d), round(cast(Amount AS numeric), "
             "2), round(Amount) from clinical_area.t"},
        // CAST's type: the screens' as CONVERT gives it, the engines' own as written, never
        // taken for an alias.
        Case{"select cast(Amount as float) / 3, cast(d AS datetime), cast(a as double precision) "
             "from t",
             "select cast(Amount AS real) / 3, datetime(d), cast(a AS double precision) from "
             "clinical_area__t",
             "select cast(Amount AS double precision) / 3, cast(d AS timestamp), cast(a AS double "
             "precision) from clinical_area.t"}),
    [](const auto &info) { return "case" + std::to_string(info.index); });

// Column + column is joined only when both sides are known texts; numbers add.
TEST(Translator, PlusJoinsTextsAndAddsNumbers)
{
    const QString sql =
        translated(Dialect::SQLite, "select LastName + FirstName, Amount + 1 from X");
    EXPECT_TRUE(sql.contains(QLatin1String("LastName || FirstName"))) << sql.toStdString();
    EXPECT_TRUE(sql.contains(QLatin1String("Amount + 1"))) << sql.toStdString();
}

TEST(Translator, RecognisesProcedureCalls)
{
    Translator t(Dialect::SQLite);
    struct CallCase {
        const char *text;
        const char *database;
        const char *name;
        QStringList args;
    };
    const CallCase cases[] = {
        {"Clinical_Area..spCancer_GetPatient 'I','','',''",
         "CLINICAL_AREA",
         "spCancer_GetPatient",
         {"I", "", "", ""}},
        {"BILLING..spGlobal_RegisteredOPD '0','1', 'SMITH'",
         "BILLING",
         "spGlobal_RegisteredOPD",
         {"0", "1", "SMITH"}},
        {"CLINICAL_AREA..sp_PulmoAddRequest'12','','0'",
         "CLINICAL_AREA",
         "sp_PulmoAddRequest",
         {"12", "", "0"}},
        {"Clinical_Area..spCancer_LoadDischargeNoticeCount ",
         "CLINICAL_AREA",
         "spCancer_LoadDischargeNoticeCount",
         {}},
        {"laboratory..Verifiy_Chargeslip 'G1''2C'", "LABORATORY", "Verifiy_Chargeslip", {"G1'2C"}},
        {"exec Hemodialysis.dbo.spHEmo_SaveSettings  '1', -2, 3.5",
         "HEMODIALYSIS",
         "spHEmo_SaveSettings",
         {"1", "-2", "3.5"}},
        {"spLocal", "CLINICAL_AREA", "spLocal", {}},
    };
    for (const CallCase &c : cases) {
        const Translation result = t.translate(QString::fromLatin1(c.text));
        ASSERT_TRUE(result.call.has_value()) << c.text;
        EXPECT_EQ(result.call->database.toStdString(), c.database) << c.text;
        EXPECT_EQ(result.call->name.toStdString(), c.name) << c.text;
        EXPECT_EQ(result.call->args, c.args) << c.text;
    }
}

// A text that is only a known table's name lists the table, as on the server;
// a known procedure, or an unknown name, stays a call.
TEST(Translator, TableNameAloneOpensTheTable)
{
    ProcedureRegistry registry;
    registry.add(QStringLiteral("STATION"), QStringLiteral("spExams"),
                 [](ProcedureContext &, const QStringList &) { return Recordset(); });
    for (const Dialect dialect : {Dialect::SQLite, Dialect::PostgreSQL}) {
        Translator t(dialect, &registry);
        t.setTables(
            {QStringLiteral("station..laboratoryexams"), QStringLiteral("station..spexams")});
        const Translation table = t.translate(QStringLiteral("STATION..LaboratoryExams"));
        EXPECT_FALSE(table.call.has_value());
        ASSERT_EQ(table.statements.size(), 1);
        EXPECT_EQ(table.statements.first(),
                  QStringLiteral("SELECT * FROM ") +
                      t.tableName(QStringLiteral("STATION"), QStringLiteral("LaboratoryExams")));
        const Translation dotted = t.translate(QStringLiteral(" Station.dbo.LaboratoryExams "));
        EXPECT_FALSE(dotted.call.has_value());
        for (const char *call :
             {"STATION..spExams", "STATION..NoSuchThing", "exec STATION..LaboratoryExams"})
            EXPECT_TRUE(t.translate(QString::fromLatin1(call)).call.has_value()) << call;
    }
}

// A value that reads like SQL must stay one value: the call keeps its
// argument count and the statement keeps its single literal.
TEST(Translator, ValuesThatLookLikeSqlStayValues)
{
    Translator t(Dialect::PostgreSQL);
    const Translation call =
        t.translate(QStringLiteral("Clinical_Area..sp 'a'';DELETE FROM y --','b'"));
    ASSERT_TRUE(call.call.has_value());
    EXPECT_EQ(call.call->args,
              (QStringList{QStringLiteral("a';DELETE FROM y --"), QStringLiteral("b")}));
    const Translation stmt =
        t.translate(QStringLiteral("select 1 from t where a = 'x''; drop table t; --'"));
    ASSERT_EQ(stmt.statements.size(), 1);
}

TEST(Translator, RefusesWhatItCannotTranslateByName)
{
    Translator t(Dialect::SQLite);
    const std::pair<const char *, const char *> cases[] = {
        {"select @x", "variable @x"},
        {"select * from #tmp", "temporary table #tmp"},
        {"select a into b from c", "SELECT ... INTO"},
        {"select soundex(a) from t", "function soundex"},
        {"declare @a int", "'declare'"},
        {"select * from Nowhere..tb", "database 'Nowhere'"},
        {"select top 10 percent a from t", "PERCENT"},
        {"select convert(varchar, d, 999) from t", "CONVERT style 999"},
        {"select 'open", "Unclosed quotation mark"},
        {"select ceiling(x) from t", "function ceiling"}, // PostgreSQL's alone
        {"select datediff(second, a, b) from t", "DATEDIFF of second"},
        {"select charindex('a') from t", "charindex with 1 arguments"},
        {"select convert(xml, x) from t", "conversion to xml"},
    };
    for (const auto &[text, expected] : cases) {
        try {
            t.translate(QString::fromLatin1(text));
            ADD_FAILURE() << "translated: " << text;
        } catch (const DatabaseError &e) {
            EXPECT_TRUE(e.message().contains(QLatin1String(expected)))
                << text << " -> " << e.what();
        }
    }
}

// A function one engine lacks is refused there when the text is translated,
// naming the engine, and translated on the other.
TEST(Translator, RefusesAFunctionOnTheEngineThatLacksIt)
{
    struct Lacking {
        const char *text;
        Dialect refusedOn;
        const char *expected;
    };
    const Lacking cases[] = {
        {"select printf('%d', a) from t", Dialect::PostgreSQL, "function printf on PostgreSQL"},
        {"select ceiling(a) from t", Dialect::SQLite, "function ceiling on SQLite"},
        {"select replicate('a', 3) from t", Dialect::SQLite, "function replicate on SQLite"},
        {"select datetime(d, '+1 day') from t", Dialect::PostgreSQL,
         "datetime with modifiers on PostgreSQL"},
        {"select julianday(d, 'start of month') from t", Dialect::PostgreSQL,
         "julianday with modifiers on PostgreSQL"},
        {"select strftime('%w', d) from t", Dialect::PostgreSQL, "strftime field %w on PostgreSQL"},
        {"select strftime(LastName, d) from t", Dialect::PostgreSQL,
         "strftime with a format that is not a literal"},
        {"select to_char(a, '999D99') from t", Dialect::SQLite, "to_char pattern 999D99 on SQLite"},
        {"select to_char(d, 'Month') from t", Dialect::SQLite, "to_char pattern Month on SQLite"},
        {"select extract(week from d) from t", Dialect::SQLite, "EXTRACT of week on SQLite"},
    };
    for (const Lacking &c : cases) {
        for (Dialect dialect : {Dialect::SQLite, Dialect::PostgreSQL}) {
            const char *engine = dialect == Dialect::SQLite ? " (SQLite)" : " (PostgreSQL)";
            Translator t(dialect);
            t.setDateColumns({QStringLiteral("d")});
            if (dialect != c.refusedOn) {
                EXPECT_NO_THROW(t.translate(QString::fromLatin1(c.text))) << c.text << engine;
                continue;
            }
            try {
                t.translate(QString::fromLatin1(c.text));
                ADD_FAILURE() << "translated: " << c.text << engine;
            } catch (const DatabaseError &e) {
                EXPECT_TRUE(e.message().contains(QLatin1String(c.expected)))
                    << c.text << " -> " << e.what();
            }
        }
    }
}

// The same rows run: what each engine is given works there and gives the same
// value, and the engine lacking a function refuses it before the server sees it.
class FunctionRowsRun : public test::EngineTest {
protected:
    FunctionRowsRun() : EngineTest(Contents::Empty) {}
};

TEST_P(FunctionRowsRun, GiveTheSameValueOnEachEngine)
{
    enum Kind { Text, Number, Moment };
    struct RunCase {
        const char *text;
        Kind kind;
        const char *expected; // Text, and Moment as "yyyy-MM-dd HH:mm:ss"
        double number = 0;
        const char *refusedOn = nullptr; // the engine lacking the function
    };
    const RunCase cases[] = {
        {"select instr('abcd', 'c')", Number, nullptr, 3},
        {"select strpos('abcd', 'd')", Number, nullptr, 4},
        {"select datetime('2026-12-01 13:45:10')", Moment, "2026-12-01 13:45:10"},
        {"select date('2026-12-01 13:45:10')", Moment, "2026-12-01 00:00:00"},
        {"select julianday('2026-12-01 18:00:00')", Number, nullptr, 2461376.25},
        {"select strftime('%d/%m/%Y %H:%M:%S day %j', '2026-12-01 13:45:10')", Text,
         "01/12/2026 13:45:10 day 335"},
        {"select to_char(convert(datetime, '2026-12-01 13:45:10'), 'YYYY/MM/DD HH24.MI.SS')", Text,
         "2026/12/01 13.45.10"},
        {"select extract(month from convert(datetime, '2026-12-01 13:45:10'))", Number, nullptr,
         12},
        {"select extract(dow from convert(datetime, '2026-12-01 13:45:10'))", Number, nullptr, 2},
        {"select round(cast(10 as float) / 3, 2)", Number, nullptr, 3.33},
        {"select cast('12/01/2026 01:45:10 PM' as datetime)", Moment, "2026-12-01 13:45:10"},
        {"select cast(7 as numeric(10, 2)) / 2", Number, nullptr, 3.5},
        {"select printf('%05.1f', 3.14159)", Text, "003.1", 0, "postgresql"},
        {"select ceiling(2.1)", Number, nullptr, 3, "sqlite"},
    };
    for (const RunCase &c : cases) {
        const QString text = QString::fromLatin1(c.text);
        if (c.refusedOn && GetParam() == c.refusedOn) {
            try {
                db->Execute(text);
                ADD_FAILURE() << "ran: " << c.text;
            } catch (const DatabaseError &e) {
                EXPECT_TRUE(e.message().contains(QLatin1String("cannot be translated")))
                    << c.text << " -> " << e.what();
            }
            continue;
        }
        Recordset rs = db->Execute(text);
        ASSERT_FALSE(rs.atEnd()) << c.text;
        const Field value = rs.Fields(0);
        if (c.kind == Text)
            EXPECT_EQ(value.toString().toStdString(), c.expected) << c.text;
        else if (c.kind == Moment)
            EXPECT_EQ(value.toDateTime(),
                      QDateTime::fromString(QLatin1String(c.expected),
                                            QStringLiteral("yyyy-MM-dd HH:mm:ss")))
                << c.text;
        else
            EXPECT_NEAR(value.toDouble(), c.number, 1e-9) << c.text;
    }
}

CHEMODESK_ENGINE_TESTS(FunctionRowsRun);

} // namespace
