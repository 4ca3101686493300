// quorzk-cli dump: the raw memory dump without windows. Every block of the logger's memory,
// untested, in the recording file layout with the logger's own header.
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/link_common.h"
#include "jobs/job_messages.h"
#include "jobs/raw_dump_job.h"

#include <QFileInfo>
#include <QTextStream>

#include <optional>

namespace qz::cli {

namespace {

// The options; a usage error's exit status when the command cannot run.
std::optional<int> parseDumpOptions(const QStringList& args, LinkOptions& o)
{
    CommandLine line(usage::kDump);
    line.addOption({"output"}, QStringLiteral("the recording file to write"), QStringLiteral("FILE.qrv"));
    line.addOption({"force"}, QStringLiteral("replace an existing FILE.qrv"));
    line.addOption({"verify"},
                   QStringLiteral("read every area until two reads agree; a block that never "
                                  "does is counted as not read"));
    addLinkOptions(line);
    if (const auto done = line.parse(args))
        return done;
    if (const QString error = readLinkOptions(line, o); !error.isEmpty())
        return line.usageError(error);
    if (const auto refused = line.refuseArgumentsPast(0))
        return refused;
    o.output = line.value("output");
    o.force = line.isSet("force");
    o.verify = line.isSet("verify");
    if (o.output.isEmpty())
        return line.usageError(QStringLiteral("--output FILE.qrv is required"));
    if (!o.trace.isEmpty() && QFileInfo(o.trace).absoluteFilePath() == QFileInfo(o.output).absoluteFilePath())
        return line.usageError(QStringLiteral("--trace and --output name the same file"));
    if (const QString error = choosePort(o); !error.isEmpty())
        return line.usageError(error);
    return std::nullopt;
}

} // namespace

int runDump(const QStringList& args)
{
    LinkOptions o;
    if (const auto done = parseDumpOptions(args, o))
        return *done;
    QTextStream err(stderr);
    if (!o.force && QFileInfo::exists(o.output)) {
        err << "quorzk-cli dump: " << o.output << " exists; --force replaces it\n";
        return 1;
    }
    CliLink link(o);
    if (!link.call(o.port)) {
        link.finish();
        return 1;
    }
    StderrPrompt prompt(false);
    RawDumpResult r;
    {
        TerminalProgress progress;
        auto logger = link.open(o.port);
        r = rawDumpJob(*logger, o.output, progress, o.verify);
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
    const bool traced = link.finish();
    if (r.status == RawDumpStatus::Cancelled)
        err << link.interruptedText(QStringLiteral("dump")) << "\n";
    return r.status == RawDumpStatus::Written && r.missedBlocks == 0 && traced ? 0 : 1;
}

} // namespace qz::cli
