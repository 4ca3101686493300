#include "graph/time_range.h"

#include "graph/graph_view.h"
#include "model/datetime_number.h"

#include <algorithm>

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
    if (view.recordingCount() > 1) {
        // The instants on the view's time axis, each recording showing what lies there.
        const TimeWindow whole = view.extent();
        const TimeWindow w{from ? toDateTimeNumber(*from) * 86400.0 - 0.5 : whole.from,
                           to ? toDateTimeNumber(*to) * 86400.0 + 0.5 : whole.to};
        int most = 0;
        for (int r = 0; r < view.recordingCount(); ++r) {
            const auto [first, last] = view.timeline(r).inside(w.from - view.shift(r), w.to - view.shift(r));
            most = std::max(most, last - first + 1);
        }
        if (most <= 0)
            return TimeRangeResult::Empty;
        if (most == 1)
            return TimeRangeResult::TooShort;
        view.showWindow(1, w);
        return TimeRangeResult::Selected;
    }
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
