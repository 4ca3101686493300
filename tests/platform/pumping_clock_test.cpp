// Pauses of the current readings keep the windows alive: events get through every step,
// and the pause still lasts exactly as long as asked.
#include "platform/pumping_clock.h"
#include "support/virtual_clock.h"

#include <gtest/gtest.h>

#include <vector>

namespace qz {
namespace {

class TickRecordingPump final : public EventPump {
public:
    explicit TickRecordingPump(Clock& clock) : clock_(clock) {}
    void processPending() override { ticks.push_back(clock_.tickMs()); }
    std::vector<std::int64_t> ticks;

private:
    Clock& clock_;
};

TEST(PumpingClockTest, APauseLetsEventsThroughEveryStepAndLastsExactly)
{
    test::VirtualClock virtualClock;
    TickRecordingPump pump(virtualClock);
    PumpingClock clock(virtualClock, pump, 20);

    clock.sleepMs(510);

    EXPECT_EQ(virtualClock.tickMs(), 510);
    ASSERT_GE(pump.ticks.size(), 2u);
    EXPECT_EQ(pump.ticks.front(), 0) << "events get through before the first step";
    EXPECT_EQ(pump.ticks.back(), 510) << "and once more when the pause is over";
    for (std::size_t i = 1; i < pump.ticks.size(); ++i)
        EXPECT_LE(pump.ticks[i] - pump.ticks[i - 1], 20) << "a gap without events at " << pump.ticks[i];
}

TEST(PumpingClockTest, NoPauseStillLetsEventsThroughAndTakesNoTime)
{
    test::VirtualClock virtualClock;
    TickRecordingPump pump(virtualClock);
    PumpingClock clock(virtualClock, pump);

    clock.sleepMs(0);
    clock.sleepMs(-5);

    EXPECT_EQ(virtualClock.tickMs(), 0);
    EXPECT_EQ(pump.ticks.size(), 2u);
    EXPECT_EQ(clock.localNow(), virtualClock.localNow());
}

} // namespace
} // namespace qz
