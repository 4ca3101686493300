// Downloading a full 508-block logger memory (a wrapped ring, so every block is read),
// against the time its bytes need on the wire: every byte sent or received is 10 bit
// times at 19200 baud, and echo pacing puts each frame byte and its echo one after the
// other. Counters: wire_s (that bound), ratio (measured / bound), bytes.
//
//   paced, in process:  the emulator line on the system clock, paced at 19200 baud
//   paced, pty:         quorzk-sim --paced on a pseudo-terminal, through the device line
//   unpaced:            the emulator line on the system clock, bytes arrive at once
//                       (includes the 500 ms the port settles after opening)
//   virtual:            the emulator line on a virtual clock: the program's own work only
//   ... traced:         the same with a wire trace written to a temporary file
#include "bench/bench_lines.h"
#include "jobs/download_job.h"
#include "jobs/job_messages.h"
#include "link/device_line.h"
#include "link/traced_line.h"
#include "link/wire_trace.h"
#include "model/byte_view.h"
#include "model/memory_image.h"
#include "platform/progress.h"
#include "sim/emulator.h"
#include "sim/emulator_line.h"
#include "sim/presets.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace {

using namespace qz;
using bench::CountingLine;
using bench::FixedClock;

sim::MemoryPreset fullMemory()
{
    sim::MemoryPreset preset;
    preset.deviceCode = 485; // 508 blocks
    preset.content = sim::Content::Wrapped;
    return preset;
}

// One download over the given line (traced into a temporary file when asked); reports
// the counters and whether it succeeded.
void downloadOnce(benchmark::State& state, std::unique_ptr<LineBackend> line, Clock& clock,
                  const QString& portName, bool traced = false)
{
    bench::LineCounts counts;
    auto counting = std::make_unique<CountingLine>(std::move(line), counts);
    QTemporaryDir dir;
    WireTrace trace(dir.filePath("trace.txt"), clock);
    std::unique_ptr<LineBackend> port = std::move(counting);
    if (traced)
        port = std::make_unique<TracedLine>(std::move(port), trace);
    NullProgress progress;
    LoggerProtocol q(LinkSettings{portName, false}, std::move(port), clock);
    const DeviceCatalog catalog(ProgramFolder(QStringLiteral(QUORZK_BINARY_DIR)));
    const auto start = std::chrono::steady_clock::now();
    const DownloadResult r = downloadJob(q, DownloadPolicy{}, catalog, progress);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    const int blocksUsed = ConstByteView{r.image.data(), r.image.size()}.u16(mem::kBlocksUsed);
    if (r.status != DownloadStatus::Read || blocksUsed != mem::kMaxBlocks || !messagesOf(r).isEmpty())
        state.SkipWithError("download failed");
    const double wire = bench::WireSeconds(counts.total());
    state.counters["wire_s"] = wire;
    state.counters["ratio"] = seconds / wire;
    state.counters["bytes"] = double(counts.total());
}

void BM_DownloadPacedInProcess(benchmark::State& state)
{
    for (auto _ : state) {
        sim::EmulatorOptions options;
        options.paced = true;
        sim::Emulator emulator(options);
        sim::loadMemory(emulator.logger(), fullMemory());
        SystemClock clock;
        downloadOnce(state, std::make_unique<sim::EmulatorLine>(emulator, clock), clock, "sim");
    }
}
BENCHMARK(BM_DownloadPacedInProcess)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_DownloadPacedInProcessTraced(benchmark::State& state)
{
    for (auto _ : state) {
        sim::EmulatorOptions options;
        options.paced = true;
        sim::Emulator emulator(options);
        sim::loadMemory(emulator.logger(), fullMemory());
        SystemClock clock;
        downloadOnce(state, std::make_unique<sim::EmulatorLine>(emulator, clock), clock, "sim", true);
    }
}
BENCHMARK(BM_DownloadPacedInProcessTraced)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_DownloadPacedPty(benchmark::State& state)
{
    for (auto _ : state) {
        const bench::SimOnPty sim({"--model", "485", "--memory", "wrapped", "--paced"});
        if (sim.path().isEmpty()) {
            state.SkipWithError("quorzk-sim did not start (build it first)");
            break;
        }
        SystemClock clock;
        downloadOnce(state, std::make_unique<DeviceLine>(), clock, sim.path());
    }
}
BENCHMARK(BM_DownloadPacedPty)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_DownloadUnpaced(benchmark::State& state)
{
    for (auto _ : state) {
        sim::Emulator emulator;
        sim::loadMemory(emulator.logger(), fullMemory());
        SystemClock clock;
        downloadOnce(state, std::make_unique<sim::EmulatorLine>(emulator, clock), clock, "sim");
    }
}
BENCHMARK(BM_DownloadUnpaced)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_DownloadUnpacedTraced(benchmark::State& state)
{
    for (auto _ : state) {
        sim::Emulator emulator;
        sim::loadMemory(emulator.logger(), fullMemory());
        SystemClock clock;
        downloadOnce(state, std::make_unique<sim::EmulatorLine>(emulator, clock), clock, "sim", true);
    }
}
BENCHMARK(BM_DownloadUnpacedTraced)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_DownloadVirtualClock(benchmark::State& state)
{
    for (auto _ : state) {
        sim::Emulator emulator;
        sim::loadMemory(emulator.logger(), fullMemory());
        FixedClock clock;
        downloadOnce(state, std::make_unique<sim::EmulatorLine>(emulator, clock), clock, "sim");
    }
}
BENCHMARK(BM_DownloadVirtualClock)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
