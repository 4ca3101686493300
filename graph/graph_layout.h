#pragma once
// Where the parts of a graph go on its drawing target: the plot frame, the margins for
// the labels, and the time axis step. Pure arithmetic.
#include <QSize>

#include <cstdint>

namespace qz {

// A drawing target: the screen canvas (offsets 0) or a printer page.
struct GraphTarget {
    QSize size; // width and height in pixels
    int leftOffset = 0; // page width / 8 when printing
    int bottomOffset = 0; // page height / 8 when printing
    int fontIncrement = 0; // points added to every font (2 when printing)
    bool printer = false;
};

// The screen canvas of the given size.
GraphTarget screenTarget(QSize size);
// A printer page of pageSize pixels: the picture takes the whole page, or its upper 55 %
// in portrait orientation; the offsets come from the full page.
GraphTarget printerTarget(QSize pageSize, bool portrait);

enum class TimeUnit : int {
    Days = 0,
    Hours = 1,
    Minutes = 2,
    Seconds = 3
};

// Seconds in one unit: 86,400, 3,600, 60 or 1.
std::int64_t unitSeconds(TimeUnit unit);

// The first divisor d of 1, 2, 5, 10, 20, 50, ... for which n div d lies in low..high;
// 0 when a quotient of 0 comes first.
std::int64_t niceDivisor(std::int64_t n, std::int64_t low, std::int64_t high);

// Days above 3 days, else hours above 3 hours, else minutes above 3 minutes, else seconds.
TimeUnit chooseTimeUnit(std::int64_t spanSeconds);

// Seconds between two time ticks for a span in the given unit.
std::int64_t timeStep(std::int64_t spanSeconds, TimeUnit unit);

struct GraphLayout {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
    TimeUnit timeUnit = TimeUnit::Seconds;
    std::int64_t timeStep = 1; // seconds between two time ticks

    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

// Frame edges left and right, time unit and step for a view spanning spanSeconds.
void computeHorizontalLayout(const GraphTarget& target, std::int64_t spanSeconds, GraphLayout& layout);
// Frame edges top and bottom; footerExtra pixels more at the bottom for a footer of more
// than one row.
void computeVerticalLayout(const GraphTarget& target, GraphLayout& layout, int footerExtra = 0);

} // namespace qz
