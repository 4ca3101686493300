#include "config/logger_connection.h"

#include "link/device_reader.h"
#include "link/link_report.h"

namespace qz {

DeviceRead connectAndReadDevice(LoggerProtocol& q, std::uint8_t* image, Progress& progress, EventPump& pump,
                                Prompt& prompt)
{
    LinkReport report(q, prompt);
    if (q.ping() != LinkStatus::Ok && !report.confirmConnect())
        return DeviceRead::NotConnected;
    return readDeviceImage(q, image, progress, pump, prompt) ? DeviceRead::Read : DeviceRead::Failed;
}

} // namespace qz
