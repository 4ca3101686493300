// Downloads over a noisy line: 300 downloads of a full 60-block memory with 0.3 % of the
// logger's bytes hit by a bit error (seeds 1..300), plain and verified. Each download is
// exact (the image holds the logger's bytes), refused (a message, nothing taken) or wrong
// (taken, but not the logger's bytes: what must never happen). The line is paced at 19200
// baud on a virtual clock, so the line time of a download is exact and repeatable; the
// ratio of the two modes is given in line time and in bytes on the wire, and once more
// measured on the real clock without errors.
//
//   bench_download_soak                                  both
//   bench_download_soak --benchmark_filter=Soak          the 600 downloads
//
// Counters (soak): plain_exact, plain_refused, plain_wrong, verified_*, line_ratio
// (verified / plain line time of the exact downloads), bytes_ratio. Paced: ratio.
#include "jobs/download_job.h"
#include "model/byte_view.h"
#include "model/memory_image.h"
#include "platform/progress.h"
#include "sim/emulator.h"
#include "sim/emulator_line.h"
#include "sim/presets.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

using namespace qz;

constexpr int kDownloads = 300;
constexpr double kErrorRate = 0.003;
constexpr int kBlocks = 60; // the memory of device code 0

class LineClock final : public Clock {
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

sim::MemoryPreset fullMemory()
{
    sim::MemoryPreset preset;
    preset.deviceCode = 0;
    preset.content = sim::Content::Linear;
    preset.blocks = kBlocks;
    return preset;
}

enum class Result {
    Exact,
    Refused,
    Wrong
};

struct Run {
    Result result = Result::Refused;
    std::int64_t lineMs = 0;
    std::int64_t bytes = 0;
};

// One download of the full memory; errors at the rate from the seed (none for rate 0).
Run downloadOnce(bool verify, double rate, std::uint64_t seed, Clock& clock, bool paced)
{
    sim::EmulatorOptions options;
    options.paced = paced;
    sim::Emulator emulator(options);
    sim::loadMemory(emulator.logger(), fullMemory());
    emulator.setByteErrors(rate, seed);
    NullProgress progress;
    LoggerProtocol q(LinkSettings{"sim", false}, std::make_unique<sim::EmulatorLine>(emulator, clock), clock);
    DownloadPolicy policy;
    policy.verify = verify;
    policy.keepPartial = Decision::No;
    policy.saveUnknownModel = Decision::No;
    const std::int64_t start = clock.tickMs();
    const DownloadResult r =
        downloadJob(q, policy, DeviceCatalog(ProgramFolder(QStringLiteral(QUORZK_BINARY_DIR))), progress);
    Run run;
    run.lineMs = clock.tickMs() - start;
    run.bytes = emulator.bytesIn() + emulator.bytesOut();
    if (r.status != DownloadStatus::Read)
        return run;
    const std::vector<std::uint8_t>& image = r.image;
    const std::uint8_t* m = emulator.logger().memory();
    const std::size_t afterFirstBlock = mem::kFirstBlock + 2;
    const bool exact = ConstByteView{image.data(), image.size()}.u16(mem::kBlocksUsed) == kBlocks
        && std::memcmp(image.data(), m, mem::kBlocksUsed) == 0
        && std::memcmp(image.data() + afterFirstBlock, m + afterFirstBlock,
                       mem::blockAddress(kBlocks) - afterFirstBlock)
            == 0;
    run.result = exact ? Result::Exact : Result::Wrong;
    return run;
}

struct Tally {
    int exact = 0, refused = 0, wrong = 0;
    double lineMs = 0, bytes = 0; // over the exact downloads
};

Tally soak(bool verify)
{
    Tally t;
    for (int seed = 1; seed <= kDownloads; ++seed) {
        LineClock clock;
        const Run run = downloadOnce(verify, kErrorRate, std::uint64_t(seed), clock, true);
        switch (run.result) {
        case Result::Exact:
            ++t.exact;
            t.lineMs += double(run.lineMs);
            t.bytes += double(run.bytes);
            break;
        case Result::Refused:
            ++t.refused;
            break;
        case Result::Wrong:
            ++t.wrong;
            break;
        }
    }
    return t;
}

void BM_Soak(benchmark::State& state)
{
    for (auto _ : state) {
        const Tally plain = soak(false);
        const Tally verified = soak(true);
        state.counters["plain_exact"] = plain.exact;
        state.counters["plain_refused"] = plain.refused;
        state.counters["plain_wrong"] = plain.wrong;
        state.counters["verified_exact"] = verified.exact;
        state.counters["verified_refused"] = verified.refused;
        state.counters["verified_wrong"] = verified.wrong;
        // Per exact download, so that refusals (which end early) do not bend the ratio.
        if (plain.exact > 0 && verified.exact > 0) {
            state.counters["line_ratio"] = (verified.lineMs / verified.exact) / (plain.lineMs / plain.exact);
            state.counters["bytes_ratio"] = (verified.bytes / verified.exact) / (plain.bytes / plain.exact);
            state.counters["plain_line_s"] = plain.lineMs / plain.exact / 1000.0;
        }
        if (verified.wrong != 0)
            std::fprintf(stderr, "bench_download_soak: %d verified downloads took wrong data\n",
                         verified.wrong);
    }
}
BENCHMARK(BM_Soak)->Iterations(1)->Unit(benchmark::kSecond);

// A plain and a verified download on the real clock, paced in process, without errors.
void BM_PacedVerifyRatio(benchmark::State& state)
{
    for (auto _ : state) {
        SystemClock clock;
        double seconds[2] = {};
        for (const bool verify : {false, true}) {
            const auto start = std::chrono::steady_clock::now();
            const Run run = downloadOnce(verify, 0.0, 1, clock, true);
            seconds[verify] = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            if (run.result != Result::Exact)
                state.SkipWithError("a paced download was not exact");
        }
        state.SetIterationTime(seconds[0] + seconds[1]);
        state.counters["plain_s"] = seconds[0];
        state.counters["verified_s"] = seconds[1];
        state.counters["ratio"] = seconds[1] / seconds[0];
    }
}
BENCHMARK(BM_PacedVerifyRatio)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
