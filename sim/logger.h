#pragma once
// The logger itself, without its serial side: 64 KiB of memory, the real-time clock with
// its 16-byte record, the run state, the sensors and the recorder.
//
// Time: the logger's running time (elapsed microseconds, only ever moving forward) is
// what its owner advances; the clock is running time plus an offset that "$#$C" sets,
// so setting the clock never disturbs the cadence of a running recording.
//
// The clock record ("$#$E" reads it, "$#$C" writes it):
//   byte 0, 7, 15 read back as last written (4, 0, 1 at power-up); byte 1 hundredths,
//   2..4 second, minute, hour, 5 day | (year mod 4) << 6, 6 month (all BCD, live);
//   8 run state; 9..14 the start time as last written.
// Writing it:
// - The time in bytes 1..6 sets the clock when it is a real time; an impossible one (month
//   13, minute 60, non-decimal nibbles) leaves the clock running as it was. The record
//   carries only the year mod 4: the year is YearBcd (address 105) when that agrees with
//   those two bits, otherwise the year nearest the clock's current one that does.
// - Run state 0 stops a recording (the memory keeps it). 0xC2 starts a new recording at
//   once when the logger is not recording (a logger already recording keeps on). 0xB0
//   stops any recording and waits for the start time of bytes 10..14 (second, minute,
//   hour, day, month): the first such instant at or after the clock time; an impossible
//   start time is never reached. Any other value stops the logger and reads back as
//   written.
// "$#$A" resets the logger: it stops recording (run state 0) and keeps its memory.
#include "link/logger_frames.h"
#include "model/memory_image.h"
#include "sim/logger_time.h"
#include "sim/recorder.h"
#include "sim/sensors.h"

#include <array>
#include <cstdint>
#include <vector>

namespace qz::sim {

using ClockRecord = std::array<std::uint8_t, mem::kClockRecordSize>;
using Readings = std::array<std::uint8_t, frames::kReadingsSize>;

// Everything the logger holds, as a saved logger keeps it (sim/logger_state.h).
struct LoggerState {
    std::vector<std::uint8_t> memory;
    std::int64_t elapsedUs = 0;
    std::int64_t offsetUs = 0;
    std::uint8_t control = 0x04;
    std::uint8_t byte7 = 0x00;
    std::uint8_t byte15 = 0x01;
    std::array<std::uint8_t, 6> start{};
    std::uint8_t runState = 0;
    std::int64_t alarmUs = -1;
    SensorsState sensors;
    RecorderState recorder;
};

class Logger {
public:
    static constexpr std::size_t kMemorySize = mem::kLoggerMemorySize;

    explicit Logger(const CivilTime& clock = {}, std::uint64_t seed = 1);

    std::uint8_t* memory() { return memory_.data(); }
    const std::uint8_t* memory() const { return memory_.data(); }
    // Every data block to 0xFF, BlocksUsed and FirstBlock to 0.
    void eraseData();

    // Running time and clock.
    void advance(std::int64_t elapsedUs);
    std::int64_t elapsedUs() const { return elapsedUs_; }
    std::int64_t clockUs() const { return elapsedUs_ + offsetUs_; }
    CivilTime clock() const { return usToCivil(clockUs()); }
    void setClock(const CivilTime& t);

    ClockRecord clockRecord() const;
    void writeClockRecord(const std::uint8_t* record);
    std::uint8_t runState() const { return runState_; }
    // The delayed start instant on the clock, or -1 (none, or never reached).
    std::int64_t startAlarmUs() const { return alarmUs_; }

    // Starts a recording now (as "$#$C" with 0xC2 from a stopped logger).
    void startRecording();
    // Waits for the given clock instant to start (as "$#$C" with 0xB0).
    void startAt(const CivilTime& t);
    void stop();
    void reset() { stop(); }

    Readings readings() const;
    Sensors& sensors() { return sensors_; }
    const Sensors& sensors() const { return sensors_; }
    const Recorder& recorder() const { return recorder_; }

    LoggerState state() const;
    // False, and the logger unchanged, for a state no logger can be in: a memory of
    // another size, a clock outside 2000..2099, a recorder that would write outside its
    // blocks.
    bool restore(const LoggerState& s);

private:
    void beginRecording();
    int chooseYear(int yearBits) const;

    std::vector<std::uint8_t> memory_;
    std::int64_t elapsedUs_ = 0;
    std::int64_t offsetUs_ = 0;
    std::uint8_t control_ = 0x04;
    std::uint8_t byte7_ = 0x00;
    std::uint8_t byte15_ = 0x01;
    std::array<std::uint8_t, 6> start_{};
    std::uint8_t runState_ = 0;
    std::int64_t alarmUs_ = -1;
    Sensors sensors_;
    Recorder recorder_;
};

} // namespace qz::sim
