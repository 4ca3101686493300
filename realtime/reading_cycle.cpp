#include "realtime/reading_cycle.h"

#include "link/logger_protocol.h"

namespace qz {

LinkStatus readOnce(LoggerProtocol& logger, bool diagnostic, Reading& reading)
{
    Reading next;
    next.battery = diagnostic;
    const LinkStatus status =
        diagnostic ? logger.readReadingsDC(next.counts.data()) : logger.readReadingsAC(next.counts.data());
    if (status == LinkStatus::Ok)
        reading = next;
    return status;
}

} // namespace qz
