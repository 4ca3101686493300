// quorzk-cli stop: the Stop command without windows. Without --yes it only tells whether
// the logger runs; with it a running logger (or one waiting for its start) is stopped.
#include "cli/commands.h"
#include "cli/link_common.h"
#include "jobs/job_messages.h"
#include "jobs/stop_job.h"

#include <QTextStream>

namespace qz::cli {

int runStop(const QStringList& args)
{
    QStringList rest = args;
    const bool yes = rest.removeAll(QStringLiteral("--yes")) > 0;
    const LinkOptions o = parseLinkOptions(rest, false);
    QTextStream err(stderr);
    if (!o.ok) {
        err << "quorzk-cli stop: " << o.error
            << "\nusage: quorzk-cli stop --port PORT [--yes] [--trace FILE]\n"
            << "       " << dialUsage() << "\n";
        return 2;
    }
    CliLink link(o.trace, o.dial);
    if (!link.call(o.port)) {
        link.saveTrace(QStringLiteral("stop"));
        return 1;
    }
    StderrPrompt prompt(yes);
    StopResult r;
    {
        auto logger = link.open(o.port);
        // Asked to connect once: nobody can plug a logger in for a script. Stopped is what
        // the logger says afterwards, not what was sent.
        StopPolicy policy;
        policy.verify = true;
        r = stopJob(*logger, policy);
        prompt.tell(messagesOf(r));
        if (const std::optional<Message> question = questionOf(r); question && prompt.confirm(*question)) {
            if (r.question == Question::ConfirmStop)
                policy.stop = Decision::Yes;
            r = stopJob(*logger, policy);
            prompt.tell(messagesOf(r));
        }
    }
    bool stopped = false;
    QString state;
    switch (r.status) {
    case StopStatus::Stopped:
    case StopStatus::AlreadyStopped:
        stopped = true;
        state = QStringLiteral("stopped");
        break;
    case StopStatus::StillRunning:
        state = QStringLiteral("still running");
        break;
    case StopStatus::NotConfirmed:
        state = QStringLiteral("running (recording or waiting for its start); --yes stops it");
        break;
    case StopStatus::NotConnected:
        err << "no logger answers on " << o.port << "\n";
        break;
    case StopStatus::LinkFailed:
        break;
    }
    if (!state.isEmpty())
        QTextStream(stdout) << "Run state: " << state << "\n";
    const bool traced = link.saveTrace(QStringLiteral("stop"));
    return stopped && traced ? 0 : 1;
}

} // namespace qz::cli
