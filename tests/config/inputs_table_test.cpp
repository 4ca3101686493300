// The inputs scaling table: rows read from an image, the scale checks, and what storing
// writes.
#include "config/inputs_table.h"
#include "model/image_reader.h"
#include "model/image_writer.h"
#include "model/locale_guard.h"
#include "model/real48.h"
#include "support/print_qt.h"

#include <gtest/gtest.h>

#include <array>

namespace qz::test {
namespace {

using Image = std::array<std::uint8_t, mem::kDeviceImageSize>;

// Four inputs, the first and third recorded.
Image fourInputs()
{
    Image image{};
    ImageWriter w = ImageWriter::deviceImage({image.data(), image.size()});
    const struct {
        const char* name;
        const char* unit;
        double low, high;
    } inputs[] = {{"Air", "C", -40, 125},
                  {"Door", "%", 0, 100},
                  {"Floor", "C", 0, 0.5},
                  {"Big", "V", 123.45678, 150000000}};
    for (int i = 0; i < 4; ++i) {
        w.setInputName(i, inputs[i].name);
        w.setInputUnit(i, inputs[i].unit);
        w.setScaleLow(i, inputs[i].low);
        w.setScaleHigh(i, inputs[i].high);
    }
    w.setInputMask({1, 0, 1, 0, 0, 0, 0, 0});
    w.setInputCount(2);
    return image;
}

ConstByteView cview(const Image& image)
{
    return {image.data(), image.size()};
}
ByteView view(Image& image)
{
    return {image.data(), image.size()};
}

TEST(InputRows, ShowTheImageWithShortScaleTexts)
{
    LocaleGuard locale(QLocale::c());
    const Image image = fourInputs();
    const InputRows rows = inputRowsOf(cview(image));
    EXPECT_TRUE(rows[0].active);
    EXPECT_FALSE(rows[1].active);
    EXPECT_EQ(rows[0].function, "Air");
    EXPECT_EQ(rows[0].unit, "C");
    EXPECT_EQ(rows[0].maxText, "125");
    EXPECT_EQ(rows[0].minText, "-40");
    EXPECT_EQ(rows[1].maxText, "100");
    EXPECT_EQ(rows[2].maxText, "0.5");
    EXPECT_EQ(rows[7].function, "");
}

TEST(InputRows, TheFirstScaleThatIsNotANumberIsRefusedAndNothingStored)
{
    LocaleGuard locale(QLocale::c());
    struct Case {
        const char* name;
        int input;
        bool max;
        const char* text;
        ScaleCheck check;
        const char* message;
    } cases[] = {
        {"comma where a point is the separator", 0, true, "12,5", ScaleCheck::NotANumber,
         "12,5 Is not a valid number"},
        {"blanks around", 1, false, "  abc  ", ScaleCheck::NotANumber, "abc Is not a valid number"},
        {"empty", 2, true, "", ScaleCheck::NotANumber, " Is not a valid number"},
        {"not a number", 3, false, "nan", ScaleCheck::NotANumber, "nan Is not a valid number"},
        {"above the 6-byte real", 4, true, "1e39", ScaleCheck::OutOfRange,
         "1e39 Is too large for a scale value (largest 1.7E38)"},
        {"below it", 5, false, "-2E38", ScaleCheck::OutOfRange,
         "-2E38 Is too large for a scale value (largest 1.7E38)"},
        {"infinite", 6, true, "inf", ScaleCheck::OutOfRange,
         "inf Is too large for a scale value (largest 1.7E38)"},
        {"beyond a double", 7, false, "1e400", ScaleCheck::OutOfRange,
         "1e400 Is too large for a scale value (largest 1.7E38)"},
        {"nearer zero than the 6-byte real", 0, false, "1e-39", ScaleCheck::TooSmall,
         "1e-39 Is too small for a scale value (smallest 2.94E-39, or 0)"},
        {"nearer zero than a double", 1, true, "-1e-400", ScaleCheck::TooSmall,
         "-1e-400 Is too small for a scale value (smallest 2.94E-39, or 0)"},
    };
    for (const auto& c : cases) {
        Image image = fourInputs();
        const Image before = image;
        const InputRows shown = inputRowsOf(cview(image));
        InputRows rows = shown;
        (c.max ? rows[c.input].maxText : rows[c.input].minText) = c.text;
        std::array<InputSetting, mem::kInputs> settings;
        const InputsRefusal r = settingsFromRows(rows, shown, cview(image), QLocale(), settings);
        EXPECT_EQ(r.check, c.check) << c.name;
        EXPECT_EQ(r.input, c.input) << c.name;
        EXPECT_EQ(r.maxScale, c.max) << c.name;
        EXPECT_EQ(r.message(), c.message) << c.name;
        EXPECT_TRUE(image == before) << c.name;
    }
}

TEST(InputRows, InputsAreCheckedInOrderMaximumBeforeMinimum)
{
    LocaleGuard locale(QLocale::c());
    const Image image = fourInputs();
    const InputRows shown = inputRowsOf(cview(image));
    InputRows rows = shown;
    rows[1].maxText = "second";
    rows[0].minText = "first-min";
    rows[0].maxText = "first-max";
    std::array<InputSetting, mem::kInputs> settings;
    EXPECT_EQ(settingsFromRows(rows, shown, cview(image), QLocale(), settings).message(),
              "first-max Is not a valid number");
    rows[0].maxText = shown[0].maxText;
    EXPECT_EQ(settingsFromRows(rows, shown, cview(image), QLocale(), settings).message(),
              "first-min Is not a valid number");
}

TEST(InputRows, TheDecimalSeparatorIsTheLocales)
{
    LocaleGuard locale(LocaleGuard::german());
    double v = 0;
    EXPECT_EQ(parseScale("12,5", QLocale(), v), ScaleCheck::Ok);
    EXPECT_EQ(v, 12.5);
    EXPECT_EQ(parseScale("12.5", QLocale(), v), ScaleCheck::NotANumber);
    EXPECT_EQ(parseScale("1.000", QLocale(), v), ScaleCheck::NotANumber) << "no group separators";
    EXPECT_EQ(parseScale("1,5e-400", QLocale(), v), ScaleCheck::TooSmall);
    EXPECT_EQ(parseScale("1.5e-400", QLocale(), v), ScaleCheck::NotANumber);
    EXPECT_EQ(parseScale("-1,5E400", QLocale(), v), ScaleCheck::OutOfRange);
}

TEST(StoreInputs, NamesUnitsScalesMaskAndCount)
{
    LocaleGuard locale(QLocale::c());
    Image image = fourInputs();
    const InputRows shown = inputRowsOf(cview(image));
    InputRows rows = shown;
    for (auto& r : rows)
        r.active = false;
    rows[0].active = rows[2].active = rows[7].active = true; // inputs 1, 3 and 8
    rows[1].unit = "kPa"; // 3 of 5 characters
    rows[2].function = "Floor and ceiling"; // longer than 9
    rows[7].maxText = "  250.75 ";
    rows[7].minText = "-0.5";
    std::array<InputSetting, mem::kInputs> settings;
    ASSERT_TRUE(settingsFromRows(rows, shown, cview(image), QLocale(), settings).ok());
    storeInputSettings(view(image), settings);

    EXPECT_EQ(image[mem::kInputMask], 0x85);
    EXPECT_EQ(image[mem::kInputCount], 3);
    const std::size_t unit1 = mem::descriptorAddress(1) + mem::kInputUnit;
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&image[unit1]), 5), QByteArray("kPa\0\0", 5));
    const ImageReader reader = ImageReader::deviceImage(cview(image));
    EXPECT_EQ(reader.inputUnit(1), "kPa");
    EXPECT_EQ(reader.inputName(2), "Floor and");
    EXPECT_EQ(reader.scaleHigh(7), 250.75);
    EXPECT_EQ(reader.scaleLow(7), -0.5);
    EXPECT_EQ(reader.inputName(1), "Door") << "a disabled input keeps its name";
}

