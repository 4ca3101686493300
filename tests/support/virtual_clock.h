#pragma once
// A clock that moves only when slept on or advanced, so time-outs are exact and instant.
#include "platform/clock.h"

namespace qz::test {

class VirtualClock final : public Clock {
public:
    explicit VirtualClock(QDateTime start = QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9)))
        : start_(std::move(start))
    {}

    std::int64_t tickMs() override { return now_; }
    void sleepMs(std::int64_t ms) override
    {
        if (ms > 0)
            now_ += ms;
    }
    QDateTime localNow() override { return start_.addMSecs(now_); }

    void advance(std::int64_t ms) { now_ += ms; }
    void setLocalNow(const QDateTime& t) { start_ = t.addMSecs(-now_); }

private:
    QDateTime start_;
    std::int64_t now_ = 0;
};

} // namespace qz::test
