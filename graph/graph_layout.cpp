#include "graph/graph_layout.h"

#include <cmath>
#include <limits>

namespace qz {

namespace {
constexpr int kScreenMargin = 60; // room for the value labels left and right
constexpr int kBottomBand = 80;
constexpr int kScreenTop = 26;
} // namespace

GraphTarget screenTarget(QSize size)
{
    GraphTarget t;
    t.size = size;
    return t;
}

GraphTarget printerTarget(QSize pageSize, bool portrait)
{
    GraphTarget t;
    const int w = pageSize.width();
    const int h = pageSize.height();
    t.size = QSize(w, portrait ? int(std::int64_t(h) * 55 / 100) : h);
    t.leftOffset = w / 8;
    t.bottomOffset = h / 8;
    t.fontIncrement = 2;
    t.printer = true;
    return t;
}

std::int64_t unitSeconds(TimeUnit unit)
{
    switch (unit) {
    case TimeUnit::Days:
        return 86400;
    case TimeUnit::Hours:
        return 3600;
    case TimeUnit::Minutes:
        return 60;
    case TimeUnit::Seconds:
        break;
    }
    return 1;
}

std::int64_t niceDivisor(std::int64_t n, std::int64_t low, std::int64_t high)
{
    static constexpr std::int64_t kMantissas[] = {1, 2, 5};
    for (std::int64_t decade = 1; decade <= std::numeric_limits<std::int64_t>::max() / 10; decade *= 10) {
        for (std::int64_t m : kMantissas) {
            const std::int64_t d = m * decade;
            const std::int64_t q = n / d;
            if (q == 0)
                return 0;
            if (q >= low && q <= high)
                return d;
        }
    }
    return 0;
}

TimeUnit chooseTimeUnit(std::int64_t spanSeconds)
{
    if (spanSeconds > 3 * 86400)
        return TimeUnit::Days;
    if (spanSeconds > 3 * 3600)
        return TimeUnit::Hours;
    if (spanSeconds > 3 * 60)
        return TimeUnit::Minutes;
    return TimeUnit::Seconds;
}

std::int64_t timeStep(std::int64_t spanSeconds, TimeUnit unit)
{
    const std::int64_t u = unitSeconds(unit);
    // span / u rounded, halves to even as the platform's rounding does.
    const std::int64_t n = std::int64_t(std::nearbyint(double(spanSeconds) / double(u)));
    std::int64_t d = niceDivisor(n, 3, 7);
    if (d == 0)
        d = niceDivisor(n, 2, 8);
    if (d == 0)
        d = niceDivisor(n, 1, 7);
    if (d == 0)
        d = 1;
    return d * u;
}

void computeHorizontalLayout(const GraphTarget& target, std::int64_t spanSeconds, GraphLayout& layout)
{
    const int margin = kScreenMargin + (target.printer ? target.leftOffset : 0);
    layout.left = margin;
    layout.right = target.size.width() - margin;
    layout.timeUnit = chooseTimeUnit(spanSeconds);
    layout.timeStep = timeStep(spanSeconds, layout.timeUnit);
}

void computeVerticalLayout(const GraphTarget& target, GraphLayout& layout, int footerExtra)
{
    if (target.printer) {
        const int band = target.bottomOffset + kBottomBand;
        layout.top = band / 2;
        layout.bottom = target.size.height() - band - footerExtra;
    } else {
        layout.top = kScreenTop;
        layout.bottom = target.size.height() - kBottomBand * 55 / 100 - footerExtra;
    }
}

} // namespace qz
