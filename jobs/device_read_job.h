#pragma once
// What the Configuration and Current Reading commands read first: is the logger there,
// then its header and clock (into a device image laid out as the logger's memory, with the
// clock record after the header) and its battery.
#include "jobs/job_result.h"
#include "jobs/logger_presence.h"
#include "platform/progress.h"

#include <array>
#include <cstdint>

namespace qz {

enum class DeviceReadStatus {
    Read, // image holds the identification, calibration, program block, input table and clock
    NotConnected, // no answer to the ping: the question to connect is open
    LinkFailed, // the port did not open, or a read gave up (link); image is not the logger's
};

struct DeviceReadResult : JobResult {
    DeviceReadStatus status = DeviceReadStatus::LinkFailed;
    std::array<std::uint8_t, mem::kDeviceImageSize> image{};
    // The battery converter count; -1 when its read failed (link then says how, and the
    // image still counts as read).
    int battery = -1;
};

// Under the progress caption "Connection..." (no Cancel): identification (bar 0),
// calibration (5), program block (10), input table (40), clock (90), then the battery
// (100), each read only once the one before was answered.
DeviceReadResult deviceReadJob(LoggerProtocol& protocol, ConnectPolicy connect, Progress& progress);

} // namespace qz
