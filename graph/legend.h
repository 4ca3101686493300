#pragma once
// The legend of a graph: one entry per curve drawn, a short line in the curve's colour
// and its name and unit (with several recordings, the recording's name first), in rows
// under the time axis, where it never covers the plot. An entry too long for the room
// it may take is shortened with an ellipsis.
#include <QColor>
#include <QFontMetrics>
#include <QRect>
#include <QString>

#include <vector>

namespace qz {

class GraphView;

struct LegendEntry {
    QString text;
    QColor colour;
};

// The entries of the curves of the view, in the order they are drawn.
std::vector<LegendEntry> legendEntries(const GraphView& view);

// The text of an input's entry: "NAME (UNIT)", "Input N" for an input without a name, no
// brackets without a unit; "RECORDING: " before it when given.
QString legendText(const QString& name, const QString& unit, int input, const QString& recording = {});

struct PlacedEntry {
    QString text; // as shown, perhaps shortened
    QColor colour;
    QRect sample; // the short line in the curve's colour
    QRect textRect;
};

struct LegendPlan {
    int rows = 0;
    int rowHeight = 0;
    std::vector<PlacedEntry> entries;

    int height() const { return rows * rowHeight; }
};

// The entries in rows from left to right within left..left + width, the first row's top
// at top. No entry is wider than half the width (or the width, when it is narrow).
LegendPlan planLegend(const std::vector<LegendEntry>& entries, int left, int width, int top,
                      const QFontMetrics& fm);

} // namespace qz
