#pragma once
// Round instants for the time axis of the drawing with one axis per unit: ticks on whole
// seconds, minutes, hours, days, weeks (from Monday) or months of the visible span, as
// many as their labels leave room for, and labels that carry the date where it changes.
// Instants are seconds since 30 December 1899, 00:00 (view_time.h). Pure arithmetic.
#include "graph/view_time.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace qz {

// A step between ticks: a number of seconds, or of months.
struct TimeStep {
    std::int64_t seconds = 0;
    int months = 0;

    bool operator==(const TimeStep&) const = default;
    // Labels of the time of day ("hh:mm", "hh:mm:ss" under a minute) or of dates.
    bool showsClock() const { return months == 0 && seconds < 86400; }
    bool showsSeconds() const { return months == 0 && seconds < 60; }
};

// The pixels one label of each kind needs (its width and a gap).
struct TimeLabelRoom {
    double clock = 40; // "hh:mm"
    double clockSeconds = 60; // "hh:mm:ss"
    double date = 40; // "dd/mm"
};

// The shortest step of the ladder 1, 2, 5, 10, 15, 30 s, 1, 2, 5, 10, 15, 30 min, 1, 2,
// 3, 6, 12 h, 1, 2 days, a week, 1, 2, 3, 6 months, 1, 2, 5, 10 ... years whose ticks
// stand far enough apart for their labels on width pixels showing span seconds.
TimeStep chooseTimeStep(double span, double width, const TimeLabelRoom& room);

// The multiples of the step within the window: whole seconds from midnight, weeks from
// Monday, months from the first of January.
std::vector<double> roundInstants(const TimeWindow& window, const TimeStep& step);

struct RoundTimeLabel {
    QString upper; // "hh:mm", "hh:mm:ss" or "dd/mm"
    QString lower; // the date ("dd/mm/yy") or the year under the first label and where it changes
};

// The labels of consecutive instants.
std::vector<RoundTimeLabel> roundTimeLabels(const std::vector<double>& instants, const TimeStep& step);

} // namespace qz
