#include "jobs/logger_presence.h"

#include <algorithm>
#include <array>

namespace qz {

LinkStatus readClock(LoggerProtocol& q, ClockReading& reading)
{
    ClockReading next;
    const LinkStatus status = q.readClock(next.logger.data());
    if (status == LinkStatus::Ok) {
        next.host = q.port().clock().localNow();
        reading = next;
    }
    return status;
}

CheckedRead readRunStateAgreed(LoggerProtocol& q, ClockReading& reading)
{
    ClockReading last;
    // From the reserved byte on: the run state and the start, which stand still.
    constexpr std::size_t kSteady = mem::kClockReserved;
    constexpr std::size_t kSteadySize = mem::kClockRecordSize - kSteady;
    const auto read = [&q, &last](std::uint8_t* out) {
        const LinkStatus status = readClock(q, last);
        if (status == LinkStatus::Ok)
            std::copy_n(last.logger.begin() + kSteady, kSteadySize, out);
        return status;
    };
    std::array<std::uint8_t, kSteadySize> agreed{};
    const CheckedRead got = readArea(read, agreed.data(), agreed.size(), true);
    if (got.status == LinkStatus::Ok && got.steady)
        reading = last;
    return got;
}

bool loggerIsThere(LoggerProtocol& q, ConnectPolicy policy, const LinkWatch& watch, JobResult& result)
{
    if (const LinkStatus opened = q.ensureOpen(); opened != LinkStatus::Ok) {
        result.link = watch.failure(opened);
        return false;
    }
    if (policy == ConnectPolicy::GoOn)
        return true;
    // The ping is a clock read, as the logger's own clock is worth keeping.
    const LinkStatus ping = readClock(q, result.clock);
    if (ping == LinkStatus::Ok)
        return true;
    if (policy == ConnectPolicy::Ask)
        result.question = Question::Connect;
    else
        result.link = watch.failure(ping);
    return false;
}

} // namespace qz
