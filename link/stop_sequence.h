#pragma once
// The Stop command without windows: find out whether the logger records (asking to
// connect it while it does not answer), then stop it on confirmation.
#include "link/logger_protocol.h"
#include "platform/prompt.h"

#include <QString>

namespace qz {

namespace texts {
inline QString confirmStop()
{
    return QStringLiteral("Quorvant running\rConfirming stop ?");
}
inline QString alreadyStopped()
{
    return QStringLiteral("Quorvant Already stopped");
}
} // namespace texts

enum class StopOutcome {
    Stopped, // the logger recorded (or waited for its start) and was stopped
    AlreadyStopped, // told "Quorvant Already stopped"
    NotConfirmed, // the user kept it running
    NotConnected, // no answer, and the user stopped asking
    Failed, // a read or the stop failed (told)
};

// Asks "Please Connect The Quorvant" after every ping without an answer, at most
// connectQuestions times (a negative number: until the user answers No).
StopOutcome runStop(LoggerProtocol& protocol, Prompt& prompt, int connectQuestions = -1);

} // namespace qz
