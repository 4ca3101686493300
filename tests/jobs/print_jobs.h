#pragma once
// Readable job statuses and questions in test names and failure messages.
#include "jobs/job_messages.h"

#include <ostream>

namespace qz {

inline void PrintTo(DownloadStatus s, std::ostream* os)
{
    const char* names[] = {"read",           "not connected",  "link failed",
                           "cancelled",      "nothing usable", "unsteady header",
                           "unsteady block", "damaged",        "too few measurements",
                           "unknown model"};
    *os << names[int(s)];
}

inline void PrintTo(DeviceReadStatus s, std::ostream* os)
{
    const char* names[] = {"read", "not connected", "link failed"};
    *os << names[int(s)];
}

inline void PrintTo(ConfigureStatus s, std::ostream* os)
{
    const char* names[] = {"sent", "link failed", "not confirmed", "start elapsed", "not kept", "not held"};
    *os << names[int(s)];
}

inline void PrintTo(StopStatus s, std::ostream* os)
{
    const char* names[] = {"stopped",       "already stopped", "not confirmed",
                           "not connected", "link failed",     "still running"};
    *os << names[int(s)];
}

inline void PrintTo(ReadingStatus s, std::ostream* os)
{
    const char* names[] = {"read", "not connected", "link failed"};
    *os << names[int(s)];
}

inline void PrintTo(RawDumpStatus s, std::ostream* os)
{
    const char* names[] = {"written", "link failed", "cancelled", "write failed"};
    *os << names[int(s)];
}

inline void PrintTo(Question q, std::ostream* os)
{
    const char* names[] = {
        "none", "connect", "keep partial", "save unknown model", "restart recording", "confirm stop"};
    *os << names[int(q)];
}

namespace test {

// What the user reads of a result, in order: its messages, then its question.
template <class Result> QStringList told(const Result& r)
{
    QStringList out;
    for (const Message& m : messagesOf(r))
        out << m.text;
    if (const std::optional<Message> q = questionOf(r))
        out << q->text;
    return out;
}

} // namespace test
} // namespace qz
