#pragma once
// Sending a prepared configuration to a logger: the transfer in a fixed order (reset,
// program block, input table, program block verified, clock record last, so the clock and
// the start are set in one step once everything else is there).
#include "config/delayed_start.h"
#include "link/logger_protocol.h"
#include "model/byte_view.h"
#include "model/memory_image.h"
#include "platform/progress.h"

#include <array>
#include <cstdint>

namespace qz {

// What the transfer writes, taken from the device image when it begins, so nothing that
// happens while it runs can change what the logger gets.
struct ConfigurationBytes {
    std::array<std::uint8_t, mem::kProgramSize> program{};
    std::array<std::uint8_t, mem::kInputTableSize> inputs{};
    std::array<std::uint8_t, mem::kClockRecordSize> clock{};

    static ConfigurationBytes of(ConstByteView deviceImage);
};

// How the logger is to start: at once, or at the delayed start's date or after its delay.
struct StartRequest {
    bool delayed = false;
    DelayedStart plan;
};

// The transfer alone, under the progress caption "Sending Configuration ..." (no Cancel):
// reset (bar 10), program block (40), input table (70), verify (90), clock record (100).
// Ok when the logger holds it all; otherwise the status of the step that failed (later
// steps were not tried), NotTaken when the program block still differed after three
// writes.
LinkStatus writeConfiguration(LoggerProtocol& protocol, const ConfigurationBytes& bytes, Progress& progress);

} // namespace qz
