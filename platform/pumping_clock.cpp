#include "platform/pumping_clock.h"

#include <algorithm>

namespace qz {

void PumpingClock::sleepMs(std::int64_t ms)
{
    const std::int64_t deadline = clock_.tickMs() + ms;
    for (;;) {
        pump_.processPending();
        const std::int64_t left = deadline - clock_.tickMs();
        if (left <= 0)
            return;
        clock_.sleepMs(std::min(left, stepMs_));
    }
}

} // namespace qz
