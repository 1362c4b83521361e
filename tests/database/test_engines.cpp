// What each engine underneath the connection must keep right: values bound to
// SQLite statements across a failed run, fixed texts told apart by their type
// rather than by how their characters are stored, and the server session's
// settings with the connection made straight through libpq.

#include "database/procedurehost.h"
#include "support/enginetest.h"

#include <QUrl>
#include <QUrlQuery>

#include <gtest/gtest.h>

#include <limits>

using namespace chemodesk;

namespace {

class Engines : public test::EngineTest {};

// Another workstation holds the file's write lock: the save fails at once (no
// waiting), and the same save tried again once the lock is gone stores exactly
// the values given, texts of every length and kind among them.
TEST(SqliteEngine, ASaveRetriedAfterTheFileWasBusyStoresTheValuesGiven)
{
    auto workstation = test::freshDatabase("sqlite");
    auto other = db::HostedConnection::open(test::lastTarget());
    const QString insert = QStringLiteral(
        "INSERT INTO CLINICAL_AREA..tbCancerRequest (RequestNum, HospNum, IdNum, ItemID, Amount, "
        "RequestDate, RequestType, UserID, Remarks, Reference) "
        "VALUES (?, ?, ?, 'ITEM', ?, '2026-12-01 08:00:00', 'PH', 'U1', ?, ?)");
    const QString longText = QString(700, QChar(u'\u00d1')) + QStringLiteral("END");
    const db::Value values[] = {4001,      QStringLiteral("H\u00d1"),
                                QString(), db::Value::number(QStringLiteral("12.75")),
                                longText,  db::Value()};
    workstation->setCommandTimeout(0);

    other->BeginTrans();
    other->Execute(QStringLiteral("UPDATE PATIENT_DATA..tbMaster SET MiddleName = MiddleName"));
    EXPECT_THROW(workstation->executeBound(insert, values, std::size(values)), DatabaseError);
    // Other statements, other values, while the save waits to be tried again.
    const QString read = QStringLiteral("SELECT ? AS A, ? AS B");
    const db::Value others[] = {QStringLiteral("ZZZZZZZZZZZZZZZZ"),
                                QString(2000, QLatin1Char('y'))};
    EXPECT_EQ(workstation->executeBound(read, others, 2).Fields(1).toString().size(), 2000);
    other->CommitTrans();

    workstation->executeBound(insert, values, std::size(values));
    Recordset rs =
        other->Execute(QStringLiteral("SELECT HospNum, IdNum, Amount, Remarks, Reference FROM "
                                      "CLINICAL_AREA..tbCancerRequest WHERE RequestNum = 4001"));
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Fields(0).toString(), QStringLiteral("H\u00d1"));
    EXPECT_FALSE(rs.Fields(1).IsNull()) << "an empty text was stored as NULL";
    EXPECT_EQ(rs.Fields(1).toString(), QString());
    EXPECT_DOUBLE_EQ(rs.Fields(2).toDouble(), 12.75);
    EXPECT_EQ(rs.Fields(3).toString(), longText);
    EXPECT_TRUE(rs.Fields(4).IsNull());
}

// A fixed text held as a literal is kept by its address: each call still reads
// its own values, of whichever kinds, as the same text given as a QString does.
TEST_P(Engines, AFixedTextReadsAsTheSameTextGivenWhole)
{
    constexpr db::FixedText fixed(u"SELECT ? AS V, LastName FROM PATIENT_DATA..tbMaster "
                                  u"WHERE HospNum = ?");
    const QString whole = fixed.text();
    const QString hospNum =
        db->Execute(QStringLiteral("select top 1 HospNum from PATIENT_DATA..tbMaster"))
            .Fields(0)
            .toString();
    const std::vector<std::vector<db::Value>> cases = {
        {7, hospNum},
        {QStringLiteral("007"), hospNum},
        {db::Value(), hospNum},
        {QStringLiteral("it's"), QStringLiteral("nobody")},
        {-3, hospNum}};
    for (int round = 0; round < 2; ++round) {
        for (const std::vector<db::Value> &c : cases) {
            Recordset a = db->executeBound(fixed, c.data(), c.size());
            Recordset b = db->executeBound(whole, c.data(), c.size());
            ASSERT_EQ(a.RecordCount(), b.RecordCount());
            if (a.atEnd())
                continue;
            EXPECT_EQ(a.Fields(0).Value(), b.Fields(0).Value());
            EXPECT_EQ(a.Fields(0).IsNull(), c.front().isNull());
            EXPECT_EQ(a.Fields(1).toString(), b.Fields(1).toString());
        }
    }
    const db::Value one[] = {1};
    EXPECT_THROW(db->executeBound(fixed, one, 1), DatabaseError);
}

// Whole numbers either side of a 32-bit integer's range come back as bound, the second time too
// (when the server has the statement prepared with a type for each value).
TEST_P(Engines, WholeNumbersBeyondThirtyTwoBitsAreBoundWhole)
{
    const QString text = QStringLiteral("SELECT ? AS V");
    for (const qlonglong number :
         {qlonglong(std::numeric_limits<qint32>::min()) - 1,
          qlonglong(std::numeric_limits<qint32>::min()),
          qlonglong(std::numeric_limits<qint32>::max()),
          qlonglong(std::numeric_limits<qint32>::max()) + 1, -9000000000000000000LL}) {
        SCOPED_TRACE(number);
        const db::Value value[] = {number};
        for (int round = 0; round < 3; ++round)
            EXPECT_EQ(db->executeBound(text, value, 1).Fields(0).toLongLong(), number);
    }
}

