#include "jobs/configure_job.h"

#include "jobs/stop_job.h"

namespace qz {

namespace {

// The logger kept another program block or input table than the one sent and was not
// started; it may still record what it had, now mixed with part of the new: stopped.
void stopWhatWasNotKept(LoggerProtocol& q, ConfigureResult& r)
{
    StopPolicy stop;
    stop.connect = ConnectPolicy::Require;
    stop.stop = Decision::Yes;
    stop.verify = true;
    const StopResult stopped = stopJob(q, stop);
    if (stopped.clock.read())
        r.clock = stopped.clock;
    if (stopped.status == StopStatus::Stopped || stopped.status == StopStatus::AlreadyStopped) {
        r.status = ConfigureStatus::NotKept;
        return;
    }
    r.status = ConfigureStatus::NotKeptNotStopped;
    r.link = stopped.link;
}

// The clock record taken: the logger records, or waits for its delayed start, as two
// reads of its run state agree.
ConfigureStatus startedAsAsked(LoggerProtocol& q, bool delayed, ClockReading& clock)
{
    const CheckedRead read = readRunStateAgreed(q, clock);
    if (read.status != LinkStatus::Ok || !read.steady)
        return ConfigureStatus::NotReadBack;
    const std::uint8_t state = clock.runState();
    const bool started = state == mem::kRunRecording || (delayed && state == mem::kRunWaiting);
    return started ? ConfigureStatus::Sent : ConfigureStatus::NotHeld;
}

} // namespace

ConfigureResult configureJob(LoggerProtocol& q, const std::array<std::uint8_t, mem::kDeviceImageSize>& image,
                             const StartRequest& start, const ConfigurePolicy& policy, Progress& progress)
{
    ConfigureResult r;
    r.image = image;
    // A start already past, or too far ahead, is refused before the logger is asked anything.
    std::array<std::uint8_t, mem::kDeviceImageSize> trial = image;
    r.start =
        programTimeVars(ByteView{trial.data(), trial.size()}, q.port().clock(), start.delayed, start.plan);
    if (!r.start.inFuture || !r.start.withinLimit) {
        r.status = r.start.inFuture ? ConfigureStatus::StartTooFar : ConfigureStatus::StartElapsed;
        return r;
    }
    const LinkWatch watch(q);
    // The clock read tells whether the logger records; without it nothing is sent.
    if (!loggerIsThere(q, ConnectPolicy::Require, watch, r))
        return r;
    if (r.clock.runState() == mem::kRunRecording && policy.restart != Decision::Yes) {
        r.status = ConfigureStatus::NotConfirmed;
        if (policy.restart == Decision::Ask)
            r.question = Question::RestartRecording;
        return r;
    }
    const ByteView view{r.image.data(), r.image.size()};
    r.start = programTimeVars(view, q.port().clock(), start.delayed, start.plan);
    if (!r.start.inFuture || !r.start.withinLimit) {
        r.status = r.start.inFuture ? ConfigureStatus::StartTooFar : ConfigureStatus::StartElapsed;
        return r;
    }
    const ConfigurationBytes bytes = ConfigurationBytes::of(view);
    const LinkStatus sent = writeConfiguration(q, bytes, progress);
    if (sent == LinkStatus::NotTaken) {
        stopWhatWasNotKept(q, r);
        return r;
    }
    if (sent != LinkStatus::Ok) {
        r.link = watch.failure(sent);
        return r;
    }
    r.status = policy.verify ? startedAsAsked(q, start.delayed, r.clock) : ConfigureStatus::Sent;
    return r;
}

} // namespace qz
