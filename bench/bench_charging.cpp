// The charge entry grid: Enter on a service code (the look-up, the price
// rules and every query they send) and a keystroke that sends none, on the
// embedded demo database; and saving a 20-line slip through the layer, on the
// embedded database and, with CHEMODESK_BENCH_PG set to a postgresql:// server
// URL, on PostgreSQL. Pricing and saving each stand beside the same engine
// statements, recorded through the layer, sent straight to the engine as a
// careful programmer would (see "the raw engines" below). Statements are
// counted on the way to the database. Windows are drawn off screen.
// Run: build/bench/bench_charging

#include "charging/chargelines.h"
#include "charging/chargesave.h"
#include "charging/frmcharge.h"
#include "components/itemlookup.h"
#include "components/keyaid.h"
#include "components/medicinecatalogue.h"
#include "components/medicinelist.h"
#include "database/forwardingconnection.h"
#include "hospitaldb/database.h"
#include "session/globals.h"
#include "session/module1.h"
#include "session/scrambler.h"
#include "widgets/messages.h"

#include "rawengines.h"

#include <QApplication>
#include <QDateTime>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <sqlite3.h>

#include <memory>

using namespace chemodesk;
using namespace chemodesk::charging;
using namespace chemodesk::bench;

namespace {

// The screen on the demo in-patient 261018 (room class C), over a counting
// connection, with one service line started under department ON.
struct Screen {
    explicit Screen(bool postgres)
        : postgres(postgres), target(demoTarget(postgres, dir, QStringLiteral("pricing")))
    {
        auto &g = session::globals();
        database = hospital::openDatabase(target);
        counting = std::make_unique<CountingConnection>(*database);
        g.DbConnection = counting.get();
        session::ReadHospitalInfoB(*counting);
        lookup = std::make_unique<components::ItemLookup>(*counting);
        catalogue = std::make_unique<components::MedicineCatalogue>(*counting);
        list = std::make_unique<components::MedicineList>(*counting);
        previous = widgets::setMessageService(&boxes);
        screen = std::make_unique<frmCharge>(
            *counting, ChargeComponents{*lookup, *catalogue, *list, keys},
            ChargePatient{QStringLiteral("O'CAMPO, NORMA"), QStringLiteral("1000018"),
                          QStringLiteral("261018"), QString(), QStringLiteral("1001"),
                          QStringLiteral("I")});
        screen->show();
        QTest::keyClicks(screen->txtEntry, QStringLiteral("on"));
        QTest::keyClick(screen->txtEntry, Qt::Key_Return);
    }
    ~Screen()
    {
        screen.reset();
        widgets::setMessageService(previous);
        session::resetGlobals();
    }

