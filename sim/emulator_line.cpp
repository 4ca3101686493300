#include "sim/emulator_line.h"

#include <algorithm>

namespace qz::sim {

std::int64_t EmulatorLine::nowUs()
{
    // A clock up to kJitterUs ahead of the line is the line's own sleep waking late (a
    // real clock sleeps in coarse steps): the line keeps its schedule, and the next wait
    // sleeps that much less, so a paced line keeps the wire's pace instead of adding every
    // late wake-up. Further ahead, time really passed elsewhere and the line follows.
    const std::int64_t clockUs = clock_.tickMs() * 1000;
    if (clockUs > nowUs_ + kJitterUs)
        nowUs_ = clockUs;
    emulator_.advanceTo(nowUs_);
    return nowUs_;
}

void EmulatorLine::waitUntil(std::int64_t us)
{
    const std::int64_t ms = us / 1000 - clock_.tickMs();
    if (ms > 0)
        clock_.sleepMs(ms);
    nowUs_ = std::max(nowUs_, us);
    nowUs();
}

bool EmulatorLine::open(const QString& name)
{
    name_ = name;
    open_ = true;
    emulator_.purge(nowUs());
    return true;
}

void EmulatorLine::close()
{
    open_ = false;
}

std::int64_t EmulatorLine::write(const std::uint8_t* data, std::int64_t count)
{
    if (!open_ || !data || count < 0)
        return open_ ? 0 : -1;
    const std::int64_t at = nowUs();
    for (std::int64_t i = 0; i < count; ++i)
        emulator_.receive(data[i], at);
    return count;
}

std::int64_t EmulatorLine::bytesWaiting()
{
    if (!open_)
        return 0;
    return emulator_.available(nowUs());
}

std::int64_t EmulatorLine::waitForBytes(std::int64_t count, std::int64_t timeoutMs)
{
    if (!open_)
        return 0;
    const std::int64_t now = nowUs();
    const std::int64_t have = emulator_.available(now);
    if (have >= count)
        return have;
    const std::int64_t deadline = now + std::max<std::int64_t>(timeoutMs, 0) * 1000;
    const std::int64_t arrival = emulator_.arrivalOf(count);
    waitUntil(arrival >= 0 && arrival <= deadline ? arrival : deadline);
    return emulator_.available(nowUs_);
}

std::int64_t EmulatorLine::read(std::uint8_t* data, std::int64_t count)
{
    if (!open_ || !data || count <= 0)
        return 0;
    return emulator_.read(data, count, nowUs());
}

void EmulatorLine::purge()
{
    if (open_)
        emulator_.purge(nowUs());
}

} // namespace qz::sim
