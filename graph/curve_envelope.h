#pragma once
// The lines of a curve placed by time: where several measurements fall on one pixel
// column, one vertical line from their lowest to their highest row; between columns, a
// line only where it is needed to keep the curve whole (the next column's rows do not
// touch this one's), drawn between the nearest ends. So noisy data shows its true band,
// without the stair steps that joining the last point of a column to the first of the
// next adds; measurements further apart than a column are joined point to point.
#include <QLine>

#include <cmath>
#include <cstdint>
#include <vector>

namespace qz {

class CurveEnvelope {
public:
    // Columns from minX to maxX count; points further out are joined toward them along
    // their line, so that a line that crosses the plot keeps its slope.
    CurveEnvelope(int minX, int maxX) : minX_(minX), maxX_(maxX) {}

    // The next point of the curve, left to right.
    void add(double x, int row);
    // The next count points, x + n x step for n = 0 .. count - 1 (step > 0), all over the columns
    // (minX <= x < maxX + 1), the row of point n being rowOf(n): add() for each, in one
    // pass without its tests, for the tens of thousands of points of a long recording.
    template <typename RowOf> void addInside(double x, double step, int count, RowOf rowOf);
    // The lines of the points added (the curve is closed first).
    const std::vector<QLine>& lines();

private:
    struct Column {
        int x = 0;
        int low = 0; // the rows reached
        int high = 0;
        int firstRow = 0;
        int lastRow = 0;
    };
    void closeColumn();
    void join(const Column& a, const Column& b);

    int minX_;
    int maxX_;
    std::vector<QLine> lines_;
    Column column_;
    bool open_ = false;
    bool havePrevious_ = false;
    Column previous_;
    double previousX_ = 0; // the last point, for points outside the columns
    int previousRow_ = 0;
    bool havePoint_ = false;
};

template <typename RowOf> void CurveEnvelope::addInside(double x, double step, int count, RowOf rowOf)
{
    if (count <= 0)
        return;
    const double x0 = x;
    add(x, rowOf(0)); // joins the line that comes in from the left
    double bound = column_.x + 1.0;
    int low = column_.low;
    int high = column_.high;
    int previous = column_.lastRow;
    for (int n = 1; n < count; ++n) {
        x = x0 + n * step; // not summed up: no error gathers over a long curve
        const int row = rowOf(n);
        if (x < bound) {
            low = row < low ? row : low;
            high = row > high ? row : high;
            previous = row;
            continue;
        }
        column_.low = low;
        column_.high = high;
        column_.lastRow = previous;
        closeColumn();
        const double col = std::floor(x);
        column_ = {int(col), row, row, row, row};
        open_ = true;
        bound = col + 1.0;
        low = high = previous = row;
    }
    column_.low = low;
    column_.high = high;
    column_.lastRow = previous;
    previousX_ = x;
    previousRow_ = previous;
}

} // namespace qz
