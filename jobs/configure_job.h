#pragma once
// The Config button's work without windows: a start already past is refused, is the logger
// there (its clock read tells whether it records), the question before restarting a
// recording logger, then the clock record built from the PC's time and the transfer. The clock record is built after the
// last question, right before it is sent, so that a question left open for a while does not
// leave the logger's clock behind.
#include "config/send_configuration.h"
#include "jobs/job_result.h"
#include "jobs/logger_presence.h"
#include "platform/progress.h"

#include <array>
#include <cstdint>

namespace qz {

struct ConfigurePolicy {
    // The logger records: restart it with the configuration (Yes), or leave it as it is.
    Decision restart = Decision::Ask;
    // Read the input table and the run state back after the send.
    bool verify = false;
};

enum class ConfigureStatus {
    Sent, // the logger holds the configuration, its clock and start are set
    LinkFailed, // the port did not open, or a step gave up (link); later steps were not tried
    NotConfirmed, // the logger records: RestartRecording open, or the restart refused; nothing sent
    StartElapsed, // the delayed start is no longer in the future: nothing sent
    NotKept, // the program block still differed after three writes: the clock is not set
    NotHeld, // verify: the logger does not hold the input table or the start that was sent
};

struct ConfigureResult : JobResult {
    ConfigureStatus status = ConfigureStatus::LinkFailed;
    // The device image as sent: the entries, and the clock record, the year and the start
    // stamp written just before the transfer.
    std::array<std::uint8_t, mem::kDeviceImageSize> image{};
    StartProgram start;
};

// image: the device image with the entries stored (config/configuration_rules.h).
ConfigureResult configureJob(LoggerProtocol& protocol,
                             const std::array<std::uint8_t, mem::kDeviceImageSize>& image,
                             const StartRequest& start, const ConfigurePolicy& policy, Progress& progress);

} // namespace qz
