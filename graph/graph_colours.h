#pragma once
// The colour table's values (0x00BBGGRR) as the toolkit's colours and back.
#include "recording/display_settings.h"

#include <QColor>

namespace qz {

// 0x00BBGGRR -> colour.
QColor colourFromBgr(Colour c);
// colour -> 0x00BBGGRR (the alpha channel is dropped).
Colour bgrFromColour(const QColor& c);

} // namespace qz
