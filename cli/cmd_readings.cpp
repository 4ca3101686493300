// quorzk-cli readings: the logger's current readings, one reading per period, as lines
// or as CSV, until the count is reached, Ctrl-C, or the logger stops answering.
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/interrupt.h"
#include "cli/link_common.h"
#include "jobs/device_read_job.h"
#include "jobs/job_messages.h"
#include "link/link_texts.h"
#include "model/device_catalog.h"
#include "model/image_reader.h"
#include "platform/program_folder.h"
#include "realtime/readings_log.h"

#include <QTextStream>

#include <array>
#include <cmath>
#include <optional>

namespace qz::cli {

namespace {

struct ReadingsArgs {
    ReadingsLogOptions log;
    LinkOptions link;
};

// The options; a usage error's exit status when the command cannot run.
std::optional<int> parseReadingsArgs(const QStringList& args, ReadingsArgs& r)
{
    CommandLine line(usage::kReadings);
    line.addOption({"count"}, QStringLiteral("take N readings (1 or more); without it, until Ctrl-C"),
                   QStringLiteral("N"));
    line.addOption({"every"},
                   QStringLiteral("the period from one reading to the next, 0 to 86400 seconds with a '.' "
                                  "for fractions (default 1)"),
                   QStringLiteral("SECONDS"));
    line.addOption({"raw"}, QStringLiteral("add each input's raw converter count and the battery voltage"));
    line.addOption({"csv"},
                   QStringLiteral("a header line, then a line per reading: the local time (ISO 8601) and "
                                  "a column per active input, '.' as decimal point"));
    addLinkOptions(line);
    if (const auto done = line.parse(args))
        return done;
    if (line.isSet("count")) {
        bool ok = false;
        r.log.count = line.value("count").toInt(&ok);
        if (!ok || r.log.count < 1)
            return line.usageError(QStringLiteral("--count wants a whole number of readings, 1 or more"));
    }
    if (line.isSet("every")) {
        bool ok = false;
        const double seconds = line.value("every").toDouble(&ok); // '.' as decimal point
        if (!ok || !std::isfinite(seconds) || seconds < 0 || seconds > 86400)
            return line.usageError(
                QStringLiteral("--every wants seconds from 0 to 86400 (such as 1 or 0.5)"));
        r.log.periodMs = std::llround(seconds * 1000);
    }
    r.log.raw = line.isSet("raw");
    r.log.csv = line.isSet("csv");
    if (const QString error = readLinkCommand(line, r.link); !error.isEmpty())
        return line.usageError(error);
    return std::nullopt;
}

} // namespace

int runReadings(const QStringList& args)
{
    QTextStream err(stderr);
    ReadingsArgs parsed;
    if (const auto done = parseReadingsArgs(args, parsed))
        return *done;
    const LinkOptions& o = parsed.link;

    CliLink link(o);
    if (!link.call(o.port)) {
        link.finish();
        return 1;
    }
    StderrPrompt prompt(false);
    InterruptGuard guard;
    QTextStream out(stdout);
    bool ok = false;
    {
        auto logger = link.open(o.port);
        NullProgress progress;
        const DeviceReadResult read = deviceReadJob(*logger, ConnectPolicy::Ask, progress);
        // A port that did not open is told with its reason, and nothing follows it.
        prompt.tell(messagesOf(read));
        if (read.question == Question::Connect) {
            err << "no logger answers on " << o.port << "\n";
        } else if (read.status == DeviceReadStatus::Read) {
            const ImageReader device = ImageReader::deviceImage({read.image.data(), read.image.size()});
            if (!DeviceCatalog(ProgramFolder::forApplication()).lookUp(device.deviceCode()).accepted) {
                err << texts::notAQuorvant() << "\n";
            } else {
                LinkStatus failed = LinkStatus::Ok;
                const LogEnd end = runReadingsLog(
                    *logger, conversionsOf(device), parsed.log, link.clock(),
                    [] { return interruptRequested(); },
                    [&out](const QStringList& lines) {
                        for (const QString& line : lines)
                            out << line << "\n";
                        out.flush();
                    },
                    failed);
                if (const std::optional<Message> message = linkMessage(LinkFailure{failed, o.port}))
                    prompt.tell(*message);
                ok = end != LogEnd::NotResponding;
            }
        }
    }
    const bool traced = link.finish();
    return ok && traced ? 0 : 1;
}

} // namespace qz::cli
