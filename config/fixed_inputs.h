#pragma once
// Models whose inputs are fixed at the factory (a supply monitor, the eight-input plant
// logger): their configuration offers no Scaling, and the command line does not set
// their inputs either.
#include <cstdint>

namespace qz {

inline bool hasFixedInputs(std::uint16_t deviceCode)
{
    return deviceCode == 293 || deviceCode == 485;
}

} // namespace qz
