// Saving a 20-line pharmacy request: the log-book call of each line in one
// transaction, through the layer (texts translated, the procedure hosted),
// beside the same engine statements sent straight to SQLite's library and
// through libpq to PostgreSQL as a careful programmer would (see
// rawengines.h). PostgreSQL runs with CHEMODESK_BENCH_PG set to a
// postgresql:// server URL.
// Run: build/bench/bench_requests

#include "requests/requestsave.h"
#include "session/globals.h"

#include "rawengines.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <memory>

using namespace chemodesk;
using namespace chemodesk::bench;
using namespace chemodesk::requests;

namespace {

// Twenty medicines, each with its dosage, quantity and remarks.
std::vector<RequestLine> twentyLines()
{
    std::vector<RequestLine> lines;
    for (int i = 0; i < 20; ++i)
        lines.push_back({QString::number(10001 + i),
                         QStringLiteral("MEDICINE ") + QString::number(i + 1),
                         QStringLiteral("BID"), QStringLiteral("2"), QStringLiteral("91.5"),
                         QStringLiteral("AFTER MEALS"), QString()});
    return lines;
}

// Each save a second after the one before, as saves of separate requests
// are: each draws its own number.
RequestHeader header(qint64 save)
{
    RequestHeader h;
    h.hospNum = QStringLiteral("1000018");
    h.idNum = QStringLiteral("261018");
    h.inOut = QStringLiteral("I");
    h.doctorId = QStringLiteral("102");
    h.userId = QStringLiteral("1002");
    h.dateTime = requestDate(QDateTime(QDate(2026, 12, 1), QTime(8, 0)).addSecs(save));
    return h;
}

struct Saving {
    explicit Saving(bool postgres) : target(demoTarget(postgres, dir, QStringLiteral("requests")))
    {
        if (target.isEmpty())
            return;
        database = hospital::openDatabase(target);
        counting = std::make_unique<CountingConnection>(*database);
    }

    int save() { return saveRequest(*counting, pharmacyCall(false), header(++saves), lines, true); }
    // The measured save's lines taken away; the two warming saves' stay.
    void sweep()
    {
        database->executeNative(
            QStringLiteral("DELETE FROM %1 WHERE RequestDate > '2026-12-01 08:00:02'")
                .arg(database->translator().tableName(QStringLiteral("CLINICAL_AREA"),
                                                      QStringLiteral("tbCancerRequest"))));
    }

    QTemporaryDir dir;
    QString target;
    std::unique_ptr<db::HostedConnection> database;
    std::unique_ptr<CountingConnection> counting;
    std::vector<RequestLine> lines = twentyLines();
    qint64 saves = 0;
};

void SaveRequestThroughLayer(benchmark::State &state, bool postgres)
{
    Saving s(postgres);
    runThroughLayer(state, s);
}

// The engine statements of one save (a request of its own), recorded through
// the layer, in the engine's dialect, without the layer's savepoints, inside
// one transaction per request.
template <typename Raw> void SaveRequestRaw(benchmark::State &state, bool postgres)
{
    Saving s(postgres);
    if (s.target.isEmpty()) {
        state.SkipWithError("CHEMODESK_BENCH_PG not set");
        return;
    }
    s.save();
    QStringList recorded;
    s.database->setEngineTrace([&recorded](const QString &sql) { recorded << sql; });
    s.save();
    s.database->setEngineTrace({});
    const QStringList work = rawWork(
        recorded, true, postgres ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"));
    // The replayed request's lines, taken away after each run: its look-up then finds only
    // the lines of its own request, as each save through the layer does.
    const QString replayed = QDateTime(QDate(2026, 12, 1), QTime(8, 0))
                                 .addSecs(s.saves)
                                 .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const QString table = s.database->translator().tableName(QStringLiteral("CLINICAL_AREA"),
                                                             QStringLiteral("tbCancerRequest"));
    s.counting.reset();
    s.database.reset();
    Raw raw(s.target, work);
    Raw sweep(s.target,
              {QStringLiteral("DELETE FROM %1 WHERE RequestDate = '%2'").arg(table, replayed)});
    runRaw(state, raw, &sweep);
}

void SaveRequestRawSqlite(benchmark::State &state)
{
    SaveRequestRaw<RawSqlite>(state, false);
}

void SaveRequestRawPostgres(benchmark::State &state)
{
    SaveRequestRaw<RawPostgres>(state, true);
}

BENCHMARK_CAPTURE(SaveRequestThroughLayer, sqlite, false)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveRequestRawSqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SaveRequestThroughLayer, postgresql, true)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveRequestRawPostgres)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int result = chemodesk::bench::runBenchmarks(argc, argv);
    session::resetGlobals();
    return result;
}
