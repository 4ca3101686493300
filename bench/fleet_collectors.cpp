// Several collectors, one PostgreSQL store: quorzk-cli collect processes, each with a fleet
// file of its own of 16 loggers (quorzk-sim --fleet 16 --paced, a simulator per collector,
// 120 blocks each, serial numbers of their own), started together against one database, as
// collectors near different groups of serial lines would be. Measured: the wall time from
// the start of the processes to the end of the last, for 1 collector (the same work alone)
// and for 4; then the same again with nothing new to read (the claims and the store's
// round trips alone).
// Counters: collectors, loggers, values (stored), seconds_per_logger, failed (collectors
// that did not exit 0).
//
// Needs a PostgreSQL server in the environment (PGHOST, ...):
//   pg_virtualenv -t -v 15 build/bench/bench_fleet_collectors
#include "store/sql_connection.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <vector>

namespace {

using namespace qz;

constexpr int kLoggers = 16;

// Runs sql on the server's own database; false when it failed.
bool onServer(const QString& sql)
{
    const QString name = QStringLiteral("bench-server");
    bool done = false;
    {
        StoreUrl server;
        server.kind = StoreUrl::Kind::Postgres;
        QString reason;
        if (openConnection(server, postgresDialect(), name, reason)) {
            QSqlQuery q(QSqlDatabase::database(name, false));
            done = q.exec(sql);
        }
        QSqlDatabase::database(name, false).close();
    }
    QSqlDatabase::removeDatabase(name);
    return done;
}

qint64 storedValues(const QString& database)
{
    const QString name = QStringLiteral("bench-count");
    qint64 n = -1;
    {
        StoreUrl url;
        url.kind = StoreUrl::Kind::Postgres;
        url.database = database;
        QString reason;
        if (openConnection(url, postgresDialect(), name, reason)) {
            QSqlQuery q(QSqlDatabase::database(name, false));
            if (q.exec(QStringLiteral("SELECT SUM(measurements) FROM recording")) && q.next())
                n = q.value(0).toLongLong();
        }
        QSqlDatabase::database(name, false).close();
    }
    QSqlDatabase::removeDatabase(name);
    return n;
}

struct Simulators {
    std::vector<std::unique_ptr<QProcess>> processes;
    std::vector<QStringList> ports; // of each collector

    bool start(int collectors)
    {
        for (int c = 0; c < collectors; ++c) {
            auto sim = std::make_unique<QProcess>();
            sim->start(QStringLiteral(QUORZK_BINARY_DIR "/quorzk-sim"),
                       {"--fleet", QString::number(kLoggers), "--paced", "--model", "485", "--blocks", "120",
                        "--serial", QStringLiteral("QZ%1").arg(c)});
            QStringList paths;
            if (sim->waitForStarted(10000))
                while (paths.size() < kLoggers && (sim->canReadLine() || sim->waitForReadyRead(10000)))
                    while (sim->canReadLine())
                        paths << QString::fromUtf8(sim->readLine()).trimmed();
            if (paths.size() != kLoggers)
                return false;
            processes.push_back(std::move(sim));
            ports.push_back(paths);
        }
        return true;
    }
    ~Simulators()
    {
        for (auto& p : processes) {
            p->terminate();
            p->waitForFinished(5000);
        }
    }
};

// Starts every collector at once and waits for the last; the seconds it took and how many
// did not exit 0.
double runCollectors(const QStringList& fleetFiles, int& failed)
{
    std::vector<std::unique_ptr<QProcess>> running;
    const auto start = std::chrono::steady_clock::now();
    for (const QString& f : fleetFiles) {
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->setStandardOutputFile(QProcess::nullDevice());
        p->start(QStringLiteral(QUORZK_BINARY_DIR "/quorzk-cli"), {"collect", "--fleet", f});
        running.push_back(std::move(p));
    }
    failed = 0;
    for (auto& p : running)
        if (!p->waitForFinished(600000) || p->exitStatus() != QProcess::NormalExit || p->exitCode() != 0)
            ++failed;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_CollectorsIntoOnePostgres(benchmark::State& state)
{
    const int collectors = int(state.range(0));
    if (!qEnvironmentVariableIsSet("PGHOST")) {
        state.SkipWithError("needs a PostgreSQL server: run it under pg_virtualenv");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        const QString database = QStringLiteral("quorzk_bench_%1").arg(QCoreApplication::applicationPid());
        onServer(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(database));
        if (!onServer(QStringLiteral("CREATE DATABASE %1").arg(database))) {
            state.SkipWithError("the PostgreSQL server does not answer");
            return;
        }
        Simulators sims;
        if (!sims.start(collectors)) {
            state.SkipWithError("quorzk-sim --fleet did not start (build it first)");
            return;
        }
        QTemporaryDir dir;
        QStringList fleetFiles;
        for (int c = 0; c < collectors; ++c) {
            QByteArray text = "[Store]\nUrl=postgresql:///" + database.toUtf8() + "\n";
            for (int i = 0; i < kLoggers; ++i)
                text += QStringLiteral("[Logger C%1 L%2]\nPort=%3\nVerify=0\n")
                            .arg(c)
                            .arg(i)
                            .arg(sims.ports[std::size_t(c)][i])
                            .toUtf8();
            const QString path = dir.filePath(QStringLiteral("fleet%1.ini").arg(c));
            QFile f(path);
            f.open(QIODevice::WriteOnly);
            f.write(text);
            fleetFiles << path;
        }
        state.ResumeTiming();

        int failed = 0;
        const double first = runCollectors(fleetFiles, failed);
        state.SetIterationTime(first);
        int failedAgain = 0;
        const double again = runCollectors(fleetFiles, failedAgain);
        state.counters["collectors"] = collectors;
        state.counters["loggers"] = collectors * kLoggers;
        state.counters["values"] = double(storedValues(database));
        state.counters["seconds_per_logger"] = first / (collectors * kLoggers);
        state.counters["nothing_new_s"] = again;
        state.counters["failed"] = failed + failedAgain;
        state.PauseTiming();
        onServer(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(database));
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CollectorsIntoOnePostgres)
    ->Arg(1)
    ->Arg(4)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