TEST(StoreInputs, NoInputCheckedStoresAnEmptyMask)
{
    Image image = fourInputs();
    const InputRows shown = inputRowsOf(cview(image));
    InputRows rows = shown;
    for (auto& r : rows)
        r.active = false;
    std::array<InputSetting, mem::kInputs> settings;
    ASSERT_TRUE(settingsFromRows(rows, shown, cview(image), QLocale(), settings).ok());
    storeInputSettings(view(image), settings);
    EXPECT_EQ(image[mem::kInputMask], 0);
    EXPECT_EQ(image[mem::kInputCount], 0);
}

TEST(StoreInputs, AScaleLeftAsShownKeepsItsExactValue)
{
    // The short form shows 8 characters: 150000000 as "15000000", 123.45678 as "123.4567".
    // Storing them back from the text would change the logger's scale.
    LocaleGuard locale(QLocale::c());
    Image image = fourInputs();
    const InputRows shown = inputRowsOf(cview(image));
    ASSERT_EQ(shown[3].maxText, "15000000");
    ASSERT_EQ(shown[3].minText, "123.4567");
    InputRows rows = shown;
    rows[3].function = "Renamed";
    std::array<InputSetting, mem::kInputs> settings;
    ASSERT_TRUE(settingsFromRows(rows, shown, cview(image), QLocale(), settings).ok());
    storeInputSettings(view(image), settings);
    const ImageReader reader = ImageReader::deviceImage(cview(image));
    EXPECT_EQ(reader.scaleHigh(3), 150000000.0);
    EXPECT_EQ(reader.scaleLow(3), ImageReader::deviceImage(cview(fourInputs())).scaleLow(3));
    EXPECT_EQ(reader.inputName(3), "Renamed");
}

TEST(StoreInputs, APartialListKeepsTheOtherInputsBytes)
{
    Image image = fourInputs();
    const Image before = image;
    InputSetting s;
    s.input = 5;
    s.active = true;
    s.function = "Six";
    s.unit = "mm";
    s.scaleHigh = 10;
    s.scaleLow = 0;
    storeInputSettings(view(image), std::span<const InputSetting>(&s, 1));
    EXPECT_EQ(image[mem::kInputMask], 0x25);
    EXPECT_EQ(image[mem::kInputCount], 3);
    for (std::size_t i = mem::kInputTable; i < mem::kHeaderSize; ++i) {
        const bool six = i >= mem::descriptorAddress(5) && i < mem::descriptorAddress(6);
        if (!six) {
            EXPECT_EQ(image[i], before[i]) << "byte " << i;
        }
    }
}

} // namespace
} // namespace qz::test
