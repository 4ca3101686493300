#include "fleet/fleet_overview.h"

#include "store/stored_forms.h"

#include <cmath>
#include <set>

namespace qz {

std::vector<FleetOverviewRow> fleetOverview(const std::vector<LoggerSummary>& loggers, const FleetFile* fleet,
                                            const DeviceCatalog& catalog, const QDateTime& now)
{
    std::set<QString> inFile;
    if (fleet)
        for (const FleetLogger& l : fleet->loggers)
            inFile.insert(l.label);
    const LoggerSeconds nowS = hostSeconds(now);
    std::vector<FleetOverviewRow> rows;
    std::set<QString> shown;
    for (const LoggerSummary& s : loggers) {
        FleetOverviewRow r;
        r.label = s.label;
        r.serial = s.serial;
        if (!s.serial.isEmpty()) {
            const LoggerModel m = catalog.lookUp(std::uint16_t(s.deviceCode));
            r.model =
                m.description.isEmpty() ? QStringLiteral("device code %1").arg(s.deviceCode) : m.description;
        }
        r.lastCollection = s.lastHostTime;
        r.outcome = s.outcome;
        r.batteryVolts = s.batteryVolts;
        r.driftSeconds = s.driftSeconds;
        r.driftMarked = s.driftSeconds && std::abs(*s.driftSeconds) > kDriftMarkSeconds;
        r.measurements = s.measurements;
        r.memoryFull = s.memoryFull;
        r.memoryFullMarked = s.memoryFull && *s.memoryFull - nowS <= kMemoryFullMarkSeconds;
        r.inFleetFile = inFile.count(s.label) > 0;
        shown.insert(s.label);
        rows.push_back(r);
    }
    if (fleet)
        for (const FleetLogger& l : fleet->loggers) {
            if (shown.count(l.label))
                continue;
            FleetOverviewRow r;
            r.label = l.label;
            r.inFleetFile = true;
            rows.push_back(r);
        }
    return rows;
}

QString batteryText(const std::optional<double>& volts)
{
    return volts ? QStringLiteral("%1 V").arg(*volts, 0, 'f', 2) : QString();
}

QString driftText(const std::optional<double>& seconds)
{
    if (!seconds)
        return {};
    const long long s = std::llround(*seconds);
    return QStringLiteral("%1%2 s").arg(s > 0 ? QStringLiteral("+") : QString()).arg(s);
}

QString loggerTimeText(LoggerSeconds seconds)
{
    return hostTimeOf(seconds).toString(QStringLiteral("yyyy-MM-dd hh:mm"));
}

} // namespace qz
