#include "jobs/stop_job.h"

#include "link/block_reader.h"

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
    const LinkStatus stopped = q.stopLogger();
    if (stopped == LinkStatus::Ok && !policy.verify) {
        r.status = StopStatus::Stopped;
        return r;
    }
    if (stopped == LinkStatus::CannotOpen) {
        r.link = watch.failure(stopped);
        return r;
    }
    const CheckedRead state = readRunStateAgreed(q, r.clock);
    const bool told = state.status == LinkStatus::Ok && state.steady;
    if (told && r.clock.runState() == mem::kRunStopped) {
        r.status = StopStatus::Stopped;
    } else if (stopped != LinkStatus::Ok) {
        // The stop did not take, or nothing tells that it did.
        r.link = watch.failure(stopped);
    } else {
        r.status = told ? StopStatus::StillRunning : StopStatus::NotReadBack;
    }
    return r;
}

} // namespace qz
