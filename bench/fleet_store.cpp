// The fleet store in a SQLite file of a temporary folder:
//
//   insert:  one collection of a full memory, 60,960 measurements, in its transaction
//            (8 inputs: 7,620 rows; 1 input: 60,960 rows). Budget: 200 ms.
//   export:  `store export` of a logger with 1,000,000 stored measurements as CSV into a
//            file (8 inputs: 125,000 lines; 1 input: 1,000,000 lines). Budget: 2 s.
//   range:   the 30 days of measurements a plot of a logger reads, from a store of
//            10,000,000 (one logger of 8 inputs, a measurement a minute: 43,200 rows).
//            The plot's own drawing comes on top.
#include "store/fleet_store.h"
#include "model/collection_plan.h"
#include "store/store_csv.h"
#include "tests/support/image_builder.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>

namespace {

using namespace qz;

// A header of a logger with `inputs` inputs measuring every minute, in a 508-block memory.
QByteArray headerOf(int inputs, const char* serial)
{
    test::ImageBuilder b;
    b.serial(serial).deviceCode(test::kCodeLarge).interval(1, 60).start(26, 1, 1, 0, 0, 0);
    for (int i = 0; i < inputs; ++i)
        b.input(i,
                {QStringLiteral("Input %1").arg(i + 1),
                 QStringLiteral("\xB0"
                                "C"),
                 -40, 85, 0, 255 * 256});
    b.measurements(1, [](int, int) { return std::uint8_t(0); });
    return b.build().left(int(mem::kHeaderSize));
}

// A collection of `records` new measurements from the recording's start, as many blocks as
// they fill (a harvest is not bound to one memory's size).
CollectionEntry entryOf(int inputs, std::int64_t records, const char* serial)
{
    CollectionEntry e;
    e.label = QStringLiteral("Bench");
    e.hostTime = QDateTime(QDate(2026, 3, 5), QTime(12, 0));
    const QByteArray header = headerOf(inputs, serial);
    e.header.assign(header.begin(), header.end());
    e.harvested = true;
    e.harvest.newRecording = true;
    e.harvest.origin = *civilSeconds(2026, 1, 1, 0, 0, 0);
    const int perBlock = 120 / inputs;
    for (std::int64_t first = 0; first < records; first += perBlock) {
        TakenBlock b;
        b.seqBase = first;
        b.from = 1;
        b.to = int(std::min<std::int64_t>(perBlock, records - first));
        for (int k = 0; k < b.to * inputs; ++k)
            b.bytes[mem::kSamples + std::size_t(k)] = std::uint8_t((first * inputs + k) * 7);
        e.harvest.blocks.push_back(b);
    }
    e.harvest.upTo.origin = e.harvest.origin;
    e.harvest.upTo.lastSeq = records;
    e.harvest.upTo.tailRecords = e.harvest.blocks.back().to;
    return e;
}

bool openStore(FleetStore& store, const QTemporaryDir& dir)
{
    QString error;
    return store.open(*StoreUrl::parse(QStringLiteral("sqlite:") + dir.filePath("fleet.sqlite"), {}, error))
        .ok();
}

void BM_StoreInsertFullMemory(benchmark::State& state)
{
    const int inputs = int(state.range(0));
    const CollectionEntry entry = entryOf(inputs, 60960 / inputs, "0001");
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        FleetStore store;
        if (!openStore(store, dir))
            state.SkipWithError("store not opened");
        state.ResumeTiming();
        const SavedCollection saved = store.save(entry);
        if (!saved.result.ok() || saved.newMeasurements != 60960)
            state.SkipWithError("not saved");
    }
    state.counters["measurements"] = 60960;
}
BENCHMARK(BM_StoreInsertFullMemory)->Arg(8)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_StoreExportMillion(benchmark::State& state)
{
    const int inputs = int(state.range(0));
    QTemporaryDir dir;
    FleetStore store;
    if (!openStore(store, dir) || !store.save(entryOf(inputs, 1000000 / inputs, "0002")).result.ok()) {
        state.SkipWithError("store not filled");
        return;
    }
    std::int64_t rows = 0;
    for (auto _ : state) {
        // As the command does it: the logger's recordings, then every measurement to a file.
        std::vector<StoredRecording> recordings;
        store.recordingsOf(QStringLiteral("0002"), recordings);
        QFile out(dir.filePath("export.csv"));
        out.open(QIODevice::WriteOnly);
        const CsvExportResult r =
            exportStoredCsv(store, recordings, std::numeric_limits<LoggerSeconds>::min(),
                            std::numeric_limits<LoggerSeconds>::max(), out);
        if (!r.ok())
            state.SkipWithError("export failed");
        rows = r.rows;
    }
    state.counters["measurements"] = double(rows * inputs);
}
BENCHMARK(BM_StoreExportMillion)->Arg(8)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_StoreRead30DaysOf10Million(benchmark::State& state)
{
    QTemporaryDir dir;
    FleetStore store;
    const std::int64_t records = 10000000 / 8;
    if (!openStore(store, dir) || !store.save(entryOf(8, records, "0003")).result.ok()) {
        state.SkipWithError("store not filled");
        return;
    }
    std::vector<StoredRecording> recordings;
    store.recordingsOf(QStringLiteral("0003"), recordings);
    // 30 days from day 400 on.
    const LoggerSeconds from = recordings[0].origin + 400 * 86400;
    const LoggerSeconds to = from + 30 * 86400;
    std::int64_t rows = 0;
    for (auto _ : state) {
        rows = 0;
        std::vector<std::uint8_t> samples;
        samples.reserve(43201 * 8);
        store.measurements(recordings[0], from, to, [&](LoggerSeconds, const std::array<int, 8>& raw) {
            for (int i = 0; i < 8; ++i)
                samples.push_back(std::uint8_t(raw[std::size_t(i)]));
            ++rows;
        });
    }
    state.counters["rows"] = double(rows);
    state.counters["stored"] = double(records * 8);
}
BENCHMARK(BM_StoreRead30DaysOf10Million)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv); // the SQL drivers are plug-ins
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
