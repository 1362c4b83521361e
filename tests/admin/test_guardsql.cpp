// The shared server's guard as the IT gets it from chemodesk-admin guard-sql:
// applied with psql it makes what init makes, and a failure of its own SQL
// is told as what it is.

#include "database/translator.h"
#include "hospitaldb/database.h"
#include "hospitaldb/hospitaldb.h"
#include "hospitaldb/security.h"
#include "support/testdatabase.h"
#include "testpaths.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>

using namespace chemodesk;

namespace {

const QString Psql = QStringLiteral("/usr/bin/psql");

struct ProgramRun {
    int status;
    QString out;
    QString err;
};

ProgramRun run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    EXPECT_TRUE(p.waitForFinished(180000)) << program.toStdString();
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

ProgramRun admin(const QStringList &args)
{
    return run(QStringLiteral(CHEMODESK_ADMIN), args);
}

// What the guard makes of a database, one line an object: roles and their memberships, the
// owner and privileges of every schema, table, view and sequence, the table grants as
// information_schema reports them, default privileges, every function with its settings and a
// hash of its text, every trigger, and the views' definitions.
QSet<QString> catalogue(const QString &target)
{
    static const char *const Query = R"(
SELECT 'role ' || rolname || ' super=' || rolsuper || ' login=' || rolcanlogin
       || ' createrole=' || rolcreaterole || ' inherit=' || rolinherit
FROM pg_roles WHERE rolname LIKE 'chemodesk%'
UNION ALL
SELECT 'member ' || r.rolname || ' of ' || g.rolname || ' admin=' || m.admin_option
FROM pg_auth_members m JOIN pg_roles r ON r.oid = m.member JOIN pg_roles g ON g.oid = m.roleid
WHERE r.rolname LIKE 'chemodesk%' OR g.rolname LIKE 'chemodesk%'
UNION ALL
SELECT 'schema ' || nspname || ' owner=' || pg_get_userbyid(nspowner)
       || ' acl=' || coalesce(nspacl::text, '')
FROM pg_namespace WHERE nspname NOT LIKE 'pg\_%' AND nspname <> 'information_schema'
UNION ALL
SELECT 'relation ' || n.nspname || '.' || c.relname || ' kind=' || c.relkind::text
       || ' owner=' || pg_get_userbyid(c.relowner) || ' acl=' || coalesce(c.relacl::text, '')
FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace
WHERE c.relkind IN ('r', 'v', 'p', 'S', 'm', 'f')
  AND n.nspname NOT LIKE 'pg\_%' AND n.nspname <> 'information_schema'
UNION ALL
SELECT 'grant ' || grantee || ' ' || privilege_type || ' on ' || table_schema || '.'
       || table_name || ' by ' || grantor || ' grantable=' || is_grantable
FROM information_schema.role_table_grants
WHERE table_schema NOT IN ('pg_catalog', 'information_schema')
UNION ALL
SELECT 'workstation may ' || p.privilege || ' ' || n.nspname || '.' || c.relname
FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace
CROSS JOIN (VALUES ('SELECT'), ('INSERT'), ('UPDATE'), ('DELETE'), ('TRUNCATE'),
                   ('TRIGGER')) p (privilege)
WHERE c.relkind IN ('r', 'v', 'p') AND n.nspname NOT LIKE 'pg\_%'
  AND n.nspname <> 'information_schema'
  AND has_table_privilege('chemodesk_workstation', c.oid, p.privilege)
UNION ALL
SELECT 'default ' || pg_get_userbyid(defaclrole) || ' in '
       || coalesce(defaclnamespace::regnamespace::text, '-') || ' ' || defaclobjtype::text
       || ' acl=' || defaclacl::text
FROM pg_default_acl
UNION ALL
SELECT 'function ' || p.oid::regprocedure || ' owner=' || pg_get_userbyid(p.proowner)
       || ' definer=' || p.prosecdef || ' volatile=' || p.provolatile::text
       || ' config=' || coalesce(array_to_string(p.proconfig, ','), '')
       || ' returns=' || format_type(p.prorettype, NULL) || ' source=' || md5(p.prosrc)
       || ' acl=' || coalesce(p.proacl::text, '')
FROM pg_proc p JOIN pg_namespace n ON n.oid = p.pronamespace
WHERE n.nspname NOT IN ('pg_catalog', 'information_schema')
UNION ALL
SELECT 'trigger ' || tgrelid::regclass || ' ' || tgname || ' type=' || tgtype
       || ' calls=' || tgfoid::regprocedure || ' enabled=' || tgenabled::text
       || ' args=' || encode(tgargs, 'escape')
FROM pg_trigger WHERE NOT tgisinternal
UNION ALL
SELECT 'view ' || schemaname || '.' || viewname || ' ' || md5(definition)
FROM pg_views WHERE schemaname NOT IN ('pg_catalog', 'information_schema')
)";
    auto connection = hospital::openDatabase(target);
    QSet<QString> lines;
    for (Recordset rs = connection->executeNative(QString::fromLatin1(Query)); !rs.atEnd();
         rs.MoveNext())
        lines.insert(rs.Fields(0).toString());
    return lines;
}

