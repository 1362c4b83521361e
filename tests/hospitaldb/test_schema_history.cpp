// The schema's released steps never change: the statements each engine gets from them are kept
// in golden/ (CHEMODESK_UPDATE_GOLDEN=1 writes them anew, for a new step); the live definitions,
// which the translation and `chemodesk-admin check` read, must be what the steps build; and a
// database of the previous release, upgraded, must end as one built new.

#include "testpaths.h"

#include "database/schemabuilder.h"
#include "database/translator.h"
#include "hospitaldb/database.h"
#include "hospitaldb/hospitaldb.h"
#include "hospitaldb/security.h"
#include "support/testdatabase.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace chemodesk;

namespace {

const QString GoldenFolder = QStringLiteral(CHEMODESK_SOURCE_DIR "/tests/hospitaldb/golden");

QString typeName(db::ColumnType type)
{
    switch (type) {
    case db::ColumnType::Text:
        return QStringLiteral("text");
    case db::ColumnType::Integer:
        return QStringLiteral("int");
    case db::ColumnType::BigInt:
        return QStringLiteral("bigint");
    case db::ColumnType::Bit:
        return QStringLiteral("bit");
    case db::ColumnType::Money:
        return QStringLiteral("money");
    case db::ColumnType::Float:
        return QStringLiteral("float");
    case db::ColumnType::DateTime:
        return QStringLiteral("datetime");
    case db::ColumnType::Identity:
        return QStringLiteral("identity");
    }
    return {};
}

// A column as the engines keep it: the length of a text reaches neither.
QString describe(const db::ColumnDef &c)
{
    QString out = c.name + QLatin1Char(' ') + typeName(c.type);
    if (c.notNull)
        out += QStringLiteral(" not null");
    if (!c.defaultValue.isEmpty())
        out += QStringLiteral(" default ") + c.defaultValue;
    return out;
}

QString describe(const db::IndexDef &index)
{
    return (index.unique ? QStringLiteral("unique ") : QString()) +
           (index.prefixSearch ? QStringLiteral("prefix ") : QString()) + QLatin1Char('(') +
           index.columns.join(QStringLiteral(", ")) + QLatin1Char(')');
}

QString qualified(const db::TableDef &t)
{
    return t.database + QStringLiteral("..") + t.name;
}

QString key(const db::TableDef &t)
{
    return qualified(t).toLower();
}

// What the steps make of a new database, applied in order as the schema builder applies them: a
// table met again gains only the columns it lacks (added to rows already there, so "not null"
// without a default is dropped) and its indexes; nothing is altered or removed.
struct Built {
    std::vector<db::TableDef> tables;
    QString statements; // for the engine of the walk, step by step
};

// The clause the builder writes for one column.
QString columnClause(db::Dialect dialect, const db::TableDef &t, const db::ColumnDef &c)
{
    const QString create =
        db::createStatements(dialect, db::TableDef{t.database, t.name, {c}, {}, {}}).first();
    const qsizetype open = create.indexOf(QLatin1Char('('));
    return create.mid(open + 1, create.size() - open - 2);
}

Built buildBySteps(const std::vector<db::SchemaStep> &steps, db::Dialect dialect)
{
    Built built;
    std::map<QString, size_t> at;
    auto write = [&](const QStringList &statements) {
        for (const QString &statement : statements)
            built.statements += statement + QStringLiteral(";\n");
    };
    for (const db::SchemaStep &step : steps) {
        built.statements += QStringLiteral("-- Step %1\n").arg(step.version);
        for (const db::TableDef &t : step.tables) {
            const auto found = at.find(key(t));
            if (found == at.end()) {
                at[key(t)] = built.tables.size();
                built.tables.push_back(t);
                write(db::createStatements(dialect, t));
                continue;
            }
            db::TableDef &existing = built.tables[found->second];
            for (const db::ColumnDef &c : t.columns) {
                const bool has = std::any_of(
                    existing.columns.begin(), existing.columns.end(), [&](const db::ColumnDef &e) {
                        return e.name.compare(c.name, Qt::CaseInsensitive) == 0;
                    });
                if (has)
                    continue;
                db::ColumnDef added = c;
                if (added.notNull && added.defaultValue.isEmpty())
                    added.notNull = false;
                existing.columns.push_back(added);
                write({QStringLiteral("ALTER TABLE %1 ADD COLUMN %2")
                           .arg(db::Translator(dialect).tableName(t.database, t.name),
                                columnClause(dialect, t, added))});
            }
            existing.indexes.insert(existing.indexes.end(), t.indexes.begin(), t.indexes.end());
            write(db::createStatements(dialect, t).mid(1));
        }
        if (step.fill)
            built.statements += QStringLiteral("-- and the step's own statements\n");
    }
    return built;
}

QStringList describeColumns(const db::TableDef &t)
{
    QStringList out;
    for (const db::ColumnDef &c : t.columns)
        out << describe(c);
    return out;
}

QStringList describeIndexes(const db::TableDef &t)
{
    QSet<QString> unique;
    for (const db::IndexDef &index : t.indexes)
        unique.insert(describe(index));
    QStringList out(unique.begin(), unique.end());
    out.sort();
    return out;
}

// What one list has that the other has not, for a message.
QString missingFrom(const QStringList &from, const QStringList &in)
{
    QStringList out;
    for (const QString &item : in)
        if (!from.contains(item))
            out << item;
    return out.join(QStringLiteral("; "));
}

// Every difference between the live definitions and what the steps build, one line each.
QStringList differences(const std::vector<db::TableDef> &live,
                        const std::vector<db::TableDef> &built)
{
    QStringList out;
    std::map<QString, const db::TableDef *> byKey;
    for (const db::TableDef &t : built)
        byKey[key(t)] = &t;
    QSet<QString> seen;
    for (const db::TableDef &t : live) {
        seen.insert(key(t));
        const auto found = byKey.find(key(t));
        if (found == byKey.end()) {
            out << QStringLiteral("%1 is defined, but no step creates it").arg(qualified(t));
            continue;
        }
        const db::TableDef &b = *found->second;
        const QStringList liveColumns = describeColumns(t);
        const QStringList builtColumns = describeColumns(b);
        if (liveColumns != builtColumns) {
            const QString onlyLive = missingFrom(builtColumns, liveColumns);
            const QString onlyBuilt = missingFrom(liveColumns, builtColumns);
            if (onlyLive.isEmpty() && onlyBuilt.isEmpty())
                out << QStringLiteral("%1: the steps leave its columns in another order: %2")
                           .arg(qualified(t), builtColumns.join(QStringLiteral(", ")));
            if (!onlyLive.isEmpty())
                out << QStringLiteral("%1: defined with %2, which no step gives it")
                           .arg(qualified(t), onlyLive);
            if (!onlyBuilt.isEmpty())
                out << QStringLiteral("%1: the steps give it %2, which it is not defined with")
                           .arg(qualified(t), onlyBuilt);
        }
        if (t.primaryKey.join(QLatin1Char(',')).toLower() !=
            b.primaryKey.join(QLatin1Char(',')).toLower())
            out << QStringLiteral("%1: keyed by (%2), the steps key it by (%3)")
                       .arg(qualified(t), t.primaryKey.join(QStringLiteral(", ")),
                            b.primaryKey.join(QStringLiteral(", ")));
        const QStringList liveIndexes = describeIndexes(t);
        const QStringList builtIndexes = describeIndexes(b);
        if (liveIndexes != builtIndexes) {
            const QString onlyLive = missingFrom(builtIndexes, liveIndexes);
            const QString onlyBuilt = missingFrom(liveIndexes, builtIndexes);
            if (!onlyLive.isEmpty())
                out << QStringLiteral("%1: defined with index %2, which no step gives it")
                           .arg(qualified(t), onlyLive);
            if (!onlyBuilt.isEmpty())
                out << QStringLiteral("%1: the steps give it index %2, which it is not defined "
                                      "with")
                           .arg(qualified(t), onlyBuilt);
        }
    }
    for (const db::TableDef &t : built)
        if (!seen.contains(key(t)))
            out << QStringLiteral("%1 is created by the steps, but not defined").arg(qualified(t));
    return out;
}

// The live definitions are what the code reads; a new database and an upgraded one get only
// what the steps write. A change to a definition without a step would reach neither.
TEST(SchemaHistory, TheLiveDefinitionsAreWhatTheStepsBuild)
{
    const QStringList found = differences(
        hospital::tables(), buildBySteps(hospital::schemaSteps(), db::Dialect::SQLite).tables);
    EXPECT_TRUE(found.isEmpty())
        << "The live table definitions differ from what the schema steps build. Give each "
           "change a new step (schema_history.cpp); a released step is never edited.\n  "
        << found.join(QStringLiteral("\n  ")).toStdString();
}

QString readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

// The first line where two texts part, for a message that points at it.
QString firstDifference(const QString &expected, const QString &actual)
{
    const QStringList a = expected.split(QLatin1Char('\n'));
    const QStringList b = actual.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        const QString left = i < a.size() ? a.at(i) : QStringLiteral("(end)");
        const QString right = i < b.size() ? b.at(i) : QStringLiteral("(end)");
        if (left != right)
            return QStringLiteral("line %1:\n  golden: %2\n  steps:  %3")
                .arg(i + 1)
                .arg(left, right);
    }
    return {};
}

