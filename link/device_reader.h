#pragma once
// Reads a logger's header and clock for the configuration and current readings commands,
// and warns of a low battery.
#include "link/logger_protocol.h"
#include "platform/event_pump.h"
#include "platform/progress.h"
#include "platform/prompt.h"

#include <cstdint>

namespace qz {

// True when the identification, calibration, program block, input table and clock were
// all read into deviceImage (mem::kDeviceImageSize bytes, laid out as the logger's memory
// with the clock record after the header). The battery warning does not change the result.
bool readDeviceImage(LoggerProtocol& protocol, std::uint8_t* deviceImage, Progress& progress, EventPump& pump,
                     Prompt& prompt);

} // namespace qz
