// A connection that verifies the server's certificate: refused, with a
// message saying why, when the certificate names another host; made when it
// names the host connected to and comes from the trusted root. The test
// server is given certificates made here and switched to TLS for the while.

#include "support/testdatabase.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>
#include <QUrlQuery>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace chemodesk;

namespace {

bool run(const QString &directory, const QStringList &arguments)
{
    QProcess openssl;
    openssl.setWorkingDirectory(directory);
    openssl.start(QStringLiteral("openssl"), arguments);
    return openssl.waitForFinished(30000) && openssl.exitCode() == 0;
}

class VerifiedConnection : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::backendAvailable("postgresql"))
            GTEST_SKIP() << "no PostgreSQL server for the tests";
        if (QStandardPaths::findExecutable(QStringLiteral("openssl")).isEmpty())
            GTEST_SKIP() << "no openssl to make certificates with";
        admin = db::HostedConnection::open(qEnvironmentVariable("CHEMODESK_TEST_PG"));
        // The server reads its key as the owner of its data directory; a server elsewhere
        // cannot be given one from here.
        struct stat data {};
        const QByteArray dataDirectory = admin->executeNative(QStringLiteral("SHOW data_directory"))
                                             .Fields(0)
                                             .toString()
                                             .toLocal8Bit();
        if (QUrl(qEnvironmentVariable("CHEMODESK_TEST_PG")).host() != QLatin1String("127.0.0.1") ||
            ::stat(dataDirectory.constData(), &data) != 0)
            GTEST_SKIP() << "the test server is not on this machine";
        serverUid = data.st_uid;
        serverGid = data.st_gid;
        ASSERT_TRUE(dir.isValid());
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
        const QString d = dir.path();
        ASSERT_TRUE(
            run(d, {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                    QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                    QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                    QStringLiteral("-keyout"), QStringLiteral("ca.key"), QStringLiteral("-out"),
                    QStringLiteral("ca.crt"), QStringLiteral("-days"), QStringLiteral("2"),
                    QStringLiteral("-subj"), QStringLiteral("/CN=Hospital Test Root")}));
    }

    void TearDown() override
    {
        if (!switched)
            return;
        admin->executeNative(QStringLiteral("ALTER SYSTEM RESET ssl"));
        admin->executeNative(QStringLiteral("ALTER SYSTEM RESET ssl_cert_file"));
        admin->executeNative(QStringLiteral("ALTER SYSTEM RESET ssl_key_file"));
        admin->executeNative(QStringLiteral("SELECT pg_reload_conf()"));
    }

    // A server certificate from the test root naming `subjectAltName` ("DNS:..." or "IP:..."),
    // put in use.
    void serve(const QString &name, const QString &subjectAltName)
    {
        const QString d = dir.path();
        QFile ext(dir.filePath(name + QStringLiteral(".ext")));
        ASSERT_TRUE(ext.open(QIODevice::WriteOnly));
        ext.write("subjectAltName=" + subjectAltName.toLatin1() + "\n");
        ext.close();
        ASSERT_TRUE(run(
            d, {QStringLiteral("req"), QStringLiteral("-newkey"), QStringLiteral("ec"),
                QStringLiteral("-pkeyopt"), QStringLiteral("ec_paramgen_curve:prime256v1"),
                QStringLiteral("-nodes"), QStringLiteral("-keyout"), name + QStringLiteral(".key"),
                QStringLiteral("-out"), name + QStringLiteral(".csr"), QStringLiteral("-subj"),
                QStringLiteral("/CN=") + name}));
        ASSERT_TRUE(
            run(d, {QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"),
                    name + QStringLiteral(".csr"), QStringLiteral("-CA"), QStringLiteral("ca.crt"),
                    QStringLiteral("-CAkey"), QStringLiteral("ca.key"),
                    QStringLiteral("-CAcreateserial"), QStringLiteral("-out"),
                    name + QStringLiteral(".crt"), QStringLiteral("-days"), QStringLiteral("2"),
                    QStringLiteral("-extfile"), name + QStringLiteral(".ext")}));
        const QByteArray key = QFile::encodeName(dir.filePath(name + QStringLiteral(".key")));
        ASSERT_EQ(::chown(key.constData(), serverUid, serverGid), 0);
        ASSERT_EQ(::chmod(key.constData(), 0600), 0);
        ::chmod(QFile::encodeName(dir.filePath(name + QStringLiteral(".crt"))).constData(), 0644);
        admin->executeNative(QStringLiteral("ALTER SYSTEM SET ssl_cert_file = '%1'")
                                 .arg(dir.filePath(name + QStringLiteral(".crt"))));
        admin->executeNative(QStringLiteral("ALTER SYSTEM SET ssl_key_file = '%1'")
                                 .arg(dir.filePath(name + QStringLiteral(".key"))));
        admin->executeNative(QStringLiteral("ALTER SYSTEM SET ssl = on"));
        admin->executeNative(QStringLiteral("SELECT pg_reload_conf()"));
        switched = true;
        // The server takes the new files up a moment after the reload.
        QElapsedTimer waited;
        waited.start();
        while (!waited.hasExpired(5000)) {
            try {
                auto c = db::HostedConnection::open(url(QStringLiteral("require")));
                if (c->executeNative(
                         QStringLiteral("SELECT ssl FROM pg_stat_ssl WHERE pid = pg_backend_pid()"))
                        .Fields(0)
                        .toBool() &&
                    servedName(*c) == name)
                    return;
            } catch (const DatabaseError &) {
            }
            QThread::msleep(100);
        }
        FAIL() << "the server did not take up its certificate";
    }

    static QString servedName(db::HostedConnection &c)
    {
        return c.executeNative(QStringLiteral("SELECT current_setting('ssl_cert_file')"))
            .Fields(0)
            .toString()
            .section(QLatin1Char('/'), -1)
            .section(QLatin1Char('.'), 0, 0);
    }

    QString url(const QString &sslmode) const
    {
        QUrl u(qEnvironmentVariable("CHEMODESK_TEST_PG"));
        QUrlQuery query;
        query.addQueryItem(QStringLiteral("sslmode"), sslmode);
        if (sslmode.startsWith(QLatin1String("verify")))
            query.addQueryItem(QStringLiteral("sslrootcert"),
                               dir.filePath(QStringLiteral("ca.crt")));
        u.setQuery(query);
        return u.toString();
    }

    std::unique_ptr<db::HostedConnection> admin;
    QTemporaryDir dir;
    uid_t serverUid = 0;
    gid_t serverGid = 0;
    bool switched = false;
};

