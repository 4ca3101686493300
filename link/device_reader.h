#pragma once
// Reads a logger's header and clock for the configuration and current readings commands
// (GetDeviceData), and warns of a low battery.
#include "link/logger_protocol.h"
#include "platform/event_pump.h"
#include "platform/progress.h"

#include <cstdint>

namespace qz {

// The 400-byte header and clock copy of the main window (DeviceImage).
inline constexpr int kDeviceImageSize = 400;

// True when the identification, calibration, program block, input table and clock were
// all read into deviceImage. The battery warning does not change the result.
bool GetDeviceData(LoggerProtocol& quorvant, std::uint8_t* deviceImage, Progress& progress,
                   EventPump& pump, Prompt& prompt);

} // namespace qz
