// quorzk-cli ping: whether a logger answers on the port (a clock read, as the Download
// command's first step).
#include "cli/commands.h"
#include "cli/link_common.h"
#include "link/link_report.h"

#include <QTextStream>

namespace qz::cli {

int runPing(const QStringList& args)
{
    const LinkOptions o = parseLinkOptions(args, false);
    QTextStream err(stderr);
    if (!o.ok) {
        err << "quorzk-cli ping: " << o.error << "\nusage: quorzk-cli ping --port PORT [--trace FILE]\n"
            << "       " << dialUsage() << "\n";
        return 2;
    }
    CliLink link(o.trace, o.dial);
    if (!link.call(o.port)) {
        link.saveTrace(QStringLiteral("ping"));
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
    const bool traced = link.saveTrace(QStringLiteral("ping"));
    return status == LinkStatus::Ok && traced ? 0 : 1;
}

} // namespace qz::cli
