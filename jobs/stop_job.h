#pragma once
// The Stop command's work without windows: is the logger there, does it run (recording,
// or waiting for a delayed start), and stop it once that is confirmed.
#include "jobs/job_result.h"
#include "jobs/logger_presence.h"

namespace qz {

struct StopPolicy {
    // Ask: without an answer the question to connect is open; the Stop command asks it
    // again after each ping that went unanswered.
    ConnectPolicy connect = ConnectPolicy::Ask;
    // The logger runs: stop it (Yes), or leave it running.
    Decision stop = Decision::Ask;
    // Read the run state again after the stop.
    bool verify = false;
};

enum class StopStatus {
    Stopped, // the logger ran and was sent the stop (verify: and says it is stopped)
    AlreadyStopped, // nothing sent
    NotConfirmed, // the logger runs: ConfirmStop open, or the stop refused; nothing sent
    NotConnected, // no answer to the ping: the question to connect is open
    LinkFailed, // the port did not open, or a read or the stop gave up (link)
    StillRunning, // verify: the logger still runs after the stop
};

struct StopResult : JobResult {
    StopStatus status = StopStatus::LinkFailed;
};

StopResult stopJob(LoggerProtocol& protocol, const StopPolicy& policy);

} // namespace qz
