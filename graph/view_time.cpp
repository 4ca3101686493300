#include "graph/view_time.h"

#include "recording/recording_data.h"

#include <algorithm>
#include <cmath>

namespace qz {

namespace {
constexpr double kSecondsPerDay = 86400;
// Measurements within this much of a step past an edge still count as inside (rounding).
constexpr double kEdgeTolerance = 1e-6;
} // namespace

std::pair<int, int> Timeline::inside(double from, double to) const
{
    if (count < 1 || !(step > 0) || !(to >= from))
        return {1, 0};
    const double a = std::ceil((from - origin) / step - kEdgeTolerance);
    const double b = std::floor((to - origin) / step + kEdgeTolerance);
    const int first = int(std::clamp(a, 1.0, double(count) + 1));
    const int last = int(std::clamp(b, 0.0, double(count)));
    return {first, last};
}

int Timeline::nearest(double t) const
{
    if (count < 1)
        return 1;
    const double k = step > 0 ? std::nearbyint((t - origin) / step) : 1;
    return int(std::clamp(std::isfinite(k) ? k : 1.0, 1.0, double(count)));
}

Timeline timelineOf(const RecordingData& data)
{
    Timeline t;
    t.count = data.measurementCount();
    t.origin = std::nearbyint(data.measurementTime(0) * kSecondsPerDay);
    t.step = std::nearbyint((data.measurementTime(1) - data.measurementTime(0)) * kSecondsPerDay);
    if (!std::isfinite(t.origin) || !std::isfinite(t.step) || t.step <= 0)
        t.step = 1;
    if (!std::isfinite(t.origin))
        t.origin = 0;
    return t;
}

} // namespace qz
