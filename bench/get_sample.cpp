// Walks every sample of a full 508-block recording through the reader's sample(), input
// by input, as the graph does on each redraw. Reports the time per sample.
#include "model/image_reader.h"
#include "tests/support/image_builder.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// 508 full blocks in a wrapped ring, the first `inputs` inputs recorded.
std::vector<std::uint8_t> FullImage(int inputs)
{
    qz::test::ImageBuilder b;
    b.deviceCode(485).firstBlock(200);
    for (int i = 0; i < inputs; ++i)
        b.input(i, {});
    const int perBlock = int(qz::mem::kSampleArea) / inputs;
    b.measurements(qz::mem::kMaxBlocks * perBlock, [](int k, int i) { return std::uint8_t(k + i); });
    return b.bytes();
}

void BM_GetSampleFullImage(benchmark::State& state)
{
    const int inputs = int(state.range(0));
    const std::vector<std::uint8_t> bytes = FullImage(inputs);
    const qz::ImageReader reader(qz::ConstByteView{bytes.data(), bytes.size()});
    const int records = reader.recordCount();
    for (auto _ : state) {
        unsigned sum = 0;
        for (int input = 0; input < qz::mem::kInputs; ++input) {
            if (!reader.isInputRecorded(input))
                continue;
            for (int n = 1; n <= records; ++n)
                sum += reader.sample(input, n);
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
