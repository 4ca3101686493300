// Full redraws of the largest recordings (one input with 60,960 measurements; eight
// inputs of 7,620) into a 1600 x 900 canvas, as the graph window's paint does. Goal: under
// 10 ms per redraw. Run: build/bench/bench_draw
#include "graph/graph_draw.h"
#include "graph/graph_fonts.h"
#include "model/memory_image.h"
#include "model/real48.h"
#include "model/values.h"
#include "recording/recording.h"

#include <QGuiApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <memory>

namespace {

// A full 508-block memory in a wrapped ring, the first `inputs` inputs recorded. Noisy:
// every sample a random step of up to 20 counts from the previous one, the worst case for
// merging lines (long vertical runs in every pixel column). Smooth: slow waves, as a
// temperature recording looks.
QByteArray FullImage(int inputs, bool noisy)
{
    QByteArray a(int(qz::mem::kImageSize), '\0');
    auto at = [&](std::size_t p) { return reinterpret_cast<std::uint8_t*>(a.data()) + p; };
    auto u16 = [&](std::size_t p, unsigned v) {
        a[int(p)] = char(v & 0xFF);
        a[int(p + 1)] = char(v >> 8);
    };
    qz::StrToBytes(QStringLiteral("0042"), at(qz::mem::kSerialNumber), 4);
    u16(qz::mem::kDeviceCode, 485); // 508 blocks in the shipped catalogue
    qz::StrToBytes(QStringLiteral("Largest recording").leftJustified(50), at(qz::mem::kRecordName), 50);
    a[int(qz::mem::kSamplingPeriod)] = 1;
    a[int(qz::mem::kSamplingReload)] = 1;
    u16(qz::mem::kSamplesPerInterval, 60);
    a[int(qz::mem::kInputMask)] = char((1u << inputs) - 1);
    a[int(qz::mem::kInputCount)] = char(inputs);
    for (int i = 0; i < inputs; ++i) {
        const std::size_t d = qz::mem::DescriptorAddress(i);
        qz::StrToBytes(QStringLiteral("degC"), at(d + qz::mem::kInputUnit), 5);
        qz::DoubleToReal48(-20, at(d + qz::mem::kScaleLow));
        qz::DoubleToReal48(80, at(d + qz::mem::kScaleHigh));
        u16(qz::mem::kCalLow + 2 * std::size_t(i), 0);
        u16(qz::mem::kCalHigh + 2 * std::size_t(i), 255 * 256);
    }
    const int perBlock = 120 / inputs;
    const std::uint8_t stamp[6] = {0x24, 0x01, 0x15, 0x08, 0x00, 0x00};
    std::uint32_t seed = 7;
    int v = 128;
    for (int j = 0; j < qz::mem::kMaxBlocks; ++j) {
        const std::size_t b = qz::mem::BlockAddress((200 + j) % qz::mem::kMaxBlocks);
        a[int(b)] = char(perBlock * inputs);
        std::copy(stamp, stamp + 6, at(b + 1));
        for (int s = 0; s < perBlock * inputs; ++s) {
            if (noisy) {
                seed = seed * 1103515245u + 12345u;
                v = std::clamp(v + int((seed >> 16) % 41) - 20, 0, 255);
            } else {
                const int k = j * perBlock + s / inputs;
                v = 128 + int(90 * std::sin(k / (900.0 + 150 * (s % inputs))));
            }
            a[int(b + qz::mem::kSamples + std::size_t(s))] = char(v);
        }
    }
    u16(qz::mem::kBlocksUsed, qz::mem::kMaxBlocks);
    u16(qz::mem::kFirstBlock, 200);
    return a;
}

std::unique_ptr<qz::Recording> Load(int inputs, bool noisy)
{
    auto r = std::make_unique<qz::Recording>(qz::ProgramFolder(QStringLiteral(QUORZK_BINARY_DIR)));
    r->SetImage(FullImage(inputs, noisy));
    if (!r->Initialize()) {
        std::fprintf(stderr, "the recording was refused (devices.ini beside the benchmarks?)\n");
        return nullptr;
    }
    return r;
}

void BM_RedrawLargest(benchmark::State& state)
{
    auto rec = Load(int(state.range(0)), state.range(1) != 0);
    if (!rec) {
        state.SkipWithError("no recording");
        return;
    }
    QImage canvas;
    const qz::GraphTarget target = qz::PrepareCanvas(canvas, QSize(1600, 900), true);
    for (auto _ : state) {
        QPainter p(&canvas);
        qz::DrawGraph(p, target, *rec);
    }
    state.counters["measurements"] = double(rec->MeasurementCount());
}
// Arguments: inputs, noisy.
BENCHMARK(BM_RedrawLargest)->ArgsProduct({{1, 8}, {0, 1}})->Unit(benchmark::kMillisecond);

void BM_BitmapLargest(benchmark::State& state)
{
    auto rec = Load(int(state.range(0)), state.range(1) != 0);
    if (!rec) {
        state.SkipWithError("no recording");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(qz::GraphBitmap(*rec, QSize(1600, 900)));
}
BENCHMARK(BM_BitmapLargest)->ArgsProduct({{1, 8}, {0, 1}})->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    qz::SetUpFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
