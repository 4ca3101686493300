#include "fleet/fleet_collection.h"

#include "model/image_reader.h"
#include "store/stored_forms.h"

#include <QEventLoop>
#include <QObject>

namespace qz {

namespace {

FleetRow rowOf(const LoggerCollection& c, const SavedCollection& saved)
{
    FleetRow row;
    row.label = c.label;
    const CollectResult& r = c.result;
    if (r.header.size() >= mem::kHeaderSize)
        row.serial = ImageReader::header({r.header.data(), r.header.size()}).serialNumber();
    const CollectionEntry e = entryOf(c);
    row.outcome = e.outcome;
    row.ok = collected(c);
    row.batteryVolts = e.batteryVolts;
    if (e.loggerMs && r.clock.read())
        row.driftSeconds = double(*e.loggerMs - hostMs(e.hostTime)) / 1000.0;
    row.blocksRead = e.blocksRead;
    row.newMeasurements = saved.newMeasurements;
    row.missing = saved.missing;
    if (!saved.result.ok()) {
        row.ok = false;
        row.outcome = saved.result.message;
    }
    return row;
}

// The worker a logger's job runs on: its port's. A simulated logger is a port of its own.
QString workerOf(const FleetLogger& logger)
{
    return logger.port == QLatin1String("sim") ? QStringLiteral("sim:") + logger.label : logger.port;
}

} // namespace

int FleetReport::exitCode() const
{
    if (storeFailed)
        return 2;
    for (const FleetRow& r : rows)
        if (!r.ok)
            return 1;
    return 0;
}

FleetReport collectFleet(const FleetFile& fleet, FleetStore& store, const FleetCollectionSetup& setup)
{
    FleetReport report;
    ProgressBook book;
    if (const StoreResult r = store.loadProgress(book); !r.ok()) {
        report.storeFailed = true;
        for (const FleetLogger& l : fleet.loggers) {
            FleetRow row;
            row.label = l.label;
            row.outcome = r.message;
            report.rows.push_back(row);
        }
        return report;
    }

    // Each logger a job on its port's worker, in the order of the fleet file; each written
    // into the store as it ends, here.
    QObject context;
    QEventLoop loop;
    int pending = 0;
    for (const FleetLogger& logger : fleet.loggers) {
        const std::size_t row = report.rows.size();
        FleetRow initial;
        initial.label = logger.label;
        report.rows.push_back(initial);
        ++pending;
        runJob(
            *setup.runner, workerOf(logger), &context, nullptr, setup.cancel,
            [&setup, &book, logger](Progress& progress) {
                CollectPolicy policy;
                policy.verify = logger.verify;
                policy.collected = [&book](const RecordingKey& key) { return book.lookUp(key); };
                LoggerProtocol protocol(LinkSettings{logger.port, !logger.dial.isEmpty()}, setup.line(logger),
                                        *setup.clock);
                return collectLogger(logger, protocol, policy, *setup.catalog, progress);
            },
            [&, row](const LoggerCollection& c) {
                const SavedCollection saved = store.save(entryOf(c));
                report.storeFailed = report.storeFailed || !saved.result.ok();
                report.rows[row] = rowOf(c, saved);
                if (--pending == 0)
                    loop.quit();
            });
    }
    if (pending > 0)
        loop.exec();
    return report;
}

} // namespace qz
