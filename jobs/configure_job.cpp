#include "jobs/configure_job.h"

#include <cstring>

namespace qz {

namespace {

// The input table as sent, and the logger recording or waiting for its start.
LinkStatus holds(LoggerProtocol& q, const ConfigurationBytes& sent, bool delayed, ClockReading& clock,
                 bool& held)
{
    std::uint8_t table[mem::kInputTableSize];
    LinkStatus status = q.readInputTable(table);
    if (status == LinkStatus::Ok)
        status = readClock(q, clock);
    if (status != LinkStatus::Ok)
        return status;
    const std::uint8_t state = clock.runState();
    const bool started = state == mem::kRunRecording || (delayed && state == mem::kRunWaiting);
    held = started && std::memcmp(table, sent.inputs.data(), sizeof table) == 0;
    return status;
}

} // namespace

ConfigureResult configureJob(LoggerProtocol& q, const std::array<std::uint8_t, mem::kDeviceImageSize>& image,
                             const StartRequest& start, const ConfigurePolicy& policy, Progress& progress)
{
    ConfigureResult r;
    r.image = image;
    // A start already past is refused before the logger is asked anything.
    std::array<std::uint8_t, mem::kDeviceImageSize> trial = image;
    if (!programTimeVars(ByteView{trial.data(), trial.size()}, q.port().clock(), start.delayed, start.plan)
             .inFuture) {
        r.status = ConfigureStatus::StartElapsed;
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
    if (!r.start.inFuture) {
        r.status = ConfigureStatus::StartElapsed;
        return r;
    }
    const ConfigurationBytes bytes = ConfigurationBytes::of(view);
    const LinkStatus sent = writeConfiguration(q, bytes, progress);
    if (sent == LinkStatus::NotTaken) {
        r.status = ConfigureStatus::NotKept;
        return r;
    }
    if (sent != LinkStatus::Ok) {
        r.link = watch.failure(sent);
        return r;
    }
    if (policy.verify) {
        bool held = false;
        if (const LinkStatus read = holds(q, bytes, start.delayed, r.clock, held); read != LinkStatus::Ok) {
            r.link = watch.failure(read);
            return r;
        }
        if (!held) {
            r.status = ConfigureStatus::NotHeld;
            return r;
        }
    }
    r.status = ConfigureStatus::Sent;
    return r;
}

} // namespace qz
