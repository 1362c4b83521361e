// The demo data is loaded part by part, each part drawing from a generator of
// its own: a row more in one part moves no row of another. And the schema
// steps bring a database from before them up to today's in place.

#include "database/translator.h"
#include "hospitaldb/database.h"
#include "hospitaldb/demodata.h"
#include "hospitaldb/hospitaldb.h"
#include "hospitaldb/security.h"
#include "support/recordingconnection.h"
#include "support/testdatabase.h"

#include <gtest/gtest.h>

#include <map>

using namespace chemodesk;

namespace {

// The texts each part sent, by part.
std::map<QString, QStringList> sentByPart(const QStringList &extraRowIn)
{
    chemodesk::testing::RecordingConnection connection;
    std::map<QString, QStringList> sent;
    QString current;
    qsizetype from = 0;
    auto close = [&] {
        if (!current.isEmpty())
            sent[current] = connection.texts().mid(from);
        from = connection.texts().size();
    };
    hospital::demo::DemoOptions options;
    options.extraRowIn = extraRowIn;
    options.starting = [&](const QString &part) {
        close();
        current = part;
    };
    hospital::demo::load(connection, options);
    close();
    return sent;
}

TEST(DemoParts, ARowMoreInOnePartMovesNoOtherPart)
{
    const QStringList parts = hospital::demo::partNames();
    const auto plain = sentByPart({});
    ASSERT_EQ(plain.size(), size_t(parts.size()));
    for (const QString &part : parts) {
        SCOPED_TRACE(part.toStdString());
        auto extra = sentByPart({part});
        // The part itself sends what it always did, and one text more.
        ASSERT_EQ(extra[part].size(), plain.at(part).size() + 1);
        EXPECT_EQ(extra[part].mid(0, plain.at(part).size()), plain.at(part));
        for (const QString &other : parts) {
            if (other != part) {
                EXPECT_EQ(extra[other], plain.at(other))
                    << "part " << other.toStdString() << " moved";
            }
        }
    }
}

class DemoOnEngines : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        if (!test::backendAvailable(GetParam()))
            GTEST_SKIP() << "no PostgreSQL server for the tests";
    }
};

// The extra rows are real rows: every part's loads into an empty schema.
TEST_P(DemoOnEngines, EveryPartsExtraRowLoads)
{
    auto connection = test::freshDatabase(GetParam(), false);
    hospital::demo::DemoOptions options;
    options.extraRowIn = hospital::demo::partNames();
    // The shared server keeps the access codes out of the workstation's sight; the loader writes
    // them where the program's own upgrade puts them while it runs.
    hospital::revealPasswordTable(*connection);
    ASSERT_NO_THROW(hospital::demo::load(*connection, options));
    hospital::secureServer(*connection);
    EXPECT_EQ(connection->Execute(QStringLiteral("select count(*) from PATIENT_DATA..tbMaster"))
                  .Fields(0)
                  .toLongLong(),
              201);
}

// A database from before the steps (version 1, without tbPatient.DischargeNotice) gets the
// column in place, its rows kept; once only.
TEST_P(DemoOnEngines, ADatabaseAtTheVersionBeforeGetsTheNewStepsOnce)
{
    auto connection = test::freshDatabase(GetParam());
    const bool lite = connection->dialect() == db::Dialect::SQLite;
    const QString meta =
        lite ? QStringLiteral("chemodesk_meta") : QStringLiteral("public.chemodesk_meta");
    connection->executeNative(
        QStringLiteral("ALTER TABLE %1 DROP COLUMN DischargeNotice")
            .arg(db::Translator(connection->dialect())
                     .tableName(QStringLiteral("PATIENT_DATA"), QStringLiteral("tbPatient"))));
    connection->executeNative(
        QStringLiteral("UPDATE %1 SET value = '1' WHERE name = 'schema_version'").arg(meta));
    const qlonglong admissions =
        connection->Execute(QStringLiteral("select count(*) from PATIENT_DATA..tbPatient"))
            .Fields(0)
            .toLongLong();

    QStringList said;
    hospital::InitOptions options;
    options.progress = [&](const QString &text) { said << text; };
    hospital::initDatabase(*connection, options);
    hospital::initDatabase(*connection, options);
    // The shared server's guards are set up again after every init.
    const QStringList secured =
        lite ? QStringList()
             : QStringList{QStringLiteral("Setting up the roles, rights and audit trail")};
    EXPECT_EQ(said, QStringList{QStringLiteral("Upgrading the schema from version 1 to %1")
                                    .arg(hospital::schemaVersion())}
                        << secured
                        << QStringLiteral("The schema is up to date (version %1)")
                               .arg(hospital::schemaVersion())
                        << secured);
    EXPECT_EQ(db::storedSchemaVersion(*connection), hospital::schemaVersion());
    Recordset rs = connection->Execute(
        QStringLiteral("select count(*), sum(DischargeNotice) from PATIENT_DATA..tbPatient"));
    EXPECT_EQ(rs.Fields(0).toLongLong(), admissions);
    EXPECT_EQ(rs.Fields(1).toLongLong(), 0); // the default, for rows that were there before
}

// A database of version 2 kept PostgreSQL's case-sensitive texts (and SQLite's indexes in the
// order of its ASCII-only NOCASE): the upgrade makes its texts compare without regard to case.
TEST_P(DemoOnEngines, AnUpgradedDatabaseComparesTextsWithoutRegardToCase)
{
    auto connection = test::freshDatabase(GetParam());
    const bool lite = connection->dialect() == db::Dialect::SQLite;
    const QString meta =
        lite ? QStringLiteral("chemodesk_meta") : QStringLiteral("public.chemodesk_meta");
    if (!lite)
        connection->executeNative(QStringLiteral("ALTER TABLE patient_data.tbmaster ALTER COLUMN "
                                                 "lastname TYPE varchar(40), ALTER COLUMN town "
                                                 "TYPE text"));
    connection->executeNative(
        QStringLiteral("UPDATE %1 SET value = '2' WHERE name = 'schema_version'").arg(meta));
    auto count = [&](const QString &where) {
        return connection
            ->Execute(QStringLiteral("select count(*) from PATIENT_DATA..tbMaster where ") + where)
            .Fields(0)
            .toLongLong();
    };
    const QString name =
        connection->Execute(QStringLiteral("select min(LastName) from PATIENT_DATA..tbMaster"))
            .Fields(0)
            .toString();
    const qlonglong exact = count(QStringLiteral("LastName = '%1'").arg(name));
    hospital::initDatabase(*connection, {});
    EXPECT_EQ(db::storedSchemaVersion(*connection), hospital::schemaVersion());
    EXPECT_EQ(count(QStringLiteral("LastName = '%1'").arg(name.toLower())), exact);
    EXPECT_EQ(count(QStringLiteral("LastName like '%1%'").arg(name.toLower())),
              count(QStringLiteral("LastName like '%1%'").arg(name)));
}

INSTANTIATE_TEST_SUITE_P(Engines, DemoOnEngines, ::testing::ValuesIn(test::backends()),
                         [](const auto &info) { return info.param; });

} // namespace
