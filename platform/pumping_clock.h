#pragma once
// A clock whose pauses keep the windows alive: it sleeps in short steps and lets pending
// events through between them. For sequences a window runs on its own timer (the current
// readings), where a progress dialog would be out of place but half a second of frozen
// windows every second is not acceptable either.
#include "platform/clock.h"
#include "platform/event_pump.h"

namespace qz {

class PumpingClock final : public Clock {
public:
    PumpingClock(Clock& clock, EventPump& pump, std::int64_t stepMs = 20)
        : clock_(clock), pump_(pump), stepMs_(stepMs)
    {}

    std::int64_t tickMs() override { return clock_.tickMs(); }
    QDateTime localNow() override { return clock_.localNow(); }
    void sleepMs(std::int64_t ms) override;

private:
    Clock& clock_;
    EventPump& pump_;
    std::int64_t stepMs_;
};

} // namespace qz
