// The database layer's cost over the raw engine, and the time to build the
// demo database. Run: build/bench/bench_database [--benchmark_filter=...]
// The raw side is what a careful programmer would write on the engine's own
// library: each distinct statement prepared once, the layer's engine settings,
// nothing the layer adds of its own. The search runs with one text repeated
// (prepared once) and with a new surname prefix each time (prepared each time).
// The 1,000,000-registration database is generated once into
// CHEMODESK_BENCH_DIR (default: build/bench/data) and reused; set
// CHEMODESK_BENCH_PG to a postgresql:// server URL to measure that engine too.

#include "database/hostedconnection.h"
#include "hospitaldb/database.h"
#include "hospitaldb/hospitaldb.h"
#include "largedatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QUrl>

#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <sqlite3.h>

#include <algorithm>
#include <map>
#include <random>

using namespace chemodesk;

namespace {

using bench::benchDir;
using bench::largeSqlite;
using bench::Registrations;

QString search(const QString &prefix)
{
    return QStringLiteral(
               "select top 100 HospNum, LastName, FirstName, MiddleName, Sex, BirthDate, "
               "Town, Province from PATIENT_DATA..tbMaster where LastName like '%1%' "
               "order by LastName")
        .arg(prefix);
}

const QString Search = search(QStringLiteral("SANT"));

// Surname prefixes of 2 to 12 letters that each start at least 100 of the
// SQLite database's registrations, so every search returns its full 100 rows,
// in a fixed shuffled order: consecutive searches touch different pages.
const QStringList &newPrefixes()
{
    static const QStringList prefixes = [] {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(bench::largeSqlite().toUtf8().constData(), &db, SQLITE_OPEN_READONLY,
                        nullptr);
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db,
                           "SELECT lastname, count(*) FROM patient_data__tbmaster GROUP BY "
                           "lastname",
                           -1, &stmt, nullptr);
        std::map<QString, long> counts;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const QString name =
                QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
            for (qsizetype n = 2; n <= std::min<qsizetype>(12, name.size()); ++n)
                counts[name.left(n)] += sqlite3_column_int64(stmt, 1);
        }
        sqlite3_finalize(stmt);
        sqlite3_close(db);
        QStringList found;
        for (const auto &[prefix, count] : counts)
            if (count >= 100 && !prefix.contains(QLatin1Char('\'')) &&
                !prefix.contains(QLatin1Char('%')) && !prefix.contains(QLatin1Char('_')))
                found << prefix;
        std::shuffle(found.begin(), found.end(), std::mt19937(20261210));
        return found;
    }();
    return prefixes;
}

// Enough iterations to be timed, few enough that no search text repeats.
constexpr int NewTextIterations = 800;

// Every new-text search run once, untimed, on a connection of its own, so that
// the layer and the raw side both find the pages the searches read already in
// the operating system's (and the server's) cache, whichever runs first, while
// neither connection has seen the texts.
void warmNewTexts(const QString &target, bool postgres)
{
    auto translating = hospital::openDatabase(target);
    QList<QByteArray> texts;
    for (const QString &prefix : newPrefixes())
        texts << translating->translator().translate(search(prefix)).statements.first().toUtf8();
    if (postgres) {
        PGconn *db = PQconnectdb(target.toUtf8().constData());
        for (const QByteArray &sql : std::as_const(texts))
            PQclear(PQexec(db, sql.constData()));
        PQfinish(db);
        return;
    }
    sqlite3 *db = nullptr;
    sqlite3_open_v2(target.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    for (const QByteArray &sql : std::as_const(texts))
        sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

QString largePostgres()
{
    const QString server = qEnvironmentVariable("CHEMODESK_BENCH_PG");
    if (server.isEmpty())
        return {};
    QUrl url(server);
    const QString name = QStringLiteral("chemodesk_bench_%1").arg(Registrations);
    auto admin = db::HostedConnection::open(server);
    if (admin
            ->executeNative(
                QStringLiteral("SELECT 1 FROM pg_database WHERE datname = '%1'").arg(name))
            .atEnd()) {
        admin->executeNative(QStringLiteral("CREATE DATABASE %1").arg(name));
        url.setPath(QLatin1Char('/') + name);
        auto c = hospital::openDatabase(url.toString());
        hospital::InitOptions options;
        options.demo = true;
        options.registrations = Registrations;
        hospital::initDatabase(*c, options);
        c->executeNative(QStringLiteral("ANALYZE"));
    }
    url.setPath(QLatin1Char('/') + name);
    return url.toString();
}

void SearchThroughLayer(benchmark::State &state, bool postgres, bool newText)
{
    const QString target = postgres ? largePostgres() : largeSqlite();
    if (target.isEmpty()) {
        state.SkipWithError("CHEMODESK_BENCH_PG not set");
        return;
    }
    const QStringList &prefixes = newPrefixes();
    if (newText)
        warmNewTexts(target, postgres);
    auto c = hospital::openDatabase(target);
    c->Execute(Search); // warm: the repeated text translated and prepared
    long rows = 0;
    qsizetype next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString text = newText ? search(prefixes.at(next++ % prefixes.size())) : Search;
        state.ResumeTiming();
        Recordset rs = c->Execute(text);
        for (; !rs.atEnd(); rs.MoveNext())
            benchmark::DoNotOptimize(rs.Fields(QStringLiteral("LastName")).toString());
        rows = rs.RecordCount();
    }
    state.counters["rows"] = static_cast<double>(rows);
    if (newText)
        state.counters["texts"] = static_cast<double>(std::min<qsizetype>(next, prefixes.size()));
}

// The settings the layer gives an embedded file at opening.
void sqliteSettings(sqlite3 *db)
{
    for (const char *pragma : {"PRAGMA journal_mode = WAL", "PRAGMA synchronous = NORMAL",
                               "PRAGMA busy_timeout = 30000"})
        sqlite3_exec(db, pragma, nullptr, nullptr, nullptr);
    // The database's own case folding, as any program reading its NOCASE indexes must use.
    db::HostedConnection::registerFolding(db);
}

long stepRows(sqlite3_stmt *stmt)
{
    long rows = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int i = 0; i < 8; ++i)
            benchmark::DoNotOptimize(sqlite3_column_text(stmt, i));
        ++rows;
    }
    return rows;
}

