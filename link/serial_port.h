#pragma once
// SerialPort: the program's only access to the serial line. Byte-level operations over a
// line backend and the read time-out rule. Every operation on a closed port does nothing
// and returns 0 or false.
#include "link/line_backend.h"
#include "platform/clock.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace qz {

// Opening a port: whether it opened, and if not the system's reason (0 when none was
// given, as for an empty name).
struct OpenResult {
    bool opened = false;
    int osError = 0;
};

class SerialPort {
public:
    SerialPort(std::unique_ptr<LineBackend> line, Clock& clock);
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens the port at 19200 8N1 and raises DTR (a line without modem lines still counts
    // as open). An empty name opens nothing.
    OpenResult open(const QString& name);
    // False when the port was not open.
    bool close();
    bool isOpen() const { return isOpen_; }

    // Reads up to count bytes: returns after at most 100 + 5 x count ms, or 20 ms after
    // the last byte that arrived. The number read, -1 on a line error.
    std::int32_t read(std::uint8_t* buffer, std::uint16_t count);
    std::int32_t write(const std::uint8_t* buffer, std::uint16_t count);
    std::uint16_t bytesWaiting();
    // Blocks until count bytes wait or timeoutMs has passed; the count waiting then.
    std::uint16_t waitForBytes(std::uint16_t count, std::int64_t timeoutMs);
    // Drops what was received and not read. Output leaves at once, so there is no
    // output queue to drop.
    void purge();
    void transmit(std::uint8_t byte);
    bool raiseDtr();
    void delay(std::int64_t ms);
    // Tells the line that an exchange ended, and how it failed (empty: it succeeded).
    void endExchange(const QString& failure);

    Clock& clock() { return clock_; }

private:
    Clock& clock_;
    std::unique_ptr<LineBackend> line_;
    bool isOpen_ = false;
};

} // namespace qz
