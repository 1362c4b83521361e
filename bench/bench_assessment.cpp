// Saving an 8-item cash assessment (the number drawn, eight rows, the
// remarks, in one transaction) through the layer, on the embedded demo
// database and, with CHEMODESK_BENCH_PG set to a postgresql:// server URL, on
// PostgreSQL; each beside the same engine statements, recorded through the
// layer, sent straight to the engine (each prepared once, the layer's engine
// settings, one transaction, none of the layer's own savepoints).
// Run: build/bench/bench_assessment

#include "rawengines.h"

#include "assessment/assessmentsave.h"
#include "database/translator.h"
#include "session/globals.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <memory>

using namespace chemodesk;
using namespace chemodesk::assessment;

namespace {

AssessmentHeader header()
{
    AssessmentHeader h;
    h.patientName = QStringLiteral("O'CAMPO, NORMA");
    h.idNum = QStringLiteral("261018");
    h.hospNum = QStringLiteral("1000018");
    h.doctorId = QStringLiteral("102");
    h.doctorName = QStringLiteral("(PF) DR. SANTIAGO, MARIA LOURDES");
    h.employeeCode = QStringLiteral("1005");
    h.remarks = QStringLiteral("FOR PAYMENT AT THE CASHIER");
    return h;
}

// Four laboratory exams, two x-rays, two medicines.
std::vector<AssessmentLine> eightItems()
{
    std::vector<AssessmentLine> lines;
    for (int i = 0; i < 4; ++i)
        lines.push_back({QStringLiteral("LB"),
                         QString::number(1001 + i),
                         QStringLiteral("EXAM"),
                         QStringLiteral("350.00"),
                         QStringLiteral("1"),
                         QStringLiteral("350.00"),
                         {}});
    for (int i = 0; i < 2; ++i)
        lines.push_back({QStringLiteral("XR"),
                         QString::number(2001 + i),
                         QStringLiteral("X-RAY"),
                         QStringLiteral("450.00"),
                         QStringLiteral("1"),
                         QStringLiteral("450.00"),
                         {}});
    for (int i = 0; i < 2; ++i)
        lines.push_back({QStringLiteral("PH"), QString::number(10001 + i),
                         QStringLiteral("MEDICINE"), QStringLiteral("5.00"), QStringLiteral("10"),
                         QStringLiteral("50.00"), QStringLiteral("20")});
    return lines;
}

struct Saving {
    explicit Saving(bool postgres)
        : target(bench::demoTarget(postgres, dir, QStringLiteral("assessment")))
    {
        if (target.isEmpty())
            return;
        database = hospital::openDatabase(target);
        counting = std::make_unique<bench::CountingConnection>(*database);
        database->setEngineTrace([this](const QString &sql) {
            ++engineStatements;
            if (recording)
                recorded << sql;
        });
    }
    ~Saving() { session::resetGlobals(); }
    Saving(const Saving &) = delete;
    Saving &operator=(const Saving &) = delete;

    QString save() { return last = saveAssessment(*counting, head, lines); }
    // The measured save's rows taken away.
    void sweep()
    {
        database->executeNative(
            QStringLiteral("DELETE FROM %1 WHERE RefNum = '%2'")
                .arg(database->translator().tableName(QStringLiteral("BILLING"),
                                                      QStringLiteral("tbCashAssessment")),
                     last));
    }
    QStringList recordedSave()
    {
        save();
        recording = true;
        save();
        recording = false;
        return recorded;
    }

    QTemporaryDir dir;
    QString target;
    std::unique_ptr<db::HostedConnection> database;
    std::unique_ptr<bench::CountingConnection> counting;
    AssessmentHeader head = header();
    std::vector<AssessmentLine> lines = eightItems();
    long engineStatements = 0;
    bool recording = false;
    QStringList recorded;
    QString last;
};

void SaveAssessmentThroughLayer(benchmark::State &state, bool postgres)
{
    Saving s(postgres);
    bench::runThroughLayer(state, s);
}

// The raw side replays one recorded save, its reference number included: the
// rows each run adds are taken away outside the measurement, so that the
// replayed remarks update finds only its own eight rows, as the layer's does.
template <typename Raw>
void SaveAssessmentRaw(benchmark::State &state, bool postgres, const char *begin)
{
    Saving s(postgres);
    if (s.target.isEmpty()) {
        state.SkipWithError("CHEMODESK_BENCH_PG not set");
        return;
    }
    const QStringList work = bench::rawWork(s.recordedSave(), true, QLatin1String(begin));
    const QString ref =
        QRegularExpression(QStringLiteral("'(OC\\d+)'"))
            .match(work.filter(QStringLiteral("remarks"), Qt::CaseInsensitive).value(0))
            .captured(1);
    const QString table = s.database->translator().tableName(QStringLiteral("BILLING"),
                                                             QStringLiteral("tbCashAssessment"));
    s.counting.reset();
    s.database.reset();
    Raw raw(s.target, work);
    Raw sweep(s.target, {QStringLiteral("DELETE FROM %1 WHERE RefNum = '%2'").arg(table, ref)});
    if (ref.isEmpty()) {
        state.SkipWithError("the recorded save's reference number was not found");
        return;
    }
    bench::runRaw(state, raw, &sweep);
}

void SaveAssessmentRawSqlite(benchmark::State &state)
{
    SaveAssessmentRaw<bench::RawSqlite>(state, false, "BEGIN IMMEDIATE");
}

void SaveAssessmentRawPostgres(benchmark::State &state)
{
    SaveAssessmentRaw<bench::RawPostgres>(state, true, "BEGIN");
}

BENCHMARK_CAPTURE(SaveAssessmentThroughLayer, sqlite, false)->Unit(benchmark::kMicrosecond);
BENCHMARK(SaveAssessmentRawSqlite)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(SaveAssessmentThroughLayer, postgresql, true)->Unit(benchmark::kMicrosecond);
BENCHMARK(SaveAssessmentRawPostgres)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int result = chemodesk::bench::runBenchmarks(argc, argv);
    return result;
}
