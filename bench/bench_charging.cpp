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
#include "widgets/messages.h"

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

namespace {

// Passes every text on and counts it.
class CountingConnection : public db::ForwardingConnection {
public:
    using ForwardingConnection::ForwardingConnection;
    Recordset Execute(const QString &text) override
    {
        ++statements;
        if (recording)
            texts << text;
        return inner().Execute(text);
    }

    long statements = 0;
    bool recording = false;
    QStringList texts;
};

// ------------------------------------------------- the raw engines
// What a careful programmer would write on each engine's own library for the
// same work: every distinct statement prepared once and reused, the engine
// settings the layer gives its connections, and none of the layer's own
// additions (a savepoint around each procedure call, a transaction around a
// call that only reads): only a transaction where the work itself writes.

bool layerTransactionControl(const QString &sql)
{
    const QString head = sql.trimmed().section(QLatin1Char(' '), 0, 0).toUpper();
    for (const char *word : {"BEGIN", "COMMIT", "ROLLBACK", "SAVEPOINT", "RELEASE"})
        if (head == QLatin1String(word))
            return true;
    return false;
}

// The engine statements of one piece of work, without the layer's own
// transaction control; inside one transaction when the work writes.
QStringList rawWork(const QStringList &recorded, bool writes, const QString &begin)
{
    QStringList work;
    if (writes)
        work << begin;
    for (const QString &sql : recorded)
        if (!layerTransactionControl(sql))
            work << sql;
    if (writes)
        work << QStringLiteral("COMMIT");
    return work;
}

void sqliteGetDate(sqlite3_context *context, int, sqlite3_value **)
{
    const QByteArray now =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toUtf8();
    sqlite3_result_text(context, now.constData(), int(now.size()), SQLITE_TRANSIENT);
}

// An embedded file opened as the layer opens it, with the work's statements
// prepared once each; run() steps them in order and resets them.
class RawSqlite {
public:
    RawSqlite(const QString &path, const QStringList &work)
    {
        sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr);
        for (const char *pragma : {"PRAGMA journal_mode = WAL", "PRAGMA synchronous = NORMAL",
                                   "PRAGMA busy_timeout = 30000"})
            sqlite3_exec(db_, pragma, nullptr, nullptr, nullptr);
        sqlite3_create_function_v2(db_, "getdate", 0, SQLITE_UTF8, nullptr, sqliteGetDate, nullptr,
                                   nullptr, nullptr);
        QHash<QString, sqlite3_stmt *> distinct;
        for (const QString &sql : work) {
            sqlite3_stmt *&stmt = distinct[sql];
            if (!stmt) {
                const QByteArray utf8 = sql.toUtf8();
                if (sqlite3_prepare_v3(db_, utf8.constData(), int(utf8.size()),
                                       SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK) {
                    error_ = sqlite3_errmsg(db_) + QByteArray(": ") + utf8;
                    return;
                }
                prepared_.push_back(stmt);
            }
            sequence_.push_back(stmt);
        }
    }
    ~RawSqlite()
    {
        for (sqlite3_stmt *stmt : prepared_)
            sqlite3_finalize(stmt);
        sqlite3_close(db_);
    }
    RawSqlite(const RawSqlite &) = delete;
    RawSqlite &operator=(const RawSqlite &) = delete;

    bool run()
    {
        for (sqlite3_stmt *stmt : sequence_) {
            int rc;
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
                benchmark::DoNotOptimize(sqlite3_column_value(stmt, 0));
            sqlite3_reset(stmt);
            if (rc != SQLITE_DONE) {
                error_ = sqlite3_errmsg(db_);
                return false;
            }
        }
        return true;
    }
    // Empty while all is well.
    const QByteArray &error() const { return error_; }
    std::size_t statements() const { return sequence_.size(); }

private:
    sqlite3 *db_ = nullptr;
    std::vector<sqlite3_stmt *> prepared_;
    std::vector<sqlite3_stmt *> sequence_;
    QByteArray error_;
};

// A server connection of its own with the work's statements prepared once
// each (PQprepare); run() executes them in order (PQexecPrepared).
class RawPostgres {
public:
    RawPostgres(const QString &url, const QStringList &work)
        : db_(PQconnectdb(url.toUtf8().constData()))
    {
        if (PQstatus(db_) != CONNECTION_OK) {
            error_ = PQerrorMessage(db_);
            return;
        }
        QHash<QString, QByteArray> distinct;
        for (const QString &sql : work) {
            QByteArray &name = distinct[sql];
            if (name.isEmpty()) {
                name = "s" + QByteArray::number(distinct.size());
                PGresult *result =
                    PQprepare(db_, name.constData(), sql.toUtf8().constData(), 0, nullptr);
                if (PQresultStatus(result) != PGRES_COMMAND_OK)
                    error_ = PQresultErrorMessage(result) + QByteArray(": ") + sql.toUtf8();
                PQclear(result);
                if (!error_.isEmpty())
                    return;
            }
            sequence_.push_back(name);
        }
    }
    ~RawPostgres() { PQfinish(db_); }
    RawPostgres(const RawPostgres &) = delete;
    RawPostgres &operator=(const RawPostgres &) = delete;

    bool run()
    {
        for (const QByteArray &name : sequence_) {
            PGresult *result =
                PQexecPrepared(db_, name.constData(), 0, nullptr, nullptr, nullptr, 0);
            const ExecStatusType status = PQresultStatus(result);
            if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
                error_ = PQresultErrorMessage(result);
                PQclear(result);
                return false;
            }
            if (PQntuples(result) > 0)
                benchmark::DoNotOptimize(PQgetvalue(result, 0, 0));
            PQclear(result);
        }
        return true;
    }
    const QByteArray &error() const { return error_; }
    std::size_t statements() const { return sequence_.size(); }

private:
    PGconn *db_;
    std::vector<QByteArray> sequence_;
    QByteArray error_;
};