    QTemporaryDir dir;
    bool postgres;
    QString target;
    std::unique_ptr<db::HostedConnection> database;
    std::unique_ptr<CountingConnection> counting;
    std::unique_ptr<components::ItemLookup> lookup;
    std::unique_ptr<components::MedicineCatalogue> catalogue;
    std::unique_ptr<components::MedicineList> list;
    components::KeyAid keys;
    CountBoxes boxes;
    widgets::MessageService *previous = nullptr;
    std::unique_ptr<frmCharge> screen;
};

// Made on first use, one engine's at a time (the session is one), and
// destroyed by main() before the application object: its windows cannot
// outlive QApplication.
std::unique_ptr<Screen> sharedScreen;

// Null, with the benchmark skipped, when PostgreSQL is asked for and not set.
Screen *shared(benchmark::State &state, bool postgres = false)
{
    if (postgres && qEnvironmentVariableIsEmpty("CHEMODESK_BENCH_PG")) {
        state.SkipWithError("CHEMODESK_BENCH_PG not set");
        return nullptr;
    }
    if (!sharedScreen || sharedScreen->postgres != postgres) {
        sharedScreen.reset();
        sharedScreen = std::make_unique<Screen>(postgres);
    }
    return sharedScreen.get();
}

// Enter on "8001" in Item Code: the service look-up, its duplicate check,
// the rate settings and the room-class price, the amount and the total.
void priceLine(Screen &s)
{
    s.screen->mshflexEntry->PutTextBox(colItem, 1);
    s.screen->txtEntry->setText(QStringLiteral("8001"));
    QTest::keyClick(s.screen->txtEntry, Qt::Key_Return);
}

void PriceServiceLine(benchmark::State &state, bool postgres)
{
    Screen *screen = shared(state, postgres);
    if (!screen)
        return;
    Screen &s = *screen;
    widgets::EntryGrid *grid = s.screen->mshflexEntry;
    const long before = s.counting->statements;
    const int boxesBefore = s.boxes.shown;
    for (auto _ : state)
        priceLine(s);
    if (s.boxes.shown != boxesBefore || grid->text(1, colUnitPrice) != QLatin1String("1800"))
        state.SkipWithError("the service line was not priced as expected");
    state.counters["statements"] =
        double(s.counting->statements - before) / double(state.iterations());
}

// The texts one pricing sends and the statements the engine receives for
// them, recorded through the layer.
struct PricingRecord {
    QStringList texts;
    QStringList engine;
};

PricingRecord recordedPricing(Screen &s)
{
    priceLine(s);
    PricingRecord record;
    s.counting->texts.clear();
    s.counting->recording = true;
    s.database->setEngineTrace([&](const QString &sql) { record.engine << sql; });
    priceLine(s);
    s.database->setEngineTrace({});
    s.counting->recording = false;
    record.texts = s.counting->texts;
    return record;
}

// The texts of one pricing sent straight to the layer, without the screen:
// the layer's share of PriceServiceLine.
void PriceServiceLineTextsThroughLayer(benchmark::State &state, bool postgres)
{
    Screen *screen = shared(state, postgres);
    if (!screen)
        return;
    Screen &s = *screen;
    const PricingRecord record = recordedPricing(s);
    const QStringList &texts = record.texts;
    long rows = 0;
    for (auto _ : state)
        for (const QString &text : texts)
            rows += s.database->Execute(text).RecordCount();
    benchmark::DoNotOptimize(rows);
    state.counters["statements"] = double(texts.size());
    state.counters["engine_statements"] = double(record.engine.size());
}

// The engine statements of one pricing through the engine's own library on a
// connection of its own to the same database. Pricing only reads: no
// transaction.
template <typename Raw> void PriceServiceLineRaw(benchmark::State &state, bool postgres)
{
    Screen *screen = shared(state, postgres);
    if (!screen)
        return;
    const QStringList work = rawWork(recordedPricing(*screen).engine, false, {});
    Raw raw(screen->target, work);
    runRaw(state, raw);
}
void PriceServiceLineRawSqlite(benchmark::State &state)
{
    PriceServiceLineRaw<RawSqlite>(state, false);
}
void PriceServiceLineRawPostgres(benchmark::State &state)
{
    PriceServiceLineRaw<RawPostgres>(state, true);
}
BENCHMARK_CAPTURE(PriceServiceLine, sqlite, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(PriceServiceLineTextsThroughLayer, sqlite, false)->Unit(benchmark::kMicrosecond);
BENCHMARK(PriceServiceLineRawSqlite)->Unit(benchmark::kMicrosecond);

// A letter typed in the Item Code box (through the key filter) and the box
// moved one column on and back: nothing goes to the database.
void KeystrokeWithoutQuery(benchmark::State &state)
{
    Screen &s = *shared(state);
    widgets::EntryGrid *grid = s.screen->mshflexEntry;
    grid->PutTextBox(colItem, 1);
    const long before = s.counting->statements;
    int n = 0;
    for (auto _ : state) {
        if (++n % 8 == 0)
            s.screen->txtEntry->clear();
        QTest::keyClick(s.screen->txtEntry, Qt::Key_A, Qt::NoModifier);
    }
    state.counters["statements"] =
        double(s.counting->statements - before) / double(state.iterations());
}
BENCHMARK(KeystrokeWithoutQuery)->Unit(benchmark::kMicrosecond);

void ArrowKeyMovesTheBox(benchmark::State &state)
{
    Screen &s = *shared(state);
    widgets::EntryGrid *grid = s.screen->mshflexEntry;
    grid->PutTextBox(colItem, 1);
    const long before = s.counting->statements;
    bool right = true;
    for (auto _ : state) {
        QTest::keyClick(s.screen->txtEntry, right ? Qt::Key_Right : Qt::Key_Left);
        right = !right;
    }
    state.counters["statements"] =
        double(s.counting->statements - before) / double(state.iterations());
}
BENCHMARK(ArrowKeyMovesTheBox)->Unit(benchmark::kMicrosecond);

BENCHMARK_CAPTURE(PriceServiceLine, postgresql, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(PriceServiceLineTextsThroughLayer, postgresql, true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(PriceServiceLineRawPostgres)->Unit(benchmark::kMicrosecond);

// ------------------------------------------------------- saving a slip

SlipHeader slipHeader()
{
    SlipHeader header;
    header.hospNum = QStringLiteral("1000018");
    header.idNum = QStringLiteral("261018");
    header.room = QStringLiteral("404");
    header.doctorId = QStringLiteral("102");
    header.doctorName = QStringLiteral("Dr. SANTIAGO, MARIA LOURDES");
    header.patientType = QStringLiteral("I");
    header.userId = QStringLiteral("1001");
    return header;
}

// Five lines each of stocked medicines, laboratory, x-ray and other services.
std::vector<ChargeLine> twentyLines()
{
    std::vector<ChargeLine> lines;
    for (int i = 0; i < 5; ++i) {
        const QString n = QString::number(i + 1);
        lines.push_back({QStringLiteral("PH"),
                         QString::number(10001 + i),
                         QStringLiteral("MEDICINE ") + n,
                         QStringLiteral("1"),
                         QStringLiteral("5.00"),
                         QStringLiteral("5.00"),
                         {},
                         QStringLiteral("20"),
                         QStringLiteral("PH"),
                         {},
                         {}});
        for (const auto &[dept, first] : {std::pair{"LB", 1001}, {"XR", 2001}, {"ON", 8001}})
            lines.push_back({QLatin1String(dept),
                             QString::number(first + i),
                             QStringLiteral("SERVICE ") + n,
                             QStringLiteral("1"),
                             QStringLiteral("450.00"),
                             QStringLiteral("450.00"),
                             {},
                             {},
                             {},
                             {},
                             {}});
    }
    return lines;
}

// Records what the screens send and what the engine receives.
// The save runs in a session of its own, signed in as a workstation is: the
// hospital's settings read (the stock check among them), whether or not the
// screen's measurements ran before it.
struct Saving {
    // `audited`: on PostgreSQL, the server's rights check and audit trail on the charges, with
    // the session signed in as a workstation's is; off, the tables as they were without them.
    explicit Saving(bool postgres, bool audited = true)
        : target(demoTarget(postgres, dir, QStringLiteral("save")))
    {
        sharedScreen.reset();
        if (target.isEmpty())
            return;
        database = hospital::openDatabase(target);
        if (postgres && !audited)
            database->executeNative(QStringLiteral(
                "ALTER TABLE clinical_area.tbcancercharges DISABLE TRIGGER chemodesk_audit, "
                "DISABLE TRIGGER chemodesk_guard"));
        if (postgres && audited)
            database->executeNative(
                QStringLiteral("SELECT * FROM public.chemodesk_sign_in('1001', '%1', 'BENCH')")
                    .arg(session::Scramble(QStringLiteral("E"),
                                           QLatin1String(session::AccessCodeKey),
                                           QStringLiteral("ROSE1001"))
                             .trimmed()));
        // Enough on the shelf for every iteration: a save that finds the
        // stock gone is refused inside its transaction. Each issue sets the
        // shelf's balance from its stock card, so the card's opening balance
        // carries the stock.
        database->Execute(QStringLiteral(
            "Update INVENTORY..tbInvStockCard set QuantityIn = 100000000 where LocationID = '20' "
            "and TransType = 'B'"));
        database->Execute(QStringLiteral(
            "Update INVENTORY..tbinvent set OnHand = 100000000 where LocationID = '20'"));
        counting = std::make_unique<CountingConnection>(*database);
        session::globals().DbConnection = counting.get();
        session::ReadHospitalInfoB(*counting);
        catalogue = std::make_unique<components::MedicineCatalogue>(*counting);
    }
    ~Saving() { session::resetGlobals(); }
    Saving(const Saving &) = delete;
    Saving &operator=(const Saving &) = delete;

    QString save() { return saveChargeSlip(*counting, catalogue->Drug(), slipHeader(), lines); }

    QTemporaryDir dir;
    QString target;
    std::unique_ptr<db::HostedConnection> database;
    std::unique_ptr<CountingConnection> counting;
    std::unique_ptr<components::MedicineCatalogue> catalogue;
    std::vector<ChargeLine> lines = twentyLines();
};

// The save as the screen runs it: texts translated, procedures hosted.
void SaveSlipThroughLayer(benchmark::State &state, bool postgres, bool audited = true)
{
    Saving s(postgres, audited);
    runThroughLayer(state, s);
}

// The engine statements of one save, recorded through the layer.
QStringList recordedSave(Saving &s)
{
    s.save();
    QStringList recorded;
    s.database->setEngineTrace([&recorded](const QString &sql) { recorded << sql; });
    s.save();
    s.database->setEngineTrace({});
    return recorded;
}

// The same statements in the engine's dialect through SQLite's own library,
// each prepared once, inside one transaction per slip.
void SaveSlipRawSqlite(benchmark::State &state)
{
    Saving s(false);
    const QStringList work = rawWork(recordedSave(s), true, QStringLiteral("BEGIN IMMEDIATE"));
    s.database.reset();
    RawSqlite raw(s.target, work);
    runRaw(state, raw);
}

// The same statements through libpq on a connection of its own, each
// prepared once, inside one transaction per slip.
void SaveSlipRawPostgres(benchmark::State &state, bool audited = true)
{
    Saving s(true, audited);
    if (s.target.isEmpty()) {
        state.SkipWithError("CHEMODESK_BENCH_PG not set");
        return;
    }
    const QStringList work = rawWork(recordedSave(s), true, QStringLiteral("BEGIN"));
    s.database.reset();
    RawPostgres raw(s.target, work);
    runRaw(state, raw);
}

BENCHMARK_CAPTURE(SaveSlipThroughLayer, sqlite, false)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveSlipRawSqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SaveSlipThroughLayer, postgresql, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SaveSlipRawPostgres, audited, true)->Unit(benchmark::kMillisecond);
// The same without the server's rights check and audit trail on the charges: what they cost.
BENCHMARK_CAPTURE(SaveSlipThroughLayer, postgresql_audit_off, true, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SaveSlipRawPostgres, audit_off, false)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int result = chemodesk::bench::runBenchmarks(argc, argv);
    sharedScreen.reset();
    return result;
}
