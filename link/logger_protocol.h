#pragma once
// LoggerProtocol: the logger's command language over a serial port it holds. send with its
// echo check, receive with its checksum, and the transactions built on them. A transaction
// tries up to five times and returns what became of its last attempt, except that a port
// which does not open ends it at once (CannotOpen); it tells the user nothing (the command
// that runs it does, from the failure it keeps: see link/link_failure.h).
#include "link/link_settings.h"
#include "link/link_status.h"
#include "link/serial_port.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace qz {

// The Stop command's question about the logger.
enum class RunState {
    Stopped,
    Running, // recording, or waiting for a delayed start
    NotAnswering, // the ping got no answer
    Unknown, // the ping was answered, the clock read failed
};

class LoggerProtocol {
public:
    static constexpr int kAttempts = 5;

    LoggerProtocol(const LinkSettings& settings, std::unique_ptr<LineBackend> line, Clock& clock);

    const LinkSettings& settings() const { return settings_; }
    SerialPort& port() { return port_; }

    // Called when the port does not open, with the port name and the system's reason (0
    // when none was given). Returns the handler it replaces.
    using OpenFailed = std::function<void(const QString& port, int osError)>;
    OpenFailed onOpenFailed(OpenFailed handler)
    {
        std::swap(openFailed_, handler);
        return handler;
    }

    // Opens the port when it is closed, then lets it settle for 500 ms. CannotOpen, after
    // the open-failed handler, when it does not open.
    LinkStatus ensureOpen();
    // Opens the port when it is closed, without the pause (a modem needs none).
    LinkStatus openPort();
    // Sends a frame byte by byte, each echoed by the logger before the next goes out.
    LinkStatus send(const std::uint8_t* frame, std::uint16_t length);
    // Collects a reply of length bytes (data + 16-bit sum) within a second.
    LinkStatus receive(std::uint8_t* buffer, std::uint16_t length);
    // An exchange ends with a failed send, with a receive, or with a write's frame sent;
    // the line is told, with the status's name when it failed (a trace shows it).

    // Transactions. A read writes its buffer only when it succeeds.
    LinkStatus ping();
    LinkStatus readIdent(std::uint8_t* out8);
    LinkStatus readCalibration(std::uint8_t* out32);
    LinkStatus readProgram(std::uint8_t* out88);
    LinkStatus readInputTable(std::uint8_t* out256);
    LinkStatus readClock(std::uint8_t* out16);
    LinkStatus readReadingsAC(std::uint8_t* out9);
    LinkStatus readReadingsDC(std::uint8_t* out9);
    // The battery converter count of a DC reading.
    LinkStatus readBattery(std::uint8_t& count);
    LinkStatus readDataBlock(int block, std::uint8_t* out128);
    // 128 bytes anywhere: five tries to send the frame, then one to receive the reply.
    LinkStatus readMemory(std::uint16_t address, std::uint8_t* out128);
    LinkStatus writeProgram(const std::uint8_t* program88);
    LinkStatus writeInputTable(const std::uint8_t* table256);
    LinkStatus writeDataBlock(int block, const std::uint8_t* data128);
    // One try: the clock runs on, so a record is never sent twice.
    LinkStatus writeClock(const std::uint8_t* clock16);
    // One try.
    LinkStatus resetLogger();
    // Stops a recording by rewriting the clock with run state 0. Nothing is sent when the
    // clock could not be read first.
    LinkStatus stopLogger();
    // Ok when the logger holds the program block, rewriting it (stopped first) up to 3
    // times; NotTaken when it still differs after the third write.
    LinkStatus verifyProgram(const std::uint8_t* program88);
    // NotAnswering (and the ping's status) when the ping fails; otherwise from the clock
    // record, Unknown when its read fails.
    LinkStatus readRunState(RunState& state);
    // Whether the clock record says recording (0xC2).
    LinkStatus isRecording(bool& recording);

private:
    LinkStatus sendFrame(const std::uint8_t* frame, std::uint16_t length);
    LinkStatus receiveReply(std::uint8_t* buffer, std::uint16_t length);
    // Tells the line that an exchange ended with status; returns it.
    LinkStatus ended(LinkStatus status);
    // One read exchange with its attempts; out is written only on success.
    LinkStatus readExchange(const std::uint8_t* frame, std::uint16_t frameLength, std::uint8_t* out,
                            std::uint16_t dataLength);
    // Sends a frame with its attempts; the exchange goes on with a reply.
    LinkStatus sendAttempts(const std::uint8_t* frame, std::uint16_t frameLength, int attempts);
    LinkStatus writeExchange(const std::uint8_t* frame, std::uint16_t frameLength, int attempts);

    SerialPort port_;
    LinkSettings settings_;
    OpenFailed openFailed_;
};

} // namespace qz
