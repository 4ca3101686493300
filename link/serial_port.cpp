#include "link/serial_port.h"

#include <algorithm>

namespace qz {

SerialPort::SerialPort(std::unique_ptr<LineBackend> line, Clock& clock)
    : clock_(clock), line_(std::move(line))
{}

SerialPort::~SerialPort()
{
    close();
}

OpenResult SerialPort::open(const QString& name)
{
    if (isOpen_)
        return {true, 0};
    if (name.isEmpty() || !line_)
        return {false, 0};
    if (!line_->open(name))
        return {false, line_->openError()};
    isOpen_ = true;
    // A pseudo-terminal has no modem lines; the port is usable all the same.
    line_->raiseDtr();
    purge();
    return {true, 0};
}

bool SerialPort::close()
{
    if (!isOpen_)
        return false;
    line_->close();
    isOpen_ = false;
    return true;
}

std::int32_t SerialPort::read(std::uint8_t* buffer, std::uint16_t count)
{
    if (!isOpen_)
        return 0;
    const std::int64_t deadline = clock_.tickMs() + 100 + 5 * std::int64_t(count);
    std::int64_t got = 0;
    while (got < count) {
        const std::int64_t n = line_->read(buffer + got, count - got);
        if (n < 0)
            return -1;
        got += n;
        if (got >= count)
            break;
        const std::int64_t total = deadline - clock_.tickMs();
        if (total <= 0)
            break;
        // Between bytes the line may stay silent for 20 ms at most.
        const std::int64_t wait = got > 0 ? std::min<std::int64_t>(20, total) : total;
        if (line_->waitForBytes(1, wait) <= 0)
            break;
    }
    return static_cast<std::int32_t>(got);
}

std::int32_t SerialPort::write(const std::uint8_t* buffer, std::uint16_t count)
{
    if (!isOpen_)
        return 0;
    return static_cast<std::int32_t>(line_->write(buffer, count));
}

std::uint16_t SerialPort::bytesWaiting()
{
    if (!isOpen_)
        return 0;
    return static_cast<std::uint16_t>(std::clamp<std::int64_t>(line_->bytesWaiting(), 0, 65535));
}

std::uint16_t SerialPort::waitForBytes(std::uint16_t count, std::int64_t timeoutMs)
{
    if (!isOpen_)
        return 0;
    const std::int64_t n = line_->waitForBytes(count, std::max<std::int64_t>(timeoutMs, 0));
    return static_cast<std::uint16_t>(std::clamp<std::int64_t>(n, 0, 65535));
}

void SerialPort::purge()
{
    if (isOpen_)
        line_->purge();
}

void SerialPort::transmit(std::uint8_t byte)
{
    if (isOpen_)
        line_->write(&byte, 1);
}

bool SerialPort::raiseDtr()
{
    if (!isOpen_)
        return false;
    return line_->raiseDtr();
}

void SerialPort::endExchange(const QString& failure)
{
    line_->endExchange(failure);
}

void SerialPort::delay(std::int64_t ms)
{
    clock_.sleepMs(ms);
}

} // namespace qz
