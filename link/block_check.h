#pragma once
// Whether a data block read from the logger looks recorded: its sample count and its
// time stamp (BCD yy mm dd hh mm ss) are in range. The date itself is not checked here.
#include <cstdint>

namespace qz {

// Judges the first 7 bytes of a 128-byte data block.
bool isPlausibleBlock(const std::uint8_t* block);

} // namespace qz
