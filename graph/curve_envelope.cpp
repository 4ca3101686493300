#include "graph/curve_envelope.h"

#include <algorithm>
#include <cmath>

namespace qz {

namespace {
int rowAt(double x0, int row0, double x1, int row1, double x)
{
    if (x1 == x0)
        return row1;
    return int(std::lround(row0 + (row1 - row0) * (x - x0) / (x1 - x0)));
}
} // namespace

void CurveEnvelope::add(double x, int row)
{
    if (!std::isfinite(x))
        return;
    const double lo = minX_;
    const double hi = double(maxX_) + 1;
    const bool before = x < lo;
    const bool after = x >= hi;
    if (havePoint_) {
        // The part of the line from the previous point that lies over the columns.
        const bool wasBefore = previousX_ < lo;
        const bool wasAfter = previousX_ >= hi;
        if (wasAfter)
            return; // the curve has left the columns
        if (wasBefore && !before) {
            const int r = rowAt(previousX_, previousRow_, x, row, lo);
            previousX_ = lo;
            previousRow_ = r;
            add(lo, r);
        }
        if (after && (wasBefore || !wasAfter)) {
            const int r = rowAt(previousX_, previousRow_, x, row, double(maxX_));
            add(double(maxX_), r);
            closeColumn();
            previousX_ = x;
            previousRow_ = row;
            return;
        }
    }
    previousX_ = x;
    previousRow_ = row;
    havePoint_ = true;
    if (before || after)
        return;
    const int col = int(std::floor(x));
    if (open_ && col == column_.x) {
        column_.low = std::min(column_.low, row);
        column_.high = std::max(column_.high, row);
        column_.lastRow = row;
        return;
    }
    closeColumn();
    column_ = {col, row, row, row, row};
    open_ = true;
}

void CurveEnvelope::closeColumn()
{
    if (!open_)
        return;
    open_ = false;
    lines_.emplace_back(column_.x, column_.low, column_.x, column_.high);
    if (havePrevious_)
        join(previous_, column_);
    previous_ = column_;
    havePrevious_ = true;
}

void CurveEnvelope::join(const Column& a, const Column& b)
{
    if (b.x != a.x + 1) {
        // Columns apart: the line between the two measurements.
        lines_.emplace_back(a.x, a.lastRow, b.x, b.firstRow);
        return;
    }
    // Neighbouring columns: only a gap between their rows needs a line, between the ends
    // that face each other.
    if (b.high < a.low - 1)
        lines_.emplace_back(a.x, a.low, b.x, b.high);
    else if (b.low > a.high + 1)
        lines_.emplace_back(a.x, a.high, b.x, b.low);
}

const std::vector<QLine>& CurveEnvelope::lines()
{
    closeColumn();
    return lines_;
}

} // namespace qz
