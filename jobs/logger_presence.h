#pragma once
// "Is the logger there": the first step of every logger job. It opens the port (a port
// that does not open ends the job with the port's name and the system's reason, and
// nothing follows it: no question to connect, which could not help) and pings the logger
// with a clock read, whose reply is kept with the host's time.
#include "jobs/job_result.h"
#include "link/logger_protocol.h"

namespace qz {

enum class ConnectPolicy {
    Ask, // ping; without an answer the job stops with the question to connect open
    GoOn, // open the port, no ping: the user said Yes to that question, or the command never pings
    Require, // ping; without an answer the job stops on the link ("Device Not Responding")
};

// True when the job may go on. Otherwise result says why: its link failure (the port, or
// the ping under Require), or the question to connect.
bool loggerIsThere(LoggerProtocol& protocol, ConnectPolicy policy, const LinkWatch& watch, JobResult& result);

// A clock read with the host's time of its reply.
LinkStatus readClock(LoggerProtocol& protocol, ClockReading& reading);

} // namespace qz
