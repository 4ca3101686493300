#include "graph/curve_lines.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace qz {

namespace {
// Beyond this many rows outside the plot a point is held there: it keeps coordinates far
// from the limits of the rasterizer and of int arithmetic; only curves of a range much
// smaller than one raw unit ever get there.
constexpr std::int64_t kRowLimit = std::int64_t(1) << 22;
// Raw ranges in 1/64 units beyond this are not a range any view can hold.
constexpr double kRangeLimit = 1e12;
} // namespace

CurveScale::CurveScale(double rawTop, double rawBottom, int plotBottom, int plotHeight)
    : bottom_(plotBottom), height_(plotHeight)
{
    const double t = 64.0 * rawTop;
    const double b = 64.0 * rawBottom;
    if (!std::isfinite(t) || !std::isfinite(b) || std::fabs(t) > kRangeLimit || std::fabs(b) > kRangeLimit)
        return;
    t_ = std::int64_t(t); // truncation toward zero
    b_ = std::int64_t(b);
    drawable_ = t_ != b_;
}

int CurveScale::row(int raw) const
{
    if (!drawable_)
        return bottom_;
    const std::int64_t rise = ((std::int64_t(raw) * 64 - b_) * height_) / (t_ - b_);
    const std::int64_t row = std::int64_t(bottom_) - std::clamp(rise, -kRowLimit, kRowLimit);
    return int(row);
}

void CurveLines::clear()
{
    lines_.clear();
    started_ = false;
}

void CurveLines::moveTo(int x, int y)
{
    if (started_)
        finish();
    x_ = x;
    y_ = y;
    low_ = high_ = y;
    started_ = true;
}

void CurveLines::lineTo(int x, int y)
{
    if (!started_) {
        moveTo(x, y);
        return;
    }
    if (x == x_) {
        if (y == y_)
            return;
        low_ = std::min(low_, y);
        high_ = std::max(high_, y);
        y_ = y;
        return;
    }
    closeColumn();
    lines_.emplace_back(x_, y_, x, y);
    x_ = x;
    y_ = y;
    low_ = high_ = y;
}

void CurveLines::finish()
{
    if (!started_)
        return;
    closeColumn();
    started_ = false;
}

void CurveLines::closeColumn()
{
    // The vertical segments inside one column are consecutive, so together they cover
    // every row between the lowest and the highest point reached.
    if (low_ != high_)
        lines_.emplace_back(x_, low_, x_, high_);
    low_ = high_ = y_;
}

void buildCurve(std::span<const std::uint8_t> raws, int left, int width, const CurveScale& scale,
                CurveLines& out)
{
    if (raws.size() < 2 || !scale.isDrawable())
        return;
    // A row depends on the raw byte alone.
    std::array<int, 256> rows;
    for (int raw = 0; raw < 256; ++raw)
        rows[std::size_t(raw)] = scale.row(raw);
    const long double p = static_cast<long double>(width) / static_cast<long double>(raws.size() - 1);
    long double x = left;
    out.moveTo(left, rows[raws[0]]);
    for (std::size_t k = 1; k < raws.size(); ++k) {
        x += p;
        out.lineTo(int(x), rows[raws[k]]);
    }
    out.finish();
}

} // namespace qz
