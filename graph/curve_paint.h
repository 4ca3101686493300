#pragma once
// Puts the lines of a curve on a painter in one colour with a one-pixel cosmetic pen.
// On a plain image the vertical runs are written straight into its pixels (the same
// pixels the pen would cover), because the raster engine spends most of a noisy curve's
// time on them, one span per row; on every other target (printer, PDF, clipped or
// transformed painters) everything goes through the pen.
#include <QColor>
#include <QLine>

#include <vector>

class QPainter;

namespace qz {

void PaintCurveLines(QPainter& painter, const std::vector<QLine>& lines, const QColor& colour);

} // namespace qz
