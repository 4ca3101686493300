#pragma once
// Collecting one logger of a fleet: the call through its modem when it has a number (dial,
// the collection job, hang up), and what the store and the table make of it. Runs on the
// worker of the logger's port; tells nobody anything.
#include "fleet/fleet_file.h"
#include "jobs/collect_job.h"
#include "store/fleet_store.h"

#include <QString>

namespace qz {

struct LoggerCollection {
    QString label;
    QString failure; // why the logger was not reached through its modem, in words; empty when it was
    QDateTime begun; // the host's local time when the attempt began
    CollectResult result;
};

LoggerCollection collectLogger(const FleetLogger& logger, LoggerProtocol& protocol,
                               const CollectPolicy& policy, const DeviceCatalog& catalog, Progress& progress);

// "ok", or what went wrong in words.
QString outcomeText(const LoggerCollection& c);
bool collected(const LoggerCollection& c);
// The attempt as the store takes it.
CollectionEntry entryOf(const LoggerCollection& c);

} // namespace qz
