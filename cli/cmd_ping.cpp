// quorzk-cli ping: whether a logger answers on the port (a clock read, as the Download
// command's first step).
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/link_common.h"
#include "jobs/job_messages.h"
#include "jobs/logger_presence.h"

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
    const bool traced = link.finish();
    return answers && traced ? 0 : 1;
}

} // namespace qz::cli
