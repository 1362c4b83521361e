// The charge entry grid: Enter on a service code (the look-up, the price
// rules and every query they send) and a keystroke that sends none, on the
// embedded demo database; and saving a 20-line slip through the layer beside
// the same engine statements sent straight to the engine, on the embedded
// database and, with CHEMODESK_BENCH_PG set to a postgresql:// server URL, on
// PostgreSQL. Statements are counted on the way to the database. Windows are
// drawn off screen. Run: build/bench/bench_charging

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
        return inner().Execute(text);
    }

    long statements = 0;
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

// The screen on the demo in-patient 261018 (room class C), over a counting
// connection, with one service line started under department ON.
struct Screen {
    Screen()
    {
        auto &g = session::globals();
        database = hospital::openEmbedded(dir.filePath(QStringLiteral("bench.db")),
                                          hospital::MissingFile::CreateWithDemo);
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

Screen &shared()
{
    static Screen screen;
    return screen;
}

// Enter on "8001" in Item Code: the service look-up, its duplicate check,
// the rate settings and the room-class price, the amount and the total.
void PriceServiceLine(benchmark::State &state)
{
    Screen &s = shared();
    widgets::EntryGrid *grid = s.screen->mshflexEntry;
    const long before = s.counting->statements;
    const int boxesBefore = s.boxes.shown;
    for (auto _ : state) {
        grid->PutTextBox(colItem, 1);
        s.screen->txtEntry->setText(QStringLiteral("8001"));
        QTest::keyClick(s.screen->txtEntry, Qt::Key_Return);
    }
    if (s.boxes.shown != boxesBefore || grid->text(1, colUnitPrice) != QLatin1String("1800"))
        state.SkipWithError("the service line was not priced as expected");
    state.counters["statements"] =
        double(s.counting->statements - before) / double(state.iterations());
}
BENCHMARK(PriceServiceLine)->Unit(benchmark::kMicrosecond);

// A letter typed in the Item Code box (through the key filter) and the box
// moved one column on and back: nothing goes to the database.
void KeystrokeWithoutQuery(benchmark::State &state)
{
    Screen &s = shared();
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
    Screen &s = shared();
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

// ------------------------------------------------------- saving a slip

// A fresh demo hospital to save into: a file of its own, or a database of
// its own on the server named by CHEMODESK_BENCH_PG; empty when that is unset.
QString saveTarget(bool postgres, const QTemporaryDir &dir)
{
    if (!postgres) {
        const QString path = dir.filePath(QStringLiteral("save.db"));
        hospital::openEmbedded(path, hospital::MissingFile::CreateWithDemo);
        return path;
    }
    const QString server = qEnvironmentVariable("CHEMODESK_BENCH_PG");
    if (server.isEmpty())
        return {};
    const QString name = QStringLiteral("chemodesk_bench_save");
    {
        auto admin = db::HostedConnection::open(server);
        admin->executeNative(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(name));
        admin->executeNative(QStringLiteral("CREATE DATABASE %1").arg(name));
    }
    QUrl url(server);
    url.setPath(QLatin1Char('/') + name);
    auto c = hospital::openDatabase(url.toString());
    hospital::InitOptions options;
    options.demo = true;
    hospital::initDatabase(*c, options);
    return url.toString();
}

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
                             {}});
    }
    return lines;
}

// Records what the screens send and what the engine receives.
struct Saving {
    explicit Saving(bool postgres) : target(saveTarget(postgres, dir))
    {
        if (target.isEmpty())
            return;
        database = hospital::openDatabase(target);
        // Enough on the shelf for every iteration: a save that finds the
        // stock gone is refused inside its transaction.
        database->Execute(QStringLiteral(
            "Update INVENTORY..tbinvent set OnHand = 100000000 where LocationID = '20'"));
        counting = std::make_unique<CountingConnection>(*database);
        catalogue = std::make_unique<components::MedicineCatalogue>(*counting);
        database->setEngineTrace([this](const QString &sql) {
            ++engineStatements;
            if (recording)
                recorded << sql;
        });
    }
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

void sqliteGetDate(sqlite3_context *context, int, sqlite3_value **)
{
    const QByteArray now =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toUtf8();
    sqlite3_result_text(context, now.constData(), int(now.size()), SQLITE_TRANSIENT);
}

// The same statements in the engine's dialect through SQLite's own library,
// each prepared, stepped to its end and finalised.
void SaveSlipRawSqlite(benchmark::State &state)
{
    Saving s(false);
    const QStringList statements = recordedSave(s);
    s.database.reset();
    sqlite3 *db = nullptr;
    sqlite3_open(s.target.toUtf8().constData(), &db);
    sqlite3_create_function_v2(db, "getdate", 0, SQLITE_UTF8, nullptr, sqliteGetDate, nullptr,
                               nullptr, nullptr);
    std::vector<QByteArray> utf8;
    for (const QString &sql : statements)
        utf8.push_back(sql.toUtf8());
    for (auto _ : state) {
        for (const QByteArray &sql : utf8) {
            sqlite3_stmt *stmt = nullptr;
            if (sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK) {
                state.SkipWithError(sqlite3_errmsg(db));
                sqlite3_close(db);
                return;
            }
            while (sqlite3_step(stmt) == SQLITE_ROW)
                benchmark::DoNotOptimize(sqlite3_column_value(stmt, 0));
            sqlite3_finalize(stmt);
        }
    }
    sqlite3_close(db);
    state.counters["engine_statements"] = double(statements.size());
}

// The same statements through libpq on a connection of its own.
void SaveSlipRawPostgres(benchmark::State &state)
{
    Saving s(true);
    if (s.target.isEmpty()) {
        state.SkipWithError("CHEMODESK_BENCH_PG not set");
        return;
    }
    const QStringList statements = recordedSave(s);
    s.database.reset();
    std::vector<QByteArray> utf8;
    for (const QString &sql : statements)
        utf8.push_back(sql.toUtf8());
    PGconn *db = PQconnectdb(s.target.toUtf8().constData());
    if (PQstatus(db) != CONNECTION_OK) {
        state.SkipWithError(PQerrorMessage(db));
        PQfinish(db);
        return;
    }
    for (auto _ : state) {
        for (const QByteArray &sql : utf8) {
            PGresult *result = PQexec(db, sql.constData());
            const ExecStatusType status = PQresultStatus(result);
            if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
                state.SkipWithError(PQresultErrorMessage(result));
                PQclear(result);
                PQfinish(db);
                return;
            }
            if (PQntuples(result) > 0)
                benchmark::DoNotOptimize(PQgetvalue(result, 0, 0));
            PQclear(result);
        }
    }
    PQfinish(db);
    state.counters["engine_statements"] = double(statements.size());
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
    return 0;
}
