#pragma once
// One reading of the logger's converters.
#include "link/link_status.h"
#include "link/logger_frames.h"

#include <array>
#include <cstdint>

namespace qz {

class LoggerProtocol;

// What a readings reply holds: the eight inputs' converter counts, then the battery's.
struct Reading {
    std::array<std::uint8_t, frames::kReadingsSize> counts{};
    // The reply came from the diagnostic (DC) reading, so its battery count is shown.
    bool battery = false;

    std::uint8_t input(int i) const { return counts[std::size_t(i & 7)]; }
    std::uint8_t batteryCount() const { return counts[frames::kBatteryInReadings]; }
};

// The diagnostic (DC) reading when diagnostic is on, the plain (AC) one otherwise, on a
// logger that is known to be there (no ping). reading changes only on Ok.
LinkStatus readOnce(LoggerProtocol& logger, bool diagnostic, Reading& reading);

} // namespace qz
