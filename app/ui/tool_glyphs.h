#pragma once
// The tool buttons' glyphs, drawn by the program so no image files are needed.
#include <QIcon>
#include <QString>

namespace qz {

// name: the tool button's name (sbOpen, sbSave, ..., SpeedButton2 for Help).
QIcon toolGlyph(const QString& name);

} // namespace qz
