#pragma once
// The raw download of the service tools: the logger's header and every data block of its
// memory, whatever the blocks hold, so that a misbehaving logger can be copied whole,
// damaged blocks included. No block is tested; a block that does not come is left at zero
// and counted, and the loop goes on with the next one.
#include "link/logger_protocol.h"
#include "platform/progress.h"

#include <cstdint>
#include <vector>

namespace qz {

enum class RawDownloadEnd {
    Complete, // the header and every block came
    BlocksMissed, // the header came; some blocks did not (their bytes are zero)
    HeaderFailed, // the header did not come (link says how)
    Cancelled, // the user cancelled
};

struct RawDownload {
    RawDownloadEnd end = RawDownloadEnd::HeaderFailed;
    int blocks = 0; // data blocks of the memory, from its device code
    int missedBlocks = 0; // blocks that did not come
    LinkStatus link = LinkStatus::Ok; // the header read that failed
    // The header and the blocks (384 + 128 x blocks bytes) once the header came; the
    // logger's own BlocksUsed and FirstBlock stay as it reported them.
    std::vector<std::uint8_t> image;
};

// A logger that has not answered for this many blocks in a row is taken as gone: the
// blocks left are counted as missed rather than asked for one by one.
inline constexpr int kRawDownloadGoneAfter = 5;

// The bar position after block k: 19, 28, ..., 100, 10, ... every 11 blocks.
inline int rawBlockBar(int k)
{
    return ((k + 1) % 11) * 9 + 10;
}

// Reads the header (each area only when the one before came) and then every block of the
// memory. Progress shows "Downloading Quorvant ..." with Cancel.
RawDownload rawDownload(LoggerProtocol& protocol, Progress& progress);

} // namespace qz
