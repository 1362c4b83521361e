// The charge entry grid: Enter on a service code (the look-up, the price
// rules and every query they send) and a keystroke that sends none, on the
// embedded demo database. Statements are counted on the way to the database.
// Windows are drawn off screen. Run: build/bench/bench_charging

#include "charging/chargelines.h"
#include "charging/frmcharge.h"
#include "components/itemlookup.h"
#include "components/keyaid.h"
#include "database/forwardingconnection.h"
#include "components/medicinecatalogue.h"
#include "components/medicinelist.h"
#include "hospitaldb/database.h"
#include "session/globals.h"
#include "session/messages.h"
#include "session/module1.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

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
class CountBoxes : public session::MessageService {
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
        database = hospital::openEmbedded(dir.filePath(QStringLiteral("bench.db")));
        counting = std::make_unique<CountingConnection>(*database);
        g.DbConnection = counting.get();
        g.SelPatientClass = QStringLiteral("I");
        session::ReadHospitalInfoB(*counting);
        lookup = std::make_unique<components::ItemLookup>(*counting);
        catalogue = std::make_unique<components::MedicineCatalogue>(*counting);
        list = std::make_unique<components::MedicineList>(*counting);
        previous = session::setMessageService(&boxes);
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
        session::setMessageService(previous);
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
    session::MessageService *previous = nullptr;
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
    EntryGrid *grid = s.screen->mshflexEntry;
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
    EntryGrid *grid = s.screen->mshflexEntry;
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
    EntryGrid *grid = s.screen->mshflexEntry;
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
