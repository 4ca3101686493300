// A collection that finds one new block: the logger's clock and header, that block, and the
// store's transaction, against the time its bytes need on the wire at 19200 baud (every
// byte sent and received, echo pacing puts them one after the other). The logger is the
// emulator, paced at 19200 baud on the system clock; the port is open already (a port that
// opens lets the line settle for 500 ms first, once per logger and collection).
// Counters: wire_s (that bound), ratio (measured / bound), blocks (data blocks read), bytes.
//
//   Arg 0: plain reads; Arg 1: verified reads (the fleet file's default: every area twice).
//
// 32 loggers, each quorzk-sim --fleet on its own pseudo-terminal paced at 19200 baud, all
// collected together for the first time (120 blocks each, 9.5 s on the wire) on the workers of their ports,
// against the wire time of the slowest one. The 500 ms each port settles after opening is
// in the measured time (the ports open at once).
#include "bench/bench_lines.h"
#include "fleet/fleet_collection.h"
#include "fleet/logger_collection.h"
#include "jobs/threaded_job_runner.h"
#include "link/device_line.h"
#include "sim/emulator.h"
#include "sim/emulator_line.h"
#include "sim/presets.h"
#include "store/fleet_store.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>

namespace {

using namespace qz;

void BM_CollectOneNewBlock(benchmark::State& state)
{
    const bool verify = state.range(0) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        FleetStore store;
        QString error;
        if (!store.open(*StoreUrl::parse(QStringLiteral("sqlite:") + dir.filePath("fleet.sqlite"), {}, error))
                 .ok())
            state.SkipWithError("store not opened");
        sim::Emulator emulator;
        sim::MemoryPreset preset; // 8 inputs a minute, 15 measurements a block
        preset.deviceCode = 485;
        preset.blocks = 20;
        preset.running = true;
        sim::loadMemory(emulator.logger(), preset);
        sim::Logger& logger = emulator.logger();
        logger.advance(logger.elapsedUs() + 8 * 60 * sim::kUsPerSecond); // the last block full
        SystemClock clock;
        bench::LineCounts counts;
        LoggerProtocol q(LinkSettings{QStringLiteral("sim"), false},
                         std::make_unique<bench::CountingLine>(
                             std::make_unique<sim::EmulatorLine>(emulator, clock), counts),
                         clock);
        FleetLogger fleetLogger;
        fleetLogger.label = QStringLiteral("Plant room");
        fleetLogger.port = QStringLiteral("sim");
        fleetLogger.verify = verify;
        NullProgress progress;
        const DeviceCatalog catalog(
            ProgramFolder(QStringLiteral(QUORZK_BINARY_DIR))); // devices.ini beside the programs
        const auto collect = [&] {
            ProgressBook book;
            store.loadProgress(book);
            CollectPolicy policy;
            policy.verify = verify;
            policy.collected = [&book](const RecordingKey& key) { return book.lookUp(key); };
            const LoggerCollection c = collectLogger(fleetLogger, q, policy, catalog, progress);
            return std::make_pair(c, store.save(entryOf(c)));
        };
        collect(); // the first collection: the whole recording
        logger.advance(logger.elapsedUs() + 15 * 60 * sim::kUsPerSecond); // one block more
        emulator.setPaced(true);
        counts = {};
        state.ResumeTiming();

        const auto start = std::chrono::steady_clock::now();
        const auto [c, saved] = collect();
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        if (!collected(c) || !saved.result.ok() || saved.newMeasurements != 15 * 8)
            state.SkipWithError("not collected");
        const double wire = bench::WireSeconds(counts.total());
        state.counters["wire_s"] = wire;
        state.counters["ratio"] = seconds / wire;
        state.counters["blocks"] = c.result.blocksRead;
        state.counters["bytes"] = double(counts.total());
    }
}
BENCHMARK(BM_CollectOneNewBlock)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_Collect32LoggersOnPtys(benchmark::State& state)
{
    const int n = 32;
    for (auto _ : state) {
        state.PauseTiming();
        QProcess sim;
        sim.start(QStringLiteral(QUORZK_BINARY_DIR "/quorzk-sim"),
                  {"--fleet", QString::number(n), "--paced", "--model", "485", "--blocks", "120"});
        QStringList ports;
        if (sim.waitForStarted(10000))
            while (ports.size() < n && (sim.canReadLine() || sim.waitForReadyRead(10000)))
                while (sim.canReadLine())
                    ports << QString::fromUtf8(sim.readLine()).trimmed();
        if (ports.size() != n) {
            state.SkipWithError("quorzk-sim --fleet did not start (build it first)");
            break;
        }
        QTemporaryDir dir;
        FleetStore store;
        QString error;
        store.open(*StoreUrl::parse(QStringLiteral("sqlite:") + dir.filePath("fleet.sqlite"), {}, error));
        FleetFile fleet;
        std::map<QString, bench::LineCounts> counts;
        for (int i = 0; i < n; ++i) {
            FleetLogger l;
            l.label = QStringLiteral("Logger %1").arg(i);
            l.port = ports[i];
            l.verify = false;
            fleet.loggers.push_back(l);
            counts[l.label];
        }
        SystemClock clock;
        const DeviceCatalog catalog(
            ProgramFolder(QStringLiteral(QUORZK_BINARY_DIR))); // devices.ini beside the programs
        ThreadedJobRunner runner;
        FleetCollectionSetup setup;
        setup.runner = &runner;
        setup.clock = &clock;
        setup.catalog = &catalog;
        setup.line = [&counts](const FleetLogger& l) -> std::unique_ptr<LineBackend> {
            return std::make_unique<bench::CountingLine>(std::make_unique<DeviceLine>(), counts.at(l.label));
        };
        state.ResumeTiming();

        const auto start = std::chrono::steady_clock::now();
        const FleetReport report = collectFleet(fleet, store, setup);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        runner.stop();
        for (const FleetRow& r : report.rows)
            if (!r.ok)
                std::fprintf(stderr, "%s: %s\n", qPrintable(r.label), qPrintable(r.outcome));
        std::int64_t slowest = 0;
        for (const auto& [label, c] : counts)
            slowest = std::max(slowest, c.total());
        const double wire = bench::WireSeconds(slowest);
        state.counters["wire_s"] = wire;
        state.counters["ratio"] = seconds / wire;
        state.counters["loggers"] = n;
        state.counters["failed"] = report.exitCode() == 0 ? 0 : 1;
        sim.terminate();
        sim.waitForFinished(5000);
    }
}
BENCHMARK(BM_Collect32LoggersOnPtys)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv); // the SQL drivers are plug-ins
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
