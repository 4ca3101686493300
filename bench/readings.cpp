// One readings cycle (the ping, then the plain reading, as the readings window takes one a
// second) against the time its bytes need on the wire: every byte sent or received is 10
// bit times at 19200 baud, and echo pacing puts each frame byte and its echo one after the
// other. The port is open and settled before the cycles are timed, as a cycle's own
// exchanges are what the budget is about; the window's whole cycle, with the opening of
// its port and the 500 ms that a newly opened port is given to settle, is timed apart.
// Counters: wire_s (that bound, per cycle), ratio (measured / bound), bytes (per cycle).
//
//   paced, in process:  the emulator line on the system clock, paced at 19200 baud
//   paced, pty:         quorzk-sim --paced on a pseudo-terminal, through the device line
//   virtual:            the emulator line on a virtual clock: the program's own work only
//   window, in process: as the window does it, a protocol object and its port per cycle,
//                       on the port's worker thread, the result back on this thread
#include "bench/bench_lines.h"
#include "jobs/job_messages.h"
#include "jobs/logger_ports.h"
#include "jobs/readings_job.h"
#include "jobs/threaded_job_runner.h"
#include "link/device_line.h"
#include "link/logger_protocol.h"
#include "realtime/input_conversion.h"
#include "realtime/reading_cycle.h"
#include "sim/emulator.h"
#include "sim/emulator_line.h"
#include "sim/presets.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace {

using namespace qz;
using bench::CountingLine;

constexpr int kCycles = 10;

// kCycles cycles on one open port; what they cost per cycle.
void cycles(benchmark::State& state, std::unique_ptr<LineBackend> line, Clock& clock, const QString& portName)
{
    bench::LineCounts counted;
    auto counting = std::make_unique<CountingLine>(std::move(line), counted);
    LoggerProtocol q(LinkSettings{portName, false}, std::move(counting), clock);
    if (q.ensureOpen() != LinkStatus::Ok) {
        state.SkipWithError("the port did not open");
        return;
    }
    counted.sent = counted.received = 0;
    Reading reading;
    int read = 0;
    int messages = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCycles; ++i) {
        const ReadingResult r = readingJob(q, ConnectPolicy::Ask, false);
        read += r.status == ReadingStatus::Read ? 1 : 0;
        messages += int(messagesOf(r).size());
        reading = r.reading;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    benchmark::DoNotOptimize(reading);
    state.SetIterationTime(seconds / kCycles);
    if (read != kCycles || messages != 0)
        state.SkipWithError("a cycle did not read");
    const std::int64_t bytes = counted.total() / kCycles;
    state.counters["wire_s"] = bench::WireSeconds(bytes);
    state.counters["ratio"] = seconds / kCycles / bench::WireSeconds(bytes);
    state.counters["bytes"] = double(bytes);
}

sim::MemoryPreset eightInputs()
{
    return {.deviceCode = 485, .content = sim::Content::Erased};
}

void BM_ReadingsCyclePacedInProcess(benchmark::State& state)
{
    for (auto _ : state) {
        sim::EmulatorOptions options;
        options.paced = true;
        sim::Emulator emulator(options);
        sim::loadMemory(emulator.logger(), eightInputs());
        SystemClock clock;
        cycles(state, std::make_unique<sim::EmulatorLine>(emulator, clock), clock, "sim");
    }
}
BENCHMARK(BM_ReadingsCyclePacedInProcess)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ReadingsCyclePacedPty(benchmark::State& state)
{
    for (auto _ : state) {
        const bench::SimOnPty sim({"--model", "485", "--paced"});
        if (sim.path().isEmpty()) {
            state.SkipWithError("quorzk-sim did not start (build it first)");
            break;
        }
        SystemClock clock;
        cycles(state, std::make_unique<DeviceLine>(), clock, sim.path());
    }
}
BENCHMARK(BM_ReadingsCyclePacedPty)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ReadingsCycleVirtualClock(benchmark::State& state)
{
    sim::Emulator emulator;
    sim::loadMemory(emulator.logger(), eightInputs());
    for (auto _ : state) {
        bench::FixedClock clock;
        cycles(state, std::make_unique<sim::EmulatorLine>(emulator, clock), clock, "sim");
    }
}
BENCHMARK(BM_ReadingsCycleVirtualClock)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The window's cycle: a protocol object on its port, opened and settled, then the cycle,
// then the port closed, all on the port's worker; the result back on this thread and the
// values put into text.
void BM_WindowCyclePacedInProcess(benchmark::State& state)
{
    sim::EmulatorOptions options;
    options.paced = true;
    sim::Emulator emulator(options);
    sim::loadMemory(emulator.logger(), eightInputs());
    SystemClock clock;
    LineRegistry lines;
    lines.addNamed(QStringLiteral("sim"),
                   [&] { return std::make_unique<sim::EmulatorLine>(emulator, clock); });
    ThreadedJobRunner runner;
    LoggerPorts ports(runner, lines, clock);
    QObject context;
    InputConversions inputs;
    for (InputConversion& c : inputs) {
        c.enabled = true;
        c.high = 100;
        c.slope = 100.0 / 255;
        c.pattern = QStringLiteral("0.0");
    }
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        QEventLoop loop;
        ports.run(
            LinkSettings{QStringLiteral("sim"), false}, &context, nullptr, nullptr,
            [](LoggerProtocol& q, Progress&) { return readingJob(q, ConnectPolicy::Ask, false); },
            [&](const ReadingResult& r) {
                if (r.status != ReadingStatus::Read)
                    state.SkipWithError("the cycle did not read");
                for (int i = 0; i < 8; ++i)
                    benchmark::DoNotOptimize(inputs[std::size_t(i)].text(r.reading.input(i)));
                loop.quit();
            });
        loop.exec();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}
BENCHMARK(BM_WindowCyclePacedInProcess)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
