// Export of the largest recording (60,960 lines with one input, 7,620 lines of eight
// values with eight inputs) to a file, in the plain text and the Excel layout and as
// comma-separated values.
#include "large_recording.h"

#include "platform/progress.h"
#include "recording/exports.h"
#include "recording/recording_data.h"

#include <benchmark/benchmark.h>

namespace {

void BM_ExportFile(benchmark::State& state)
{
    const qz::bench::LargeRecording file(int(state.range(0)));
    const qz::LoadResult loaded = qz::RecordingData::fromFile(file.path(), qz::ProgramFolder(file.folder()));
    if (!loaded.ok()) {
        state.SkipWithError("the recording was refused");
        return;
    }
    const qz::RecordingData& data = *loaded.data;
    const qz::DataRange range = qz::wholeRecording(data);
    const auto kind = static_cast<qz::ExportKind>(state.range(1));
    const QString target = file.scratch(QStringLiteral("export.txt"));
    qz::NullProgress progress;
    for (auto _ : state) {
        if (qz::exportFile(target, data, range, kind, progress).result != qz::ExportResult::Done) {
            state.SkipWithError("the export failed");
            break;
        }
    }
    state.counters["lines"] = range.count();
}
BENCHMARK(BM_ExportFile)
    ->Args({1, int(qz::ExportKind::Text)})
    ->Args({1, int(qz::ExportKind::Excel)})
    ->Args({8, int(qz::ExportKind::Text)})
    ->Args({1, int(qz::ExportKind::Csv)})
    ->Args({8, int(qz::ExportKind::Csv)})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
