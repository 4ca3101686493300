#pragma once
// Where the ticks of the time axis and of a value axis go, and what their labels read.
// Pure arithmetic on the layout; drawing is left to the caller.
#include "graph/graph_layout.h"
#include "recording/scaling.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace qz {

// Instants are whole seconds since 30 December 1899, 00:00.
std::int64_t secondsFromDateTime(double dateTime);

struct TimeTick {
    int x = 0;
    std::int64_t seconds = 0; // the instant the tick stands for
};

// The time ticks of a view from t0 to t1 whose first tick stands for firstTick: at
// x = round((T - t0) x W / (t1 - t0)) + left and then every round(W x step / (t1 - t0))
// pixels while that stays left of the right edge. A view without duration (all
// measurements at one instant) has no time ticks; a step under half a pixel gives the
// first tick only. Ticks outside left..right are kept: the caller draws none of them.
std::vector<TimeTick> computeTimeTicks(const GraphLayout& layout, std::int64_t t0, std::int64_t t1,
                                       std::int64_t firstTick);

// The texts of consecutive time labels along one axis: the date ("dd/mm") only when it
// differs from the previous label's, the time ("hh:mm", or "hh:mm:ss" with the seconds
// unit) only when it differs from the previous label's.
class TimeLabeler {
public:
    explicit TimeLabeler(TimeUnit unit) : unit_(unit) {}
    // The next label's text, which then counts as shown.
    QString next(std::int64_t seconds);
    // The text the label would read, without counting it as shown.
    QString peek(std::int64_t seconds) const;

private:
    struct Parts {
        QString date;
        QString time; // with the "-" after a new date
        QString text;
    };
    Parts label(std::int64_t seconds) const;

    TimeUnit unit_;
    QString lastDate_;
    QString lastTime_;
};

struct ValueTick {
    int y = 0;
    long double value = 0;
};

struct ValueTicks {
    std::vector<ValueTick> ticks; // bottom tick first, then upwards
    bool tickInside = false; // a tick lies within top..bottom
};

// The ticks of a value axis: the first on the bottom edge for the physical bottom, then
// one per label step upwards while it stays below the top edge, but only when eleven
// steps reach past the top (otherwise the bottom tick alone). An axis without a usable
// physical range (top equal to bottom, or not a number) has no ticks at all.
ValueTicks computeValueTicks(const GraphLayout& layout, const AxisScale& scale);

// The decimal pattern of an axis: the input's own, or more decimals when the label step
// needs them, so that neighbouring labels never read the same.
QString axisLabelPattern(const QString& valueFormat, long double step);

// A value label: v rounded to 1/500, values under 0.001 shown as 0, formatted with the
// pattern, without leading and trailing blanks.
QString valueLabelText(long double v, const QString& pattern);

} // namespace qz
