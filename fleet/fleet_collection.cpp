#include "fleet/fleet_collection.h"

#include "model/image_reader.h"
#include "store/stored_forms.h"

#include <map>

namespace qz {

namespace {

// A progress display no one sees, whose Cancel is the collection's.
class CancelOnly final : public Progress {
public:
    explicit CancelOnly(std::function<bool()> cancelled) : cancelled_(std::move(cancelled)) {}
    void setCaption(const QString&) override {}
    void setMaximum(int) override {}
    void setPosition(int) override {}
    void setCancelEnabled(bool) override {}
    bool cancelled() override { return cancelled_ && cancelled_(); }

private:
    std::function<bool()> cancelled_;
};

FleetRow rowOf(const LoggerCollection& c, const SavedCollection& saved)
{
    FleetRow row;
    row.label = c.label;
    if (c.read.header.size() >= mem::kHeaderSize)
        row.serial = ImageReader::header({c.read.header.data(), c.read.header.size()}).serialNumber();
    const CollectionEntry e = entryOf(c);
    row.outcome = e.outcome;
    row.ok = collected(c);
    row.batteryVolts = e.batteryVolts;
    if (e.loggerMs && e.hostTime.isValid())
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

void runPortsInline(const std::vector<std::vector<PortTask>>& portTasks,
                    const std::function<void(const LoggerCollection&)>& done)
{
    for (const auto& tasks : portTasks)
        for (const PortTask& task : tasks)
            done(task());
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

    // One task list per port, in the order of the fleet file. A simulated logger is a port
    // of its own each time.
    std::vector<std::vector<PortTask>> ports;
    std::map<QString, std::size_t> portOf;
    std::map<QString, std::size_t> rowOfLabel;
    for (const FleetLogger& logger : fleet.loggers) {
        rowOfLabel[logger.label] = report.rows.size();
        FleetRow row;
        row.label = logger.label;
        report.rows.push_back(row);
        const bool shared = logger.port != QLatin1String("sim");
        const auto known = portOf.find(logger.port);
        if (!shared || known == portOf.end()) {
            if (shared)
                portOf[logger.port] = ports.size();
            ports.emplace_back();
        }
        std::vector<PortTask>& tasks = shared ? ports[portOf[logger.port]] : ports.back();
        tasks.push_back([&setup, &book, logger] {
            CollectionOptions options;
            options.verify = logger.verify;
            options.acceptsModel = setup.acceptsModel;
            options.collected = [&book](const RecordingKey& key) { return book.lookUp(key); };
            LoggerProtocol protocol(LinkSettings{logger.port, !logger.dial.isEmpty()}, setup.line(logger),
                                    *setup.clock);
            CancelOnly progress(setup.cancelled);
            return collectLogger(logger, protocol, progress, options);
        });
    }
    setup.runPorts(ports, [&](const LoggerCollection& c) {
        const SavedCollection saved = store.save(entryOf(c));
        report.storeFailed = report.storeFailed || !saved.result.ok();
        report.rows[rowOfLabel[c.label]] = rowOf(c, saved);
    });
    return report;
}

} // namespace qz
