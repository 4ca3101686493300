#pragma once
// Printing lines of text as a plain text document: one printed line per line, in a given
// font, a new page when a page is full.
#include <QFont>
#include <QStringList>

class QPagedPaintDevice;

namespace qz {

// The font as it prints: a font sized in screen pixels keeps its size on paper (96
// pixels to the inch) instead of shrinking to the printer's pixels.
QFont printFont(const QFont& screenFont);

// False when the device cannot be painted on (a printer that does not open) or the pages
// could not be finished.
bool printLines(QPagedPaintDevice& device, const QStringList& lines, const QFont& screenFont);

} // namespace qz
