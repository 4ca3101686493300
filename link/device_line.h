#pragma once
// A serial device (or pseudo-terminal) through POSIX termios: 19200 baud, 8N1, raw, no flow
// control, opened exclusively. Waits block in poll() for the remaining time.
#include "link/line_backend.h"

#include <cstdint>
#include <vector>

namespace qz {

class DeviceLine final : public LineBackend {
public:
    DeviceLine() = default;
    ~DeviceLine() override;
    DeviceLine(const DeviceLine&) = delete;
    DeviceLine& operator=(const DeviceLine&) = delete;

    bool open(const QString& name) override;
    int openError() const override { return openError_; }
    void close() override;
    bool isOpen() const override { return fd_ >= 0; }
    bool raiseDtr() override;

    std::int64_t write(const std::uint8_t* data, std::int64_t count) override;
    std::int64_t bytesWaiting() override;
    std::int64_t waitForBytes(std::int64_t count, std::int64_t timeoutMs) override;
    std::int64_t read(std::uint8_t* data, std::int64_t count) override;
    void purge() override;

    // The errno of the last failing system call.
    int lastError() const { return lastError_; }

private:
    // Moves what the driver holds into our own queue; false when the line is gone.
    bool drain();
    std::int64_t queued() const { return static_cast<std::int64_t>(rx_.size() - rxHead_); }

    // Closes fd and keeps errno as the reason the open failed.
    bool refuse(int fd);

    int fd_ = -1;
    int lastError_ = 0;
    int openError_ = 0;
    // Bytes taken from the driver and not yet read. Draining while waiting for several
    // bytes keeps poll() blocking instead of reporting the same byte again and again.
    std::vector<std::uint8_t> rx_;
    std::size_t rxHead_ = 0;
};

} // namespace qz
