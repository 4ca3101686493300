// The raw memory dump of a full 508-block memory, written to a file, against the time its
// bytes need on the wire (10 bit times per byte at 19200 baud, each frame byte and its echo
// one after the other). Counters: wire_s (that bound), ratio (measured / bound), bytes.
//
//   paced:   the emulator line on the system clock, paced at 19200 baud
//   virtual: the emulator line on a virtual clock: the program's own work only, the file
//            write included
#include "jobs/raw_dump_job.h"
#include "link/logger_protocol.h"
#include "platform/progress.h"
#include "sim/emulator.h"
#include "sim/emulator_line.h"
#include "sim/presets.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>

namespace {

using namespace qz;

class FixedClock final : public Clock {
public:
    std::int64_t tickMs() override { return now; }
    void sleepMs(std::int64_t ms) override
    {
        if (ms > 0)
            now += ms;
    }
    QDateTime localNow() override { return QDateTime(QDate(2026, 3, 5), QTime(12, 0)).addMSecs(now); }
    std::int64_t now = 0;
};

void dumpOnce(benchmark::State& state, bool paced, Clock& clock)
{
    sim::EmulatorOptions options;
    options.paced = paced;
    sim::Emulator emulator(options);
    sim::MemoryPreset preset;
    preset.deviceCode = 485; // 508 blocks
    preset.content = sim::Content::Wrapped;
    sim::loadMemory(emulator.logger(), preset);
    QTemporaryDir dir;
    NullProgress progress;
    LoggerProtocol q(LinkSettings{"sim", false}, std::make_unique<sim::EmulatorLine>(emulator, clock), clock);
    const auto start = std::chrono::steady_clock::now();
    const RawDumpResult out = rawDumpJob(q, dir.filePath("debug.qrv"), progress);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    if (out.status != RawDumpStatus::Written || out.missedBlocks != 0 || out.blocks != 508)
        state.SkipWithError("raw dump failed");
    const double bytes = double(emulator.bytesIn() + emulator.bytesOut());
    const double wire = bytes * 10.0 / 19200.0;
    state.counters["wire_s"] = wire;
    state.counters["ratio"] = seconds / wire;
    state.counters["bytes"] = bytes;
}

void BM_RawDumpPaced(benchmark::State& state)
{
    for (auto _ : state) {
        SystemClock clock;
        dumpOnce(state, true, clock);
    }
}
BENCHMARK(BM_RawDumpPaced)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_RawDumpVirtualClock(benchmark::State& state)
{
    for (auto _ : state) {
        FixedClock clock;
        dumpOnce(state, false, clock);
    }
}
BENCHMARK(BM_RawDumpVirtualClock)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
