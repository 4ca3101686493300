#pragma once
// What the memory panel and the hexdump command read from a logger: memory 128 bytes at a
// time, and its clock record. No ping: a port that does not open is the only message; a
// read that fails is said beside the bytes that came.
#include "jobs/job_result.h"
#include "support_tools/memory_reads.h"

#include <cstdint>

namespace qz {

class LoggerProtocol;

struct MemoryReadResult : JobResult {
    LoggerBytes got; // the bytes that came, and the status of the read that failed
};

// length bytes from address on (addresses wrap at 65536).
MemoryReadResult memoryReadJob(LoggerProtocol& protocol, std::uint16_t address, int length);

// The clock record, in clock (read() false when it failed: link says how).
JobResult clockReadJob(LoggerProtocol& protocol);

} // namespace qz
