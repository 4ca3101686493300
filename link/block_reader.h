#pragma once
// One data block as a download takes it. A plain read trusts the reply's checksum; a
// verified read does not (an additive sum misses two bit errors that cancel out): the
// block is read twice and must read the same, and a third read breaks a tie.
#include "link/logger_protocol.h"

#include <cstdint>

namespace qz {

struct BlockRead {
    LinkStatus status = LinkStatus::Ok; // the read transaction that failed, or Ok
    bool steady = true;                 // verified: two reads agreed
};

// Reads data block k into out128, which is written only when the result is Ok and steady.
BlockRead readBlock(LoggerProtocol& protocol, int block, std::uint8_t* out128, bool verified);

} // namespace qz
