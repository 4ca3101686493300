#include "realtime/input_conversion.h"

#include "model/image_reader.h"
#include "model/number_pattern.h"
#include "model/values.h"
#include "realtime/readings_texts.h"

#include <QLocale>

#include <cmath>

namespace qz {

namespace {

constexpr double kGridSteps = 200;

} // namespace

double normalizeReading(double x, double low, double high)
{
    const double step = (high - low) / kGridSteps;
    if (step == 0)
        return 0;
    // Rounded in floating point rather than to a 32-bit integer, so that a value far
    // outside a tiny span keeps its size instead of overflowing.
    return std::nearbyint(x / step) * step;
}

double InputConversion::value(std::uint8_t count) const
{
    return normalizeReading(slope * count + offset, low, high);
}

QString InputConversion::text(std::uint8_t count, const QString& decimalPoint) const
{
    return formatNumberPattern(pattern, value(count), decimalPoint);
}

QString InputConversion::text(std::uint8_t count) const
{
    return formatValue(pattern, value(count));
}

InputConversions conversionsOf(const ImageReader& image)
{
    InputConversions all;
    for (int i = 0; i < mem::kInputs; ++i) {
        InputConversion& c = all[std::size_t(i)];
        c.enabled = image.isInputRecorded(i);
        c.name = trimTrailingBlanks(image.inputName(i));
        c.unit = image.inputUnit(i);
        c.low = image.scaleLow(i);
        c.high = image.scaleHigh(i);
        const double countLow = image.calLow(i);
        const double countHigh = image.calHigh(i);
        // Equal calibration counts give no line: the input then shows its minimum.
        c.slope = countHigh != countLow ? (c.high - c.low) / (countHigh - countLow) : 0;
        c.offset = c.low - c.slope * countLow;
        c.pattern = chooseFloatFormat((c.high - c.low) / kGridSteps);
    }
    return all;
}

QString batteryText(std::uint8_t count)
{
    return texts::batteryPrefix() + formatValue(QStringLiteral("0.00"), adcToVolts(count))
        + texts::batterySuffix();
}

} // namespace qz
