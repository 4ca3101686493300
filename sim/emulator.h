#pragma once
// The logger as the serial line sees it. Every byte that arrives is echoed at once, one
// at a time, and fed to the command parser; a complete frame is carried out:
//   "$#$A" reset (stop recording)             "$#$B" reserved: echoed, nothing else
//   "$#$C" + 16 bytes: write the clock record  "$#$E" reply: 16-byte clock record
//   "$#$D" addr lo, hi, count: reply count bytes from memory (count 0 = 256, the address
//          wraps at 65536; memory above the last data block reads 0xFF)
//   "$#$F", "$#$G": reply 9 bytes: the eight inputs' converter counts, then the battery's
//   "$#$H" addr lo, hi, count + data: write memory (no reply)
// Every reply is its data bytes and their 16-bit sum, low byte first.
//
// Time is the line's, in microseconds (the caller says when each byte was sent and asks
// what has arrived by a given time). The logger's running time is line time multiplied
// by the time speed, so a recording can run faster than real time. With pacing on, each
// direction of the line carries one byte per 520.83 us (19200 baud, 8N1), and a reply
// queues behind the echo of the frame's last byte; without pacing bytes arrive at once.
//
// The parser forgets a half-received frame after 250 ms of quiet: shorter than the PC's
// 300 ms echo limit, so the retry after a missing echo begins a fresh frame, and well
// inside the 1 s the PC waits after a wrong echo.
//
// What the logger does where the protocol leaves it open is written down with the part
// that does it: sim/logger.h (clock record, run states, reset), sim/recorder.h (how the
// memory fills, linear and cyclic), sim/faults.h (faults on demand), sim/presets.h
// (ready-made memories).
//
// Set-up in a test (the in-process line is sim/emulator_line.h):
//   qz::sim::Emulator logger;                      // or Emulator(options)
//   qz::sim::loadMemory(logger.logger(), {.deviceCode = 485, .content = Content::Linear});
//   qz::sim::EmulatorLine line(logger, clock);     // a qz::LineBackend for the port
#include "sim/faults.h"
#include "sim/frame_parser.h"
#include "sim/logger.h"
#include "sim/modem_front.h"
#include "sim/wire.h"

#include <cstdint>
#include <deque>
#include <map>
#include <vector>

namespace qz::sim {

// A frame the logger took in full, as the frame log keeps it: its letter, for the memory
// commands ('D', 'H') the address and the byte count (256 for a count byte of 0), and the
// bytes it carried after the prefix (and after address and count).
struct LoggedFrame {
    char letter = 0;
    std::uint16_t address = 0;
    int count = 0;
    bool carriedOut = true; // false when a fault dropped it
    std::vector<std::uint8_t> data;

    bool operator==(const LoggedFrame&) const = default;
};

struct EmulatorOptions {
    bool paced = false;
    double timeSpeed = 1.0; // logger seconds per line second
    std::int64_t parserPauseUs = 250000;
    CivilTime clock{2026, 3, 5, 14, 7, 9, 0}; // the logger's clock at line time 0
    std::uint64_t seed = 1; // sensor noise
    ModemOptions modem = {}; // a telephone modem in front (off by default)
};

class Emulator {
public:
    explicit Emulator(const EmulatorOptions& options = {});

    Logger& logger() { return logger_; }
    const Logger& logger() const { return logger_; }

    // A byte the PC sent at sentUs (line time; never earlier than a previous one).
    void receive(std::uint8_t byte, std::int64_t sentUs);
    // Bytes that have arrived at the PC by nowUs and are not yet read.
    std::int64_t available(std::int64_t nowUs) const;
    // When the n-th byte not yet read (from 1) arrives at the PC, or -1 if the logger
    // will not send that many.
    std::int64_t arrivalOf(std::int64_t n) const;
    // Reads up to max bytes that have arrived by nowUs.
    std::int64_t read(std::uint8_t* out, std::int64_t max, std::int64_t nowUs);
    // Drops what has arrived by nowUs (bytes still on the wire arrive later).
    void purge(std::int64_t nowUs);

    // Runs the logger (its clock, delayed start, recorder) up to a line time.
    void advanceTo(std::int64_t lineUs);
    std::int64_t lineUs() const { return lineUs_; }
    // The line's time is lineUs from now on, and the logger does not run for the line time
    // before it: a logger restored from a saved state starts where it was saved.
    void setLineTime(std::int64_t lineUs);

    void setPaced(bool on) { options_.paced = on; }
    bool paced() const { return options_.paced; }
    void setTimeSpeed(double speed);
    double timeSpeed() const { return options_.timeSpeed; }

    // Faults (see sim/faults.h); frames are counted from the call.
    void addFault(const Fault& f) { faults_.add(f, parser_.framesBegun()); }
    void clearFaults() { faults_.clear(); }
    void setByteErrors(double rate, std::uint64_t seed) { errors_.set(rate, seed); }
    std::int64_t byteErrors() const { return errors_.hits(); }
    // Total silence (a logger that is off or unplugged): nothing echoed, nothing done.
    void setSilent(bool on) { silent_ = on; }

    // What the logger did, for tests: frames carried out, per command letter.
    std::int64_t commands(char letter) const;
    std::int64_t commands() const { return commandsTotal_; }
    // Bytes that reached the logger, and bytes it sent (echoes and replies).
    std::int64_t bytesIn() const { return bytesIn_; }
    std::int64_t bytesOut() const { return bytesOut_; }
    // Every complete frame in order, kept only while asked for (a long-running logger
    // would otherwise grow it without end).
    void keepFrameLog(bool on) { keepLog_ = on; }
    const std::vector<LoggedFrame>& frameLog() const { return log_; }
    void clearFrameLog() { log_.clear(); }

private:
    struct Pending {
        std::uint8_t byte;
        std::int64_t atUs;
    };
    void queueOut(std::uint8_t byte, std::int64_t atUs);
    void toLogger(std::uint8_t byte, std::int64_t atUs, std::int64_t outDelayUs);
    void carryOut(const Frame& f, std::int64_t atUs, std::int64_t frameNumber);
    void reply(const std::uint8_t* data, int count, std::int64_t atUs, std::int64_t frameNumber);

    EmulatorOptions options_;
    Logger logger_;
    FrameParser parser_;
    ModemFront modem_;
    FaultPlan faults_;
    ByteErrors errors_;
    bool silent_ = false;
    Wire toLogger_;
    Wire toPc_;
    std::deque<Pending> out_;
    std::int64_t lastOutUs_ = 0;
    std::int64_t lineUs_ = 0;
    // Logger running time moves by line time x speed; the fraction is carried.
    double elapsedCarry_ = 0.0;
    std::map<char, std::int64_t> commands_;
    std::int64_t commandsTotal_ = 0;
    std::int64_t bytesIn_ = 0;
    std::int64_t bytesOut_ = 0;
    bool keepLog_ = false;
    std::vector<LoggedFrame> log_;
};

} // namespace qz::sim
