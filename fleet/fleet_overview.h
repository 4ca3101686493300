#pragma once
// What the Fleet window shows of each logger: the loggers of the store with their last
// collection, and the loggers of the fleet file the store does not know yet, with the
// values to watch marked (a clock drifting by more than a minute, a memory full within a
// week).
#include "fleet/fleet_file.h"
#include "model/device_catalog.h"
#include "store/fleet_store.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace qz {

inline constexpr double kDriftMarkSeconds = 60;
inline constexpr std::int64_t kMemoryFullMarkSeconds = 7 * 24 * 3600;

struct FleetOverviewRow {
    QString label;
    QString serial; // empty: never identified
    QString model; // the catalogue's description, or "device code N"
    QDateTime lastCollection; // invalid: never attempted
    QString outcome;
    std::optional<double> batteryVolts;
    std::optional<double> driftSeconds;
    bool driftMarked = false;
    std::int64_t measurements = 0;
    std::optional<LoggerSeconds> memoryFull;
    bool memoryFullMarked = false;
    bool inFleetFile = false; // Collect now can reach it
};

// The store's loggers in its order, then the fleet file's loggers it does not know (by
// label). now: the host's local time.
std::vector<FleetOverviewRow> fleetOverview(const std::vector<LoggerSummary>& loggers, const FleetFile* fleet,
                                            const DeviceCatalog& catalog, const QDateTime& now);

// How a row's values are shown.
QString batteryText(const std::optional<double>& volts); // "3.52 V"
QString driftText(const std::optional<double>& seconds); // "+42 s", "-3 s"
QString loggerTimeText(LoggerSeconds seconds); // "2026-03-05 14:07"

} // namespace qz
