// From converter counts to the values the readings show: the calibration line, the grid
// of a two-hundredth of the scale span, the pattern, and the degenerate inputs.
#include "model/image_reader.h"
#include "realtime/input_conversion.h"
#include "support/image_builder.h"
#include "support/print_qt.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace qz::test {
namespace {

struct ConversionCase {
    const char* what;
    double low, high;
    double countLow, countHigh; // calibration counts
    std::uint8_t raw;
    const char* pattern;
    const char* shown;
};

void PrintTo(const ConversionCase& c, std::ostream* os)
{
    *os << c.what;
}

class ConversionTest : public ::testing::TestWithParam<ConversionCase> {
protected:
    void SetUp() override
    {
        previous_ = QLocale();
        QLocale::setDefault(QLocale::c());
    }
    void TearDown() override { QLocale::setDefault(previous_); }
    QLocale previous_;
};

InputConversion conversionFor(const ConversionCase& c)
{
    const QByteArray image = ImageBuilder()
                                 .input(2,
                                        {QStringLiteral("Probe"), QStringLiteral("u"), c.low, c.high,
                                         std::uint16_t(c.countLow * 256), std::uint16_t(c.countHigh * 256)})
                                 .build();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(image.constData());
    return conversionsOf(ImageReader::header({bytes, mem::kHeaderSize}))[2];
}

TEST_P(ConversionTest, ShowsTheCountOnTheScaleGrid)
{
    const ConversionCase& c = GetParam();
    const InputConversion input = conversionFor(c);
    EXPECT_TRUE(input.enabled);
    EXPECT_EQ(input.pattern, QString::fromLatin1(c.pattern));
    EXPECT_EQ(input.text(c.raw), QString::fromUtf8(c.shown));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, ConversionTest,
    ::testing::Values(
        // 128 x 100 / 255 = 50.196..., on a grid of 0.5.
        ConversionCase{"HalfOfAPercentScale", 0, 100, 0, 255, 128, "0.0", "50.0"},
        ConversionCase{"LowCalibrationCountShowsMinimum", -20, 60, 20, 220, 20, "0.0", "-20.0"},
        ConversionCase{"HighCalibrationCountShowsMaximum", -20, 60, 20, 220, 220, "0.0", "60.0"},
        ConversionCase{"CountsBeyondTheCalibrationExtrapolate", -20, 60, 20, 220, 255, "0.0", "74.0"},
        ConversionCase{"FractionalCalibrationCounts", 0, 25, 4.25, 244.5, 124, "0.00", "12.50"},
        // A step of 0.015 has two significant digits: one decimal more.
        ConversionCase{"StepWithSeveralDigits", 0, 3, 0, 255, 128, "0.000", "1.500"},
        ConversionCase{"WideScaleWholeNumbers", 0, 2000, 0, 240, 100, "0", "830"},
        ConversionCase{"ReversedScale", 100, 0, 0, 255, 128, "0.0", "50.0"},
        // Equal calibration counts: no line, the minimum scale value whatever the count.
        ConversionCase{"DegenerateCalibrationShowsMinimum", 5, 15, 100, 100, 200, "0.00", "5.00"},
        ConversionCase{"DegenerateCalibrationAtZeroCount", 5, 15, 100, 100, 0, "0.00", "5.00"},
        // No span: no grid, the input shows 0.
        ConversionCase{"DegenerateScaleShowsZero", 7, 7, 0, 255, 128, "0", "0"},
        ConversionCase{"BothDegenerateShowZero", 7, 7, 50, 50, 128, "0", "0"}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(ConversionsOfImage, TakeEnabledInputsNamesAndUnitsFromTheImage)
{
    const QByteArray image =
        ImageBuilder()
            .input(0,
                   {QStringLiteral("Air"),
                    QStringLiteral("\xb0"
                                   "C"),
                    -40, 60, 0, 255 * 256})
            .input(5, {QStringLiteral("Door"), QStringLiteral("%"), 0, 100, 0, 255 * 256})
            .build();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(image.constData());
    const InputConversions all = conversionsOf(ImageReader::header({bytes, mem::kHeaderSize}));
    for (int i = 0; i < mem::kInputs; ++i)
        EXPECT_EQ(all[std::size_t(i)].enabled, i == 0 || i == 5) << "input " << i + 1;
    EXPECT_EQ(all[0].name, "Air");
    EXPECT_EQ(all[0].unit.trimmed(), QString::fromUtf8("°C"));
    EXPECT_EQ(all[5].name, "Door");
}

struct GridCase {
    const char* what;
    double x, low, high, shown;
};

void PrintTo(const GridCase& c, std::ostream* os)
{
    *os << c.what;
}

class NormalizeTest : public ::testing::TestWithParam<GridCase> {};

TEST_P(NormalizeTest, RoundsToTheNearestStep)
{
    const GridCase& c = GetParam();
    const double tolerance = 1e-12 * std::max(1.0, std::fabs(c.shown));
    EXPECT_NEAR(normalizeReading(c.x, c.low, c.high), c.shown, tolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Grid, NormalizeTest,
    ::testing::Values(GridCase{"Below", 50.196, 0, 100, 50.0}, GridCase{"Above", 50.26, 0, 100, 50.5},
                      // Halves go to the even step.
                      GridCase{"HalfToEvenDown", 2.5, 0, 200, 2}, GridCase{"HalfToEvenUp", 3.5, 0, 200, 4},
                      GridCase{"NegativeHalfToEven", -2.5, 0, 200, -2}, GridCase{"EmptySpan", 12.3, 4, 4, 0},
                      // A quotient beyond 32 bits keeps the value's size.
                      GridCase{"FarOutsideATinySpan", 1e12, 0, 2e-3, 1e12}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(ReadingTexts, FollowTheLocaleUnlessAPointIsAskedFor)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    InputConversion c;
    c.enabled = true;
    c.low = 0;
    c.high = 100;
    c.slope = 100.0 / 255;
    c.pattern = QStringLiteral("0.0");
    EXPECT_EQ(c.text(128), "50,0");
    EXPECT_EQ(c.text(128, QStringLiteral(".")), "50.0");
    EXPECT_EQ(batteryText(169), "Vbatt : 3,32 V");
    QLocale::setDefault(previous);
}

TEST(ReadingTexts, BatteryLineOfTheDiagnosticDisplay)
{
    const QLocale previous;
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(batteryText(169), "Vbatt : 3.32 V");
    EXPECT_EQ(batteryText(168), "Vbatt : 3.30 V");
    EXPECT_EQ(batteryText(183), "Vbatt : 3.60 V");
    EXPECT_EQ(batteryText(0), "Vbatt : -0.15 V");
    QLocale::setDefault(previous);
}

} // namespace
} // namespace qz::test
