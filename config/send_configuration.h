#pragma once
// Sending a prepared configuration to a logger: the clock programming, the last check of
// the entries, the question before restarting a recording logger, then the transfer in a
// fixed order (reset, program block, input table, program block verified, clock record
// last, so the clock and the start are set in one step once everything else is there).
#include "config/delayed_start.h"
#include "link/link_report.h"
#include "link/logger_protocol.h"
#include "model/byte_view.h"
#include "model/memory_image.h"
#include "platform/event_pump.h"
#include "platform/progress.h"

#include <array>
#include <cstdint>
#include <functional>

namespace qz {

class Clock;

enum class SendOutcome {
    Sent, // the logger holds the configuration and its clock and start are set
    StartElapsed, // a delayed start that is not in the future (told); nothing sent
    Refused, // the entries were refused (the check told why); nothing sent
    NotConfirmed, // the logger records and the user kept it recording; nothing sent
    LinkFailed, // a step failed (told through the report); later steps were not tried
    NotKept, // the program block still differed after three writes (told)
};

// What the transfer writes, taken from the device image when it begins, so nothing that
// happens while it runs can change what the logger gets.
struct ConfigurationBytes {
    std::array<std::uint8_t, mem::kProgramSize> program{};
    std::array<std::uint8_t, mem::kInputTableSize> inputs{};
    std::array<std::uint8_t, mem::kClockRecordSize> clock{};

    static ConfigurationBytes of(ConstByteView deviceImage);
};

// The transfer alone, under the progress caption "Sending Configuration ..." (no Cancel):
// reset (bar 10), program block (40), input table (70), verify (90), clock record (100).
SendOutcome writeConfiguration(LoggerProtocol& protocol, const ConfigurationBytes& bytes, Progress& progress,
                               EventPump& pump, LinkReport& report);

// The Config button's whole sequence. updateConfiguration stores the entries into the
// image and tells the user of a refusal (false). The run state question and the
// messages go through the report's prompt.
struct StartRequest {
    bool delayed = false;
    DelayedStart plan;
};
SendOutcome sendConfiguration(LoggerProtocol& protocol, ByteView deviceImage, const StartRequest& start,
                              const std::function<bool()>& updateConfiguration, Clock& clock,
                              Progress& progress, EventPump& pump, LinkReport& report);

} // namespace qz