// A text whose characters the QString does not own (read straight from a
// buffer) is no literal: after the buffer changes, the new text is what runs.
TEST_P(Engines, ATextOverABufferIsReadByWhatItHolds)
{
    char16_t buffer[] = u"SELECT ? AS First";
    const db::Value value[] = {QStringLiteral("x")};
    const QString before = QString::fromRawData(reinterpret_cast<const QChar *>(buffer),
                                                static_cast<qsizetype>(std::size(buffer) - 1));
    EXPECT_EQ(db->executeBound(before, value, 1).Fields(0).Name(), QStringLiteral("First"));
    std::copy_n(u"Other", 5, buffer + 12);
    const QString after = QString::fromRawData(reinterpret_cast<const QChar *>(buffer),
                                               static_cast<qsizetype>(std::size(buffer) - 1));
    EXPECT_EQ(db->executeBound(after, value, 1).Fields(0).Name(), QStringLiteral("Other"));
}

// A procedure's fixed texts reach the connection as such.
TEST_P(Engines, AProcedureBindsItsFixedTexts)
{
    db::ProcedureRegistry::instance().add(
        QStringLiteral("CLINICAL_AREA"), QStringLiteral("spTest_Fixed"),
        [](db::ProcedureContext &c, const QStringList &args) -> Recordset {
            c.exec(db::FixedText(u"UPDATE PATIENT_DATA..tbMaster SET MiddleName = ? "
                                 u"WHERE HospNum = ?"),
                   {db::Value::orNull(args.at(1)), args.at(0)});
            return c.query(db::FixedText(u"SELECT MiddleName FROM PATIENT_DATA..tbMaster "
                                         u"WHERE HospNum = ?"),
                           {args.at(0)});
        });
    const QString hospNum =
        db->Execute(QStringLiteral("select top 1 HospNum from PATIENT_DATA..tbMaster"))
            .Fields(0)
            .toString();
    for (const QString &middle : {QStringLiteral("D'ANGELO"), QString(), QStringLiteral("X")}) {
        Recordset rs = db->Execute(
            QStringLiteral("Clinical_Area..spTest_Fixed '%1', '%2'")
                .arg(hospNum, QString(middle).replace(QLatin1Char('\''), QLatin1String("''"))));
        EXPECT_EQ(rs.Fields(0).IsNull(), middle.isEmpty());
        EXPECT_EQ(rs.Fields(0).toString(), middle);
    }
}

CHEMODESK_ENGINE_TESTS(Engines);

// The server session made straight through libpq has the settings the rows are
// read by, the workstation's keepalives, and the URL's own options, quoted.
TEST(ServerEngine, TheSessionHasItsSettingsAndTheUrlsOptions)
{
    if (!test::backendAvailable("postgresql"))
        GTEST_SKIP() << "no PostgreSQL server for the tests";
    QUrl url(qEnvironmentVariable("CHEMODESK_TEST_PG"));
    QUrlQuery query(url);
    query.addQueryItem(QStringLiteral("application_name"), QStringLiteral("desk 'one' \\ two"));
    url.setQuery(query);
    auto server = db::HostedConnection::open(url.toString(), db::ProcedureRegistry::instance(),
                                             {.readOnly = true});
    auto setting = [&](const char *name) {
        return server->executeNative(QStringLiteral("SHOW ") + QLatin1String(name))
            .Fields(0)
            .toString();
    };
    EXPECT_EQ(setting("application_name"), QStringLiteral("desk 'one' \\ two"));
    EXPECT_TRUE(setting("DateStyle").startsWith(QLatin1String("ISO")));
    EXPECT_EQ(
        server->executeNative(QStringLiteral("SELECT pg_client_encoding()")).Fields(0).toString(),
        QStringLiteral("UTF8"));
    EXPECT_EQ(setting("default_transaction_read_only"), QStringLiteral("on"));
    EXPECT_EQ(setting("idle_in_transaction_session_timeout"), QStringLiteral("5s"));
    EXPECT_EQ(setting("statement_timeout"), QStringLiteral("30s"));
    EXPECT_EQ(server->State(), 1);
    EXPECT_TRUE(server->ConnectionString().contains(QLatin1String("Provider=PostgreSQL")));
    // The same session's non-ASCII text arrives whole.
    EXPECT_EQ(server->executeNative(QStringLiteral("SELECT 'PE\u00d1A' AS N")).Fields(0).toString(),
              QStringLiteral("PE\u00d1A"));

    QUrl semicolon = url;
    semicolon.setQuery(QStringLiteral("application_name=a;b"));
    EXPECT_THROW(db::HostedConnection::open(semicolon.toString()), DatabaseError);
    QUrl nowhere = url;
    nowhere.setQuery(QString());
    nowhere.setPort(1);
    try {
        db::HostedConnection::open(nowhere.toString());
        ADD_FAILURE() << "a server that is not there was reached";
    } catch (const DatabaseError &e) {
        EXPECT_TRUE(e.message().startsWith(QLatin1String("Cannot open the database")))
            << e.message().toStdString();
        EXPECT_FALSE(e.message().contains(url.password()) && !url.password().isEmpty());
    }
}

} // namespace
