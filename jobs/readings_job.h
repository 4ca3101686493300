#pragma once
// One cycle of the current readings: is the logger there, then one reading of its
// converters.
#include "jobs/job_result.h"
#include "jobs/logger_presence.h"
#include "realtime/reading_cycle.h"

namespace qz {

enum class ReadingStatus {
    Read, // reading holds the logger's counts
    NotConnected, // no answer to the ping: the question to connect is open
    LinkFailed, // the port did not open, or the reading gave up (link)
};

struct ReadingResult : JobResult {
    ReadingStatus status = ReadingStatus::LinkFailed;
    Reading reading;
};

// After a ping, the diagnostic (DC) reading when diagnostic is on, the plain (AC) one
// otherwise. Under GoOn (the user said Yes to the question to connect) the plain reading,
// without a ping.
ReadingResult readingJob(LoggerProtocol& protocol, ConnectPolicy connect, bool diagnostic);

} // namespace qz
