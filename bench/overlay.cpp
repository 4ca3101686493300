// Four full recordings (4 x 60,960 measurements, one input each, an hour apart) in one
// graph at 1600 x 900, drawn with one value axis per unit: a full redraw, a zoom
// rectangle with its redraw, a pan step and a wheel step with theirs. Signals as in
// bench_draw: 0 smooth, 1 noisy. Goal: under 5 ms per step. Run: build/bench/bench_overlay
// build/bench/bench_overlay --save DIR writes the four noisy recordings as DIR/run1.qrv ..
// run4.qrv instead, for timing the whole process of
//   quorzk-cli plot run1.qrv run2.qrv run3.qrv run4.qrv --size 1600x900 --output four.png
// (goal: under 150 ms; hyperfine -w 3 -r 20 '...').
#include "graph/graph_draw.h"
#include "graph/graph_fonts.h"
#include "graph/graph_view.h"
#include "graph/navigation.h"
#include "graph/zoom.h"
#include "recording/recording_data.h"
#include "tests/support/image_builder.h"

#include <QGuiApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

const QSize kCanvas(1600, 900);

QByteArray fullImage(int hour, bool noisy, std::uint32_t seed)
{
    qz::test::ImageBuilder b;
    b.serial("0042")
        .deviceCode(485)
        .recordName(QStringLiteral("Freezer run"))
        .interval(1, 60)
        .start(24, 1, 15, hour, 0, 0)
        .input(0, {QStringLiteral("Air"), QStringLiteral("degC"), -40, 60, 0, 255 * 256});
    int v = 128;
    b.measurements(qz::mem::kMaxBlocks * int(qz::mem::kSampleArea), [&](int k, int) {
        if (noisy) {
            seed = seed * 1103515245u + 12345u;
            v = std::clamp(v + int((seed >> 16) % 41) - 20, 0, 255);
        } else {
            v = 128 + int(90 * std::sin((k - 1) / 900.0 + hour));
        }
        return std::uint8_t(v);
    });
    return b.build();
}

std::unique_ptr<qz::GraphView> fourRecordings(bool noisy)
{
    const qz::ProgramFolder folder(QStringLiteral(QUORZK_BINARY_DIR));
    std::unique_ptr<qz::GraphView> view;
    for (int n = 0; n < 4; ++n) {
        const qz::RecordingResult made =
            qz::RecordingData::fromImage(fullImage(8 + n, noisy, 7u + n), 0, folder);
        if (!made.ok())
            return nullptr;
        if (!view)
            view = std::make_unique<qz::GraphView>(made.data);
        else
            view->addRecording(made.data);
    }
    return view;
}

struct Canvas {
    QImage image = qz::newCanvas(kCanvas);
    qz::GraphTarget target = qz::screenTarget(kCanvas);

    qz::GraphLayout draw(const qz::GraphView& view)
    {
        image.fill(Qt::white);
        QPainter p(&image);
        return qz::drawGraph(p, target, view).layout;
    }
};

void BM_OverlayRedraw(benchmark::State& state)
{
    const auto view = fourRecordings(state.range(0) != 0);
    if (!view) {
        state.SkipWithError("the recordings were refused (devices.ini beside the benchmarks?)");
        return;
    }
    Canvas c;
    for (auto _ : state)
        c.draw(*view);
    state.counters["measurements"] = 4.0 * view->data().measurementCount();
}
BENCHMARK(BM_OverlayRedraw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_OverlayZoomStep(benchmark::State& state)
{
    const auto view = fourRecordings(state.range(0) != 0);
    if (!view) {
        state.SkipWithError("the recordings were refused");
        return;
    }
    Canvas c;
    const qz::GraphLayout layout = c.draw(*view);
    const QPoint from(layout.left + layout.width() / 4, layout.top + 40);
    const QPoint to(layout.left + 3 * layout.width() / 4, layout.bottom - 40);
    for (auto _ : state) {
        if (qz::zoomIn(*view, layout, from, to).outcome != qz::ZoomOutcome::Zoomed) {
            state.SkipWithError("the zoom was refused");
            return;
        }
        c.draw(*view);
        state.PauseTiming();
        qz::zoomOut(*view);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OverlayZoomStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Alternately 40 pixels one way and back, on a level a quarter of the whole.
void BM_OverlayPanStep(benchmark::State& state)
{
    const auto view = fourRecordings(state.range(0) != 0);
    if (!view) {
        state.SkipWithError("the recordings were refused");
        return;
    }
    Canvas c;
    qz::GraphLayout layout = c.draw(*view);
    qz::zoomTimeAround(*view, layout, (layout.left + layout.right) / 2, 0.25);
    layout = c.draw(*view);
    int sign = 1;
    for (auto _ : state) {
        qz::pan(*view, layout, QPoint(40 * sign, 0));
        c.draw(*view);
        sign = -sign;
    }
}
BENCHMARK(BM_OverlayPanStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A notch in, a notch out, around the middle.
void BM_OverlayWheelStep(benchmark::State& state)
{
    const auto view = fourRecordings(state.range(0) != 0);
    if (!view) {
        state.SkipWithError("the recordings were refused");
        return;
    }
    Canvas c;
    qz::GraphLayout layout = c.draw(*view);
    qz::zoomTimeAround(*view, layout, (layout.left + layout.right) / 2, 0.5);
    layout = c.draw(*view);
    double factor = 0.8;
    for (auto _ : state) {
        qz::zoomTimeAround(*view, layout, (layout.left + layout.right) / 2, factor);
        c.draw(*view);
        factor = 1 / factor;
    }
}
BENCHMARK(BM_OverlayWheelStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--save") == 0) {
        for (int n = 0; n < 4; ++n) {
            const QString name = QString::fromLocal8Bit(argv[2]) + QStringLiteral("/run%1.qrv").arg(n + 1);
            if (!qz::saveImageFile(fullImage(8 + n, true, 7u + n), name).ok())
                return 1;
        }
        return 0;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    qz::setUpFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
