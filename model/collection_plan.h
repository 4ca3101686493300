#pragma once
// Which data blocks of a logger's memory hold measurements that the store does not have yet,
// and which measurement of its recording each record of them is.
//
// A recording counts its measurements from 1: measurement n lies at origin + n x interval,
// where origin is the stamp of the recording's first block. Each data block holds
// RecordsPerBlock consecutive measurements and is stamped one interval before its first,
// so a block's stamp tells where it lies in the recording and the blocks after the store's
// last one follow it in the memory's order (around the ring when the memory is cyclic).
//
// The store remembers, per recording, its last measurement and the block that held it (the
// tail: where, its stamp, how many records of it are stored). A collection then reads:
// - nothing, when the logger's clock says no measurement has been taken since, when the
//   logger has stopped and everything it recorded is stored, or while it waits for a delayed
//   start (its memory still holds the recording before, whose header is gone);
// - the tail block again when it was not full, then the blocks after it: as far as the
//   logger's clock says it has recorded (a linear memory), or up to the block being written
//   (a ring, whose header names the oldest block);
// - the whole memory, as a download reads it, for a recording the store does not know and
//   for a ring that has gone round onto blocks not yet collected.
// A block read on the way that is not where the store's recording says (the tail rewritten,
// a stamp a ring's lap away) turns the collection into a whole read.
#include "model/image_reader.h"
#include "model/logger_seconds.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace qz {

// Which recording a logger holds: its serial number, the start stamp of its program, its
// interval and its recorded inputs. A new configuration changes the start stamp.
struct RecordingKey {
    QString serial;
    std::array<std::uint8_t, mem::kStartStampSize> startStamp{};
    int interval = 0;
    int inputMask = 0;
    int inputCount = 1;

    static RecordingKey of(const ImageReader& header);
    bool operator==(const RecordingKey&) const = default;
};

// How far the store has collected a recording.
struct CollectedUpTo {
    LoggerSeconds origin = 0; // measurement n lies at origin + n x interval
    std::int64_t lastSeq = 0; // the newest measurement stored
    int tailBlock = 0; // the physical block that holds it
    BlockStamp tailStamp{}; // that block's stamp
    int tailRecords = 0; // records of that block stored
    bool ended = false; // the logger had stopped and all it recorded is stored

    bool operator==(const CollectedUpTo&) const = default;
};

// The logger at the time of the collection, from its clock record.
struct LoggerNow {
    std::optional<LoggerSeconds> clock; // nullopt when the record holds no real time
    std::uint8_t runState = 0;
};

enum class PlanKind {
    Nothing,
    Whole, // read the memory as a download does
    Continue, // read `blocks` in order
};

enum class NothingNew {
    NoMeasurement, // the clock says none was taken since the last collection
    Waiting, // waiting for a delayed start
    Ended, // stopped, and everything it recorded is stored
    MemoryFull, // a linear memory whose last block is stored
};

struct CollectionPlan {
    PlanKind kind = PlanKind::Nothing;
    NothingNew why = NothingNew::NoMeasurement; // Nothing only
    std::vector<int> blocks; // Continue: physical blocks, in the order to read them
};

// The recording's layout, from its header: the step between measurements and where each
// recorded input sits in a record.
struct RecordLayout {
    int width = 1; // bytes per record
    int recordsPerBlock = 120;
    int blocks = 60; // data blocks of the memory
    int step = 0; // seconds between measurements: the recording interval
    bool ring = false; // the header reports a wrapped ring (BlocksUsed's low byte not 0)
    int firstBlock = 0; // the ring's oldest block, as the header says

    explicit RecordLayout(const ImageReader& header);
    // Records in a block: its SampleBytes in whole records, at most a block's worth.
    int recordsIn(const std::uint8_t* block) const;
};

CollectionPlan planCollection(const ImageReader& header, const LoggerNow& now, const CollectedUpTo* known);

// Records taken from one data block: records from..to (counted from 1 in the block), record
// k being measurement seqBase + k of the recording.
struct TakenBlock {
    int physical = 0;
    std::int64_t seqBase = 0;
    int from = 1;
    int to = 0;
    std::array<std::uint8_t, mem::kBlockSize> bytes{};

    int count() const { return to >= from ? to - from + 1 : 0; }
};

// What a collection took from the memory, and how far the store will then have it.
struct Harvest {
    bool newRecording = false; // a recording the store does not know yet
    LoggerSeconds origin = 0;
    std::vector<TakenBlock> blocks;
    // Measurements the ring overwrote before they were collected: the ones between the
    // store's last (lastSeqBefore) and the first taken here. Never filled in.
    std::int64_t missing = 0;
    std::int64_t lastSeqBefore = 0;
    CollectedUpTo upTo;

    std::int64_t records() const;
    // Each record taken, oldest first: its measurement number and its bytes (width of them).
    void forEachRecord(int width, const std::function<void(std::int64_t seq, const std::uint8_t*)>& f) const;
};

// Fits the blocks of a Continue plan, read in its order, onto the store's recording.
class ContinueFit {
public:
    ContinueFit(const RecordLayout& layout, const CollectedUpTo& known);

    enum class Fit {
        Taken, // its new records are taken
        Moved, // not where the recording says: read the whole memory instead
    };
    // A block judged recorded (neither erased nor damaged).
    Fit add(int physical, const std::uint8_t* block);
    // Whether a block after the last one added can hold more: the last one was full.
    bool wantsMore() const { return lastFull_; }
    // Whether the next block must be the tail block again, grown.
    bool expectsTail() const { return first_ && !lastFull_; }
    Harvest harvest() const { return harvest_; }

private:
    RecordLayout layout_;
    CollectedUpTo known_;
    Harvest harvest_;
    bool first_ = true;
    bool lastFull_ = false;
    std::int64_t lastSeqBase_ = 0;
    std::optional<LoggerSeconds> lastStamp_;
};

enum class WholeStatus {
    Taken,
    Empty, // no block in use
    NoOrigin, // the first block's stamp is no instant: the measurements' times are unknown
};

// The measurements of a memory read as a download reads it: `image` holds the data blocks
// at their places, `used` of them in use from physical block `first` on. For a recording
// the store knows (known), only the measurements after its last are taken, placed by the
// tail block when the memory still holds it, otherwise by their stamps; a memory that is
// not a continuation of it (linear, or stamps before its origin) starts a new recording.
WholeStatus harvestWhole(const std::vector<std::uint8_t>& image, int used, int first,
                         const RecordLayout& layout, const CollectedUpTo* known, Harvest& out);

} // namespace qz
