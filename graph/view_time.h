#pragma once
// Where the measurements of a recording lie on a graph's time axis. Instants are seconds
// since 30 December 1899, 00:00, of the loggers' clocks (a double holds them to well
// under a millisecond); measurement k of a recording lies at origin + k x step.
#include <utility>

namespace qz {

class RecordingData;

struct Timeline {
    double origin = 0; // where measurement 0 would lie: the oldest block's stamp
    double step = 1; // seconds between two measurements
    int count = 0; // measurements 1..count

    double at(double k) const { return origin + k * step; }
    double first() const { return at(1); }
    double last() const { return at(count); }
    // The measurements from..to holds, as first and last; first > last when it holds none.
    std::pair<int, int> inside(double from, double to) const;
    // The measurement nearest to t, within 1..count.
    int nearest(double t) const;
};

// The recording's timeline. A recording whose measurements all share one instant (no
// interval, or a stamp that is no date) is spread one second apart, so that it still has
// a width to be drawn over.
Timeline timelineOf(const RecordingData& data);

// The instants a graph shows, from left to right.
struct TimeWindow {
    double from = 0;
    double to = 0;

    double span() const { return to - from; }
    bool operator==(const TimeWindow&) const = default;
};

} // namespace qz
