#include "jobs/stop_job.h"

namespace qz {

StopResult stopJob(LoggerProtocol& q, const StopPolicy& policy)
{
    StopResult r;
    const LinkWatch watch(q);
    if (!loggerIsThere(q, policy.connect, watch, r)) {
        r.status = r.question == Question::Connect ? StopStatus::NotConnected : StopStatus::LinkFailed;
        return r;
    }
    // The run state, from a clock read of its own after the ping.
    if (const LinkStatus read = readClock(q, r.clock); read != LinkStatus::Ok) {
        r.link = watch.failure(read);
        return r;
    }
    if (r.clock.runState() == mem::kRunStopped) {
        r.status = StopStatus::AlreadyStopped;
        return r;
    }
    if (policy.stop != Decision::Yes) {
        r.status = StopStatus::NotConfirmed;
        if (policy.stop == Decision::Ask)
            r.question = Question::ConfirmStop;
        return r;
    }
    if (const LinkStatus stopped = q.stopLogger(); stopped != LinkStatus::Ok) {
        r.link = watch.failure(stopped);
        return r;
    }
    r.status = StopStatus::Stopped;
    if (policy.verify) {
        if (const LinkStatus read = readClock(q, r.clock); read != LinkStatus::Ok) {
            r.link = watch.failure(read);
            r.status = StopStatus::LinkFailed;
        } else if (r.clock.runState() != mem::kRunStopped) {
            r.status = StopStatus::StillRunning;
        }
    }
    return r;
}

} // namespace qz
