#pragma once
// What a job's result tells the user, in order: the findings, then what ended the job,
// each once, with the program's text first and the port and the system's reason after.
// The window shows them through its message boxes, the command-line tool prints them; a
// question the job left open is asked after them (questionOf).
#include "jobs/configure_job.h"
#include "jobs/device_read_job.h"
#include "jobs/download_job.h"
#include "jobs/memory_job.h"
#include "jobs/raw_dump_job.h"
#include "jobs/readings_job.h"
#include "jobs/stop_job.h"

#include <optional>

namespace qz {

// The findings and the link failure; enough for the jobs whose ending says nothing more
// (readings, the memory panel's reads, the clock read).
Messages messagesOf(const JobResult& result);
Messages messagesOf(const DownloadResult& result);
Messages messagesOf(const DeviceReadResult& result);
Messages messagesOf(const ConfigureResult& result);
Messages messagesOf(const StopResult& result);
Messages messagesOf(const RawDumpResult& result);

// The open question as the user reads it (Yes and No); none when no question is open.
std::optional<Message> questionOf(const JobResult& result);
std::optional<Message> questionOf(const DownloadResult& result);

} // namespace qz
