#pragma once
// Puts the lines of a curve on a painter in one colour with a one-pixel cosmetic pen.
// On a plain image the steep lines are written straight into its pixels, because the
// raster engine spends most of a noisy curve's time on them, one span per row: a vertical
// line covers the pixels the pen would, and a line to the next pixel column is split
// into two vertical runs at half its height (the pen may move the split by a pixel). On
// every other target (printer, PDF, clipped or transformed painters) everything goes
// through the pen.
#include <QColor>
#include <QLine>

#include <vector>

class QPainter;

namespace qz {

void paintCurveLines(QPainter& painter, const std::vector<QLine>& lines, const QColor& colour);

struct CurveToPaint {
    const std::vector<QLine>* lines;
    QColor colour;
};

// Several curves, each later one over the earlier ones: the pixels of PaintCurveLines on
// each in turn. When every line of a plain image's curves stays within one pixel column
// step, the columns are written once for all curves, left to right, so that the picture
// is passed through once instead of once per curve.
void paintCurves(QPainter& painter, const std::vector<CurveToPaint>& curves);

} // namespace qz
