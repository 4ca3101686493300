// Sending a configuration (the Config button's sequence: the run state, reset, program
// block, input table, the program block read back, the clock record) against the time its
// bytes need on the wire: every byte sent or received is 10 bit times at 19200 baud, and
// echo pacing puts each frame byte and its echo one after the other. The logger has been
// read first, as the Configuration command does, so the port is open and settled.
// Counters: wire_s (that bound), ratio (measured / bound), bytes.
//
//   paced, in process:  the emulator line on the system clock, paced at 19200 baud
//   paced, pty:         quorzk-sim --paced on a pseudo-terminal, through the device line
//   virtual:            the emulator line on a virtual clock: the program's own work only
#include "bench/bench_lines.h"
#include "config/configuration_rules.h"
#include "jobs/configure_job.h"
#include "jobs/device_read_job.h"
#include "jobs/job_messages.h"
#include "link/device_line.h"
#include "model/memory_image.h"
#include "platform/progress.h"
#include "sim/emulator.h"
#include "sim/emulator_line.h"
#include "sim/presets.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <memory>

namespace {

using namespace qz;
using bench::CountingLine;
using bench::FixedClock;

void sendOnce(benchmark::State& state, std::unique_ptr<LineBackend> line, Clock& clock,
              const QString& portName)
{
    bench::LineCounts counts;
    auto counting = std::make_unique<CountingLine>(std::move(line), counts);
    NullProgress progress;
    LoggerProtocol q(LinkSettings{portName, false}, std::move(counting), clock);
    const DeviceReadResult read = deviceReadJob(q, ConnectPolicy::Ask, progress);
    if (read.status != DeviceReadStatus::Read) {
        state.SkipWithError("the logger could not be read");
        return;
    }
    counts = {};
    std::array<std::uint8_t, mem::kDeviceImageSize> image = read.image;
    const ByteView view{image.data(), image.size()};
    ConfigurationEntry entry;
    entry.intervalSeconds = 30;
    entry.comment = QStringLiteral("Bench");
    entry.stop = StopChoice::Cyclic;
    const auto start = std::chrono::steady_clock::now();
    ConfigureResult r;
    if (storeConfiguration(view, entry) == IntervalCheck::Ok)
        r = configureJob(q, image, StartRequest{}, ConfigurePolicy{}, progress);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    if (r.status != ConfigureStatus::Sent || !messagesOf(r).isEmpty())
        state.SkipWithError("the configuration was not sent");
    const double wire = bench::WireSeconds(counts.total());
    state.counters["wire_s"] = wire;
    state.counters["ratio"] = seconds / wire;
    state.counters["bytes"] = double(counts.total());
}

void BM_ConfigurePacedInProcess(benchmark::State& state)
{
    for (auto _ : state) {
        sim::EmulatorOptions options;
        options.paced = true;
        sim::Emulator emulator(options);
        sim::loadMemory(emulator.logger(), {.deviceCode = 485, .content = sim::Content::Linear});
        SystemClock clock;
        sendOnce(state, std::make_unique<sim::EmulatorLine>(emulator, clock), clock, "sim");
    }
}
BENCHMARK(BM_ConfigurePacedInProcess)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ConfigurePacedPty(benchmark::State& state)
{
    for (auto _ : state) {
        const bench::SimOnPty sim({"--model", "485", "--paced"});
        if (sim.path().isEmpty()) {
            state.SkipWithError("quorzk-sim did not start (build it first)");
            break;
        }
        SystemClock clock;
        sendOnce(state, std::make_unique<DeviceLine>(), clock, sim.path());
    }
}
BENCHMARK(BM_ConfigurePacedPty)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ConfigureVirtualClock(benchmark::State& state)
{
    for (auto _ : state) {
        sim::Emulator emulator;
        sim::loadMemory(emulator.logger(), {.deviceCode = 485, .content = sim::Content::Linear});
        FixedClock clock;
        sendOnce(state, std::make_unique<sim::EmulatorLine>(emulator, clock), clock, "sim");
    }
}
BENCHMARK(BM_ConfigureVirtualClock)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