TEST_F(VerifiedConnection, ACertificateNamingAnotherHostIsRefusedAndTheRightOneConnects)
{
    serve(QStringLiteral("elsewhere"), QStringLiteral("DNS:db.elsewhere.test"));
    try {
        db::HostedConnection::open(url(QStringLiteral("verify-full")));
        ADD_FAILURE() << "connected to a server whose certificate names another host";
    } catch (const DatabaseError &e) {
        EXPECT_TRUE(e.message().contains(
            QLatin1String("The database server's certificate names another host")))
            << e.message().toStdString();
    }
    // Without verification the same server is reached: the URL's sslmode is what decided.
    EXPECT_NO_THROW(db::HostedConnection::open(url(QStringLiteral("require"))));

    serve(QStringLiteral("loopback"), QStringLiteral("IP:127.0.0.1"));
    auto verified = db::HostedConnection::open(url(QStringLiteral("verify-full")));
    EXPECT_TRUE(verified
                    ->executeNative(
                        QStringLiteral("SELECT ssl FROM pg_stat_ssl WHERE pid = pg_backend_pid()"))
                    .Fields(0)
                    .toBool());
}

TEST_F(VerifiedConnection, AnUnknownConnectionOptionIsRefusedByName)
{
    QUrl u(qEnvironmentVariable("CHEMODESK_TEST_PG"));
    u.setQuery(QStringLiteral("sslmode=verify-full;host=elsewhere"));
    EXPECT_THROW(db::HostedConnection::open(u.toString()), DatabaseError);
    u.setQuery(QStringLiteral("Bad-Name=1"));
    EXPECT_THROW(db::HostedConnection::open(u.toString()), DatabaseError);
}

} // namespace
