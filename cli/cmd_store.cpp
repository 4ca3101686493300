// quorzk-cli store loggers [--store URL] [--json]
// quorzk-cli store export --logger SERIAL|LABEL [--from T] [--to T] [--output FILE [--force]]
//                         [--store URL]
// Reading the fleet store back: its loggers with their last collection, and a logger's
// measurements as comma-separated values.
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/fleet_output.h"
#include "platform/safe_file.h"
#include "store/store_csv.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <limits>
#include <optional>

namespace qz::cli {

namespace {

struct StoreOptions {
    QString command;
    QString store;
    bool json = false;
    QString logger;
    LoggerSeconds from = std::numeric_limits<LoggerSeconds>::min();
    LoggerSeconds to = std::numeric_limits<LoggerSeconds>::max();
    QString output;
    bool force = false;
};

// The options; a usage error's exit status (or 0 after --help) when the command is done.
std::optional<int> parseStoreOptions(const QStringList& args, StoreOptions& o)
{
    CommandLine line(usage::kStore);
    line.addOption({"store"},
                   QStringLiteral("the store (sqlite:PATH or postgresql://USER@HOST:PORT/DB); default "
                                  "~/.local/share/quorzk/fleet.sqlite"),
                   QStringLiteral("URL"));
    line.addOption({"json"}, QStringLiteral("loggers: as JSON"));
    line.addOption({"logger"}, QStringLiteral("export: the logger, by serial number or label"),
                   QStringLiteral("SERIAL|LABEL"));
    line.addOption({"from"}, QStringLiteral("export: the measurements from that time of the logger's clock"),
                   QStringLiteral("\"YYYY-MM-DD hh:mm:ss\""));
    line.addOption({"to"}, QStringLiteral("export: the measurements up to that time"),
                   QStringLiteral("\"YYYY-MM-DD hh:mm:ss\""));
    line.addOption({"output"}, QStringLiteral("export: the file to write (standard output without it)"),
                   QStringLiteral("FILE"));
    line.addOption({"force"}, QStringLiteral("export: replace an existing FILE"));
    if (const auto done = line.parse(args))
        return done;
    const QStringList words = line.positional();
    if (words.isEmpty())
        return line.usageError(QStringLiteral("a store command is required (loggers or export)"));
    o.command = words[0];
    const bool exporting = o.command == QLatin1String("export");
    if (!exporting && o.command != QLatin1String("loggers"))
        return line.usageError(
            QStringLiteral("unknown store command '%1' (loggers or export)").arg(o.command));
    if (const auto refused = line.refuseArgumentsPast(1))
        return refused;
    for (const char* name : {"logger", "from", "to", "output", "force"})
        if (!exporting && line.isSet(name))
            return line.usageError(QStringLiteral("--%1 goes with store export").arg(name));
    if (exporting && line.isSet("json"))
        return line.usageError(QStringLiteral("--json goes with store loggers"));
    o.store = line.value("store");
    o.json = line.isSet("json");
    o.logger = line.value("logger");
    o.output = line.value("output");
    o.force = line.isSet("force");
    for (const char* name : {"from", "to"}) {
        if (!line.isSet(name))
            continue;
        const std::optional<LoggerSeconds> t = parseIsoText(line.value(name));
        if (!t)
            return line.usageError(QStringLiteral("--%1 needs \"YYYY-MM-DD hh:mm:ss\"").arg(name));
        (qstrcmp(name, "from") == 0 ? o.from : o.to) = *t;
    }
    if (exporting && o.logger.isEmpty())
        return line.usageError(QStringLiteral("--logger SERIAL|LABEL is required"));
    if (o.force && o.output.isEmpty())
        return line.usageError(QStringLiteral("--force applies to --output only"));
    return std::nullopt;
}

int listLoggers(FleetStore& store, const StoreOptions& o)
{
    std::vector<LoggerSummary> loggers;
    if (const StoreResult r = store.loggers(loggers); !r.ok()) {
        QTextStream(stderr) << "quorzk-cli store loggers: " << r.message << "\n";
        return 1;
    }
    QTextStream out(stdout);
    out << (o.json ? storeLoggersJson(loggers, store.url()) : storeLoggersTable(loggers));
    return 0;
}

int exportLogger(FleetStore& store, const StoreOptions& o)
{
    QTextStream err(stderr);
    std::vector<StoredRecording> recordings;
    if (const StoreResult r = store.recordingsOf(o.logger, recordings); !r.ok()) {
        err << "quorzk-cli store export: " << r.message << "\n";
        return 1;
    }
    if (recordings.empty()) {
        err << "quorzk-cli store export: the store " << store.url().text() << " holds no logger " << o.logger
            << "\n";
        return 1;
    }
    CsvExportResult result;
    if (o.output.isEmpty()) {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly))
            return 1;
        result = exportStoredCsv(store, recordings, o.from, o.to, out);
        if (result.ok() && !out.flush())
            result.writeError = out.errorString();
    } else {
        if (!o.force && QFileInfo::exists(o.output)) {
            err << "quorzk-cli store export: " << o.output << " already exists (--force replaces it)\n";
            return 1;
        }
        // The store itself is never an output.
        if (store.url().kind == StoreUrl::Kind::Sqlite
            && QFileInfo(o.output).absoluteFilePath() == QFileInfo(store.url().path).absoluteFilePath()) {
            err << "quorzk-cli store export: " << o.output << " is the store itself\n";
            return 1;
        }
        SafeFile file(o.output);
        if (!file.open()) {
            err << "quorzk-cli store export: cannot write " << o.output << ": " << file.reason() << "\n";
            return 1;
        }
        result = exportStoredCsv(store, recordings, o.from, o.to, file.device());
        if (result.ok() && !file.commit())
            result.writeError = file.reason();
    }
    if (!result.store.ok()) {
        err << "quorzk-cli store export: " << result.store.message << "\n";
        return 1;
    }
    if (!result.writeError.isEmpty()) {
        err << "quorzk-cli store export: cannot write "
            << (o.output.isEmpty() ? QStringLiteral("standard output") : o.output) << ": "
            << result.writeError << "\n";
        return 1;
    }
    return 0;
}

} // namespace

int runStore(const QStringList& args)
{
    StoreOptions o;
    if (const auto done = parseStoreOptions(args, o))
        return *done;
    QTextStream err(stderr);
    QString urlError;
    const std::optional<StoreUrl> url = storeUrlOf(o.store, std::nullopt, urlError);
    if (!url) {
        err << "quorzk-cli store: --store: " << urlError << "\n";
        return 2;
    }
    // Reading never creates a store.
    if (url->kind == StoreUrl::Kind::Sqlite && !QFileInfo::exists(url->path)) {
        err << "quorzk-cli store: there is no store " << url->text() << "\n";
        return 2;
    }
    FleetStore store;
    if (const StoreResult opened = store.open(*url); !opened.ok()) {
        err << "quorzk-cli store: " << opened.message << "\n";
        return 2;
    }
    return o.command == QLatin1String("export") ? exportLogger(store, o) : listLoggers(store, o);
}

} // namespace qz::cli
