// Start-up of the client to a usable main window with the patient list
// loaded, on the 1,000,000-registration database that bench_database builds
// (made here the same way when it is missing). The employee signs in from the
// user component's settings file; windows are drawn off screen.
// Run: build/bench/bench_startup

#include "hospitaldb/database.h"
#include "largedatabase.h"
#include "patients/frmsearchpatient.h"
#include "session/globals.h"
#include "shell/frmmain.h"
#include "widgets/messages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

using namespace chemodesk;

namespace {

using bench::largeSqlite;
using bench::Registrations;

// Any box during the start means it did not go as it should.
class NoBoxes : public widgets::MessageService {
public:
    int message(const QString &text, const QString &, Icon, QMessageBox::StandardButtons) override
    {
        shown.append(text);
        return QMessageBox::Ok;
    }
    int exec(QDialog &) override
    {
        shown.append(QStringLiteral("a dialog"));
        return 0;
    }
    QStringList shown;
};

// The demo database of about 200 patients: what the start costs apart from
// the size of the lists.
QString demoSqlite(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("demo.db"));
    hospital::openEmbedded(path, hospital::MissingFile::CreateWithDemo);
    return path;
}

void StartupToPatientList(benchmark::State &state, bool large)
{
    QTemporaryDir dir;
    const QString database = large ? largeSqlite() : demoSqlite(dir);
    shell::MainWindowOptions options;
    options.userSettingsPath = dir.filePath(QStringLiteral("signin.ini"));
    {
        QSettings settings(options.userSettingsPath, QSettings::IniFormat);
        settings.setValue(QStringLiteral("database/kind"), QStringLiteral("embedded"));
        settings.setValue(QStringLiteral("database/file"), database);
        settings.setValue(QStringLiteral("signin/employee"), QStringLiteral("1001"));
        qputenv("CHEMODESK_ACCESS_CODE", "ROSE1001");
    }
    options.programFolder = QStringLiteral(CHEMODESK_RESOURCES_DIR);
    options.instanceLockPath = dir.filePath(QStringLiteral("chemodesk.lock"));

    NoBoxes boxes;
    widgets::setMessageService(&boxes);
    long rows = 0;
    for (auto _ : state) {
        session::resetGlobals();
        auto window = std::make_unique<shell::frmMain>(options);
        if (!window->startUp() || !window->patientList()) {
            state.SkipWithError(qPrintable(QStringLiteral("start-up refused: ") +
                                           boxes.shown.join(QStringLiteral("; "))));
            break;
        }
        QApplication::processEvents();
        rows = window->patientList()->ListView1->topLevelItemCount();
        state.PauseTiming();
        window->close();
        window.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    widgets::setMessageService(nullptr);
    if (!boxes.shown.isEmpty() && !state.error_occurred())
        state.SkipWithError(qPrintable(boxes.shown.join(QStringLiteral("; "))));
    state.counters["listed"] = static_cast<double>(rows);
}

} // namespace

BENCHMARK_CAPTURE(StartupToPatientList, registrations_1000000, true)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(StartupToPatientList, demo, false)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
