#include "jobs/logger_presence.h"

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
