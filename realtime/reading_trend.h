#pragma once
// The last minute of the values each input showed, and the line that draws it in a small
// box under the value: time runs from the left edge (a minute ago) to the right (now), and
// the values fill the height between the minute's lowest and highest, but never less than
// a minimum range, so that a steady input with a count of converter noise draws nearly
// flat rather than as a zigzag.
#include "model/memory_image.h"

#include <QPointF>
#include <QSizeF>

#include <array>
#include <cstdint>
#include <deque>
#include <vector>

namespace qz {

struct TrendPoint {
    std::int64_t tickMs;
    double value;
};

class ReadingTrend {
public:
    static constexpr std::int64_t kSpanMs = 60000;

    // A value shown at a tick; points older than a minute before it are dropped. A tick
    // earlier than the last one (a clock that went back) starts the input afresh.
    void add(int input, std::int64_t tickMs, double value);
    void clear();
    const std::deque<TrendPoint>& points(int input) const { return points_[std::size_t(input & 7)]; }

private:
    std::array<std::deque<TrendPoint>, mem::kInputs> points_;
};

// The polyline of the points younger than a minute at nowMs, in a box of the given size
// (y grows downward). minRange: the least value range the height stands for, centred on
// the values. Empty without points.
std::vector<QPointF> trendLine(const std::deque<TrendPoint>& points, std::int64_t nowMs, QSizeF box,
                               double minRange);

} // namespace qz
