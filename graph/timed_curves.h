#pragma once
// The curves of a view placed by time (the drawing with one axis per unit, and several
// recordings in one graph): each measurement at its instant on the time axis, each raw
// value at the row its curve's scale gives it. Internal to graph/.
#include "graph/graph_layout.h"
#include "graph/graph_view.h"

#include <QPainter>

#include <array>
#include <functional>

namespace qz {

// The row of each raw value (0..255) of one curve.
using RowTable = std::array<int, 256>;

// Rows of physical values low..high filling the plot from its bottom edge up; rows far
// outside the plot are held at a distance that keeps every coordinate small.
RowTable unitRows(const Conversion& conversion, double low, double high, const GraphLayout& layout);

// Draws the curves of the view's current level that rowsOf gives rows for (false: the
// curve is not drawn), each in its colour, later ones over earlier ones.
void drawTimedCurves(QPainter& painter, const GraphLayout& layout, const GraphView& view,
                     const std::function<bool(const CurveRef&, RowTable&)>& rowsOf);

} // namespace qz
