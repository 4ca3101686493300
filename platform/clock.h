#pragma once
// Time as the program sees it: a millisecond tick, sleeping, and the local date and time.
// The program uses the system clock; tests use a virtual one that moves only when asked.
#include <QDateTime>
#include <cstdint>

namespace qz {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t tickMs() = 0;
    virtual void sleepMs(std::int64_t ms) = 0;
    virtual QDateTime localNow() = 0;
};

class SystemClock final : public Clock {
public:
    std::int64_t tickMs() override;
    void sleepMs(std::int64_t ms) override;
    QDateTime localNow() override;
};

} // namespace qz
