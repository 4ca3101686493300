#pragma once
// The graphic configuration of one graph window: which inputs are drawn, which inputs
// own the left and the right value axis, automatic or fixed range, and a colour per input
// (right click on any of the input's boxes, not on the greyed boxes of an input that was
// not recorded); the drawing (one value axis per unit, or "Each input on its own scale",
// where the axis inputs matter), grid lines, and for several recordings whether they are
// aligned at their starts. Modeless and made once; the graph window that
// opened it last is its target, and OK posts the internal message 1033 to that window,
// which then reads settings() and colours(). Cancel, Escape or closing it by its frame
// hides it and changes nothing.
#include "model/memory_image.h"
#include "recording/display_settings.h"

#include <QDialog>
#include <QPointer>

#include <array>

class QCheckBox;
class QPushButton;

namespace qz {

class ColourChooser;
class ImageReader;

class GraphicConfigDialog final : public QDialog {
    Q_OBJECT
public:
    explicit GraphicConfigDialog(ColourChooser& chooser, QWidget* parent = nullptr);

    // Takes copies of a window's choices and shows the inputs of its recording; the
    // alignment is offered for a view of several recordings.
    void setUp(const ImageReader& reader, const DisplaySettings& settings, const ColourTable& colours,
               int recordings = 1);
    // The window that receives message 1033.
    void setTarget(QObject* window) { target_ = window; }
    QObject* target() const { return target_; }

    // The choices as edited; complete after OK.
    const DisplaySettings& settings() const { return settings_; }
    const ColourTable& colours() const { return colours_; }
    // The axis inputs while editing (-1: none).
    int leftInput() const { return leftInput_; }
    int rightInput() const { return rightInput_; }

    QCheckBox* plotBox(int input) const { return plot_[std::size_t(input)]; }
    QCheckBox* leftBox(int input) const { return left_[std::size_t(input)]; }
    QCheckBox* rightBox(int input) const { return right_[std::size_t(input)]; }
    QCheckBox* autoScaleBox() const { return autoScale_; }
    QCheckBox* ownScalesBox() const { return ownScales_; }
    QCheckBox* gridBox() const { return grid_; }
    QCheckBox* alignBox() const { return align_; }

    // OK: the choices are handed to the target.
    void accept() override;

signals:
    void helpRequested(int context);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Boxes = std::array<QCheckBox*, mem::kInputs>;
    Boxes makeBoxes(QWidget* group, int firstNumber);
    void axisBoxClicked(const Boxes& boxes, int& selected, int input);
    void chooseColour(int input);
    void applyColours();

    ColourChooser& chooser_;
    DisplaySettings settings_;
    ColourTable colours_ = defaultColours();
    int leftInput_ = -1;
    int rightInput_ = -1;
    QPointer<QObject> target_;
    Boxes plot_{};
    Boxes left_{};
    Boxes right_{};
    QCheckBox* autoScale_ = nullptr;
    QCheckBox* ownScales_ = nullptr;
    QCheckBox* grid_ = nullptr;
    QCheckBox* align_ = nullptr;
};

// The Plot box's caption of a recorded input: "%-1s %-9s %-6s" of its number, name and
// unit without their surrounding blanks.
QString plotCaption(int input, const QString& name, const QString& unit);

} // namespace qz
