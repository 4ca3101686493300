// quorzk-cli ping: whether a logger answers on the port (a clock read, as the Download
// command's first step).
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/link_common.h"
#include "link/link_report.h"

#include <QTextStream>

namespace qz::cli {

int runPing(const QStringList& args)
{
    LinkOptions o;
    CommandLine line(usage::kPing);
    addLinkOptions(line);
    if (const auto done = line.parse(args))
        return *done;
    if (const QString error = readLinkCommand(line, o); !error.isEmpty())
        return line.usageError(error);
    QTextStream err(stderr);
    CliLink link(o);
    if (!link.call(o.port)) {
        link.finish();
        return 1;
    }
    StderrPrompt prompt(false);
    LinkStatus status = LinkStatus::Ok;
    {
        auto logger = link.open(o.port);
        LinkReport report(*logger, prompt);
        status = logger->ping();
    }
    if (status == LinkStatus::Ok)
        QTextStream(stdout) << "logger answers on " << o.port << "\n";
    else if (status != LinkStatus::CannotOpen) // that has been told with its reason
        err << "no logger answers on " << o.port << "\n";
    const bool traced = link.finish();
    return status == LinkStatus::Ok && traced ? 0 : 1;
}

} // namespace qz::cli
