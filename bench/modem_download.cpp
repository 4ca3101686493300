// Downloading a logger through the emulator's telephone modem, paced at 19200 baud, against
// the time its bytes need on the wire (10 bit times a byte, echo pacing one byte after the
// other). The modem front adds its latency each way on every byte in data mode, so every
// frame byte costs a round trip of the modem line on top of its wire time.
// Counters: wire_s (the bound), s (the download's time), ratio (s / wire_s), modem_s (what
// the same download costs more than over the cable), frames, and per_frame_byte_ms (the
// modem's cost per frame byte: twice its latency when nothing else is lost).
//
//   full memory, modelled:  508 blocks on a virtual clock that follows the paced bytes,
//                           with and without the verified second read (the default
//                           through a modem); the time is the line's, not the program's
//   30 blocks, real time:   the same on the system clock, to show the model holds
#include "bench/bench_lines.h"
#include "jobs/download_job.h"
#include "jobs/job_messages.h"
#include "link/modem_dialer.h"
#include "model/byte_view.h"
#include "model/memory_image.h"
#include "platform/progress.h"
#include "sim/emulator.h"
#include "sim/emulator_line.h"
#include "sim/presets.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace {

using namespace qz;
using bench::CountingLine;

constexpr std::int64_t kLatencyUs = 40000; // the modem front's default, each way

class ModelClock final : public Clock {
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

struct Run {
    bool ok = false;
    double seconds = 0;
    std::int64_t bytes = 0;
    std::int64_t frames = 0;
    std::int64_t frameBytes = 0; // bytes the program sent in frames (each pays a round trip)
};

sim::MemoryPreset memory(int blocks)
{
    sim::MemoryPreset preset;
    preset.deviceCode = 485; // 508 blocks
    if (blocks >= mem::kMaxBlocks) {
        preset.content = sim::Content::Wrapped;
    } else {
        preset.content = sim::Content::Linear;
        preset.blocks = blocks;
    }
    return preset;
}

// One download, through the modem (dialed first, not timed) or over the cable.
Run download(Clock& clock, const std::function<double()>& elapsed, bool modem, bool verify, int blocks)
{
    sim::EmulatorOptions options;
    options.paced = true;
    options.modem.enabled = modem;
    options.modem.latencyUs = kLatencyUs;
    options.modem.dialUs = 100000;
    sim::Emulator emulator(options);
    sim::loadMemory(emulator.logger(), memory(blocks));
    emulator.keepFrameLog(true);
    Run run;
    if (modem) {
        LoggerProtocol caller(LinkSettings{"modem", true},
                              std::make_unique<sim::EmulatorLine>(emulator, clock), clock);
        ModemDialer dialer(caller);
        DialOutcome outcome = dialer.call({}, QStringLiteral("5551234"), false);
        if (outcome == DialOutcome::Waiting)
            outcome = dialer.waitForAnswer();
        if (outcome != DialOutcome::Connected)
            return run;
    }
    const std::int64_t logged = std::int64_t(emulator.frameLog().size());
    const std::int64_t in = emulator.bytesIn();
    NullProgress progress;
    bench::LineCounts counts;
    LoggerProtocol q(
        LinkSettings{"sim", modem},
        std::make_unique<CountingLine>(std::make_unique<sim::EmulatorLine>(emulator, clock), counts), clock);
    DownloadPolicy policy;
    policy.verify = verify;
    const DeviceCatalog catalog(ProgramFolder(QStringLiteral(QUORZK_BINARY_DIR)));
    const double start = elapsed();
    const DownloadResult r = downloadJob(q, policy, catalog, progress);
    run.seconds = elapsed() - start;
    const int used = ConstByteView{r.image.data(), r.image.size()}.u16(mem::kBlocksUsed);
    run.bytes = counts.total();
    run.frames = std::int64_t(emulator.frameLog().size()) - logged;
    run.frameBytes = emulator.bytesIn() - in;
    run.ok = r.status == DownloadStatus::Read && used == std::min(blocks, int(mem::kMaxBlocks))
        && messagesOf(r).isEmpty();
    return run;
}

void report(benchmark::State& state, const Run& modem, const Run& cable)
{
    if (!modem.ok || !cable.ok)
        state.SkipWithError("download failed");
    const double wire = bench::WireSeconds(modem.bytes);
    state.SetIterationTime(modem.seconds);
    state.counters["wire_s"] = wire;
    state.counters["s"] = modem.seconds;
    state.counters["ratio"] = modem.seconds / wire;
    state.counters["cable_s"] = cable.seconds;
    state.counters["modem_s"] = modem.seconds - cable.seconds;
    state.counters["frames"] = double(modem.frames);
    state.counters["per_frame_byte_ms"] =
        modem.frameBytes > 0 ? (modem.seconds - cable.seconds) * 1000.0 / double(modem.frameBytes) : 0;
}

void modelled(benchmark::State& state, bool verify)
{
    for (auto _ : state) {
        ModelClock modemClock;
        const Run modem = download(
            modemClock, [&] { return double(modemClock.now) / 1000.0; }, true, verify, mem::kMaxBlocks);
        ModelClock cableClock;
        const Run cable = download(
            cableClock, [&] { return double(cableClock.now) / 1000.0; }, false, verify, mem::kMaxBlocks);
        report(state, modem, cable);
    }
}

void BM_ModemDownloadFullMemoryModelled(benchmark::State& state)
{
    modelled(state, false);
}
BENCHMARK(BM_ModemDownloadFullMemoryModelled)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void BM_ModemDownloadFullMemoryVerifiedModelled(benchmark::State& state)
{
    modelled(state, true);
}
BENCHMARK(BM_ModemDownloadFullMemoryVerifiedModelled)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

void BM_ModemDownload30BlocksRealTime(benchmark::State& state)
{
    for (auto _ : state) {
        const auto seconds = [] {
            return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
        };
        SystemClock modemClock;
        const Run modem = download(modemClock, seconds, true, false, 30);
        SystemClock cableClock;
        const Run cable = download(cableClock, seconds, false, false, 30);
        report(state, modem, cable);
    }
}
BENCHMARK(BM_ModemDownload30BlocksRealTime)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace
BENCHMARK_MAIN();
