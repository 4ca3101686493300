#pragma once
// What the texts and exports of a view describe: each of its recordings that has
// measurements at the zoom level shown, with its inputs drawn.
#include "recording/union_export.h"

#include <QStringList>

#include <vector>

namespace qz {

class GraphView;

// The information text of each recording shown, one after the other.
QStringList informationLines(const GraphView& view);

// The recordings shown as parts of one export, on the view's time axis; named by their
// labels when there are several.
std::vector<ExportPart> exportParts(const GraphView& view);

} // namespace qz
