#pragma once
// How an input's converter count becomes the value the readings show: the straight line
// through the input's two calibration points (count CalLow shows the minimum scale value,
// CalHigh the maximum), rounded to a two-hundredth of the scale span and written with a
// pattern that suits that step.
//
// The conversions are taken from the device image once, when the readings are prepared,
// so a later change of the image (a configuration being edited) does not reach readings
// that are already running.
#include "model/byte_view.h"
#include "model/memory_image.h"

#include <QString>

#include <array>
#include <cstdint>

namespace qz {

class ImageReader;

struct InputConversion {
    bool enabled = false; // the input's bit of the input mask
    QString name; // function name, blanks removed at the end
    QString unit; // as stored, up to 5 characters
    double low = 0; // scale values
    double high = 0;
    double slope = 0; // unit per count; 0 when both calibration counts are equal
    double offset = 0;
    QString pattern = QStringLiteral("0");

    // The value shown for a count: on the calibration line, on the scale's 1/200 grid.
    double value(std::uint8_t count) const;
    // That value with the input's pattern and the given decimal point.
    QString text(std::uint8_t count, const QString& decimalPoint) const;
    // With the locale's decimal point, as the window shows it.
    QString text(std::uint8_t count) const;
};

using InputConversions = std::array<InputConversion, mem::kInputs>;

// The conversions of the eight inputs of a device image (or any header).
InputConversions conversionsOf(const ImageReader& image);

// x on the grid of a two-hundredth of the span from low to high (ties to even); 0 when
// the span is empty.
double normalizeReading(double x, double low, double high);

// The battery line of the diagnostic display for a converter count: "Vbatt : 3.32 V".
QString batteryText(std::uint8_t count);

} // namespace qz
