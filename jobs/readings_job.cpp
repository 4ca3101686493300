#include "jobs/readings_job.h"

namespace qz {

ReadingResult readingJob(LoggerProtocol& q, ConnectPolicy connect, bool diagnostic)
{
    ReadingResult r;
    const LinkWatch watch(q);
    if (!loggerIsThere(q, connect, watch, r)) {
        r.status = r.question == Question::Connect ? ReadingStatus::NotConnected : ReadingStatus::LinkFailed;
        return r;
    }
    if (const LinkStatus read = readOnce(q, diagnostic && connect != ConnectPolicy::GoOn, r.reading);
        read != LinkStatus::Ok) {
        r.link = watch.failure(read);
        return r;
    }
    r.status = ReadingStatus::Read;
    return r;
}

} // namespace qz
