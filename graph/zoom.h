#pragma once
// The zoom levels of a graph view: a rectangle dragged over the plot becomes the next
// level (its width chooses the measurements, its height the raw range of every input),
// and going back drops the deepest level. Works on the view and the layout of the
// picture the rectangle was drawn on; nothing is drawn here.
#include "graph/graph_layout.h"
#include "graph/view_record.h"

#include <QPoint>

namespace qz {

class GraphView;

// The deepest level; at this level a rectangle adds no level.
inline constexpr int kDeepestLevel = kViewLevels - 1;

// What the new level would hold: its measurements and, per input, its raw range.
struct ZoomView {
    int first = 0;
    int last = 0;
    std::array<double, mem::kInputs> top{};
    std::array<double, mem::kInputs> bottom{};
};

// The view of the rectangle between the corners a and b (in any order, already inside
// the frame) on the picture of view v: x picks the measurements
// ((x - left) x (last - first) div W + first), y the raw range between the rectangle's
// top and bottom rows.
ZoomView computeZoomView(const GraphLayout& layout, const ViewRecord& v, QPoint a, QPoint b);

enum class ZoomOutcome {
    Zoomed, // the level passed the tests and is current: draw it
    WindowTooSmall, // the level was refused: the user is told "Window too small "
    NoHeight, // the level was refused without a word (an input has no raw range)
};

struct ZoomResult {
    ZoomOutcome outcome = ZoomOutcome::Zoomed;
    bool redraw = false; // the current level's picture is to be drawn again
};

// The rectangle from start to end becomes the next level, and the level is tested: the
// value axes must keep a tick inside the plot and every input a raw range, and the view
// must span at least two measurement steps. A refused level goes back one level; at the
// deepest level nothing is added, the tests judge that level, and a refusal goes back to
// the level above it. When the axes fail, the range test then judges the level gone back
// to. Never above level 0, and "Window too small " at most once per rectangle. A click
// is no rectangle: the caller does not zoom at all when start and the last drag position
// share a column or a row.
ZoomResult zoomIn(GraphView& view, const GraphLayout& layout, QPoint start, QPoint end);

// Whether the view zooms by the measurements of its one recording, as the drawing with
// each input on its own scale does; otherwise by time (several recordings, or one value
// axis per unit), each recording showing what lies in the rectangle's time.
bool zoomsByMeasurement(const GraphView& view);

// Back to the level above; false at level 0.
bool zoomOut(GraphView& view);

} // namespace qz
