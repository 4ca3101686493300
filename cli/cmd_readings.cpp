// quorzk-cli readings: the logger's current readings, one reading per period, as lines
// or as CSV, until the count is reached, Ctrl-C, or the logger stops answering.
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

namespace qz::cli {

namespace {

const char* const kUsage = "usage: quorzk-cli readings --port PORT [--count N] [--every SECONDS] "
                           "[--raw] [--csv] [--trace FILE]\n"
                           "       [--dial NUMBER [--pulse] [--init FILE.mdm]]\n";

struct ReadingsArgs {
    ReadingsLogOptions log;
    QStringList linkArgs; // --port and --trace, for the common parser
    QString error;
};

ReadingsArgs parseReadingsArgs(const QStringList& args)
{
    ReadingsArgs r;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--count" && hasValue) {
            bool ok = false;
            r.log.count = args[++i].toInt(&ok);
            if (!ok || r.log.count < 1)
                r.error = QStringLiteral("--count wants a whole number of readings, 1 or more");
        } else if (a == "--every" && hasValue) {
            bool ok = false;
            const double seconds = args[++i].toDouble(&ok); // '.' as decimal point
            if (!ok || !std::isfinite(seconds) || seconds < 0 || seconds > 86400)
                r.error = QStringLiteral("--every wants seconds from 0 to 86400 (such as 1 or 0.5)");
            else
                r.log.periodMs = std::llround(seconds * 1000);
        } else if (a == "--raw") {
            r.log.raw = true;
        } else if (a == "--csv") {
            r.log.csv = true;
        } else {
            r.linkArgs << a;
        }
        if (!r.error.isEmpty())
            break;
    }
    return r;
}

} // namespace

int runReadings(const QStringList& args)
{
    QTextStream err(stderr);
    ReadingsArgs parsed = parseReadingsArgs(args);
    const LinkOptions o = parseLinkOptions(parsed.linkArgs, false);
    if (parsed.error.isEmpty() && !o.ok)
        parsed.error = o.error;
    if (!parsed.error.isEmpty()) {
        err << "quorzk-cli readings: " << parsed.error << "\n" << kUsage;
        return 2;
    }

    CliLink link(o.trace, o.dial);
    if (!link.call(o.port)) {
        link.saveTrace(QStringLiteral("readings"));
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
    const bool traced = link.saveTrace(QStringLiteral("readings"));
    return ok && traced ? 0 : 1;
}

} // namespace qz::cli
