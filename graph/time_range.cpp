#include "graph/time_range.h"

#include "graph/graph_view.h"
#include "model/datetime_number.h"

namespace qz {

namespace {
// Half a second in days: a measurement stamped to the second is found by its own time.
constexpr double kHalfSecond = 0.5 / 86400.0;
} // namespace

TimeRangeResult selectTimeRange(GraphView& view, const std::optional<QDateTime>& from,
                                const std::optional<QDateTime>& to)
{
    if (!from && !to)
        return TimeRangeResult::Selected;
    const RecordingData& data = view.data();
    const int count = data.measurementCount();
    const double lowest = from ? toDateTimeNumber(*from) - kHalfSecond : -1e300;
    const double highest = to ? toDateTimeNumber(*to) + kHalfSecond : 1e300;
    int first = 0;
    int last = 0;
    for (int n = 1; n <= count; ++n) {
        const double t = data.measurementTime(n);
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

    view.showLevel(1, first, last);
    return TimeRangeResult::Selected;
}

} // namespace qz
