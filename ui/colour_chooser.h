#pragma once
// The platform's colour chooser behind a small interface, so tests can script the
// user's choice.
#include <QColor>

#include <optional>

class QWidget;

namespace qz {

class ColourChooser {
public:
    virtual ~ColourChooser() = default;
    // The colour the user confirmed, or nothing when the chooser was cancelled.
    virtual std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial) = 0;
};

// The platform's colour dialog.
class QtColourChooser : public ColourChooser {
public:
    std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial) override;
};

} // namespace qz
