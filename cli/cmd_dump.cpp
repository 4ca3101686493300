// quorzk-cli dump: the raw memory dump without windows. Every block of the logger's memory,
// untested, in the recording file layout with the logger's own header.
#include "cli/commands.h"
#include "cli/link_common.h"
#include "jobs/job_messages.h"
#include "jobs/raw_dump_job.h"

#include <QFileInfo>
#include <QTextStream>

namespace qz::cli {

namespace {

const char kDumpUsage[] = "usage: quorzk-cli dump --port PORT --output FILE.qrv [--trace FILE] [--force]\n"
                          "       [--dial NUMBER [--pulse] [--init FILE.mdm]]\n";

struct DumpOptions {
    QString port;
    QString output;
    QString trace;
    bool force = false;
    DialOptions dial;
    QString error;
};

DumpOptions parseDumpOptions(const QStringList& given)
{
    DumpOptions o;
    QStringList args = given;
    o.dial = takeDialOptions(args);
    o.error = o.dial.error;
    for (int i = 0; i < args.size() && o.error.isEmpty(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--port") && hasValue)
            o.port = args[++i];
        else if (a == QLatin1String("--output") && hasValue)
            o.output = args[++i];
        else if (a == QLatin1String("--trace") && hasValue)
            o.trace = args[++i];
        else if (a == QLatin1String("--force"))
            o.force = true;
        else
            o.error = QStringLiteral("unexpected argument '%1'").arg(a);
    }
    if (!o.error.isEmpty())
        return o;
    if (o.port.isEmpty())
        o.error = QStringLiteral("--port PORT is required (a device such as /dev/ttyUSB0, or sim)");
    else if (o.output.isEmpty())
        o.error = QStringLiteral("--output FILE.qrv is required");
    else if (!o.trace.isEmpty()
             && QFileInfo(o.trace).absoluteFilePath() == QFileInfo(o.output).absoluteFilePath())
        o.error = QStringLiteral("--trace and --output name the same file");
    return o;
}

} // namespace

int runDump(const QStringList& args)
{
    const DumpOptions o = parseDumpOptions(args);
    QTextStream err(stderr);
    if (!o.error.isEmpty()) {
        err << "quorzk-cli dump: " << o.error << "\n" << kDumpUsage;
        return 2;
    }
    if (!o.force && QFileInfo::exists(o.output)) {
        err << "quorzk-cli dump: " << o.output << " exists; --force replaces it\n";
        return 1;
    }
    CliLink link(o.trace, o.dial);
    if (!link.call(o.port)) {
        link.saveTrace(QStringLiteral("dump"));
        return 1;
    }
    StderrPrompt prompt(false);
    RawDumpResult r;
    {
        TerminalProgress progress;
        auto logger = link.open(o.port);
        r = rawDumpJob(*logger, o.output, progress);
    } // the port closes, the progress line ends
    prompt.tell(messagesOf(r));
    switch (r.status) {
    case RawDumpStatus::Written:
        if (r.missedBlocks == 0)
            err << "saved " << o.output << " (" << r.blocks << " blocks)\n";
        else
            err << "saved " << o.output << " (" << r.blocks << " blocks, " << r.missedBlocks
                << " not read)\n";
        break;
    case RawDumpStatus::WriteFailed:
        err << "quorzk-cli dump: cannot write " << o.output << ": " << r.save.reason << "\n";
        break;
    case RawDumpStatus::LinkFailed:
    case RawDumpStatus::Cancelled:
        break;
    }
    const bool traced = link.saveTrace(QStringLiteral("dump"));
    return r.status == RawDumpStatus::Written && r.missedBlocks == 0 && traced ? 0 : 1;
}

} // namespace qz::cli
