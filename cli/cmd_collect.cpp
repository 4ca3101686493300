// quorzk-cli collect --fleet FLEET.ini [--store URL] [--json]: every logger of a fleet file
// read (only what is new) into the store, then a table of what became of each.
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/fleet_output.h"
#include "cli/interrupt.h"
#include "fleet/fleet_collection.h"
#include "jobs/threaded_job_runner.h"
#include "link/device_line.h"
#include "model/device_catalog.h"
#include "platform/program_folder.h"
#include "sim/emulator.h"
#include "sim/emulator_line.h"
#include "sim/presets.h"
#include "store/fleet_store.h"

#include <QTextStream>
#include <QTimer>

#include <map>
#include <memory>
#include <optional>

namespace qz::cli {

namespace {

struct CollectOptions {
    QString fleet;
    QString store;
    bool json = false;
};

// The options; a usage error's exit status (or 0 after --help) when the command is done.
std::optional<int> parseCollectOptions(const QStringList& args, CollectOptions& o)
{
    CommandLine line(usage::kCollect);
    line.addOption({"fleet"}, QStringLiteral("the fleet file: the store and one section per logger"),
                   QStringLiteral("FLEET.ini"));
    line.addOption(
        {"store"},
        QStringLiteral(
            "the store instead of the fleet file's (sqlite:PATH or postgresql://USER@HOST:PORT/DB); default "
            "~/.local/share/quorzk/fleet.sqlite"),
        QStringLiteral("URL"));
    line.addOption({"json"}, QStringLiteral("print what became of each logger as JSON"));
    if (const auto done = line.parse(args))
        return done;
    if (const auto refused = line.refuseArgumentsPast(0))
        return refused;
    o.fleet = line.value("fleet");
    o.store = line.value("store");
    o.json = line.isSet("json");
    if (o.fleet.isEmpty())
        return line.usageError(QStringLiteral("--fleet FLEET.ini is required"));
    return std::nullopt;
}

// The simulated loggers of a fleet file ("Port=sim"), each its own, made before the workers
// start.
class SimulatedLoggers {
public:
    explicit SimulatedLoggers(const FleetFile& fleet)
    {
        int n = 0;
        for (const FleetLogger& l : fleet.loggers) {
            if (l.port != QLatin1String("sim"))
                continue;
            auto e = std::make_unique<sim::Emulator>();
            sim::MemoryPreset preset;
            preset.serial = "SIM" + std::string(1, "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"[n++ % 36]);
            sim::loadMemory(e->logger(), preset);
            loggers_[l.label] = std::move(e);
        }
    }
    sim::Emulator* find(const QString& label) const
    {
        const auto it = loggers_.find(label);
        return it == loggers_.end() ? nullptr : it->second.get();
    }

private:
    std::map<QString, std::unique_ptr<sim::Emulator>> loggers_;
};

} // namespace

int runCollect(const QStringList& args)
{
    CollectOptions o;
    if (const auto done = parseCollectOptions(args, o))
        return *done;
    QTextStream err(stderr);
    // A fleet file that does not parse is refused before any port is opened.
    FleetError fleetError;
    const std::optional<FleetFile> fleet = readFleetFile(o.fleet, fleetError);
    if (!fleet) {
        err << "quorzk-cli collect: " << fleetError.text() << "\n";
        return 2;
    }
    QString urlError;
    const std::optional<StoreUrl> url = storeUrlOf(o.store, fleet->store, urlError);
    if (!url) {
        err << "quorzk-cli collect: --store: " << urlError << "\n";
        return 2;
    }
    FleetStore store;
    if (const StoreResult opened = store.open(*url); !opened.ok()) {
        err << "quorzk-cli collect: " << opened.message << "\n";
        return 2;
    }

    SystemClock clock;
    const SimulatedLoggers simulated(*fleet);
    const DeviceCatalog catalog(ProgramFolder::forApplication());
    ThreadedJobRunner runner;
    FleetCollectionSetup setup;
    setup.runner = &runner;
    setup.clock = &clock;
    setup.catalog = &catalog;
    setup.line = [&simulated, &clock](const FleetLogger& l) -> std::unique_ptr<LineBackend> {
        if (sim::Emulator* e = simulated.find(l.label))
            return std::make_unique<sim::EmulatorLine>(*e, clock);
        return std::make_unique<DeviceLine>();
    };
    // Ctrl-C cancels every logger's job at its next step; a modem still hangs up.
    const InterruptGuard interrupt;
    setup.cancel = std::make_shared<CancelFlag>();
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [cancel = setup.cancel] {
        if (interruptRequested())
            cancel->cancel();
    });
    watch.start(100);
    const FleetReport report = collectFleet(*fleet, store, setup);
    runner.stop();

    QTextStream out(stdout);
    if (o.json)
        out << fleetReportJson(report, *url);
    else
        out << fleetReportTable(report);
    return report.exitCode();
}

} // namespace qz::cli
