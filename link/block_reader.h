#pragma once
// Reading an area of the logger's memory for a download. A plain read trusts the reply's
// checksum; a verified read does not (an additive sum misses two bit errors that cancel
// out): the area is read twice and must read the same, and a third read breaks a tie.
#include "link/logger_protocol.h"

#include <cstddef>
#include <cstdint>
#include <functional>

namespace qz {

struct CheckedRead {
    LinkStatus status = LinkStatus::Ok; // the read transaction that failed, or Ok
    bool steady = true; // verified: two reads agreed
};

// A transaction that reads one area into its buffer.
using AreaRead = std::function<LinkStatus(std::uint8_t* out)>;

// Reads an area of size bytes (at most 256) into out, which is written only when the
// result is Ok and steady.
CheckedRead readArea(const AreaRead& read, std::uint8_t* out, std::size_t size, bool verified);

// Data block k into out128.
CheckedRead readBlock(LoggerProtocol& protocol, int block, std::uint8_t* out128, bool verified);

} // namespace qz