// The same statement, already in SQLite's dialect, through the C library:
// prepared once and reset when repeated; a new text prepared, run and finalised.
void SearchRawSqlite(benchmark::State &state, bool newText)
{
    const QString target = largeSqlite();
    const QStringList &prefixes = newPrefixes();
    if (newText)
        warmNewTexts(target, false);
    auto translating = hospital::openDatabase(target);
    auto dialect = [&](const QString &text) {
        return translating->translator().translate(text).statements.first().toUtf8();
    };
    sqlite3 *db = nullptr;
    sqlite3_open_v2(target.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqliteSettings(db);
    const QByteArray repeated = dialect(Search);
    sqlite3_stmt *prepared = nullptr;
    sqlite3_prepare_v3(db, repeated.constData(), int(repeated.size()), SQLITE_PREPARE_PERSISTENT,
                       &prepared, nullptr);
    long rows = 0;
    qsizetype next = 0;
    for (auto _ : state) {
        if (!newText) {
            rows = stepRows(prepared);
            sqlite3_reset(prepared);
            continue;
        }
        state.PauseTiming();
        const QByteArray sql = dialect(search(prefixes.at(next++ % prefixes.size())));
        state.ResumeTiming();
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v3(db, sql.constData(), int(sql.size()), 0, &stmt, nullptr);
        rows = stepRows(stmt);
        sqlite3_finalize(stmt);
    }
    sqlite3_finalize(prepared);
    sqlite3_close(db);
    state.counters["rows"] = static_cast<double>(rows);
    if (newText)
        state.counters["texts"] = static_cast<double>(std::min<qsizetype>(next, prefixes.size()));
}

// The same statement, already in PostgreSQL's dialect, through libpq itself:
// prepared once on the server and executed when repeated; a new text sent
// with its execution in one exchange (the unnamed statement); every value of
// the 100 rows read as the engine hands it over.
void SearchRawPostgres(benchmark::State &state, bool newText)
{
    const QString target = largePostgres();
    if (target.isEmpty()) {
        state.SkipWithError("CHEMODESK_BENCH_PG not set");
        return;
    }
    const QStringList &prefixes = newPrefixes();
    if (newText)
        warmNewTexts(target, true);
    auto translating = hospital::openDatabase(target);
    auto dialect = [&](const QString &text) {
        return translating->translator().translate(text).statements.first().toUtf8();
    };
    PGconn *db = PQconnectdb(target.toUtf8().constData());
    if (PQstatus(db) != CONNECTION_OK) {
        state.SkipWithError(PQerrorMessage(db));
        PQfinish(db);
        return;
    }
    PQclear(PQprepare(db, "search", dialect(Search).constData(), 0, nullptr));
    long rows = 0;
    qsizetype next = 0;
    for (auto _ : state) {
        PGresult *result = nullptr;
        if (newText) {
            state.PauseTiming();
            const QByteArray sql = dialect(search(prefixes.at(next++ % prefixes.size())));
            state.ResumeTiming();
            result = PQexecParams(db, sql.constData(), 0, nullptr, nullptr, nullptr, nullptr, 0);
        } else {
            result = PQexecPrepared(db, "search", 0, nullptr, nullptr, nullptr, 0);
        }
        if (PQresultStatus(result) != PGRES_TUPLES_OK) {
            state.SkipWithError(PQresultErrorMessage(result));
            PQclear(result);
            break;
        }
        rows = PQntuples(result);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < 8; ++c)
                benchmark::DoNotOptimize(PQgetvalue(result, r, c));
        PQclear(result);
    }
    PQfinish(db);
    state.counters["rows"] = static_cast<double>(rows);
    if (newText)
        state.counters["texts"] = static_cast<double>(std::min<qsizetype>(next, prefixes.size()));
}

void CreateDemoDatabase(benchmark::State &state)
{
    const QString path = benchDir() + QStringLiteral("/demo-create.db");
    for (auto _ : state) {
        state.PauseTiming();
        for (const char *suffix : {"", "-wal", "-shm"})
            QFile::remove(path + QLatin1String(suffix));
        state.ResumeTiming();
        hospital::openEmbedded(path, hospital::MissingFile::CreateWithDemo);
    }
}

} // namespace

BENCHMARK_CAPTURE(SearchRawSqlite, repeated, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SearchThroughLayer, sqlite_repeated, false, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SearchRawSqlite, new_text, true)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(NewTextIterations);
BENCHMARK_CAPTURE(SearchThroughLayer, sqlite_new_text, false, true)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(NewTextIterations);
BENCHMARK_CAPTURE(SearchRawPostgres, repeated, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SearchThroughLayer, postgresql_repeated, true, false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SearchRawPostgres, new_text, true)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(NewTextIterations);
BENCHMARK_CAPTURE(SearchThroughLayer, postgresql_new_text, true, true)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(NewTextIterations);
BENCHMARK(CreateDemoDatabase)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
