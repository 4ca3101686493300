// Opening the largest recording file: LoadFile, which reads 65,416 bytes and runs
// Initialize (catalogue look-up, conversions, value search over every sample).
#include "large_recording.h"
#include "tests/support/silent_prompt.h"

#include "platform/prompt.h"

#include <benchmark/benchmark.h>

namespace {

void BM_LoadFileAndInitialize(benchmark::State& state)
{
    const qz::bench::LargeRecording file(int(state.range(0)));
    qz::test::SilentPrompt prompt;
    for (auto _ : state) {
        qz::Recording recording{qz::ProgramFolder(file.folder())};
        if (!recording.LoadFile(file.path(), prompt)) {
            state.SkipWithError("the recording was refused");
            break;
        }
        benchmark::DoNotOptimize(recording.View(0).average);
    }
}
BENCHMARK(BM_LoadFileAndInitialize)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond);

void BM_SaveFile(benchmark::State& state)
{
    const qz::bench::LargeRecording file(1);
    qz::test::SilentPrompt prompt;
    qz::Recording recording{qz::ProgramFolder(file.folder())};
    if (!recording.LoadFile(file.path(), prompt)) {
        state.SkipWithError("the recording was refused");
        return;
    }
    const QString target = file.scratch(QStringLiteral("saved.qrv"));
    for (auto _ : state)
        benchmark::DoNotOptimize(recording.save(target));
}
BENCHMARK(BM_SaveFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
