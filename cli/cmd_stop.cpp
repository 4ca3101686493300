// quorzk-cli stop: the Stop command without windows. Without --yes it only tells whether
// the logger runs; with it a running logger (or one waiting for its start) is stopped.
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/link_common.h"
#include "jobs/job_messages.h"
#include "jobs/stop_job.h"

#include <QTextStream>

namespace qz::cli {

int runStop(const QStringList& args)
{
    LinkOptions o;
    CommandLine line(usage::kStop);
    line.addOption({"yes"}, QStringLiteral("stop a running logger; without it, only tell its run state"));
    addLinkOptions(line);
    if (const auto done = line.parse(args))
        return *done;
    if (const QString error = readLinkCommand(line, o); !error.isEmpty())
        return line.usageError(error);
    const bool yes = line.isSet("yes");
    QTextStream err(stderr);
    CliLink link(o);
    if (!link.call(o.port)) {
        link.finish();
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
    // Without --yes the question is not asked: telling the run state is the whole job.
    bool done = false;
    QString state;
    switch (r.status) {
    case StopStatus::Stopped:
    case StopStatus::AlreadyStopped:
        done = true;
        state = QStringLiteral("stopped");
        break;
    case StopStatus::StillRunning:
        state = QStringLiteral("still running");
        break;
    case StopStatus::NotConfirmed:
        done = !yes;
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
    const bool traced = link.finish();
    return done && traced ? 0 : 1;
}

} // namespace qz::cli
