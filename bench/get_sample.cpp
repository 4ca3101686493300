// Walks every sample of a full 508-block recording through GetSample, input by input, as
// the graph does on each redraw. Reports the time per sample.
#include "model/memory_image.h"
#include "model/quorvant_data.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

struct FullImage {
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(qz::mem::kImageSize, 0);
    qz::TQuorvantData data{qz::ProgramFolder(QString())};

    explicit FullImage(int inputs)
    {
        auto u16 = [&](std::size_t at, std::uint16_t v) {
            bytes[at] = std::uint8_t(v & 0xFF);
            bytes[at + 1] = std::uint8_t(v >> 8);
        };
        u16(qz::mem::kDeviceCode, 485); // 508 blocks
        bytes[qz::mem::kInputCount] = std::uint8_t(inputs);
        bytes[qz::mem::kInputMask] = std::uint8_t((1u << inputs) - 1);
        u16(qz::mem::kBlocksUsed, 508);
        u16(qz::mem::kFirstBlock, 200); // a wrapped ring
        const int perBlock = 120 / inputs;
        for (int k = 0; k < qz::mem::kMaxBlocks; ++k) {
            const std::size_t at = qz::mem::BlockAddress(k);
            bytes[at] = std::uint8_t(perBlock * inputs);
            for (std::size_t i = 0; i < qz::mem::kSampleArea; ++i)
                bytes[at + qz::mem::kSamples + i] = std::uint8_t(k + i);
        }
        data.BindImage(bytes.data(), bytes.size());
        data.BindRecord();
    }
};

void BM_GetSampleFullImage(benchmark::State& state)
{
    const int inputs = int(state.range(0));
    FullImage image(inputs);
    qz::TQuorvantData& d = image.data;
    const int records = d.GetRecordCount();
    for (auto _ : state) {
        unsigned sum = 0;
        d.CurrentOffset = 0;
        for (int input = d.FirstInput(); input <= d.LastInput(); ++input) {
            d.CurrentInput = input;
            if (!d.IsInputEnabled())
                continue;
            for (int n = 1; n <= records; ++n)
                sum += d.GetSample(n);
            ++d.CurrentOffset;
        }
        benchmark::DoNotOptimize(sum);
    }
    const double samples = double(records) * inputs;
    state.counters["samples"] = samples;
    // Seconds per sample (shown with an SI prefix, e.g. 2.1n = 2.1 ns).
    state.counters["per_sample"] = benchmark::Counter(
        samples, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetItemsProcessed(std::int64_t(samples) * state.iterations());
}

BENCHMARK(BM_GetSampleFullImage)->Arg(1)->Arg(8)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
