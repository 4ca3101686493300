#pragma once
// A collection of a whole fleet: every logger of the fleet file read (only what is new) and
// written into the store, one transaction per logger, and a row per logger for the table.
// Loggers on different ports are read at the same time, loggers behind one port (numbers of
// one modem) one after another; a logger that fails is a failed attempt in the store and
// never stops the others.
#include "fleet/fleet_file.h"
#include "fleet/logger_collection.h"
#include "jobs/job_runner.h"
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

struct FleetCollectionSetup {
    // Runs the loggers' jobs, a worker per port (tests: at once, on the caller's thread).
    JobRunner* runner = nullptr;
    // The line behind a logger's port (a device, or an in-process simulated logger); made on
    // the port's worker.
    std::function<std::unique_ptr<LineBackend>(const FleetLogger&)> line;
    Clock* clock = nullptr; // used on every worker
    const DeviceCatalog* catalog = nullptr;
    // Cancels every job (Ctrl-C); may be empty.
    CancelToken cancel;
};

FleetReport collectFleet(const FleetFile& fleet, FleetStore& store, const FleetCollectionSetup& setup);

} // namespace qz
