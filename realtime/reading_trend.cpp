#include "realtime/reading_trend.h"

#include <algorithm>

namespace qz {

void ReadingTrend::add(int input, std::int64_t tickMs, double value)
{
    std::deque<TrendPoint>& p = points_[std::size_t(input & 7)];
    if (!p.empty() && tickMs < p.back().tickMs)
        p.clear();
    p.push_back({tickMs, value});
    while (p.front().tickMs < tickMs - kSpanMs)
        p.pop_front();
}

void ReadingTrend::clear()
{
    for (auto& p : points_)
        p.clear();
}

std::vector<QPointF> trendLine(const std::deque<TrendPoint>& points, std::int64_t nowMs, QSizeF box,
                               double minRange)
{
    std::vector<QPointF> line;
    const std::int64_t from = nowMs - ReadingTrend::kSpanMs;
    double lo = 0;
    double hi = 0;
    bool any = false;
    for (const TrendPoint& p : points) {
        if (p.tickMs < from || p.tickMs > nowMs)
            continue;
        lo = any ? std::min(lo, p.value) : p.value;
        hi = any ? std::max(hi, p.value) : p.value;
        any = true;
    }
    if (!any)
        return line;
    const double range = std::max(hi - lo, std::max(minRange, 0.0));
    const double bottom = (lo + hi) / 2 - range / 2;
    const double w = box.width();
    const double h = box.height();
    for (const TrendPoint& p : points) {
        if (p.tickMs < from || p.tickMs > nowMs)
            continue;
        const double x = w * double(p.tickMs - from) / double(ReadingTrend::kSpanMs);
        const double y = range > 0 ? h - h * (p.value - bottom) / range : h / 2;
        line.emplace_back(x, y);
    }
    return line;
}

} // namespace qz
