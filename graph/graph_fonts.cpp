#include "graph/graph_fonts.h"

#include <QStringList>

namespace qz {

void setUpFontSubstitutions()
{
    struct Pair {
        const char* family;
        const char* standIns;
    };
    static constexpr Pair kPairs[] = {
        {"Courier New", "Liberation Mono,DejaVu Sans Mono,Monospace"},
        {"MS Sans Serif", "Liberation Sans,DejaVu Sans,Sans Serif"},
        {"Arial Black", "Liberation Sans,DejaVu Sans,Sans Serif"},
    };
    for (const Pair& p : kPairs) {
        const QString family = QString::fromLatin1(p.family);
        // Replace rather than append, so that a second call adds no duplicates.
        QFont::removeSubstitutions(family);
        QFont::insertSubstitutions(family, QString::fromLatin1(p.standIns).split(u','));
    }
}

QFont graphFont(int pointSize, bool bold)
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(pointSize > 0 ? pointSize : 1);
    font.setBold(bold);
    return font;
}

} // namespace qz
