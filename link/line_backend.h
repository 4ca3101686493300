#pragma once
// One serial line as the port sees it: a real device, or the in-process logger emulator.
// Waiting calls block on the line for at most the given time (never spin); the emulator's
// line waits on the clock it was given, so tests on a virtual clock stay instant.
#include <QString>
#include <cstdint>

namespace qz {

class LineBackend {
public:
    virtual ~LineBackend() = default;

    // Opens the line by name at 19200 baud, 8 data bits, no parity, 1 stop bit.
    virtual bool open(const QString& name) = 0;
    // Why the last open failed: the system's error number, 0 when the line gives none.
    virtual int openError() const { return 0; }
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Raises DTR; false where the line has no modem lines (a pseudo-terminal), which is
    // not a failure to open.
    virtual bool raiseDtr() = 0;

    // Hands bytes to the line without waiting for them to leave; returns the count taken,
    // or -1 on an error.
    virtual std::int64_t write(const std::uint8_t* data, std::int64_t count) = 0;
    // Bytes received and not yet read, without waiting.
    virtual std::int64_t bytesWaiting() = 0;
    // Waits until at least count bytes are waiting or timeoutMs has passed; returns the
    // number waiting then.
    virtual std::int64_t waitForBytes(std::int64_t count, std::int64_t timeoutMs) = 0;
    // Reads up to count bytes that are already waiting; returns the number read.
    virtual std::int64_t read(std::uint8_t* data, std::int64_t count) = 0;
    // Drops everything received and not yet sent.
    virtual void purge() = 0;
    // The protocol's exchange (a frame, its echoes and the reply) has ended: failure says
    // what became of it ("no echo"), empty when it succeeded. A traced line writes it out
    // at once, other lines ignore it.
    virtual void endExchange(const QString& failure) { (void)failure; }
};

} // namespace qz
