#pragma once
// What a data block read from the logger holds: a plausible header (its sample count and
// its time stamp, BCD yy mm dd hh mm ss, are in range; the date itself is not checked
// here), or erased memory (a header of 0xFF, as the logger leaves a block it has not
// written since its memory was erased).
#include <cstdint>

namespace qz {

// Judges the first 7 bytes of a 128-byte data block.
bool isPlausibleBlock(const std::uint8_t* block);

// Judges the 8 header bytes of a 128-byte data block.
bool isErasedBlock(const std::uint8_t* block);

} // namespace qz
