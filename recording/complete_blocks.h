#pragma once
// A recording file cut short holds some data blocks only in part or not at all. Such a
// block is not a block: its missing bytes would read as measurements nobody made.
#include "model/byte_view.h"

namespace qz {

struct CompleteBlocks {
    int declared = 0; // blocks the header declares in use (limited to the memory)
    int kept = 0; // blocks the recording keeps
    int missing() const { return declared - kept; }
};

// Keeps, of the blocks in use, the longest run of consecutive blocks (oldest first) that
// lie whole among the first heldBlocks physical blocks of the image; ties keep the older
// run. When blocks are missing, the run is moved to the start of the data area, the rest
// of the data area is cleared, BlocksUsed becomes the run's length and FirstBlock 0, so
// that the image reads, saves and exports as that run alone. An image that holds all its
// blocks is left as it is.
//
// Runs, rather than every held block, because a measurement's time is counted from the
// oldest block: blocks on both sides of a gap cannot be one recording. In a wrapped ring
// cut short the held blocks may form two runs (the oldest ones from FirstBlock up to the
// cut, and the newest ones from block 0 up to FirstBlock); the longer one is kept.
CompleteBlocks keepCompleteBlocks(ByteView image, int heldBlocks);

} // namespace qz
