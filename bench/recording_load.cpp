// Opening the largest recording file as the Open command does: the file (65,416 bytes) read
// into its recording data (catalogue and settings look-up, conversions), and the new
// graph view over it (value search over every sample, plotted ranges).
#include "large_recording.h"

#include "graph/graph_view.h"
#include "recording/recording_data.h"

#include <benchmark/benchmark.h>

namespace {

void BM_LoadFileAndInitialize(benchmark::State& state)
{
    const qz::bench::LargeRecording file(int(state.range(0)));
    for (auto _ : state) {
        const qz::LoadResult loaded =
            qz::RecordingData::fromFile(file.path(), qz::ProgramFolder(file.folder()));
        if (!loaded.ok()) {
            state.SkipWithError("the recording was refused");
            break;
        }
        const qz::GraphView view(loaded.data);
        benchmark::DoNotOptimize(view.view(0).average);
    }
}
BENCHMARK(BM_LoadFileAndInitialize)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond);

void BM_SaveFile(benchmark::State& state)
{
    const qz::bench::LargeRecording file(1);
    const qz::LoadResult loaded = qz::RecordingData::fromFile(file.path(), qz::ProgramFolder(file.folder()));
    if (!loaded.ok()) {
        state.SkipWithError("the recording was refused");
        return;
    }
    const QString target = file.scratch(QStringLiteral("saved.qrv"));
    for (auto _ : state)
        benchmark::DoNotOptimize(qz::saveRecordingFile(*loaded.data, target).ok());
}
BENCHMARK(BM_SaveFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
