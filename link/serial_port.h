#pragma once
// SerialPort: the program's only access to the serial line. Byte-level operations over a
// line backend, the read time-out rule, and a one-shot deadline timer on the clock.
// Every operation on a closed port does nothing and returns 0 or false.
#include "link/line_backend.h"
#include "platform/clock.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace qz {

class SerialPort {
public:
    // Status codes of the last failure.
    enum : std::int32_t {
        StatusOk = 0,
        StatusNoPort = -100,       // no port name given
        StatusSettings = -102,     // line settings refused
        StatusOpenFailed = -112,   // the device could not be opened
        StatusQueues = -110,
        StatusLineSettings = -109,
        StatusTimeouts = -111,
        StatusEventMask = -113,
        StatusCloseFailed = -200,
    };

    SerialPort(std::unique_ptr<LineBackend> line, Clock& clock);
    virtual ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // The port to open (CurrentPort): a device path or the name of an in-process line.
    QString PortName;

    // Opens PortName at 19200 8N1 and raises DTR (a line without modem lines still counts
    // as open). Returns 0 when open, -1 when not; Status tells why.
    std::int32_t Open();
    bool Close();
    bool IsOpen() const { return isOpen_; }
    std::int32_t Status() const { return status_; }

    // Reads up to count bytes: returns after at most 100 + 5 x count ms, or 20 ms after
    // the last byte that arrived. The number read, -1 on a line error.
    std::int32_t Read(std::uint8_t* buffer, std::uint16_t count);
    std::int32_t Write(const std::uint8_t* buffer, std::uint16_t count);
    std::uint16_t BytesWaiting();
    // Blocks until count bytes wait or timeoutMs has passed; the count waiting then.
    std::uint16_t WaitForBytes(std::uint16_t count, std::int64_t timeoutMs);
    void PurgeInput();
    void PurgeOutput();
    void TransmitChar(std::uint8_t byte);
    bool SetDtr();
    void Delay(std::int64_t ms);

    virtual void StartTimer(std::int32_t seconds);
    virtual std::int32_t TimeLeft();

protected:
    Clock& clock_;

private:
    std::unique_ptr<LineBackend> line_;
    bool isOpen_ = false;
    std::int32_t status_ = StatusOk;
    std::int64_t deadline_ = 0;
};

} // namespace qz
