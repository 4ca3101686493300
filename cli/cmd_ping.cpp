// quorzk-cli ping: whether a logger answers on the port (a clock read, as the Download
// command's first step).
#include "cli/commands.h"
#include "cli/link_common.h"
#include "jobs/job_messages.h"
#include "jobs/logger_presence.h"

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
    JobResult r;
    bool answers = false;
    {
        auto logger = link.open(o.port);
        const LinkWatch watch(*logger);
        answers = loggerIsThere(*logger, ConnectPolicy::Ask, watch, r);
    }
    // A port that did not open is told with its reason, and nothing follows it.
    prompt.tell(messagesOf(r));
    if (answers)
        QTextStream(stdout) << "logger answers on " << o.port << "\n";
    else if (r.question == Question::Connect)
        err << "no logger answers on " << o.port << "\n";
    const bool traced = link.saveTrace(QStringLiteral("ping"));
    return answers && traced ? 0 : 1;
}

} // namespace qz::cli
