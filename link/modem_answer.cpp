#include "link/modem_answer.h"

namespace qz {

namespace {

// A line this long is no result word; keeping it would only grow.
constexpr qsizetype kMaxLine = 256;

DialOutcome judge(const QByteArray& line)
{
    if (line.contains("CONNECT"))
        return DialOutcome::Connected;
    if (line.contains("BUSY"))
        return DialOutcome::Busy;
    if (line.contains("NO CARRIER"))
        return DialOutcome::NoCarrier;
    if (line.contains("NO DIAL"))
        return DialOutcome::NoDialTone;
    return DialOutcome::Waiting;
}

} // namespace

DialOutcome ModemAnswerReader::feed(const QByteArray& bytes)
{
    for (const char c : bytes) {
        if (c == '\r' || c == '\n') {
            const DialOutcome outcome = judge(line_);
            line_.clear();
            if (outcome != DialOutcome::Waiting)
                return outcome;
        } else if (c != '\0') {
            if (line_.size() >= kMaxLine)
                line_.clear();
            line_.append(c);
        }
    }
    return DialOutcome::Waiting;
}

} // namespace qz
