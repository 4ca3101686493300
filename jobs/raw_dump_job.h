#pragma once
// The raw memory dump of the service tools: the logger's header and every block of its
// memory, whatever they hold, written to a file in the recording file layout. No ping.
#include "jobs/job_result.h"
#include "platform/progress.h"
#include "recording/file_results.h"

#include <QString>

namespace qz {

class LoggerProtocol;

enum class RawDumpStatus {
    Written, // the file holds the header and every block (BlocksMissed: some did not come)
    LinkFailed, // the port did not open or the header did not come (link); no file
    Cancelled, // no file
    WriteFailed, // the file could not be written (save says why)
};

struct RawDumpResult : JobResult {
    RawDumpStatus status = RawDumpStatus::LinkFailed;
    int blocks = 0; // data blocks of the memory
    int missedBlocks = 0;
    SaveResult save;
};

RawDumpResult rawDumpJob(LoggerProtocol& protocol, const QString& fileName, Progress& progress);

} // namespace qz
