#pragma once
// Readable link statuses in test names and failure messages.
#include "link/dial_outcome.h"
#include "link/link_status.h"
#include "link/logger_protocol.h"

#include <ostream>

namespace qz {

inline void printTo(LinkStatus status, std::ostream* os)
{
    *os << linkStatusName(status);
}

inline void printTo(DialOutcome outcome, std::ostream* os)
{
    *os << dialOutcomeName(outcome);
}

inline void printTo(RunState state, std::ostream* os)
{
    switch (state) {
    case RunState::Stopped:
        *os << "stopped";
        return;
    case RunState::Running:
        *os << "running";
        return;
    case RunState::NotAnswering:
        *os << "not answering";
        return;
    case RunState::Unknown:
        *os << "unknown";
        return;
    }
}

} // namespace qz
