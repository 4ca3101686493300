#pragma once
// Moving about a graph besides the zoom rectangle: the wheel zooms the time axis around
// an instant (or the values around a height), a drag moves the picture, Home shows all.
// Each works on the current level in place; level 0 stays the whole and a level of its
// own is made from it first. The time never leaves the span of the recordings, and a
// view that zooms by measurement keeps whole measurements at its edges. Works on the
// view and the layout of the picture shown; nothing is drawn here.
#include "graph/graph_layout.h"

#include <QPoint>

namespace qz {

class GraphView;

// The time axis around the instant of column x: factor below 1 zooms in, above 1 out.
// False when nothing changed (at least three measurements of one recording stay shown,
// and no more than all of them).
bool zoomTimeAround(GraphView& view, const GraphLayout& layout, int x, double factor);

// The values around the height of row y, on every axis and raw range alike.
bool zoomValuesAround(GraphView& view, const GraphLayout& layout, int y, double factor);

// Moves the picture with the mouse by delta pixels: right shows earlier instants, down
// higher values.
bool pan(GraphView& view, const GraphLayout& layout, QPoint delta);

// Home: level 0, the whole of every recording. False when it is shown already.
bool showAll(GraphView& view);

} // namespace qz
