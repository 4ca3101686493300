#pragma once
// What a data block of the logger's memory holds: a plausible header (its sample count and
// its time stamp, BCD yy mm dd hh mm ss, are in range), erased memory (a header of 0xFF, as
// the logger leaves a block it has not written since its memory was erased), and whether
// it carries on the recording of the blocks before it. A download judges the blocks as they
// come; a memory dump of a linear logger, whose own header does not say how many blocks
// are in use, is judged the same way when it is opened.
#include "model/logger_date.h"

#include <cstdint>

namespace qz {

// Judges the first 7 bytes of a 128-byte data block.
bool isPlausibleBlock(const std::uint8_t* block);

// Judges the 8 header bytes of a 128-byte data block.
bool isErasedBlock(const std::uint8_t* block);

enum class BlockKind {
    Recorded,
    Erased,
    Damaged
};

struct BlockJudgement {
    BlockKind kind = BlockKind::Damaged;
    StampContinuity continuity = StampContinuity::Continues;
};

// What block i holds, against the date of the block before it (linear) or on its own
// (ring). Block 0 of a linear memory starts the date chain: the day before its own stamp.
BlockJudgement judgeBlock(const std::uint8_t* block, int i, bool ring, LoggerDate& date);

// Which blocks of a memory read from block 0 on hold the recording, oldest first: a linear
// memory, the blocks taken; a ring read to its end, all of it from its oldest block (by
// stamp; stamps that are no date take no part); a ring that stopped early at block k, only
// from the oldest block read up to k - 1, because the blocks after k, never read, lie between
// those and the newer ones before the oldest. `blocks` points at block 0.
struct DeclaredBlocks {
    int used = 0;
    int first = 0;
};
DeclaredBlocks declareBlocks(const std::uint8_t* blocks, bool ring, int taken, int memoryBlocks);

// The blocks of a linear memory that hold its recording: from block 0 up to the first
// erased or damaged one, each carrying on the date of the one before. `blocks` points at
// block 0 and holds `count` whole blocks.
int linearBlocksInUse(const std::uint8_t* blocks, int count);

} // namespace qz
