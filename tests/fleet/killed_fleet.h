#pragma once
// The fleet of the kill test, made the same way in the test and in the collector it kills:
// a small logger collected first, then a full memory whose transaction is cut short.
#include "fleet/fleet_collection.h"
#include "jobs/job_runner.h"
#include "sim/emulator.h"
#include "sim/emulator_line.h"
#include "sim/presets.h"
#include "support/virtual_clock.h"

#include <map>
#include <memory>

namespace qz::test {

struct KilledFleet {
    VirtualClock clock;
    std::map<QString, std::unique_ptr<sim::Emulator>> loggers;
    FleetFile fleet;
    InlineJobRunner runner;
    DeviceCatalog catalog{ProgramFolder(QStringLiteral(QUORZK_SOURCE_DIR "/data"))};
    FleetCollectionSetup setup;

    KilledFleet()
    {
        setup.runner = &runner;
        setup.catalog = &catalog;
        add(QStringLiteral("Small"), "SIMS", 3);
        add(QStringLiteral("Full"), "SIMF", 508);
        setup.clock = &clock;
        setup.line = [this](const FleetLogger& l) -> std::unique_ptr<LineBackend> {
            return std::make_unique<sim::EmulatorLine>(*loggers.at(l.label), clock);
        };
    }

    void add(const QString& label, const char* serial, int blocks)
    {
        sim::MemoryPreset p;
        p.deviceCode = 485;
        p.blocks = blocks;
        p.serial = serial;
        auto& e = loggers[label];
        e = std::make_unique<sim::Emulator>();
        sim::loadMemory(e->logger(), p);
        FleetLogger l;
        l.label = label;
        l.port = label;
        l.verify = false;
        fleet.loggers.push_back(l);
    }
};

} // namespace qz::test
