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
#include "config/logger_connection.h"
#include "config/send_configuration.h"
#include "link/device_line.h"
#include "link/link_report.h"
#include "model/memory_image.h"
#include "platform/event_pump.h"
#include "platform/progress.h"
#include "sim/emulator.h"
#include "sim/emulator_line.h"
#include "sim/presets.h"
#include "tests/support/silent_prompt.h"

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
    qz::test::SilentPrompt prompt;
    NullProgress progress;
    NullEventPump pump;
    LoggerProtocol q(LinkSettings{portName, false}, std::move(counting), clock);
    std::array<std::uint8_t, mem::kDeviceImageSize> image{};
    if (connectAndReadDevice(q, image.data(), progress, pump, prompt) != DeviceRead::Read) {
        state.SkipWithError("the logger could not be read");
        return;
    }
    counts = {};
    const ByteView view{image.data(), image.size()};
    ConfigurationEntry entry;
    entry.intervalSeconds = 30;
    entry.comment = QStringLiteral("Bench");
    entry.stop = StopChoice::Cyclic;
    LinkReport report(q, prompt);
    const auto start = std::chrono::steady_clock::now();
    const SendOutcome outcome = sendConfiguration(
        q, view, {}, [&] { return storeConfiguration(view, entry) == IntervalCheck::Ok; }, clock, progress,
        pump, report);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    if (outcome != SendOutcome::Sent || prompt.messages != 0)
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
