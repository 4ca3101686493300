#pragma once
// The first steps of the Configuration command: find the logger (a ping, or the question
// to connect it) and read its header and clock into the device image.
#include "link/logger_protocol.h"
#include "platform/event_pump.h"
#include "platform/progress.h"
#include "platform/prompt.h"

#include <cstdint>

namespace qz {

enum class DeviceRead {
    Read, // the device image holds the logger's header and clock
    NotConnected, // no answer, and the user did not ask to try again
    Failed, // a read failed (told)
};

// Pings; without an answer asks "Please Connect The Quorvant" and on Yes reads once
// without a second ping.
DeviceRead connectAndReadDevice(LoggerProtocol& protocol, std::uint8_t* deviceImage, Progress& progress,
                                EventPump& pump, Prompt& prompt);

} // namespace qz
