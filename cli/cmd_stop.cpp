// quorzk-cli stop: the Stop command without windows. Without --yes it only tells whether
// the logger runs; with it a running logger (or one waiting for its start) is stopped.
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/link_common.h"
#include "link/link_report.h"
#include "link/stop_sequence.h"

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
    bool stopped = false;
    QString state;
    {
        auto logger = link.open(o.port);
        // Asked once: nobody can plug a logger in for a script.
        switch (qz::runStop(*logger, prompt, 1)) {
        case StopOutcome::Stopped: {
            // Stopped is what the logger says now, not what was sent.
            LinkReport report(*logger, prompt);
            RunState now = RunState::Unknown;
            stopped = report.ok(logger->readRunState(now)) && now == RunState::Stopped;
            state = stopped ? QStringLiteral("stopped") : QStringLiteral("still running");
            break;
        }
        case StopOutcome::AlreadyStopped:
            stopped = true;
            state = QStringLiteral("stopped");
            break;
        case StopOutcome::NotConfirmed:
            state = QStringLiteral("running (recording or waiting for its start); --yes stops it");
            break;
        case StopOutcome::NotConnected:
            err << "no logger answers on " << o.port << "\n";
            break;
        case StopOutcome::Failed:
            break;
        }
    }
    if (!state.isEmpty())
        QTextStream(stdout) << "Run state: " << state << "\n";
    const bool traced = link.finish();
    return stopped && traced ? 0 : 1;
}

} // namespace qz::cli
