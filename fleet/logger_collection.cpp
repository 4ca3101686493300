#include "fleet/logger_collection.h"

#include "link/link_failure.h"
#include "link/modem_dialer.h"
#include "link/modem_init.h"
#include "model/values.h"

namespace qz {

LoggerCollection collectLogger(const FleetLogger& logger, LoggerProtocol& q, const CollectPolicy& policy,
                               const DeviceCatalog& catalog, Progress& progress)
{
    LoggerCollection c;
    c.label = logger.label;
    c.begun = q.port().clock().localNow();
    bool called = false;
    if (!logger.dial.isEmpty()) {
        const ModemInit init = readModemInit(logger.initFile);
        if (!init.ok) {
            c.failure = modemInitMessage(logger.initFile, init);
            return c;
        }
        const LinkWatch watch(q);
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
        if (outcome == DialOutcome::CannotOpen) {
            if (const std::optional<Message> m = linkMessage(watch.failure(LinkStatus::CannotOpen)))
                c.failure = m->text;
        } else if (outcome != DialOutcome::Connected) {
            c.failure = dialOutcomeText(outcome);
            if (c.failure.isEmpty())
                c.failure = QString::fromLatin1(dialOutcomeName(outcome));
        }
    }
    if (c.failure.isEmpty())
        c.result = collectJob(q, policy, catalog, progress);
    // From the dial on, the modem may be off-hook: whatever came of it, hang up.
    if (called)
        ModemDialer(q).hangUp();
    return c;
}

QString outcomeText(const LoggerCollection& c)
{
    return c.failure.isEmpty() ? collectOutcome(c.result) : c.failure;
}

bool collected(const LoggerCollection& c)
{
    return c.failure.isEmpty() && c.result.status == CollectStatus::Collected;
}

CollectionEntry entryOf(const LoggerCollection& c)
{
    CollectionEntry e;
    e.label = c.label;
    // The clock pair when the logger answered; otherwise when the attempt began.
    e.hostTime = c.result.clock.read() ? c.result.clock.host : c.begun;
    e.loggerMs = c.result.loggerMs();
    if (const int count = c.result.batteryCount(); count >= 0)
        e.batteryVolts = adcToVolts(count);
    e.blocksRead = c.result.blocksRead;
    e.outcome = outcomeText(c);
    e.header = c.result.header;
    e.harvested = c.result.harvested;
    e.harvest = c.result.harvest;
    return e;
}

} // namespace qz
