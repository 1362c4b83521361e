// chemodesk-admin as hospital IT runs it: one text through the connection,
// rows out as tab-separated lines, the server's message and status 1 on error.

#include "hospitaldb/database.h"
#include "support/enginetest.h"
#include "testpaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace chemodesk;

namespace {

struct AdminRun {
    int status;
    QString out;
    QString err;
};

AdminRun admin(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(CHEMODESK_ADMIN), args);
    EXPECT_TRUE(p.waitForFinished(120000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

class AdminTest : public test::EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (!db)
            return;
        target = test::lastTarget();
        db.reset(); // the database to the admin program alone
    }
    QString target;
};

TEST_P(AdminTest, SqlPrintsRowsWithAHeader)
{
    const AdminRun r =
        admin({QStringLiteral("sql"), target,
               QStringLiteral("Select GetDate() As ServerDate From Patient_Data..tbHospitalInfo")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines.at(0), QStringLiteral("ServerDate"));
    EXPECT_TRUE(QDateTime::fromString(lines.at(1), QStringLiteral("yyyy-MM-dd HH:mm:ss")).isValid())
        << lines.at(1).toStdString();

    const AdminRun call =
        admin({QStringLiteral("sql"), target,
               QStringLiteral("Clinical_Area..spCancer_GetPatient 'I','','',''")});
    ASSERT_EQ(call.status, 0) << call.err.toStdString();
    EXPECT_TRUE(call.out.startsWith(
        QStringLiteral("Hospital #\tAdmission #\tPatient Name\tadmission date\tBilling Date\n")))
        << call.out.left(200).toStdString();
}

TEST_P(AdminTest, ErrorsGiveTheMessageAndStatusOne)
{
    const AdminRun untranslatable =
        admin({QStringLiteral("sql"), target,
               QStringLiteral("select soundex(LastName) from PATIENT_DATA..tbMaster")});
    EXPECT_EQ(untranslatable.status, 1);
    EXPECT_TRUE(untranslatable.err.contains(QLatin1String("soundex")))
        << untranslatable.err.toStdString();
    const AdminRun engine =
        admin({QStringLiteral("sql"), target,
               QStringLiteral("select NoSuchColumn from PATIENT_DATA..tbMaster")});
    EXPECT_EQ(engine.status, 1);
    EXPECT_TRUE(engine.err.contains(QLatin1String("nosuchcolumn"), Qt::CaseInsensitive))
        << engine.err.toStdString();
}

TEST_P(AdminTest, InitIsRepeatableAndClockCanBeFixed)
{
    const AdminRun again = admin({QStringLiteral("init"), target, QStringLiteral("--demo")});
    ASSERT_EQ(again.status, 0) << again.err.toStdString();
    EXPECT_TRUE(again.out.contains(QLatin1String("already loaded")));
    const AdminRun check = admin({QStringLiteral("check"), target});
    EXPECT_EQ(check.status, 0) << check.out.toStdString();
    const AdminRun fixed = admin({QStringLiteral("clock"), target, QStringLiteral("fixed"),
                                  QStringLiteral("2026-12-25 17:00:01")});
    ASSERT_EQ(fixed.status, 0) << fixed.err.toStdString();
    const AdminRun now =
        admin({QStringLiteral("sql"), target,
               QStringLiteral("Select getdate() as Time from patient_data..tbhospitalinfo")});
    EXPECT_TRUE(now.out.contains(QLatin1String("2026-12-25 17:00:01"))) << now.out.toStdString();
}

// The clock every workstation prices by is moved only on a demonstration
// database; the audit trail is the server's.
TEST_P(AdminTest, ClockOnlyOnDemoDatabasesAndTheAuditTrailOnlyOnTheServer)
{
    const QString own = test::unbuiltTarget(GetParam());
    ASSERT_EQ(admin({QStringLiteral("init"), own}).status, 0);
    const AdminRun refused =
        admin({QStringLiteral("clock"), own, QStringLiteral("offset"), QStringLiteral("3600")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains(QLatin1String("demo data"))) << refused.err.toStdString();

    ASSERT_EQ(admin({QStringLiteral("sql"), target,
                     QStringLiteral("Clinical_Area..sp_Cancer_SaveUserSetting "
                                    "'1003','1','0','0','0','0','0','0','0','0','0'")})
                  .status,
              0);
    const AdminRun trail = admin(
        {QStringLiteral("audit"), target, QStringLiteral("--since"), QStringLiteral("2000-01-01")});
    if (GetParam() == "sqlite") {
        EXPECT_EQ(trail.status, 1);
        EXPECT_TRUE(trail.err.contains(QLatin1String("no audit trail")));
        return;
    }
    ASSERT_EQ(trail.status, 0) << trail.err.toStdString();
    EXPECT_TRUE(trail.out.startsWith(QLatin1String("At\tEmployeeID\tWorkstation\tLogin\tAction")));
    EXPECT_TRUE(
        trail.out.contains(QLatin1String("rights saved\tclinical_area.tbcancerusersetting")))
        << trail.out.toStdString();
}

// Workstations and IT's command may all be started on a new database at
// once: each must succeed, and the schema and demo data be built only once.
TEST_P(AdminTest, InitsStartedTogetherOnANewDatabaseBuildItOnce)
{
    const QString fresh = test::unbuiltTarget(GetParam());
    std::vector<std::unique_ptr<QProcess>> runs;
    for (int i = 0; i < 4; ++i) {
        runs.push_back(std::make_unique<QProcess>());
        runs.back()->start(QStringLiteral(CHEMODESK_ADMIN),
                           {QStringLiteral("init"), fresh, QStringLiteral("--demo")});
    }
    int built = 0;
    for (auto &p : runs) {
        ASSERT_TRUE(p->waitForFinished(120000));
        const QString out = QString::fromUtf8(p->readAllStandardOutput());
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
        built += out.contains(QLatin1String("Loading the demo data")) ? 1 : 0;
    }
    EXPECT_EQ(built, 1);
    const QString count = QStringLiteral("select count(*) as N from PATIENT_DATA..tbMaster");
    EXPECT_EQ(admin({QStringLiteral("sql"), fresh, count}).out,
              admin({QStringLiteral("sql"), target, count}).out);
    EXPECT_EQ(admin({QStringLiteral("check"), fresh}).status, 0);
}

// The demo's users and patients must never be mixed into a hospital's own.
TEST_P(AdminTest, InitDemoRefusesADatabaseThatHoldsPatients)
{
    const QString fresh = test::unbuiltTarget(GetParam());
    ASSERT_EQ(admin({QStringLiteral("init"), fresh}).status, 0);
    const AdminRun patient =
        admin({QStringLiteral("sql"), fresh,
               QStringLiteral("insert into PATIENT_DATA..tbMaster (HospNum, LastName) values "
                              "('5000001', 'REYES')")});
    ASSERT_EQ(patient.status, 0) << patient.err.toStdString();
    const AdminRun demo = admin({QStringLiteral("init"), fresh, QStringLiteral("--demo")});
    EXPECT_EQ(demo.status, 1);
    EXPECT_TRUE(demo.err.contains(QLatin1String("already holds patients")))
        << demo.err.toStdString();
    const QString users = QStringLiteral("select count(*) as N from PASSWORD..tbPasswordMaster");
    EXPECT_EQ(admin({QStringLiteral("sql"), fresh, users}).out, QStringLiteral("N\n0\n"));
}

// A search on a newly loaded database must find its indexes from the first
// query: the engine's statistics are gathered once the data is in.
TEST_P(AdminTest, InitGathersStatisticsOnTheDataItLoads)
{
    auto statistics = [&](db::HostedConnection &c) {
        if (onServer())
            return c
                .executeNative(QStringLiteral("SELECT count(*) AS n FROM pg_stats WHERE "
                                              "schemaname = 'patient_data' AND tablename = "
                                              "'tbmaster'"))
                .Fields(0)
                .toLongLong();
        if (c.executeNative(QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = "
                                           "'sqlite_stat1'"))
                .atEnd())
            return 0LL;
        return c
            .executeNative(QStringLiteral("SELECT count(*) AS n FROM sqlite_stat1 WHERE tbl = "
                                          "'patient_data__tbmaster'"))
            .Fields(0)
            .toLongLong();
    };
    for (const QStringList &load :
         {QStringList{QStringLiteral("--demo")},
          QStringList{QStringLiteral("--registrations"), QStringLiteral("300")}}) {
        const QString fresh = test::unbuiltTarget(GetParam());
        const AdminRun init = admin(QStringList{QStringLiteral("init"), fresh} + load);
        ASSERT_EQ(init.status, 0) << init.err.toStdString();
        EXPECT_GT(statistics(*hospital::openDatabase(fresh)), 0) << load.join(' ').toStdString();
    }
}

CHEMODESK_ENGINE_TESTS(AdminTest);

// A mistyped path: an error naming it, and no empty file left behind.
TEST(AdminFiles, CheckAndSqlNeverCreateAFile)
{
    QTemporaryDir dir;
    const QString typo = dir.filePath(QStringLiteral("chemodsk.db"));
    for (const QStringList &args :
         {QStringList{QStringLiteral("check"), typo},
          QStringList{QStringLiteral("sql"), typo, QStringLiteral("select 1 as One")},
          QStringList{QStringLiteral("clock"), typo, QStringLiteral("real")}}) {
        const AdminRun run = admin(args);
        EXPECT_EQ(run.status, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(QLatin1String("does not exist")) &&
                    run.err.contains(QDir::toNativeSeparators(typo)))
            << run.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(typo)) << args.join(' ').toStdString();
    }
}

// Another program's SQLite file given by mistake: a command refused for its arguments, and a
// command that only reads, leave the file exactly as it was (no journal mode switched, no table
// of ours added); a bad date is named.
TEST(AdminFiles, RefusedOrReadingCommandsLeaveAnotherProgramsFileAlone)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("accounts.sqlite"));
    {
        QProcess sqlite;
        sqlite.start(QStringLiteral("sqlite3"),
                     {path, QStringLiteral("PRAGMA journal_mode=DELETE; CREATE TABLE ledger(id "
                                           "integer primary key, amount real); INSERT INTO "
                                           "ledger(amount) VALUES (12.5);")});
        ASSERT_TRUE(sqlite.waitForFinished(30000));
        ASSERT_EQ(sqlite.exitCode(), 0) << sqlite.readAllStandardError().toStdString();
    }
    const auto contents = [&path] {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    };
    const QByteArray before = contents();
    const QString t = path;
    const struct {
        QStringList args;
        int status;
        const char *said;
    } cases[] = {
        {{QStringLiteral("frobnicate"), t}, 2, "Usage:"},
        {{QStringLiteral("init"), t, QStringLiteral("--demo"), QStringLiteral("--bogus")},
         2,
         "Usage:"},
        {{QStringLiteral("init"), t, QStringLiteral("--registrations"), QStringLiteral("-3")},
         2,
         "Usage:"},
        {{QStringLiteral("check"), t, QStringLiteral("extra")}, 2, "Usage:"},
        {{QStringLiteral("sql"), t}, 2, "Usage:"},
        {{QStringLiteral("audit"), t, QStringLiteral("--since"), QStringLiteral("yesterday")},
         2,
         "Not a date (yyyy-MM-dd[ HH:mm:ss]): \"yesterday\""},
        {{QStringLiteral("audit"), t, QStringLiteral("--until")}, 2, "Usage:"},
        {{QStringLiteral("clock"), t, QStringLiteral("fixed"), QStringLiteral("noon")},
         2,
         "Not a moment (yyyy-MM-dd HH:mm:ss): \"noon\""},
        {{QStringLiteral("clock"), t, QStringLiteral("offset"), QStringLiteral("1h")},
         2,
         "Not a number of seconds: \"1h\""},
        {{QStringLiteral("clock"), t, QStringLiteral("sideways")}, 2, "Usage:"},
        {{QStringLiteral("report"), t, QStringLiteral("X.rpt")}, 2, "Usage:"},
        {{QStringLiteral("report"), t, QStringLiteral("X.rpt"), QStringLiteral("--odt"),
          QStringLiteral("x.odt")},
         2,
         "Usage:"},
        // Commands that only read: they may fail on a file that is not ours, but change nothing.
        {{QStringLiteral("guard-sql"), t}, 1, "no server guard"},
        {{QStringLiteral("check"), t}, 1, ""},
        {{QStringLiteral("audit"), t}, 1, ""},
        {{QStringLiteral("report"), t, QStringLiteral(CHEMODESK_REPORTS_SOURCE "/CensusReport.rpt"),
          QStringLiteral("--text")},
         1,
         ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const AdminRun run = admin(c.args);
        EXPECT_EQ(run.status, c.status) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QLatin1String(c.said))) << run.err.toStdString();
        EXPECT_EQ(contents(), before);
        EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral("-wal")));
    }
}

