#pragma once
// A collection of a whole fleet: every logger of the fleet file read (only what is new) and
// written into the store, one transaction per logger, and a row per logger for the table.
// Loggers on different ports are read at the same time, loggers behind one port (numbers of
// one modem) one after another; a logger that fails is a failed attempt in the store and
// never stops the others.
#include "fleet/fleet_file.h"
#include "fleet/logger_collection.h"
#include "link/line_backend.h"
#include "platform/clock.h"
#include "store/fleet_store.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace qz {

struct FleetRow {
    QString label;
    QString serial; // empty when the logger was not identified
    QString outcome; // "ok", or the failure in words
    bool ok = false;
    std::int64_t newMeasurements = 0;
    std::int64_t missing = 0; // measurements the ring overwrote before they were collected
    std::optional<double> driftSeconds; // logger clock minus host clock
    std::optional<double> batteryVolts;
    int blocksRead = 0;
};

struct FleetReport {
    std::vector<FleetRow> rows; // in the order of the fleet file
    bool storeFailed = false; // an attempt could not be written

    // 0: every logger collected; 1: some failed; 2: the store failed.
    int exitCode() const;
};

// Runs the loggers of each port: `portTasks` holds, per port, its loggers' tasks in order;
// each task runs on its port's worker and its result is handed to `done` on the caller's
// thread. Returns when every task is done.
using PortTask = std::function<LoggerCollection()>;
using RunPorts = std::function<void(const std::vector<std::vector<PortTask>>& portTasks,
                                    const std::function<void(const LoggerCollection&)>& done)>;

// Every task at once on the caller's thread, port by port.
void runPortsInline(const std::vector<std::vector<PortTask>>& portTasks,
                    const std::function<void(const LoggerCollection&)>& done);

struct FleetCollectionSetup {
    // The line behind a logger's port (a device, or an in-process simulated logger).
    std::function<std::unique_ptr<LineBackend>(const FleetLogger&)> line;
    Clock* clock = nullptr; // used on every worker
    std::function<bool(std::uint16_t deviceCode)> acceptsModel;
    // Whether the user asked to stop (read on the workers).
    std::function<bool()> cancelled;
    RunPorts runPorts = runPortsInline;
};

FleetReport collectFleet(const FleetFile& fleet, FleetStore& store, const FleetCollectionSetup& setup);

} // namespace qz
