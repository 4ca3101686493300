#pragma once
// One cycle of the current readings on a protocol object: find the logger (a ping, or the
// question to connect it), then read its converters once.
#include "link/logger_frames.h"

#include <array>
#include <cstdint>

namespace qz {

class LinkReport;
class LoggerProtocol;

// What a readings reply holds: the eight inputs' converter counts, then the battery's.
struct Reading {
    std::array<std::uint8_t, frames::kReadingsSize> counts{};
    // The reply came from the diagnostic (DC) reading, so its battery count is shown.
    bool battery = false;

    std::uint8_t input(int i) const { return counts[std::size_t(i & 7)]; }
    std::uint8_t batteryCount() const { return counts[frames::kBatteryInReadings]; }
};

enum class CycleOutcome {
    Read, // the reading holds the logger's counts
    ReadFailed, // the logger was found but the reading failed (told); nothing changes
    Declined, // no answer, and the user did not ask to try again: the readings stop
};

// The ping; with an answer, the diagnostic (DC) reading when diagnostic is on, the plain
// (AC) one otherwise. Without one, "Please Connect The Quorvant": Yes reads once (plain),
// anything else declines.
CycleOutcome readingCycle(LoggerProtocol& logger, LinkReport& report, bool diagnostic, Reading& reading);

// One reading on a logger that is known to be there, without a ping (the command-line
// tool, which keeps its port); failures are told.
bool readOnce(LoggerProtocol& logger, LinkReport& report, bool diagnostic, Reading& reading);

} // namespace qz
