#pragma once
// Collecting one logger of a fleet: the call through its modem when it has a number (dial,
// read, hang up), the read itself (link/collection_read.h), and what the store and the
// table make of it. Runs on the worker of the logger's port; tells nobody anything.
#include "fleet/fleet_file.h"
#include "link/collection_read.h"
#include "store/fleet_store.h"

#include <QString>

namespace qz {

struct LoggerCollection {
    QString label;
    QString failure; // why the logger was not reached (port, modem), in words; empty when it was
    LoggerRead read;
};

LoggerCollection collectLogger(const FleetLogger& logger, LoggerProtocol& protocol, Progress& progress,
                               const CollectionOptions& options);

// "ok", or what went wrong in words.
QString outcomeText(const LoggerCollection& c);
bool collected(const LoggerCollection& c);
// The attempt as the store takes it.
CollectionEntry entryOf(const LoggerCollection& c);

} // namespace qz
