#include "graph/time_range.h"

#include "model/datetime_number.h"
#include "recording/recording.h"

namespace qz {

namespace {
// Half a second in days: a measurement stamped to the second is found by its own time.
constexpr double kHalfSecond = 0.5 / 86400.0;
} // namespace

TimeRangeResult selectTimeRange(Recording& recording, const std::optional<QDateTime>& from,
                                const std::optional<QDateTime>& to)
{
    if (!from && !to)
        return TimeRangeResult::Selected;
    const int count = recording.measurementCount();
    const ImageReader& reader = recording.reader();
    const double lowest = from ? toDateTimeNumber(*from) - kHalfSecond : -1e300;
    const double highest = to ? toDateTimeNumber(*to) + kHalfSecond : 1e300;
    int first = 0;
    int last = 0;
    for (int n = 1; n <= count; ++n) {
        const double t = reader.recordDateTime(n);
        if (t < lowest || t > highest)
            continue;
        if (first == 0)
            first = n;
        last = n;
    }
    if (first == 0)
        return TimeRangeResult::Empty;
    if (last == first)
        return TimeRangeResult::TooShort;

    ViewRecord& v = recording.view(1);
    v = ViewRecord{};
    v.first = first;
    v.last = last;
    recording.setCurrentLevel(1);
    recording.searchMaxMin(v);
    recording.updateScalingMode(v);
    recording.computeAverages(v);
    return TimeRangeResult::Selected;
}

} // namespace qz