// What a released step writes is what every database of that release got: it never changes.
// A new step adds its statements at the end.
TEST(SchemaHistory, TheStepsWriteWhatTheGoldenFilesHold)
{
    const bool update = !qEnvironmentVariableIsEmpty("CHEMODESK_UPDATE_GOLDEN");
    for (const auto &[dialect, name] : {std::pair{db::Dialect::SQLite, "sqlite"},
                                        std::pair{db::Dialect::PostgreSQL, "postgresql"}}) {
        const QString path =
            GoldenFolder + QStringLiteral("/schema-%1.sql").arg(QLatin1String(name));
        const QString statements = buildBySteps(hospital::schemaSteps(), dialect).statements;
        if (update) {
            QDir().mkpath(GoldenFolder);
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
            f.write(statements.toUtf8());
            continue;
        }
        const QString golden = readFile(path);
        EXPECT_TRUE(golden == statements)
            << "The schema steps' statements for " << name << " differ from " << path.toStdString()
            << ", at " << firstDifference(golden, statements).toStdString()
            << "\nA released step is never changed. After adding a new step, write the files anew "
               "with CHEMODESK_UPDATE_GOLDEN=1 and check that only the new step's lines were "
               "added.";
    }
}

// The structure of a database, one line per column, index, trigger and function.
QStringList catalogue(db::HostedConnection &c)
{
    QStringList out;
    auto rows = [&](const QString &sql, const QString &kind) {
        Recordset rs = c.executeNative(sql);
        for (; !rs.atEnd(); rs.MoveNext()) {
            QStringList fields;
            for (int i = 0; i < rs.FieldCount(); ++i)
                fields << rs.Fields(i).toString();
            out << kind + QLatin1Char(' ') + fields.join(QLatin1Char('|'));
        }
    };
    if (c.dialect() == db::Dialect::SQLite) {
        rows(QStringLiteral("SELECT m.name, p.cid, p.name, p.type, p.\"notnull\", p.dflt_value, "
                            "p.pk FROM sqlite_master m, pragma_table_info(m.name) p "
                            "WHERE m.type = 'table' ORDER BY m.name, p.cid"),
             QStringLiteral("column"));
        rows(QStringLiteral("SELECT type, tbl_name, name, sql FROM sqlite_master "
                            "WHERE type IN ('index', 'trigger', 'view') ORDER BY type, name"),
             QStringLiteral("object"));
    } else {
        const QString ours =
            QStringLiteral("NOT IN ('pg_catalog', 'information_schema', 'pg_toast')");
        rows(QStringLiteral("SELECT table_schema, table_name, ordinal_position, column_name, "
                            "udt_name, character_maximum_length, numeric_precision, "
                            "numeric_scale, is_nullable, column_default, is_identity "
                            "FROM information_schema.columns WHERE table_schema %1 "
                            "ORDER BY 1, 2, 3")
                 .arg(ours),
             QStringLiteral("column"));
        rows(QStringLiteral("SELECT schemaname, tablename, indexname, indexdef FROM pg_indexes "
                            "WHERE schemaname %1 ORDER BY 1, 2, 3")
                 .arg(ours),
             QStringLiteral("index"));
        rows(QStringLiteral("SELECT event_object_schema, event_object_table, trigger_name, "
                            "action_timing, event_manipulation, action_statement "
                            "FROM information_schema.triggers WHERE trigger_schema %1 "
                            "ORDER BY 1, 2, 3, 5")
                 .arg(ours),
             QStringLiteral("trigger"));
        rows(QStringLiteral(
                 "SELECT n.nspname, p.proname, pg_get_function_identity_arguments(p.oid), "
                 "md5(p.prosrc) FROM pg_proc p JOIN pg_namespace n ON n.oid = "
                 "p.pronamespace WHERE n.nspname %1 ORDER BY 1, 2, 3")
                 .arg(ours),
             QStringLiteral("function"));
        rows(QStringLiteral("SELECT n.nspname, c.relname, c.relkind, c.reloptions::text FROM "
                            "pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace WHERE "
                            "n.nspname %1 AND c.relkind IN ('r', 'v', 'i') ORDER BY 1, 2")
                 .arg(ours),
             QStringLiteral("relation"));
    }
    return out;
}

