#pragma once
// Drawing a graph view onto any QPainter: the graph window's canvas, a printer
// page, the clipboard bitmap and the bitmap of Copy To all share it. GUI-free (QtGui).
//
// How to use it:
//   setUpFontSubstitutions();                   // once at program start (graph_fonts.h)
//
//   // Graph window: keep a canvas image the size of the paint box.
//   GraphTarget target = prepareCanvas(canvas, paintBoxSize, /*blank=*/true);
//   QPainter p(&canvas);
//   DrawResult r = drawGraph(p, target, view);
//   // r.layout holds left, right, top, bottom for the mouse (zoom, cursor readout);
//   // the window itself clears its active flag around the call, sets the cursor
//   // hold-off and refreshes a linked information window.
//
//   // Zoom's label test (nothing drawn): axisTickInside(r.layout, view, side).
//
//   // Print: the caller picks the printer, sets the job title (the caption), shows the
//   // busy cursor, then
//   printTo(printer, view);                   // one page; false when it cannot begin
//
//   // Clipboard and Copy To: graphBitmap(view, paintBoxSize).
//
// Everything is drawn from the data at each call; nothing is retained.
#include "graph/graph_layout.h"
#include "graph/graph_texts.h"
#include "graph/legend.h"

#include <QImage>
#include <QSize>

class QPainter;
class QPagedPaintDevice;

namespace qz {

class GraphView;

struct DrawOptions {
    // Value-axis ticks, labels and units (off only for the zoom's label test).
    bool labelsShown = true;
};

struct DrawResult {
    GraphLayout layout;
    bool leftTickInside = false; // a left-axis tick fell inside the plot
    bool rightTickInside = false;
    int footerRows = 1;
    // Every text written, where it stands (no two overlap).
    std::vector<PlacedText> texts;
    // The legend (none for one recording drawn with each input on its own scale).
    LegendPlan legend;
};

enum class AxisSide {
    Left,
    Right
};

// Draws the current level of the view on the target: frame, curves, margins, time axis,
// value axes, legend, footer and name. With one axis per unit (the default) every curve
// is drawn against its unit's axis; with each input on its own scale, as the two axis
// inputs' scales say.
DrawResult drawGraph(QPainter& painter, const GraphTarget& target, const GraphView& view,
                     const DrawOptions& options = {});

// The layout drawGraph uses for the view's current level on the target (its texts
// measured as on the screen's canvas).
GraphLayout computeLayout(const GraphTarget& target, const GraphView& view);

// Whether the axis of the side would have a tick inside the plot (computed, not drawn).
// A side without an axis input counts as inside. With one axis per unit, every axis of
// the side.
bool axisTickInside(const GraphLayout& layout, const GraphView& view, AxisSide side);

// A white canvas of the given size (96 dots per inch, so that points and pixels relate
// as on a common screen).
QImage newCanvas(QSize size);

// When blank is true, canvas becomes a new white image of paintBoxSize. Either way the
// screen target of that size is returned.
GraphTarget prepareCanvas(QImage& canvas, QSize paintBoxSize, bool blank);

// The graph drawn into a new bitmap of the given size.
QImage graphBitmap(const GraphView& view, QSize size);

// Prints the graph on one page of the device (a QPrinter, QPdfWriter, ...): the whole
// page in landscape, the upper 55 % in portrait. False when painting cannot begin.
bool printTo(QPagedPaintDevice& device, const GraphView& view);

// The same on a painter already active on a page of pageSize pixels.
void printTo(QPainter& page, QSize pageSize, bool portrait, const GraphView& view);

} // namespace qz
