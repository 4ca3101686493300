#pragma once
// A collection of a whole fleet: every logger of the fleet file read (only what is new) and
// written into the store, one transaction per logger, and a row per logger for the table.
// Loggers on different ports are read at the same time, loggers behind one port (numbers of
// one modem) one after another; a logger that fails is a failed attempt in the store and
// never stops the others. A logger another collector has claimed in a shared store is
// skipped (said so in its row) and not recorded as an attempt.
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
    bool skipped = false; // another collector had the logger (ok stays false)
    std::int64_t newMeasurements = 0;
    std::int64_t missing = 0; // measurements the ring overwrote before they were collected
    std::optional<double> driftSeconds; // logger clock minus host clock
    std::optional<double> batteryVolts;
    int blocksRead = 0;
};

struct FleetReport {
    std::vector<FleetRow> rows; // in the order of the fleet file
    bool storeFailed = false; // an attempt could not be written

    // 0: every logger collected (or left to another collector); 1: some failed; 2: the
    // store failed.
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

// A collection of the loggers of a fleet file, run on the runner's workers while the thread
// that made it goes on; each logger written into the store (which lives on this thread) as
// its job ends. The window shows each row's progress and end.
class FleetRun {
public:
    struct Events {
        // A row's job tells where it stands (caption and text as the job's progress has them).
        std::function<void(std::size_t row, int position, int maximum, const QString& text)> progress;
        std::function<void(std::size_t row, const FleetRow& done)> rowDone;
        std::function<void(const FleetReport& report)> finished;
    };

    FleetRun(const FleetFile& fleet, FleetStore& store, const FleetCollectionSetup& setup, Events events);
    ~FleetRun();
    FleetRun(const FleetRun&) = delete;
    FleetRun& operator=(const FleetRun&) = delete;

    // Posts a job per logger; false (finished already told, each row the store's failure) when
    // the store's progress could not be read.
    bool start();
    bool running() const { return pending_ > 0; }
    const FleetReport& report() const { return report_; }

private:
    class RowProgress;
    struct Claim;
    struct Desk;
    void ended(std::size_t row, const LoggerCollection& c, const std::shared_ptr<Claim>& claim);

    FleetFile fleet_;
    FleetStore& store_;
    FleetCollectionSetup setup_;
    Events events_;
    FleetReport report_;
    std::shared_ptr<const ProgressBook> book_;
    std::vector<std::unique_ptr<RowProgress>> progress_;
    std::vector<std::shared_ptr<Claim>> claims_;
    std::unique_ptr<QObject> context_; // the jobs' ends and claims come back through it
    std::shared_ptr<Desk> desk_; // where a worker asks for a claim, while this run lives
    int pending_ = 0;
};

// The same, waited for.
FleetReport collectFleet(const FleetFile& fleet, FleetStore& store, const FleetCollectionSetup& setup);

} // namespace qz