class SchemaUpgrade : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        if (!test::backendAvailable(GetParam()))
            GTEST_SKIP() << "no PostgreSQL server for the tests";
    }
};

// A database the previous release built (every step but the last, as its init ran them), with a
// patient registered, is upgraded by this release's init: it ends with the structure of a
// database this release builds new, its rows kept and given what the last step adds.
TEST_P(SchemaUpgrade, ADatabaseOfThePreviousReleaseEndsAsOneBuiltNew)
{
    const auto &steps = hospital::schemaSteps();
    const std::vector<db::SchemaStep> previous(steps.begin(), steps.end() - 1);
    const bool server = GetParam() == "postgresql";
    const QString old = test::unbuiltTarget(GetParam());
    {
        auto c = hospital::openDatabase(old);
        hospital::revealPasswordTable(*c);
        db::applySchemaSteps(*c, previous);
        if (server)
            hospital::secureServer(*c);
        ASSERT_EQ(db::storedSchemaVersion(*c), previous.back().version);
        c->Execute(QStringLiteral("INSERT INTO PATIENT_DATA..tbMaster (HospNum, LastName, "
                                  "FirstName) VALUES ('0000001', 'Dela Cruz', 'Juan')"));
        c->Execute(QStringLiteral("INSERT INTO PATIENT_DATA..tbOutPatient (IdNum, HospNum, "
                                  "AdmDate) VALUES ('1B', '0000001', '2026-12-01 08:00:00')"));
    }
    auto upgraded = hospital::openDatabase(old);
    hospital::initDatabase(*upgraded, {});
    auto built = hospital::openDatabase(test::unbuiltTarget(GetParam()));
    hospital::initDatabase(*built, {});

    EXPECT_EQ(db::storedSchemaVersion(*upgraded), hospital::schemaVersion());
    const QStringList mine = catalogue(*upgraded);
    const QStringList fresh = catalogue(*built);
    EXPECT_FALSE(fresh.isEmpty());
    EXPECT_TRUE(mine == fresh) << "only in the upgraded database:\n  "
                               << missingFrom(fresh, mine)
                                      .replace(QStringLiteral("; "), QStringLiteral("\n  "))
                                      .toStdString()
                               << "\nonly in the one built new:\n  "
                               << missingFrom(mine, fresh)
                                      .replace(QStringLiteral("; "), QStringLiteral("\n  "))
                                      .toStdString();
    Recordset rs = upgraded->Execute(QStringLiteral(
        "SELECT ListLastName, ListFirstName FROM PATIENT_DATA..tbOutPatient WHERE IdNum = '1B'"));
    ASSERT_FALSE(rs.atEnd());
    EXPECT_EQ(rs.Fields(0).toString(), QStringLiteral("Dela Cruz"));
    EXPECT_EQ(rs.Fields(1).toString(), QStringLiteral("Juan"));
}

INSTANTIATE_TEST_SUITE_P(Engines, SchemaUpgrade, ::testing::ValuesIn(test::backends()),
                         [](const auto &info) { return info.param; });

} // namespace
