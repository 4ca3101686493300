#pragma once
// The logger's recorder: one record of InputCount bytes per recording interval, laid
// into 128-byte data blocks (SampleBytes, a BCD stamp, the battery count, 120 sample
// bytes). It reads its program (interval, inputs, stop mode, memory size) when it starts
// and keeps it until it stops, as the logger does.
//
// How it fills the memory, and why:
// - Starting erases every data block (0xFF), clears BlocksUsed and FirstBlock, and opens
//   block 0 stamped with the start instant. Record n (from 1) is taken n intervals after
//   the start, so the PC's "stamp + n steps" gives each record its own time.
// - Later blocks are opened when their first record is due; their stamp is one interval
//   before that record (the previous record's instant), so the stamps of consecutive
//   blocks are RecordsPerBlock intervals apart. A block is erased when it is opened.
// - The battery byte is written when a block opens and again when it is full.
// - Stop when full (StopMode not 0): after the record that fills the last block the
//   recorder stops, and the logger's run state reads 0.
// - Cyclic (StopMode 0): after the last block the ring wraps to block 0. Until it first
//   wraps, BlocksUsed and FirstBlock stay 0, so the PC reads the memory as a linear
//   recording. From the wrap on, BlocksUsed is the block count of the memory (its low
//   byte is never 0: 60, 124, ... 508) and FirstBlock the oldest block, the one after the
//   block being written; the PC then takes the whole memory and finds the oldest stamp.
// - InputCount outside 1..8 counts as 1. A record holds the inputs of InputMask in
//   increasing order; when the mask has fewer inputs than InputCount the record is
//   filled up with the next inputs in order, when it has more the first ones are taken.
// - An interval of 0 seconds (SamplesPerInterval or SamplingPeriod 0) records every
//   second.
// - A cyclic recording left to run for many rounds of its ring holds only the last round:
//   the rounds before it are counted, not written, so a logger left alone for a year
//   catches up at once with the same memory it would have written record by record.
#include "model/memory_image.h"
#include "sim/sensors.h"

#include <array>
#include <cstdint>

namespace qz::sim {

struct RecorderSetup {
    int inputs = 1;
    std::array<int, mem::kInputs> order{};
    int recordsPerBlock = int(mem::kSampleArea);
    int blocks = 60;
    bool cyclic = false;
    std::int64_t intervalUs = 1000000;
};

RecorderSetup readRecorderSetup(const std::uint8_t* memory);

// The recorder between two records, as a saved logger keeps it.
struct RecorderState {
    RecorderSetup setup;
    bool active = false;
    bool full = false;
    bool wrapped = false;
    int block = 0;
    int recordsInBlock = 0;
    std::int64_t records = 0;
    std::int64_t nextUs = 0;
};

class Recorder {
public:
    // elapsedUs is the logger's running time, clockUs its clock at that moment.
    void start(std::uint8_t* memory, std::int64_t elapsedUs, std::int64_t clockUs, const Sensors& sensors);
    void stop() { active_ = false; }
    bool active() const { return active_; }
    // True once a stop-when-full recording has filled the memory.
    bool full() const { return full_; }

    // Writes every record due up to elapsedUs; clock = elapsed + clockOffsetUs.
    void advance(std::uint8_t* memory, std::int64_t elapsedUs, std::int64_t clockOffsetUs,
                 const Sensors& sensors);
    const RecorderSetup& setup() const { return setup_; }
    int block() const { return block_; }
    int recordsInBlock() const { return recordsInBlock_; }
    bool wrapped() const { return wrapped_; }
    std::int64_t records() const { return records_; }
    std::int64_t nextRecordElapsedUs() const { return nextUs_; }

    RecorderState state() const;
    // False, and the recorder unchanged, for a state that would write outside its blocks.
    bool restore(const RecorderState& s);

private:
    void openBlock(std::uint8_t* memory, int block, std::int64_t stampClockUs, const Sensors& sensors);
    void writeRecord(std::uint8_t* memory, std::int64_t clockUs, const Sensors& sensors);

    RecorderSetup setup_;
    bool active_ = false;
    bool full_ = false;
    bool wrapped_ = false;
    int block_ = 0;
    int recordsInBlock_ = 0;
    std::int64_t records_ = 0;
    std::int64_t nextUs_ = 0;
};

// Writes the 6 BCD bytes of a block stamp for a clock instant.
void writeStamp(std::uint8_t* out, std::int64_t clockUs);

} // namespace qz::sim
