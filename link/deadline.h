#pragma once
// A one-shot deadline on the clock: the time left falls to 0 and stays there.
#include "platform/clock.h"

#include <algorithm>
#include <cstdint>

namespace qz {

class Deadline {
public:
    Deadline(Clock& clock, std::int64_t ms) : clock_(&clock), end_(clock.tickMs() + ms) {}

    std::int64_t leftMs() const { return std::max<std::int64_t>(end_ - clock_->tickMs(), 0); }
    bool passed() const { return leftMs() == 0; }

private:
    Clock* clock_;
    std::int64_t end_;
};

} // namespace qz
