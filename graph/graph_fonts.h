#pragma once
// The fonts the program asks for by name, and the graph's text fonts.
#include <QFont>

namespace qz {

// Makes the program's font names resolve on systems that lack them ("Courier New",
// "MS Sans Serif" and "Arial Black" -> the metric-compatible Liberation fonts). Call once
// at start, before any text is drawn; calling it again does no harm.
void setUpFontSubstitutions();

// "Courier New" at the given point size, bold or regular: every text of the graph.
QFont graphFont(int pointSize, bool bold);

} // namespace qz
