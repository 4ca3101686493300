#pragma once
// Reading an area of the logger's memory for a download. A plain read trusts the reply's
// checksum; a verified read does not (an additive sum misses two bit errors that cancel
// out): the area is read until two reads agree, up to kVerifiedReads reads. A read that
// failed on a damaged reply (a wrong echo, a short reply, a wrong sum) counts as one of
// them, so that a noisy line costs reads rather than the download; a logger that stopped
// answering ends the read at once.
#include "link/logger_protocol.h"

#include <cstddef>
#include <cstdint>
#include <functional>

namespace qz {

// The most reads of one area before a verified read gives up on it.
inline constexpr int kVerifiedReads = 6;

struct CheckedRead {
    LinkStatus status = LinkStatus::Ok; // the read that failed, when none succeeded
    bool steady = true; // verified: two reads agreed (false: some came, none alike)
    int reads = 0; // read transactions made

    // A verified read that needed more than the two reads every area takes.
    bool reread() const { return reads > 2; }
};

// A transaction that reads one area into its buffer.
using AreaRead = std::function<LinkStatus(std::uint8_t* out)>;

// Reads an area of size bytes (at most 256) into out, which is written only when the
// result is Ok and steady.
CheckedRead readArea(const AreaRead& read, std::uint8_t* out, std::size_t size, bool verified);

// Data block k into out128.
CheckedRead readBlock(LoggerProtocol& protocol, int block, std::uint8_t* out128, bool verified);

} // namespace qz
