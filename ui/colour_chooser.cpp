#include "ui/colour_chooser.h"

#include <QColorDialog>

namespace qz {

std::optional<QColor> QtColourChooser::chooseColour(QWidget* parent, const QColor& initial)
{
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

} // namespace qz
