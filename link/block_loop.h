#pragma once
// The download's block loop: reads the data blocks from block 0 on into the image, one
// per step with the progress display and a cancel test, until the recording ends.
//
// A block is recorded (its header is plausible and, in a linear memory, its stamp
// continues the one before within 5 days and 1 hour), erased (a header of 0xFF: the
// recording ends there), or damaged (anything else). A damaged block is read again, up to
// a transaction's attempts, before it counts as damaged: a bit error on the line heals
// there, damaged memory does not.
//
// A block whose stamp is no date (31 February) is taken, so that one impossible date does
// not cut the recording short; such blocks are counted for one message at the end.
#include "link/download_progress.h"
#include "link/logger_protocol.h"
#include "model/logger_date.h"

#include <cstdint>
#include <vector>

namespace qz {

struct BlockLoopEnd {
    int taken = 0; // blocks 0 .. taken - 1 hold the recording as read
    bool cancelled = false;
    LinkStatus link = LinkStatus::Ok; // the read that failed after its attempts
    int damaged = -1; // the block that stayed damaged
    int unsteady = -1; // the block that never read the same twice
    int impossibleDates = 0; // blocks taken whose stamp is no date
    int firstImpossibleDate = -1;
};

struct BlockLoop {
    LoggerProtocol& protocol;
    DownloadProgress& progress;
    bool verify = false;
    // A ring memory (the logger reports a used-block count): every plausible block is
    // taken, and where the recording begins is found afterwards.
    bool ring = false;
    int blocks = 0; // blocks in the memory

    BlockLoopEnd run(std::vector<std::uint8_t>& image);
};

} // namespace qz
