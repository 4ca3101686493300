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

void PaintCurveLines(QPainter& painter, const std::vector<QLine>& lines, const QColor& colour);

} // namespace qz
