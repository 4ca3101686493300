#pragma once
// Runs logger jobs for the windows: the protocol object is made on the port's worker,
// lives for the one job and closes the port at its end.
#include "jobs/job_runner.h"
#include "link/line_registry.h"
#include "link/link_settings.h"
#include "link/logger_protocol.h"

#include <utility>

namespace qz {

class LoggerPorts {
public:
    LoggerPorts(JobRunner& runner, LineRegistry& lines, Clock& clock)
        : runner_(runner), lines_(lines), clock_(clock)
    {}

    // job(protocol, progress) returns the result that then(result) gets, on this thread,
    // while context lives (see JobRunner::post).
    template <class Job, class Then>
    void run(const LinkSettings& link, QObject* context, Progress* display, CancelToken cancel, Job job,
             Then then)
    {
        runJob(
            runner_, link.port, context, display, std::move(cancel),
            [link, lines = &lines_, clock = &clock_, job = std::move(job)](Progress& progress) mutable {
                LoggerProtocol protocol(link, lines->make(link.port), *clock);
                return job(protocol, progress);
            },
            std::move(then));
    }

    JobRunner& runner() { return runner_; }

private:
    JobRunner& runner_;
    LineRegistry& lines_;
    Clock& clock_;
};

} // namespace qz