// Check runs the engine's own integrity check and tells a damaged file as
// such, in the engine's words, instead of as tables gone missing.
TEST(AdminFiles, CheckSaysDamagedWithTheEnginesWords)
{
    QTemporaryDir dir;
    test::freshDatabase("sqlite").reset();
    const QString path = dir.filePath(QStringLiteral("hospital.db"));
    ASSERT_TRUE(QFile::copy(test::lastTarget(), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    const AdminRun sound = admin({QStringLiteral("check"), path});
    EXPECT_EQ(sound.status, 0);
    EXPECT_TRUE(sound.out.contains(QLatin1String("Integrity: ok"))) << sound.out.toStdString();
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.seek(8 * 4096);
        file.write(QByteArray(48 * 4096, '\x5a'));
    }
    const AdminRun damaged = admin({QStringLiteral("check"), path});
    EXPECT_EQ(damaged.status, 1);
    EXPECT_TRUE(damaged.out.contains(QLatin1String("damaged"))) << damaged.out.toStdString();
    EXPECT_FALSE(damaged.out.contains(QLatin1String("MISSING"))) << damaged.out.toStdString();
    // The engine's words: a page, a tree or a malformed image.
    EXPECT_TRUE(
        damaged.out.contains(QRegularExpression(QStringLiteral("page|Tree|malformed|database"))))
        << damaged.out.toStdString();
}

} // namespace
