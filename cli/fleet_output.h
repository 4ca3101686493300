#pragma once
// What the fleet commands print: the table of a collection and of the store's loggers, and
// the same as JSON for monitoring tools.
#include "fleet/fleet_collection.h"
#include "store/fleet_store.h"

#include <QString>

#include <optional>

namespace qz::cli {

// The store URL of --store, else of the fleet file, else the default store.
std::optional<StoreUrl> storeUrlOf(const QString& option, const std::optional<StoreUrl>& fromFile,
                                   QString& error);

// label, serial, outcome, new measurements, drift, battery; then a line for each logger
// whose ring overwrote measurements before they were collected.
QString fleetReportTable(const FleetReport& report);
QString fleetReportJson(const FleetReport& report, const StoreUrl& store);

// The store's loggers with their last collection and the date their memory is full.
QString storeLoggersTable(const std::vector<LoggerSummary>& loggers);
QString storeLoggersJson(const std::vector<LoggerSummary>& loggers, const StoreUrl& store);

} // namespace qz::cli
