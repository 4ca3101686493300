// `quorzk-cli plot --store` of a 30-day range from a store of 10,000,000 measurements (one
// logger of 8 inputs, a measurement a minute: 43,200 measurements a day... 43,201 rows in
// the range, more than one memory holds, so each input's extremes are drawn). Budget:
// 300 ms.
//
//   in process:  the range read, made a recording, drawn at 800 x 600 into an image
//   command:     the whole quorzk-cli process, PNG written
#include "graph/graph_draw.h"
#include "graph/graph_fonts.h"
#include "graph/graph_view.h"
#include "model/collection_plan.h"
#include "recording/recording_data.h"
#include "store/fleet_store.h"
#include "store/store_image.h"
#include "tests/support/image_builder.h"

#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <memory>

namespace {

using namespace qz;

constexpr std::int64_t kRecords = 10000000 / 8;

struct TenMillion {
    QTemporaryDir dir;
    FleetStore store;
    bool ok = false;

    TenMillion()
    {
        QString error;
        if (!store.open(*StoreUrl::parse(QStringLiteral("sqlite:") + dir.filePath("fleet.sqlite"), {}, error))
                 .ok())
            return;
        test::ImageBuilder b;
        b.serial("0003").deviceCode(485).interval(1, 60).start(24, 1, 1, 0, 0, 0);
        for (int i = 0; i < 8; ++i)
            b.input(i,
                    {QStringLiteral("Input %1").arg(i + 1),
                     QStringLiteral("\xB0"
                                    "C"),
                     -40, 85, 0, 255 * 256});
        b.measurements(1, [](int, int) { return std::uint8_t(0); });
        const QByteArray header = b.build().left(int(mem::kHeaderSize));
        CollectionEntry e;
        e.label = QStringLiteral("Bench");
        e.hostTime = QDateTime(QDate(2026, 3, 5), QTime(12, 0));
        e.header.assign(header.begin(), header.end());
        e.harvested = true;
        e.harvest.newRecording = true;
        e.harvest.origin = *civilSeconds(2024, 1, 1, 0, 0, 0);
        for (std::int64_t first = 0; first < kRecords; first += 15) {
            TakenBlock t;
            t.seqBase = first;
            t.to = int(std::min<std::int64_t>(15, kRecords - first));
            for (int k = 0; k < t.to * 8; ++k) // a daily wave on every input
                t.bytes[mem::kSamples + std::size_t(k)] =
                    std::uint8_t(128 + 100 * std::sin(double(first + k / 8) / 1440.0 * 6.2832) + (k % 8) * 3);
            e.harvest.blocks.push_back(t);
        }
        e.harvest.upTo.origin = e.harvest.origin;
        e.harvest.upTo.lastSeq = kRecords;
        ok = store.save(e).result.ok();
    }
};

void plotInProcess(benchmark::State& state, TenMillion& s)
{
    if (!s.ok) {
        state.SkipWithError("store not filled");
        return;
    }
    const LoggerSeconds from = *civilSeconds(2025, 2, 1, 0, 0, 0);
    const LoggerSeconds to = from + 30 * 86400;
    for (auto _ : state) {
        std::vector<StoredRecording> recordings;
        s.store.recordingsOf(QStringLiteral("0003"), recordings);
        const StoredImage drawn = storedImage(s.store, recordings.back(), from, to);
        const RecordingResult made =
            RecordingData::fromImage(drawn.image, 0, ProgramFolder(QUORZK_BINARY_DIR));
        if (!made.ok()) {
            state.SkipWithError("not drawn");
            break;
        }
        benchmark::DoNotOptimize(graphBitmap(GraphView(made.data), QSize(800, 600)));
        state.counters["measurements"] = double(drawn.measurements * 8);
        state.counters["per_record"] = drawn.perRecord;
    }
}
void plotCommand(benchmark::State& state, TenMillion& s)
{
    if (!s.ok) {
        state.SkipWithError("store not filled");
        return;
    }
    for (auto _ : state) {
        QProcess p;
        const auto start = std::chrono::steady_clock::now();
        p.start(QStringLiteral(QUORZK_BINARY_DIR "/quorzk-cli"),
                {"plot", "--store", QStringLiteral("sqlite:") + s.dir.filePath("fleet.sqlite"), "--logger",
                 "0003", "--from", "2025-02-01 00:00:00", "--to", "2025-03-03 00:00:00", "--output",
                 s.dir.filePath("plot.png"), "--force"});
        p.waitForFinished(60000);
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (p.exitCode() != 0)
            state.SkipWithError(p.readAllStandardError().constData());
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    qz::setUpFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    TenMillion store; // made once for both
    benchmark::RegisterBenchmark("BM_PlotStoreInProcess",
                                 [&store](benchmark::State& s) { plotInProcess(s, store); })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RegisterBenchmark("BM_PlotStoreCommand",
                                 [&store](benchmark::State& s) { plotCommand(s, store); })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5)
        ->UseManualTime();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
