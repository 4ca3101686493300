// Zoom steps of the largest recordings (one input of 60,960 measurements; eight inputs of
// 7,620) on a 1600 x 900 graph: a new level (values searched, range scaled, tested) and
// the full redraw; the step back with its redraw; a graphic configuration applied; and
// the same zoom step through the graph window's mouse (press, move, release).
// Signals: 0 smooth waves, 1 a noisy random walk (as bench_draw), 2 a sawtooth that
// crosses the whole range at every sample (the largest-recording file of the other
// benchmarks; the worst case: every pixel column is filled top to bottom per input).
// Goal: under 5 ms per step. Run: build/bench/bench_zoom
#include "graph/zoom.h"
#include "bench/full_image.h"
#include "bench/large_recording.h"
#include "graph/graph_draw.h"
#include "graph/graph_fonts.h"
#include "graph/graph_view.h"
#include "graph/ui/graph_paint_box.h"
#include "graph/ui/graph_window.h"
#include "platform/clock.h"
#include "recording/recording_data.h"
#include "tests/support/silent_prompt.h"

#include <QApplication>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const QSize kCanvas(1600, 900);
// The middle half of the 1600 x 900 plot (60..1540 x 26..856).
const QPoint kFrom(430, 230);
const QPoint kTo(1170, 650);

// A recording of the given inputs and signal, in a program folder with its catalogue.
struct Source {
    Source(int inputs, int signal)
    {
        if (signal == 2) {
            file = std::make_unique<qz::bench::LargeRecording>(inputs);
            folder = file->folder();
        } else {
            image = qz::bench::FullImage(inputs, signal == 1);
            folder = QStringLiteral(QUORZK_BINARY_DIR);
        }
    }
    // The recording; null when it is refused.
    std::shared_ptr<const qz::RecordingData> data() const
    {
        const qz::ProgramFolder programFolder(folder);
        if (file)
            return qz::RecordingData::fromFile(file->path(), programFolder).data;
        return qz::RecordingData::fromImage(image, 0, programFolder).data;
    }

    std::unique_ptr<qz::bench::LargeRecording> file;
    QByteArray image;
    QString folder;
};

struct Loaded {
    std::unique_ptr<Source> source;
    std::unique_ptr<qz::GraphView> view;
};

Loaded load(const benchmark::State& state)
{
    Loaded l;
    l.source = std::make_unique<Source>(int(state.range(0)), int(state.range(1)));
    if (const auto data = l.source->data())
        l.view = std::make_unique<qz::GraphView>(data);
    return l;
}

void BM_ZoomStep(benchmark::State& state)
{
    Loaded l = load(state);
    if (!l.view) {
        state.SkipWithError("the recording was refused");
        return;
    }
    qz::GraphView& rec = *l.view;
    QImage canvas;
    const qz::GraphTarget target = qz::prepareCanvas(canvas, kCanvas, true);
    const qz::GraphLayout layout = qz::computeLayout(target, rec);
    for (auto _ : state) {
        const qz::ZoomResult r = qz::zoomIn(rec, layout, kFrom, kTo);
        if (r.outcome != qz::ZoomOutcome::Zoomed) {
            state.SkipWithError("the zoom was refused");
            return;
        }
        canvas.fill(Qt::white);
        QPainter p(&canvas);
        qz::drawGraph(p, target, rec);
        p.end();
        state.PauseTiming();
        qz::zoomOut(rec);
        state.ResumeTiming();
    }
    state.counters["measurements"] = double(rec.view(1).count());
}
BENCHMARK(BM_ZoomStep)->ArgsProduct({{1, 8}, {0, 1, 2}})->Unit(benchmark::kMillisecond);

void BM_ZoomBack(benchmark::State& state)
{
    Loaded l = load(state);
    if (!l.view) {
        state.SkipWithError("the recording was refused");
        return;
    }
    qz::GraphView& rec = *l.view;
    QImage canvas;
    const qz::GraphTarget target = qz::prepareCanvas(canvas, kCanvas, true);
    const qz::GraphLayout layout = qz::computeLayout(target, rec);
    for (auto _ : state) {
        state.PauseTiming();
        qz::zoomIn(rec, layout, kFrom, kTo);
        state.ResumeTiming();
        qz::zoomOut(rec);
        canvas = qz::newCanvas(kCanvas); // the back step blanks the canvas
        QPainter p(&canvas);
        qz::drawGraph(p, target, rec);
    }
}
BENCHMARK(BM_ZoomBack)->ArgsProduct({{1, 8}, {0, 1, 2}})->Unit(benchmark::kMillisecond);

void BM_GraphicConfigApplied(benchmark::State& state)
{
    Loaded l = load(state);
    if (!l.view) {
        state.SkipWithError("the recording was refused");
        return;
    }
    qz::GraphView& rec = *l.view;
    QImage canvas;
    const qz::GraphTarget target = qz::prepareCanvas(canvas, kCanvas, true);
    qz::DisplaySettings settings = rec.settings();
    for (auto _ : state) {
        settings.autoScale = !settings.autoScale;
        rec.applyGraphicConfig(rec.colours(), settings);
        canvas.fill(Qt::white);
        QPainter p(&canvas);
        qz::drawGraph(p, target, rec);
    }
}
BENCHMARK(BM_GraphicConfigApplied)->ArgsProduct({{1, 8}, {0, 1, 2}})->Unit(benchmark::kMillisecond);

void Send(QWidget* box, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent e(type, at, box->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(box, &e);
}

// The whole gesture in the window: press, a move that draws the rectangle, release, the
// level and the redraw of the paint box's image.
void BM_ZoomStepByMouse(benchmark::State& state)
{
    const Source source(int(state.range(0)), int(state.range(1)));
    qz::test::SilentPrompt prompt;
    qz::SystemClock clock;
    QMdiArea area;
    area.resize(kCanvas + QSize(100, 100));
    area.show();
    auto* window = new qz::GraphWindow(prompt, clock, nullptr);
    area.addSubWindow(window);
    window->show();
    window->resize(window->size() + kCanvas - window->paintBox()->size());
    const auto data = source.data();
    if (!data || window->paintBox()->size() != kCanvas) {
        state.SkipWithError("no window of the recording");
        return;
    }
    window->showRecording(data, true);
    area.activateWindow();
    area.setActiveSubWindow(window);
    QCoreApplication::processEvents();
    QWidget* box = window->paintBox();
    for (auto _ : state) {
        Send(box, QEvent::MouseButtonPress, kFrom, Qt::LeftButton, Qt::LeftButton);
        Send(box, QEvent::MouseMove, kTo, Qt::NoButton, Qt::LeftButton);
        Send(box, QEvent::MouseButtonRelease, kTo, Qt::LeftButton, Qt::NoButton);
        state.PauseTiming();
        if (window->view().currentLevel() != 1) {
            state.SkipWithError("the zoom was refused");
            return;
        }
        window->view().setCurrentLevel(0);
        state.ResumeTiming();
    }
    if (prompt.messages != 0)
        state.SkipWithError("a message was shown");
}
BENCHMARK(BM_ZoomStepByMouse)->ArgsProduct({{1, 8}, {0, 1, 2}})->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qz::setUpFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
