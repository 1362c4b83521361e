// The database layer's cost over the raw engine, and the time to build the
// demo database. Run: build/bench/bench_database [--benchmark_filter=...]
// The 1,000,000-registration database is generated once into
// CHEMODESK_BENCH_DIR (default: build/bench/data) and reused; set
// CHEMODESK_BENCH_PG to a postgresql:// server URL to measure that engine too.

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

using namespace chemodesk;

namespace {

using bench::benchDir;
using bench::largeSqlite;
using bench::Registrations;

const QString Search = QStringLiteral(
    "select top 100 HospNum, LastName, FirstName, MiddleName, Sex, BirthDate, Town, Province "
    "from PATIENT_DATA..tbMaster where LastName like 'SANT%' order by LastName");

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

void SearchThroughLayer(benchmark::State &state, bool postgres)
{
    const QString target = postgres ? largePostgres() : largeSqlite();
    if (target.isEmpty()) {
        state.SkipWithError("CHEMODESK_BENCH_PG not set");
        return;
    }
    auto c = hospital::openDatabase(target);
    long rows = 0;
    for (auto _ : state) {
        Recordset rs = c->Execute(Search);
        for (; !rs.atEnd(); rs.MoveNext())
            benchmark::DoNotOptimize(rs.Fields(QStringLiteral("LastName")).toString());
        rows = rs.RecordCount();
    }
    state.counters["rows"] = static_cast<double>(rows);
}

// The same statement, already in SQLite's dialect, through the C library.
void SearchRawSqlite(benchmark::State &state)
{
    const QString target = largeSqlite();
    const QString sql =
        hospital::openDatabase(target)->translator().translate(Search).statements.first();
    sqlite3 *db = nullptr;
    sqlite3_open_v2(target.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const QByteArray utf8 = sql.toUtf8();
    long rows = 0;
    for (auto _ : state) {
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db, utf8.constData(), -1, &stmt, nullptr);
        rows = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int i = 0; i < 8; ++i)
                benchmark::DoNotOptimize(sqlite3_column_text(stmt, i));
            ++rows;
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    state.counters["rows"] = static_cast<double>(rows);
}

// The same statement, already in PostgreSQL's dialect, through libpq itself:
// every value of the 100 rows read as the engine hands it over.
void SearchRawPostgres(benchmark::State &state)
{
    const QString target = largePostgres();
    if (target.isEmpty()) {
        state.SkipWithError("CHEMODESK_BENCH_PG not set");
        return;
    }
    const QByteArray sql =
        hospital::openDatabase(target)->translator().translate(Search).statements.first().toUtf8();
    PGconn *db = PQconnectdb(target.toUtf8().constData());
    if (PQstatus(db) != CONNECTION_OK) {
        state.SkipWithError(PQerrorMessage(db));
        PQfinish(db);
        return;
    }
    long rows = 0;
    for (auto _ : state) {
        PGresult *result = PQexec(db, sql.constData());
        rows = PQntuples(result);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < 8; ++c)
                benchmark::DoNotOptimize(PQgetvalue(result, r, c));
        PQclear(result);
    }
    PQfinish(db);
    state.counters["rows"] = static_cast<double>(rows);
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

BENCHMARK(SearchRawSqlite)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SearchThroughLayer, sqlite, false)->Unit(benchmark::kMicrosecond);
BENCHMARK(SearchRawPostgres)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SearchThroughLayer, postgresql, true)->Unit(benchmark::kMicrosecond);
BENCHMARK(CreateDemoDatabase)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
