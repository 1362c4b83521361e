// chemodesk-admin as hospital IT runs it: one text through the connection,
// rows out as tab-separated lines, the server's message and status 1 on error.

#include "support/enginetest.h"
#include "testpaths.h"

#include <QProcess>

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

CHEMODESK_ENGINE_TESTS(AdminTest);

} // namespace
