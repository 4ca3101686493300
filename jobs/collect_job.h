#pragma once
// The collection of one logger for the fleet store: is the logger there (its ping is a
// clock read, kept with the host's time), its header, then only the blocks that hold
// measurements the store does not have yet (model/collection_plan.h), each judged as the
// download judges it. The first collection of a recording reads what a download reads: the
// same block loop, the same start of a ring.
//
// A collection runs unattended, so nothing is left to ask: a logger that does not answer
// its ping is a link failure, a model the catalogue does not know is refused before any
// block is read, and blocks judged good before a failure (a damaged block, a link that gave
// up) are taken: they are right, and the next collection goes on after them.
#include "jobs/job_result.h"
#include "link/logger_protocol.h"
#include "model/collection_plan.h"
#include "model/device_catalog.h"
#include "platform/progress.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace qz {

struct CollectPolicy {
    bool verify = true; // every area read twice
    // How far the store has a recording; nullopt when it does not know it. Called on the
    // job's thread.
    std::function<std::optional<CollectedUpTo>(const RecordingKey&)> collected;
    // Asked with the logger's serial number once its header is read, before `collected`:
    // false when another collector has the logger now, and this one leaves it alone. Called
    // on the job's thread; none: every logger is this collector's.
    std::function<bool(const QString& serial)> claim;
};

enum class CollectStatus {
    Collected, // what was new is in the harvest (perhaps nothing)
    LinkFailed, // the port did not open, the logger did not answer, or a transaction gave up
    Cancelled,
    UnknownModel, // the catalogue does not accept the logger's model
    NoInterval, // the header's interval is 0: the measurements have no times
    UnsteadyHeader, // a header area read differently each time
    UnsteadyBlock, // block `block` read differently each time
    Damaged, // block `block` stayed damaged
    NoOrigin, // the recording's first block has no real time
    Skipped, // another collector has the logger now: its memory was not read
};

struct CollectResult : JobResult {
    CollectStatus status = CollectStatus::LinkFailed;
    std::vector<std::uint8_t> header; // the 384 header bytes, once read
    std::uint16_t deviceCode = 0;
    int block = -1; // UnsteadyBlock, Damaged
    PlanKind read = PlanKind::Nothing; // how the memory was read in the end
    NothingNew why = NothingNew::NoMeasurement; // read Nothing: why
    int blocksRead = 0; // data blocks read (a verified read counts once)
    bool harvested = false; // harvest holds the recording's progress and what was taken
    Harvest harvest;

    // The battery count of the newest block taken, or -1.
    int batteryCount() const;
    // The logger's clock at the ping (milliseconds of LoggerSeconds), when it was read.
    std::optional<std::int64_t> loggerMs() const;
};

CollectResult collectJob(LoggerProtocol& protocol, const CollectPolicy& policy, const DeviceCatalog& catalog,
                         Progress& progress);

// "ok", or what ended the collection in words: the program's texts first, the port and
// the system's reason after.
QString collectOutcome(const CollectResult& result);

} // namespace qz
