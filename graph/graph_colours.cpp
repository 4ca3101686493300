#include "graph/graph_colours.h"

namespace qz {

QColor colourFromBgr(Colour c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

Colour bgrFromColour(const QColor& c)
{
    return Colour(c.red()) | Colour(c.green()) << 8 | Colour(c.blue()) << 16;
}

} // namespace qz
