#pragma once
// The parts of a graph drawing, in the order DrawGraph calls them. Internal to graph/.
#include "graph/graph_colours.h"
#include "graph/graph_draw.h"
#include "recording/display_settings.h"

#include <QColor>
#include <QPainter>
#include <QString>

namespace qz {

class Recording;

// Frame, tick and cursor colour.
inline const QColor kFrameColour{0, 0, 255};

// A one-pixel pen that stays one device pixel wide on any target (printer, screen).
QPen HairPen(const QColor& colour);

// Writes text with its top-left corner at (x, y).
void DrawTextAt(QPainter& painter, int x, int y, const QString& text);

void DrawCurves(QPainter& painter, const GraphLayout& layout, const Recording& recording, int first, int last);
void ClearMargins(QPainter& painter, const GraphTarget& target, const GraphLayout& layout);
void DrawTimeAxis(QPainter& painter, const GraphTarget& target, const GraphLayout& layout,
                  const Recording& recording, int first, int last);
// Returns whether a tick fell inside the plot.
bool DrawValueAxis(QPainter* painter, const GraphTarget& target, const GraphLayout& layout,
                   const Recording& recording, AxisSide side, bool labelsShown);
void DrawFooter(QPainter& painter, const GraphTarget& target, const GraphLayout& layout,
                const Recording& recording, int first);

} // namespace qz
