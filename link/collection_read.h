#pragma once
// Reading a logger for the fleet store: the ping (a clock read; the host's clock is read as
// its reply comes, so the two make a pair), the header, then only the blocks that hold
// measurements the store does not have yet (model/collection_plan.h), each judged as the
// download judges it. Nothing here tells the user anything: what happened is in the result.
//
// Blocks judged good before a failure (a damaged block, a link that gave up) are taken: they
// are right, and the next collection goes on after them.
#include "link/logger_protocol.h"
#include "model/collection_plan.h"
#include "platform/progress.h"

#include <QDateTime>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace qz {

enum class ReadEnd {
    Read, // what was new is in the harvest (perhaps nothing)
    NotAnswering, // no answer to the ping
    LinkFailed, // the port did not open, or a transaction gave up after the ping
    ModelRefused, // the catalogue does not accept the logger's model
    NoInterval, // the header's interval is 0: the measurements have no times
    Unsteady, // an area read differently each time (verified reads); block -1: the header
    Damaged, // a block stayed damaged
    NoOrigin, // the recording's first block has no real time
    Cancelled,
};

struct CollectionOptions {
    bool verify = true; // every area read twice
    // Whether the catalogue accepts a device code; empty: every code.
    std::function<bool(std::uint16_t deviceCode)> acceptsModel;
    // How far the store has the recording; nullopt when it does not know it.
    std::function<std::optional<CollectedUpTo>(const RecordingKey&)> collected;
};

struct LoggerRead {
    ReadEnd end = ReadEnd::Read;
    LinkStatus link = LinkStatus::Ok; // LinkFailed, NotAnswering: the transaction's status
    int block = -1; // Damaged, Unsteady: the block
    std::vector<std::uint8_t> header; // the 384 header bytes, once read
    std::array<std::uint8_t, mem::kClockRecordSize> clockRecord{};
    QDateTime hostTime; // the host's local time as the clock record came
    std::optional<std::int64_t> loggerMs; // the clock record's instant (ms of LoggerSeconds)
    PlanKind read = PlanKind::Nothing; // how the memory was read in the end
    NothingNew why = NothingNew::NoMeasurement; // read Nothing: why
    int blocksRead = 0; // data blocks read (a verified read counts once)
    bool harvested = false; // harvest holds the recording's progress (and what was taken)
    Harvest harvest;
    int impossibleDates = 0; // blocks taken whose stamp is no date
    int firstImpossibleDate = -1;

    // The battery count of the newest block taken, or -1.
    int batteryCount() const;
};

LoggerRead readForStore(LoggerProtocol& protocol, Progress& progress, const CollectionOptions& options);

} // namespace qz
