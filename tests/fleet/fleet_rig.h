#pragma once
// A fleet of emulated loggers on a virtual clock, collected into a real SQLite file or a
// real PostgreSQL database.
#include "fleet/fleet_collection.h"
#include "jobs/job_runner.h"
#include "sim/emulator.h"
#include "sim/emulator_line.h"
#include "sim/presets.h"
#include "store/fleet_store.h"
#include "support/print_qt.h"
#include "support/scratch_database.h"
#include "support/virtual_clock.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace qz::test {

// Seconds between the logger's own count (from 2000) and the store's (from 1970).
inline constexpr std::int64_t kSimEpoch = 946684800;

struct FleetRig {
    QTemporaryDir dir;
    VirtualClock clock;
    std::map<QString, std::unique_ptr<sim::Emulator>> loggers; // by label
    FleetFile fleet;
    TestStore database; // outlives the store's connection
    FleetStore store;
    InlineJobRunner runner;
    DeviceCatalog catalog{ProgramFolder(dir.path())};
    FleetCollectionSetup setup;

    explicit FleetRig(Engine engine = Engine::Sqlite) : database(engine)
    {
        // The models of these tests: a 60-block and a 508-block memory.
        QFile ini(dir.filePath(QStringLiteral("devices.ini")));
        EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Device 0]\r\nType=ZK\r\n[Device 485]\r\nType=ZK\r\n[Device 293]\r\nType=XY\r\n");
        ini.close();
        setup.runner = &runner;
        setup.catalog = &catalog;
        setup.clock = &clock;
        setup.line = [this](const FleetLogger& l) -> std::unique_ptr<LineBackend> {
            return std::make_unique<sim::EmulatorLine>(*loggers.at(l.label), clock);
        };
        const StoreResult opened = store.open(url());
        EXPECT_TRUE(opened.ok()) << opened.message.toStdString();
    }

    StoreUrl url() const { return database.url(); }

    // A logger on a port of its own (or the given one), read without verification unless
    // asked, so that a block read is one frame on the wire.
    sim::Emulator& add(const QString& label, sim::MemoryPreset preset, bool verify = false,
                       const QString& port = {})
    {
        auto& e = loggers[label];
        e = std::make_unique<sim::Emulator>();
        // Every logger its own serial number: the store knows a logger by it.
        if (preset.serial.empty())
            preset.serial = "SIM" + std::string(1, char('A' + loggers.size() - 1));
        sim::loadMemory(e->logger(), preset);
        e->keepFrameLog(true);
        FleetLogger l;
        l.label = label;
        l.port = port.isEmpty() ? label : port;
        l.verify = verify;
        fleet.loggers.push_back(l);
        return *e;
    }
    sim::Emulator& logger(const QString& label) { return *loggers.at(label); }

    FleetReport collect()
    {
        for (auto& [label, e] : loggers)
            e->clearFrameLog();
        return collectFleet(fleet, store, setup);
    }

    // Lets the loggers record for a while (they run on the line's time).
    void run(std::int64_t seconds)
    {
        clock.advance(seconds * 1000);
        for (auto& [label, e] : loggers)
            e->advanceTo(clock.tickMs() * 1000);
    }

    // Data blocks read from the logger in the last collection (each read once on the wire).
    static int blockReads(const sim::Emulator& e)
    {
        int n = 0;
        for (const sim::LoggedFrame& f : e.frameLog())
            if (f.letter == 'D' && f.address >= mem::kHeaderSize)
                ++n;
        return n;
    }

    QSqlDatabase db() { return database.db(); }
    // One number from the store.
    qint64 number(const QString& sql)
    {
        QSqlQuery q(db());
        EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
        return q.next() ? q.value(0).toLongLong() : -1;
    }
};

// Whether every measurement stored for a logger is the one its sensors gave at that time:
// no value invented, none at a wrong time. Returns the rows checked.
inline qint64 checkAgainstSensors(FleetRig& rig, const QString& label, int inputs)
{
    const sim::Sensors& sensors = rig.logger(label).logger().sensors();
    QSqlQuery q(rig.db());
    QString columns;
    for (int i = 0; i < inputs; ++i)
        columns += QStringLiteral(", m.s%1").arg(i + 1);
    EXPECT_TRUE(
        q.exec(QStringLiteral("SELECT m.time_s%1 FROM measurement m JOIN recording r ON r.recording_id = "
                              "m.recording_id JOIN logger l ON l.logger_id = r.logger_id JOIN collection c "
                              "ON c.logger_id = l.logger_id AND c.collection_id = (SELECT MIN(collection_id) "
                              "FROM collection WHERE logger_id = l.logger_id) WHERE c.label = '%2'")
                   .arg(columns, label)));
    qint64 rows = 0;
    while (q.next()) {
        const std::int64_t us = (q.value(0).toLongLong() - kSimEpoch) * 1000000;
        for (int i = 0; i < inputs; ++i)
            EXPECT_EQ(q.value(i + 1).toInt(), sensors.raw(i, us))
                << "input " << i << " at " << q.value(0).toLongLong();
        ++rows;
    }
    return rows;
}

} // namespace qz::test