// A box during a measurement means the path measured is not the one meant.
class CountBoxes : public widgets::MessageService {
public:
    int message(const QString &, const QString &, Icon, QMessageBox::StandardButtons) override
    {
        ++shown;
        return QMessageBox::Ok;
    }
    int exec(QDialog &) override
    {
        ++shown;
        return 0;
    }
    int shown = 0;
};

// A fresh demo hospital: a file of its own, or a database of its own on the
// server named by CHEMODESK_BENCH_PG; empty when that is unset.
QString demoTarget(bool postgres, const QTemporaryDir &dir, const QString &name)
{
    if (!postgres) {
        const QString path = dir.filePath(name + QStringLiteral(".db"));
        hospital::openEmbedded(path, hospital::MissingFile::CreateWithDemo);
        return path;
    }
    const QString server = qEnvironmentVariable("CHEMODESK_BENCH_PG");
    if (server.isEmpty())
        return {};
    const QString database = QStringLiteral("chemodesk_bench_") + name;
    {
        auto admin = db::HostedConnection::open(server);
        admin->executeNative(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(database));
        admin->executeNative(QStringLiteral("CREATE DATABASE %1").arg(database));
    }
    QUrl url(server);
    url.setPath(QLatin1Char('/') + database);
    auto c = hospital::openDatabase(url.toString());
    hospital::InitOptions options;
    options.demo = true;
    hospital::initDatabase(*c, options);
    return url.toString();
}

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
        g.SelPatientClass = QStringLiteral("I");
        session::ReadHospitalInfoB(*counting);
        lookup = std::make_unique<components::ItemLookup>(*counting);
        catalogue = std::make_unique<components::MedicineCatalogue>(*counting);
        list = std::make_unique<components::MedicineList>(*counting);
        previous = widgets::setMessageService(&boxes);
        screen = std::make_unique<frmCharge>(
            *counting, ChargeComponents{*lookup, *catalogue, *list, keys},
            ChargePatient{QStringLiteral("O'CAMPO, NORMA"), QStringLiteral("1000018"),
                          QStringLiteral("261018"), QString(), QStringLiteral("1001")});
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
    if (!raw.error().isEmpty()) {
        state.SkipWithError(raw.error().constData());
        return;
    }
    for (auto _ : state)
        if (!raw.run()) {
            state.SkipWithError(raw.error().constData());
            return;
        }
    state.counters["engine_statements"] = double(raw.statements());
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
    explicit Saving(bool postgres) : target(demoTarget(postgres, dir, QStringLiteral("save")))
    {
        sharedScreen.reset();
        if (target.isEmpty())
            return;
        database = hospital::openDatabase(target);
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
        database->setEngineTrace([this](const QString &sql) {
            ++engineStatements;
            if (recording)
                recorded << sql;
        });
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
    long engineStatements = 0;
    bool recording = false;
    QStringList recorded;
};

// The save as the screen runs it: texts translated, procedures hosted.
void SaveSlipThroughLayer(benchmark::State &state, bool postgres)
{
    Saving s(postgres);
    if (s.target.isEmpty()) {
        state.SkipWithError("CHEMODESK_BENCH_PG not set");
        return;
    }
    s.save(); // warm: translations and prepared statements
    const long sent = s.counting->statements;
    const long received = s.engineStatements;
    for (auto _ : state)
        benchmark::DoNotOptimize(s.save());
    const double n = double(state.iterations());
    state.counters["statements"] = double(s.counting->statements - sent) / n;
    state.counters["engine_statements"] = double(s.engineStatements - received) / n;
}

// The engine statements of one save, recorded through the layer.
QStringList recordedSave(Saving &s)
{
    s.save();
    s.recording = true;
    s.save();
    s.recording = false;
    return s.recorded;
}

// The same statements in the engine's dialect through SQLite's own library,
// each prepared once, inside one transaction per slip.
void SaveSlipRawSqlite(benchmark::State &state)
{
    Saving s(false);
    const QStringList work = rawWork(recordedSave(s), true, QStringLiteral("BEGIN IMMEDIATE"));
    s.database.reset();
    RawSqlite raw(s.target, work);
    if (!raw.error().isEmpty()) {
        state.SkipWithError(raw.error().constData());
        return;
    }
    for (auto _ : state)
        if (!raw.run()) {
            state.SkipWithError(raw.error().constData());
            return;
        }
    state.counters["engine_statements"] = double(raw.statements());
}

// The same statements through libpq on a connection of its own, each
// prepared once, inside one transaction per slip.
void SaveSlipRawPostgres(benchmark::State &state)
{
    Saving s(true);
    if (s.target.isEmpty()) {
        state.SkipWithError("CHEMODESK_BENCH_PG not set");
        return;
    }
    const QStringList work = rawWork(recordedSave(s), true, QStringLiteral("BEGIN"));
    s.database.reset();
    RawPostgres raw(s.target, work);
    if (!raw.error().isEmpty()) {
        state.SkipWithError(raw.error().constData());
        return;
    }
    for (auto _ : state)
        if (!raw.run()) {
            state.SkipWithError(raw.error().constData());
            return;
        }
    state.counters["engine_statements"] = double(raw.statements());
}

BENCHMARK_CAPTURE(SaveSlipThroughLayer, sqlite, false)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveSlipRawSqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SaveSlipThroughLayer, postgresql, true)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveSlipRawPostgres)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    sharedScreen.reset();
    return 0;
}
