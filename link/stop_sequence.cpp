#include "link/stop_sequence.h"

#include "link/link_report.h"

namespace qz {

StopOutcome runStop(LoggerProtocol& q, Prompt& prompt, int connectQuestions)
{
    LinkReport report(q, prompt);
    RunState state = RunState::NotAnswering;
    LinkStatus status = q.readRunState(state);
    for (int asked = 0; state == RunState::NotAnswering; ++asked) {
        if (asked == connectQuestions || !report.confirmConnect())
            return StopOutcome::NotConnected;
        status = q.readRunState(state);
    }
    switch (state) {
    case RunState::Running:
        if (!prompt.confirm(texts::confirmStop()))
            return StopOutcome::NotConfirmed;
        return report.ok(q.stopLogger()) ? StopOutcome::Stopped : StopOutcome::Failed;
    case RunState::Stopped:
        prompt.tell(texts::alreadyStopped(), PromptSymbol::Warning);
        return StopOutcome::AlreadyStopped;
    case RunState::Unknown:
    case RunState::NotAnswering:
        break;
    }
    // The ping was answered, the clock read was not.
    report.ok(status);
    return StopOutcome::Failed;
}

} // namespace qz
