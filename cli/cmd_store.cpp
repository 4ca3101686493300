// quorzk-cli store loggers [--store URL] [--json]
// quorzk-cli store export --logger SERIAL|LABEL [--from T] [--to T] [--output FILE [--force]]
//                         [--store URL]
// Reading the fleet store back: its loggers with their last collection, and a logger's
// measurements as comma-separated values.
#include "cli/commands.h"
#include "cli/fleet_output.h"
#include "platform/safe_file.h"
#include "store/store_csv.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <limits>

namespace qz::cli {

namespace {

const char kUsage[] =
    "usage: quorzk-cli store loggers [--store URL] [--json]\n"
    "       quorzk-cli store export --logger SERIAL|LABEL [--from \"YYYY-MM-DD hh:mm:ss\"]\n"
    "                               [--to \"YYYY-MM-DD hh:mm:ss\"] [--output FILE [--force]] [--store URL]\n";

struct StoreOptions {
    QString command;
    QString store;
    bool json = false;
    QString logger;
    LoggerSeconds from = std::numeric_limits<LoggerSeconds>::min();
    LoggerSeconds to = std::numeric_limits<LoggerSeconds>::max();
    QString output;
    bool force = false;
    QString error;
};

StoreOptions parseStoreOptions(const QStringList& args)
{
    StoreOptions o;
    if (args.isEmpty()) {
        o.error = QStringLiteral("a store command is required (loggers or export)");
        return o;
    }
    o.command = args[0];
    const bool exporting = o.command == QLatin1String("export");
    if (!exporting && o.command != QLatin1String("loggers")) {
        o.error = QStringLiteral("unknown store command '%1' (loggers or export)").arg(o.command);
        return o;
    }
    for (int i = 1; i < args.size() && o.error.isEmpty(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--store") && hasValue) {
            o.store = args[++i];
        } else if (a == QLatin1String("--json") && !exporting) {
            o.json = true;
        } else if (a == QLatin1String("--logger") && exporting && hasValue) {
            o.logger = args[++i];
        } else if ((a == QLatin1String("--from") || a == QLatin1String("--to")) && exporting && hasValue) {
            const std::optional<LoggerSeconds> t = parseIsoText(args[++i]);
            if (!t)
                o.error = QStringLiteral("%1 needs \"YYYY-MM-DD hh:mm:ss\"").arg(a);
            else
                (a == QLatin1String("--from") ? o.from : o.to) = *t;
        } else if (a == QLatin1String("--output") && exporting && hasValue) {
            o.output = args[++i];
        } else if (a == QLatin1String("--force") && exporting) {
            o.force = true;
        } else {
            o.error = QStringLiteral("unexpected argument '%1'").arg(a);
        }
    }
    if (o.error.isEmpty() && exporting && o.logger.isEmpty())
        o.error = QStringLiteral("--logger SERIAL|LABEL is required");
    if (o.error.isEmpty() && o.force && o.output.isEmpty())
        o.error = QStringLiteral("--force applies to --output only");
    return o;
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
        if (QFileInfo(o.output).absoluteFilePath() == QFileInfo(store.url().path).absoluteFilePath()) {
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
    const StoreOptions o = parseStoreOptions(args);
    QTextStream err(stderr);
    if (!o.error.isEmpty()) {
        err << "quorzk-cli store: " << o.error << "\n" << kUsage;
        return 2;
    }
    QString urlError;
    const std::optional<StoreUrl> url = storeUrlOf(o.store, std::nullopt, urlError);
    if (!url) {
        err << "quorzk-cli store: --store: " << urlError << "\n";
        return 2;
    }
    // Reading never creates a store.
    if (!QFileInfo::exists(url->path)) {
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
