#include "fleet/logger_collection.h"

#include "link/link_report.h"
#include "link/link_texts.h"
#include "link/modem_dialer.h"
#include "link/modem_init.h"
#include "model/values.h"

namespace qz {

namespace {

QString readFailure(const LoggerRead& r)
{
    switch (r.end) {
    case ReadEnd::Read:
        return {};
    case ReadEnd::NotAnswering:
        return texts::deviceNotResponding();
    case ReadEnd::LinkFailed: {
        const QString text = failureText(r.link);
        return text.isEmpty() ? QString::fromLatin1(linkStatusName(r.link)) : text;
    }
    case ReadEnd::ModelRefused: {
        const ImageReader header = ImageReader::header({r.header.data(), r.header.size()});
        return texts::notAQuorvant() + QStringLiteral(" (device code %1)").arg(header.deviceCode());
    }
    case ReadEnd::NoInterval:
        return QStringLiteral("The logger's recording interval is 0: its measurements have no times");
    case ReadEnd::Unsteady:
        return r.block < 0
            ? QStringLiteral("The logger's header read differently each time")
            : QStringLiteral("Block %1 of the logger's memory read differently each time").arg(r.block);
    case ReadEnd::Damaged:
        return QStringLiteral("Block %1 of the logger's memory is damaged").arg(r.block);
    case ReadEnd::NoOrigin:
        return texts::measurementsDateError() + QStringLiteral(": the recording's first block has no time");
    case ReadEnd::Cancelled:
        return QStringLiteral("cancelled");
    }
    return {};
}

} // namespace

LoggerCollection collectLogger(const FleetLogger& logger, LoggerProtocol& q, Progress& progress,
                               const CollectionOptions& options)
{
    LoggerCollection c;
    c.label = logger.label;
    // A port that does not open is told with its name and the system's reason.
    const auto previous = q.onOpenFailed([&c](const QString& port, int osError) {
        if (c.failure.isEmpty())
            c.failure = texts::unableToOpenPort(port, openFailureReason(osError));
    });
    bool called = false;
    if (!logger.dial.isEmpty()) {
        const ModemInit init = readModemInit(logger.initFile);
        if (!init.ok) {
            c.failure = modemInitMessage(logger.initFile, init);
            q.onOpenFailed(previous);
            return c;
        }
        ModemDialer dialer(q);
        DialOutcome outcome = dialer.call(init.commands, logger.dial, logger.pulse);
        if (outcome == DialOutcome::Waiting) {
            called = true;
            outcome = dialer.waitForAnswer([&progress] { return progress.cancelled(); });
        }
        // A busy line, no carrier or no dial tone leave the modem on-hook.
        if (outcome == DialOutcome::Busy || outcome == DialOutcome::NoCarrier
            || outcome == DialOutcome::NoDialTone)
            called = false;
        if (outcome != DialOutcome::Connected) {
            if (c.failure.isEmpty())
                c.failure = dialOutcomeText(outcome);
            if (c.failure.isEmpty())
                c.failure = QString::fromLatin1(dialOutcomeName(outcome));
        }
    }
    if (c.failure.isEmpty())
        c.read = readForStore(q, progress, options);
    // From the dial on, the modem may be off-hook: whatever came of it, hang up.
    if (called)
        ModemDialer(q).hangUp();
    q.onOpenFailed(previous);
    return c;
}

QString outcomeText(const LoggerCollection& c)
{
    if (!c.failure.isEmpty())
        return c.failure;
    const QString failure = readFailure(c.read);
    return failure.isEmpty() ? QStringLiteral("ok") : failure;
}

bool collected(const LoggerCollection& c)
{
    return c.failure.isEmpty() && c.read.end == ReadEnd::Read;
}

CollectionEntry entryOf(const LoggerCollection& c)
{
    CollectionEntry e;
    e.label = c.label;
    e.hostTime = c.read.hostTime;
    e.loggerMs = c.read.loggerMs;
    if (const int count = c.read.batteryCount(); count >= 0)
        e.batteryVolts = adcToVolts(count);
    e.blocksRead = c.read.blocksRead;
    e.outcome = outcomeText(c);
    e.header = c.read.header;
    e.harvested = c.read.harvested;
    e.harvest = c.read.harvest;
    return e;
}

} // namespace qz
