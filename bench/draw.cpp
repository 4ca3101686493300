// Full redraws of the largest recordings (one input with 60,960 measurements; eight
// inputs of 7,620) into a 1600 x 900 canvas, as the graph window's paint does. Goal: under
// 10 ms per redraw. Run: build/bench/bench_draw
#include "bench/full_image.h"
#include "graph/graph_draw.h"
#include "graph/graph_fonts.h"
#include "graph/graph_view.h"
#include "recording/recording_data.h"

#include <QGuiApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace {

std::unique_ptr<qz::GraphView> load(int inputs, bool noisy)
{
    const qz::RecordingResult made = qz::RecordingData::fromImage(
        qz::bench::FullImage(inputs, noisy), 0, qz::ProgramFolder(QStringLiteral(QUORZK_BINARY_DIR)));
    if (!made.ok()) {
        std::fprintf(stderr, "the recording was refused (devices.ini beside the benchmarks?)\n");
        return nullptr;
    }
    return std::make_unique<qz::GraphView>(made.data);
}

void BM_RedrawLargest(benchmark::State& state)
{
    auto rec = load(int(state.range(0)), state.range(1) != 0);
    if (!rec) {
        state.SkipWithError("no recording");
        return;
    }
    QImage canvas;
    const qz::GraphTarget target = qz::prepareCanvas(canvas, QSize(1600, 900), true);
    for (auto _ : state) {
        QPainter p(&canvas);
        qz::drawGraph(p, target, *rec);
    }
    state.counters["measurements"] = double(rec->data().measurementCount());
}
// Arguments: inputs, noisy.
BENCHMARK(BM_RedrawLargest)->ArgsProduct({{1, 8}, {0, 1}})->Unit(benchmark::kMillisecond);

void BM_BitmapLargest(benchmark::State& state)
{
    auto rec = load(int(state.range(0)), state.range(1) != 0);
    if (!rec) {
        state.SkipWithError("no recording");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(qz::graphBitmap(*rec, QSize(1600, 900)));
}
BENCHMARK(BM_BitmapLargest)->ArgsProduct({{1, 8}, {0, 1}})->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    qz::setUpFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
