#pragma once
// Readable link statuses in test names and failure messages.
#include "link/dial_outcome.h"
#include "link/download_sequence.h"
#include "link/link_status.h"
#include "link/logger_protocol.h"

#include <ostream>

namespace qz {

inline void PrintTo(LinkStatus status, std::ostream* os)
{
    *os << linkStatusName(status);
}

inline void PrintTo(DialOutcome outcome, std::ostream* os)
{
    *os << dialOutcomeName(outcome);
}

inline void PrintTo(RunState state, std::ostream* os)
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

inline void PrintTo(DownloadOutcome outcome, std::ostream* os)
{
    switch (outcome) {
    case DownloadOutcome::Accepted:
        *os << "accepted";
        return;
    case DownloadOutcome::NotConnected:
        *os << "not connected";
        return;
    case DownloadOutcome::Failed:
        *os << "failed";
        return;
    case DownloadOutcome::Ended:
        *os << "ended";
        return;
    case DownloadOutcome::Stopped:
        *os << "stopped";
        return;
    case DownloadOutcome::PartNotKept:
        *os << "part not kept";
        return;
    case DownloadOutcome::SavedAnyway:
        *os << "saved anyway";
        return;
    }
}

} // namespace qz