QString listed(QSet<QString> lines)
{
    QStringList sorted(lines.begin(), lines.end());
    sorted.sort();
    return sorted.join(QLatin1Char('\n'));
}

class GuardSql : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::backendAvailable("postgresql"))
            GTEST_SKIP() << "no PostgreSQL server for the tests";
    }
};

// A database built by the schema steps alone, then given the printed guard with psql, must
// come out as init makes one: the SQL the IT reviews is all the guard there is.
TEST_F(GuardSql, AppliedWithPsqlMakesTheCatalogueInitMakes)
{
    if (!QFileInfo::exists(Psql))
        GTEST_SKIP() << "no psql";
    const QString byInit = test::unbuiltTarget("postgresql");
    const ProgramRun init = admin({QStringLiteral("init"), byInit});
    ASSERT_EQ(init.status, 0) << init.err.toStdString();

    const QString byPsql = test::unbuiltTarget("postgresql");
    db::applySchemaSteps(*hospital::openDatabase(byPsql), hospital::schemaSteps());
    const ProgramRun printed = admin({QStringLiteral("guard-sql"), byPsql});
    ASSERT_EQ(printed.status, 0) << printed.err.toStdString();
    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("guard.sql"));
    {
        QFile file(script);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(printed.out.toUtf8());
    }
    const ProgramRun applied =
        run(Psql, {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"),
                   QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-f"), script,
                   QStringLiteral("-d"), byPsql});
    ASSERT_EQ(applied.status, 0) << applied.err.toStdString();

    const QSet<QString> made = catalogue(byInit);
    const QSet<QString> applyMade = catalogue(byPsql);
    EXPECT_EQ(listed(made - applyMade), QString()) << "only after init";
    EXPECT_EQ(listed(applyMade - made), QString()) << "only after psql";
    // Not two empty catalogues: the guard's own objects are in them.
    for (const char *expected :
         {"trigger clinical_area.tbcancercharges chemodesk_guard ",
          "trigger chemodesk_private.tbpasswordmaster chemodesk_audit ",
          "function chemodesk_sign_in(text,text,text) owner=chemodesk_owner definer=true",
          "relation password.tbpasswordmaster kind=v owner=chemodesk_owner",
          "workstation may SELECT password.tbpasswordmaster"}) {
        const bool found = std::any_of(made.begin(), made.end(), [&](const QString &line) {
            return line.startsWith(QLatin1String(expected));
        });
        EXPECT_TRUE(found) << expected;
    }
}

// The guard's own failures are told as what they are: the statement, its place in the guard's
// files and the server's words. Only a refusal of privilege speaks of who must run it.
TEST_F(GuardSql, InitTellsAFailingGuardStatementByItsObjectAndTheServersMessage)
{
    // A table the guard's triggers stand on, gone from a database already at this version.
    test::freshDatabase("postgresql")
        ->executeNative(QStringLiteral("DROP TABLE clinical_area.tbcancerrequest CASCADE"));
    const ProgramRun broken = admin({QStringLiteral("init"), test::lastTarget()});
    EXPECT_EQ(broken.status, 1);
    EXPECT_TRUE(broken.err.contains(QLatin1String(
        "failed at CREATE TRIGGER chemodesk_audit AFTER INSERT OR UPDATE OR DELETE ON "
        "clinical_area.tbcancerrequest (guard/audit.sql, line")))
        << broken.err.toStdString();
    EXPECT_TRUE(broken.err.contains(QLatin1String("does not exist"))) << broken.err.toStdString();
    EXPECT_FALSE(broken.err.contains(QLatin1String("superuser"))) << broken.err.toStdString();

    // A database owner who may not make roles: its schema is built, its guard refused for that.
    const QString owned = test::unbuiltTarget("postgresql");
    {
        // From the server's own database: a connection to the new one would make its first
        // table the superuser's.
        auto server = db::HostedConnection::open(qEnvironmentVariable("CHEMODESK_TEST_PG"));
        server->executeNative(
            QStringLiteral("DO $$BEGIN CREATE ROLE chemodesk_test_plain LOGIN; "
                           "EXCEPTION WHEN duplicate_object OR unique_violation THEN NULL; END$$"));
        server->executeNative(QStringLiteral("ALTER DATABASE %1 OWNER TO chemodesk_test_plain")
                                  .arg(QUrl(owned).path().mid(1)));
    }
    QUrl plain(owned);
    plain.setUserName(QStringLiteral("chemodesk_test_plain"));
    const ProgramRun refused = admin({QStringLiteral("init"), plain.toString()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains(QLatin1String("failed at a DO block (guard/roles.sql, line")))
        << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains(QLatin1String("permission denied to create role")))
        << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains(QLatin1String("superuser"))) << refused.err.toStdString();
}

