#pragma once
// The parts of a graph drawing, in the order drawGraph calls them. Internal to graph/.
#include "graph/axis_ticks.h"
#include "graph/graph_colours.h"
#include "graph/graph_draw.h"
#include "graph/graph_texts.h"
#include "recording/display_settings.h"

#include <QColor>
#include <QPainter>
#include <QString>

#include <vector>

namespace qz {

class GraphView;

// Frame, tick and cursor colour.
inline const QColor kFrameColour{0, 0, 255};

// A one-pixel pen that stays one device pixel wide on any target (printer, screen).
QPen hairPen(const QColor& colour);

// Writes text with its top-left corner at (x, y).
void drawTextAt(QPainter& painter, int x, int y, const QString& text);

void drawCurves(QPainter& painter, const GraphLayout& layout, const GraphView& view, int first, int last);
void clearMargins(QPainter& painter, const GraphTarget& target, const GraphLayout& layout);
// Draws the ticks of the time axis and returns them (those inside left..right).
std::vector<TimeTick> drawTimeTicks(QPainter& painter, const GraphLayout& layout, const GraphView& view,
                                    int first, int last);
// Draws the ticks of a value axis; with metrics and texts, adds its unit and then its
// labels to texts (nothing when labels are hidden). Returns whether a tick fell inside the
// plot.
bool drawValueAxis(QPainter* painter, const GraphLayout& layout, const GraphView& view, AxisSide side,
                   bool labelsShown, const GraphMetrics* metrics, std::vector<PlacedText>* texts);
// The footer's texts for the view starting at measurement first.
FooterTexts footerTextsOf(const GraphView& view, int first);
// Writes every placed text in its font and colour.
void drawTexts(QPainter& painter, const std::vector<PlacedText>& texts, const GraphMetrics& metrics);

} // namespace qz
