#pragma once
// The drawing with one value axis per unit: every curve against the axis of its unit
// (the first unit on the left, the second on the right, further ones beside them), round
// labels, light grid lines, a time axis of round instants with the date where it
// changes, and a legend under it. Internal to graph/; drawGraph chooses it.
#include "graph/graph_draw.h"
#include "graph/graph_view.h"
#include "graph/legend.h"
#include "graph/round_time.h"

#include <vector>

namespace qz {

struct UnitAxisPlan {
    ValueAxis axis;
    bool left = true; // on the left of the plot
    int lineX = 0; // x of its axis line (the frame for the first on each side)
    int width = 0; // room of its labels and ticks, outwards from the line
    double step = 0; // between its labels
    std::vector<double> values; // the labels' values, from the lowest up
    QColor colour; // of its labels and unit: the colour of its curves when they share one
};

struct UnitGraphPlan {
    GraphLayout layout;
    std::vector<UnitAxisPlan> axes;
    TimeStep timeStep;
    std::vector<double> instants; // of the time ticks
    int timeLabelTop = 0;
    LegendPlan legend;
    FooterPlan footer;
};

// Where everything goes on the target.
UnitGraphPlan planUnitGraph(const GraphTarget& target, const GraphView& view, const GraphMetrics& metrics);

// The row of a value on an axis of the plot.
int unitRow(const GraphLayout& layout, const UnitRange& range, double value);

DrawResult drawUnitGraph(QPainter& painter, const GraphTarget& target, const GraphView& view,
                         const DrawOptions& options);

} // namespace qz
