// Opening the largest recording file: load, which reads 65,416 bytes and runs
// initialize (catalogue look-up, conversions, value search over every sample).
#include "large_recording.h"

#include "recording/recording.h"

#include <benchmark/benchmark.h>

namespace {

void BM_LoadFileAndInitialize(benchmark::State& state)
{
    const qz::bench::LargeRecording file(int(state.range(0)));
    for (auto _ : state) {
        qz::Recording recording{qz::ProgramFolder(file.folder())};
        if (!recording.load(file.path()).ok()) {
            state.SkipWithError("the recording was refused");
            break;
        }
        benchmark::DoNotOptimize(recording.view(0).average);
    }
}
BENCHMARK(BM_LoadFileAndInitialize)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond);

void BM_SaveFile(benchmark::State& state)
{
    const qz::bench::LargeRecording file(1);
    qz::Recording recording{qz::ProgramFolder(file.folder())};
    if (!recording.load(file.path()).ok()) {
        state.SkipWithError("the recording was refused");
        return;
    }
    const QString target = file.scratch(QStringLiteral("saved.qrv"));
    for (auto _ : state)
        benchmark::DoNotOptimize(recording.save(target).ok());
}
BENCHMARK(BM_SaveFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
