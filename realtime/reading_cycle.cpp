#include "realtime/reading_cycle.h"

#include "link/link_report.h"
#include "link/logger_protocol.h"

namespace qz {

bool readOnce(LoggerProtocol& logger, LinkReport& report, bool diagnostic, Reading& reading)
{
    Reading next;
    next.battery = diagnostic;
    const LinkStatus status =
        diagnostic ? logger.readReadingsDC(next.counts.data()) : logger.readReadingsAC(next.counts.data());
    if (!report.ok(status))
        return false;
    reading = next;
    return true;
}

CycleOutcome readingCycle(LoggerProtocol& logger, LinkReport& report, bool diagnostic, Reading& reading)
{
    if (logger.ping() == LinkStatus::Ok)
        return readOnce(logger, report, diagnostic, reading) ? CycleOutcome::Read : CycleOutcome::ReadFailed;
    if (!report.confirmConnect())
        return CycleOutcome::Declined;
    return readOnce(logger, report, false, reading) ? CycleOutcome::Read : CycleOutcome::ReadFailed;
}

} // namespace qz
