// Start-up to a usable main window: the options dialog's port enumeration, the menus and
// tool buttons, the help window, and the first paint of the shown window.
#include "app/ui/document_dialogs.h"
#include "app/ui/main_window.h"
#include "app/ui/simulated_logger.h"
#include "graph/graph_fonts.h"
#include "jobs/threaded_job_runner.h"
#include "link/comm_settings.h"
#include "link/line_registry.h"
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "tests/support/silent_prompt.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Answers every question with its cautious default, so nothing waits for a user.
void BM_StartupToUsableMainWindow(benchmark::State& state)
{
    QTemporaryDir folder;
    QFile::copy(QStringLiteral(QUORZK_BINARY_DIR "/devices.ini"), folder.filePath("devices.ini"));
    QFile::copy(QStringLiteral(QUORZK_BINARY_DIR "/Default.mdm"), folder.filePath("Default.mdm"));
    qz::SystemClock clock;
    qz::QtEventPump pump;
    qz::test::SilentPrompt prompt;
    qz::QtDocumentDialogs dialogs;
    for (auto _ : state) {
        qz::setUpFontSubstitutions();
        qz::LineRegistry lines;
        qz::SimulatedLogger simulated;
        simulated.registerIn(lines, clock);
        qz::ThreadedJobRunner jobs;
        qz::MainWindow form(
            qz::AppServices{prompt, clock, pump, qz::ProgramFolder(folder.path()), dialogs, lines, jobs});
        form.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(form.isVisible());
        state.PauseTiming();
        form.hide();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToUsableMainWindow)->Unit(benchmark::kMillisecond)->Iterations(20);

// The port list alone: the platform's ports, each opened once, and the simulated logger.
void BM_PortEnumeration(benchmark::State& state)
{
    QTemporaryDir folder;
    qz::SystemClock clock;
    qz::LineRegistry lines;
    qz::SimulatedLogger simulated;
    simulated.registerIn(lines, clock);
    for (auto _ : state) {
        qz::CommSettings settings(folder.filePath("QUORZK.INI"), qz::PortProbe::forRegistry(lines), false);
        settings.settleAtStart();
        benchmark::DoNotOptimize(settings.ports().size());
    }
}
BENCHMARK(BM_PortEnumeration)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
