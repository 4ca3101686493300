#pragma once
// The lines of one curve, in integer arithmetic. Consecutive points that land on the same
// pixel are dropped, and all points inside one pixel column are merged into one vertical
// line, so that a curve of tens of thousands of measurements costs about two lines per
// pixel column. The lines include both end points; drawn with a one-pixel pen they cover
// exactly the pixels of the polyline through every point.
#include <QLine>

#include <cstdint>
#include <span>
#include <vector>

namespace qz {

// Raw samples (0..255) to pixel rows of one input: the raw range bottom..top of the view,
// in 1/64 raw units, fills the plot from its bottom edge upwards.
class CurveScale {
public:
    // rawTop and rawBottom as in the view; plotBottom and plotHeight of the frame.
    CurveScale(double rawTop, double rawBottom, int plotBottom, int plotHeight);

    // False when the range is empty (top and bottom coincide) or not a number: such a
    // curve is not drawn.
    bool isDrawable() const { return drawable_; }

    // bottom - ((raw x 64 - B) x H) div (T - B), division truncating toward zero; rows
    // far outside the plot are held at a distance that keeps every coordinate small.
    int row(int raw) const;

private:
    std::int64_t t_ = 0;
    std::int64_t b_ = 0;
    int bottom_ = 0;
    int height_ = 0;
    bool drawable_ = false;
};

class CurveLines {
public:
    CurveLines() = default;

    void clear();
    // Starts a curve at (x, y).
    void moveTo(int x, int y);
    // Continues the curve to (x, y); a point equal to the previous one adds nothing.
    void lineTo(int x, int y);
    // Ends the curve: the open pixel column is closed.
    void finish();

    const std::vector<QLine>& lines() const { return lines_; }

private:
    void closeColumn();

    std::vector<QLine> lines_;
    int x_ = 0; // current pixel column
    int y_ = 0; // previous point's row
    int low_ = 0; // rows reached inside the current column
    int high_ = 0;
    bool started_ = false;
};

// The curve of raw samples of measurements first..last (raws[0] is measurement first):
// the first point at x = left, every further one p = width / (last - first) pixels on,
// x truncated to the pixel column. Needs at least two samples.
void buildCurve(std::span<const std::uint8_t> raws, int left, int width, const CurveScale& scale,
                CurveLines& out);

} // namespace qz
