#include "jobs/memory_job.h"

#include "jobs/logger_presence.h"

namespace qz {

MemoryReadResult memoryReadJob(LoggerProtocol& q, std::uint16_t address, int length)
{
    MemoryReadResult r;
    const LinkWatch watch(q);
    if (!loggerIsThere(q, ConnectPolicy::GoOn, watch, r)) {
        r.got.status = r.link.status;
        return r;
    }
    r.got = readLoggerBytes(q, address, length);
    return r;
}

JobResult clockReadJob(LoggerProtocol& q)
{
    JobResult r;
    const LinkWatch watch(q);
    if (!loggerIsThere(q, ConnectPolicy::GoOn, watch, r))
        return r;
    if (const LinkStatus read = readClock(q, r.clock); read != LinkStatus::Ok)
        r.link = watch.failure(read);
    return r;
}

} // namespace qz
