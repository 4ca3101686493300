#pragma once
// The emulator as a serial line inside the program: a qz::LineBackend whose far end is an
// Emulator. It keeps the line's time in microseconds and takes it from the Clock it is
// given: waiting for bytes moves the clock (sleepMs) exactly to the moment the bytes
// arrive, or to the end of the time-out. With a VirtualClock a test therefore runs
// instantly and its time-outs are exact; with the SystemClock waits really pass.
// The clock only counts whole milliseconds, so the line keeps the fraction itself; a
// clock that runs up to 2 ms ahead of the line (a real sleep that woke late) does not
// move the line, so late wake-ups do not add up on a paced line.
//
//   qz::test::VirtualClock clock;
//   qz::sim::Emulator logger;                    // loadMemory(logger.logger(), ...)
//   qz::sim::EmulatorLine line(logger, clock);   // hand &line to the port
//
// Any name opens the line (the port layer chooses the name); raiseDtr succeeds. A line
// that is not open takes no bytes and has none waiting.
#include "link/line_backend.h"
#include "platform/clock.h"
#include "sim/emulator.h"

namespace qz::sim {

class EmulatorLine final : public LineBackend {
public:
    EmulatorLine(Emulator& emulator, Clock& clock) : emulator_(emulator), clock_(clock) {}

    bool open(const QString& name) override;
    void close() override;
    bool isOpen() const override { return open_; }
    bool raiseDtr() override { return open_; }

    std::int64_t write(const std::uint8_t* data, std::int64_t count) override;
    std::int64_t bytesWaiting() override;
    std::int64_t waitForBytes(std::int64_t count, std::int64_t timeoutMs) override;
    std::int64_t read(std::uint8_t* data, std::int64_t count) override;
    void purge() override;

    // The line's time now, in microseconds of the clock's tick count.
    std::int64_t nowUs();
    QString name() const { return name_; }

private:
    static constexpr std::int64_t kJitterUs = 2000;
    void waitUntil(std::int64_t us);

    Emulator& emulator_;
    Clock& clock_;
    std::int64_t nowUs_ = 0;
    bool open_ = false;
    QString name_;
};

} // namespace qz::sim
