#include "testdatabase.h"
#include "testpaths.h"

#include "hospitaldb/database.h"
#include "hospitaldb/hospitaldb.h"
#include "hospitaldb/security.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QUrl>
#include <QUuid>

#include <gtest/gtest.h>

namespace chemodesk::test {

namespace {

QString lastTargetValue;

QString tempDir()
{
    const QString dir = QStringLiteral(CHEMODESK_TEST_TMP);
    QDir().mkpath(dir);
    return dir;
}

QString serverUrl()
{
    return qEnvironmentVariable("CHEMODESK_TEST_PG");
}

QString sqliteTemplate(bool demo)
{
    // Named by schema version, so a changed schema never reuses an old template.
    const QString path =
        tempDir() + QStringLiteral("/template-%1-v%2.db")
                        .arg(demo ? QStringLiteral("demo") : QStringLiteral("empty"))
                        .arg(hospital::schemaVersion());
    QLockFile lock(path + QStringLiteral(".lock"));
    lock.setStaleLockTime(0);
    lock.lock();
    if (!QFile::exists(path)) {
        const QString building = path + QStringLiteral(".building");
        QFile::remove(building);
        {
            auto connection = hospital::openDatabase(building);
            hospital::InitOptions options;
            options.demo = demo;
            hospital::initDatabase(*connection, options);
            connection->executeNative(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
            connection->executeNative(QStringLiteral("PRAGMA journal_mode = DELETE"));
        }
        QFile::rename(building, path);
    }
    return path;
}

QString postgresTemplate(bool demo)
{
    const QString name = QStringLiteral("chemodesk_test_%1_v%2_s%3")
                             .arg(demo ? QStringLiteral("demo") : QStringLiteral("empty"))
                             .arg(hospital::schemaVersion())
                             .arg(hospital::serverSecurityRevision());
    auto admin = db::HostedConnection::open(serverUrl());
    admin->executeNative(QStringLiteral("SELECT pg_advisory_lock(7301)"));
    try {
        Recordset exists = admin->executeNative(
            QStringLiteral("SELECT 1 FROM pg_database WHERE datname = '%1'").arg(name));
        if (exists.atEnd()) {
            admin->executeNative(QStringLiteral("CREATE DATABASE %1_building").arg(name));
            {
                auto connection =
                    hospital::openDatabase(postgresUrl(name + QStringLiteral("_building")));
                hospital::InitOptions options;
                options.demo = demo;
                hospital::initDatabase(*connection, options);
            }
            admin->executeNative(
                QStringLiteral("ALTER DATABASE %1_building RENAME TO %1").arg(name));
        }
    } catch (...) {
        admin->executeNative(QStringLiteral("SELECT pg_advisory_unlock(7301)"));
        throw;
    }
    admin->executeNative(QStringLiteral("SELECT pg_advisory_unlock(7301)"));
    return name;
}

} // namespace

std::vector<std::string> backends()
{
    return {"sqlite", "postgresql"};
}

bool backendAvailable(const std::string &backend)
{
    if (backend != "postgresql" || !serverUrl().isEmpty())
        return true;
    if (!qEnvironmentVariableIsEmpty("CHEMODESK_REQUIRE_PG"))
        ADD_FAILURE() << "CHEMODESK_TEST_PG is not set but CHEMODESK_REQUIRE_PG is";
    return false;
}

QString postgresUrl(const QString &database)
{
    QUrl url(serverUrl());
    url.setPath(QLatin1Char('/') + database);
    return url.toString();
}

std::unique_ptr<db::HostedConnection> freshDatabase(const std::string &backend, bool demo)
{
    const QString id = QUuid::createUuid().toString(QUuid::Id128).left(16);
    if (backend == "sqlite") {
        const QString path = tempDir() + QStringLiteral("/test-%1.db").arg(id);
        QFile::copy(sqliteTemplate(demo), path);
        QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        lastTargetValue = path;
        return hospital::openDatabase(path);
    }
    const QString templ = postgresTemplate(demo);
    const QString name = QStringLiteral("chemodesk_t_%1").arg(id);
    auto admin = db::HostedConnection::open(serverUrl());
    admin->executeNative(QStringLiteral("CREATE DATABASE %1 TEMPLATE %2").arg(name, templ));
    lastTargetValue = postgresUrl(name);
    return hospital::openDatabase(lastTargetValue);
}

QString lastTarget()
{
    return lastTargetValue;
}

QString unbuiltTarget(const std::string &backend)
{
    const QString id = QUuid::createUuid().toString(QUuid::Id128).left(16);
    if (backend == "sqlite")
        return tempDir() + QStringLiteral("/unbuilt-%1.db").arg(id);
    const QString name = QStringLiteral("chemodesk_u_%1").arg(id);
    db::HostedConnection::open(serverUrl())
        ->executeNative(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0").arg(name));
    return postgresUrl(name);
}

} // namespace chemodesk::test