// The demo data loaded into a database guarded already writes the employees with their codes
// into the table itself, and leaves it private again in the same transaction.
TEST_F(GuardSql, DemoDataLoadedIntoAGuardedDatabaseLeavesTheCodesPrivate)
{
    const QString target = test::unbuiltTarget("postgresql");
    ASSERT_EQ(admin({QStringLiteral("init"), target}).status, 0);
    const ProgramRun demo = admin({QStringLiteral("init"), target, QStringLiteral("--demo")});
    ASSERT_EQ(demo.status, 0) << demo.err.toStdString();
    auto connection = hospital::openDatabase(target);
    Recordset place = connection->executeNative(QStringLiteral(
        "SELECT (SELECT count(*) FROM chemodesk_private.tbpasswordmaster WHERE accesscode <> ''), "
        "(SELECT relkind::text FROM pg_class WHERE oid = 'password.tbpasswordmaster'::regclass)"));
    EXPECT_GT(place.Fields(0).toLongLong(), 0);
    EXPECT_EQ(place.Fields(1).toString(), QStringLiteral("v"));
}

// guard-sql without a database prints the script; a database given must be one the script
// fits: on the server, and at this program's schema version.
TEST(GuardFiles, PrintedWholeAndRefusedForADatabaseTheyDoNotFit)
{
    const ProgramRun script = admin({QStringLiteral("guard-sql")});
    ASSERT_EQ(script.status, 0) << script.err.toStdString();
    EXPECT_TRUE(script.out.contains(hospital::serverSecurityRevision()));
    EXPECT_TRUE(script.out.contains(QLatin1String("\nBEGIN;\n")));
    EXPECT_TRUE(script.out.endsWith(QLatin1String("\nCOMMIT;\n")));
    for (const hospital::GuardFile &file : hospital::guardFiles())
        EXPECT_TRUE(script.out.contains(file.text)) << file.name.toStdString();

    test::freshDatabase("sqlite").reset();
    const ProgramRun embedded = admin({QStringLiteral("guard-sql"), test::lastTarget()});
    EXPECT_EQ(embedded.status, 1);
    EXPECT_TRUE(embedded.err.contains(QLatin1String("no server guard")))
        << embedded.err.toStdString();
    EXPECT_TRUE(embedded.out.isEmpty());

    if (!test::backendAvailable("postgresql"))
        return;
    const ProgramRun unbuilt =
        admin({QStringLiteral("guard-sql"), test::unbuiltTarget("postgresql")});
    EXPECT_EQ(unbuilt.status, 1);
    EXPECT_TRUE(unbuilt.err.contains(QLatin1String("schema version 0")))
        << unbuilt.err.toStdString();
    EXPECT_TRUE(unbuilt.out.isEmpty());
}

// The grants name the hospital's schemas one by one; a database added to the translation and
// forgotten here would be left without its owner or its grants.
TEST(GuardFiles, TheGrantsNameEveryHospitalSchema)
{
    QString grants;
    for (const hospital::GuardFile &file : hospital::guardFiles())
        if (file.name == QLatin1String("guard/grants.sql"))
            grants = file.text;
    ASSERT_FALSE(grants.isEmpty());
    // The schemas' usage, their tables, their sequences and the two default privileges.
    static const QRegularExpression list(
        QStringLiteral("(?:ON SCHEMA|IN SCHEMA) ([a-z_,\\s]+?)\\s+(?:TO|GRANT) "));
    std::vector<QStringList> lists;
    for (auto it = list.globalMatch(grants); it.hasNext();)
        lists.push_back(it.next().captured(1).split(QRegularExpression(QStringLiteral("[,\\s]+")),
                                                    Qt::SkipEmptyParts));
    ASSERT_EQ(lists.size(), 5u);
    for (const QString &database : db::Translator::databases()) {
        const QString schema = database.toLower();
        EXPECT_TRUE(grants.contains(QLatin1Char('\'') + schema + QLatin1Char('\'')))
            << "not passed to the owner: " << schema.toStdString();
        for (const QStringList &names : lists)
            EXPECT_TRUE(names.contains(schema)) << names.join(' ').toStdString();
    }
}

} // namespace
