#include "model/values.h"

#include "locale_guard.h"
#include "support/print_qt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace qz {
namespace {

using test::LocaleGuard;

TEST(Values, BatteryVolts)
{
    EXPECT_DOUBLE_EQ(adcToVolts(0), -0.15252);
    EXPECT_NEAR(adcToVolts(168), 3.296, 0.0005);
    EXPECT_LT(adcToVolts(168), lowBatteryLimit());
    EXPECT_NEAR(adcToVolts(169), 3.316, 0.0005);
    EXPECT_GT(adcToVolts(169), lowBatteryLimit());
    EXPECT_DOUBLE_EQ(adcToVolts(255), 255 * 0.020524 - 0.15252);
    EXPECT_DOUBLE_EQ(lowBatteryLimit(), 3.3);
}

TEST(Values, Bcd)
{
    struct Case {
        int value;
        std::uint8_t bcd;
    };
    const Case cases[] = {{0, 0x00}, {9, 0x09}, {10, 0x10}, {59, 0x59}, {99, 0x99}};
    for (const Case& c : cases) {
        EXPECT_EQ(intToBcd(c.value), c.bcd) << c.value;
        EXPECT_EQ(bcdToInt(c.bcd), c.value) << c.value;
    }
    // Nibbles are not checked.
    EXPECT_EQ(bcdToInt(0x1A), 20);
    EXPECT_EQ(bcdToInt(0xFF), 165);
}

TEST(Values, BytesAndTextRoundTripEveryByte)
{
    std::uint8_t all[255];
    for (int i = 0; i < 255; ++i)
        all[i] = std::uint8_t(i + 1);
    const QString text = bytesToStr(all, 255);
    ASSERT_EQ(text.size(), 255);
    EXPECT_EQ(text.at(0xB0 - 1), QChar(0x00B0)); // degree sign
    std::uint8_t back[255] = {};
    strToBytes(text, back, 255);
    EXPECT_EQ(std::memcmp(all, back, 255), 0);
}

TEST(Values, BytesToStrStopsAtZeroAndCount)
{
    const std::uint8_t buf[] = {'A', 'B', 0, 'C', 'D'};
    EXPECT_EQ(bytesToStr(buf, 5), QStringLiteral("AB"));
    EXPECT_EQ(bytesToStr(buf, 1), QStringLiteral("A"));
    EXPECT_EQ(bytesToStr(buf, 0), QString());
    EXPECT_EQ(bytesToStr(nullptr, 5), QString());
}

TEST(Values, StrToBytesPadsShortTextAndCutsLongText)
{
    std::uint8_t buf[7];
    std::memset(buf, 0xEE, sizeof buf);
    strToBytes(QStringLiteral("ab"), buf, 5);
    const std::uint8_t padded[] = {'a', 'b', 0, 0, 0, 0xEE, 0xEE};
    EXPECT_EQ(std::memcmp(buf, padded, 7), 0);
    strToBytes(QStringLiteral("$#$E and more"), buf, 4);
    const std::uint8_t cut[] = {'$', '#', '$', 'E', 0, 0xEE, 0xEE};
    EXPECT_EQ(std::memcmp(buf, cut, 7), 0);
    strToBytes(QString(QChar(0x20AC)), buf, 1); // no single-byte form
    EXPECT_EQ(buf[0], '?');
}

TEST(Values, ChooseFloatFormat)
{
    LocaleGuard english(LocaleGuard::english());
    struct Case {
        double x;
        const char* pattern;
    };
    const Case cases[] = {
        {2, "0"},
        {2.5, "0.0"},
        {0.5, "0.0"},
        {0.55, "0.00"},
        {-0.003, "0.000"},
        {0, "0"},
        {0.1, "0.0"},
        {1, "0"},
        {12.5, "0.0"},
        {100, "0"},
        {0.01, "0.00"},
        {0.0001, "0.0000"},
        {0.00000015, "0.00000000"},
        {0.0000001, "0.0000000"},
        {0.00000001, "0"},
        {-25, "0.0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(chooseFloatFormat(c.x), QLatin1String(c.pattern)) << c.x;
}

TEST(Values, HasSeveralDigits)
{
    struct Case {
        double x;
        bool several;
    };
    const Case cases[] = {{2, false},  {2.5, true},          {0.5, false}, {0.55, true}, {100, false},
                          {101, true}, {0.000000001, false}, {-12, true},  {0, false}};
    for (const Case& c : cases)
        EXPECT_EQ(hasSeveralDigits(c.x), c.several) << c.x;
}

struct PatternCase {
    const char* pattern;
    double x;
    const char* english;
};

TEST(Values, FormatValuePatterns)
{
    const PatternCase cases[] = {
        {"0", 2.5, "3"}, // half away from zero
        {"0", -2.5, "-3"},
        {"0", 3.49, "3"},
        {"0.0", 0.05, "0.1"},
        {"0.00", 2.675, "2.68"}, // as typed, not as the binary approximation
        {"0.00", 1.005, "1.01"},
        {"0.000", -0.0004, "0.000"}, // rounds to zero: no sign
        {"0.0", -0.04, "0.0"},
        {"0.0", -0.05, "-0.1"},
        {"0.00", 0, "0.00"},
        {"0.0000000", 12.5, "12.5000000"},
        {"0", 123456789012.0, "123456789012"},
        {"0.00", 99.995, "100.00"}, // carry through every digit
        {"0", 0.4, "0"},
        {"00.0", 1.25, "01.3"},
        {"0.0#", 1.5, "1.5"},
        {"0.0#", 1.25, "1.25"},
        {"0.00000000", 1e-9, "0.00000000"},
        {"0", 1e20, "100000000000000000000"},
    };
    LocaleGuard english(LocaleGuard::english());
    for (const PatternCase& c : cases)
        EXPECT_EQ(formatValue(QLatin1String(c.pattern), c.x), QLatin1String(c.english))
            << c.pattern << " " << c.x;
}

TEST(Values, FormatValueUsesTheLocaleSeparator)
{
    LocaleGuard german(LocaleGuard::german());
    EXPECT_EQ(formatValue(QStringLiteral("0.00"), 1234.5), QStringLiteral("1234,50"));
    EXPECT_EQ(formatValueShort(12.5), QStringLiteral("12,5"));
    EXPECT_EQ(formatValueShort(3), QStringLiteral("3"));
    EXPECT_EQ(formatValue8(-1.5), QStringLiteral("-1,50000"));
}

TEST(Values, FormatValueSpecialValues)
{
    EXPECT_EQ(formatValue(QStringLiteral("0.0"), std::nan("")), QStringLiteral("NAN"));
    EXPECT_EQ(formatValue(QStringLiteral("0.0"), HUGE_VAL), QStringLiteral("INF"));
    EXPECT_EQ(formatValue(QStringLiteral("0.0"), -HUGE_VAL), QStringLiteral("-INF"));
    EXPECT_EQ(formatValueShort(std::nan("")), QStringLiteral("NAN"));
}

TEST(Values, FormatValue8AndShort)
{
    LocaleGuard english(LocaleGuard::english());
    struct Case {
        double x;
        const char* eight;
        const char* shortText;
    };
    const Case cases[] = {
        {12.5, "12.50000", "12.5"},
        {3, "3.000000", "3"},
        {123.45678, "123.4567", "123.4567"}, // cut to 8 before trimming
        {0, "0.000000", "0"},
        {-0.25, "-0.25000", "-0.25"},
        {1234567.5, "1234567.", "1234567"},
        {12345678, "12345678", "12345678"}, // 8 characters, no separator: unchanged
        {-12345678, "-1234567", "-1234567"},
        {0.00000004, "0.000000", "0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatValue8(c.x), QLatin1String(c.eight)) << c.x;
        EXPECT_EQ(formatValueShort(c.x), QLatin1String(c.shortText)) << c.x;
    }
}

TEST(Values, MinMax)
{
    EXPECT_EQ(max2(-3, 2), 2);
    EXPECT_EQ(min2(-3, 2), -3);
    EXPECT_EQ(max2(INT32_MIN, INT32_MAX), INT32_MAX);
    EXPECT_EQ(min2(7, 7), 7);
}

TEST(Values, LogarithmsAndDecades)
{
    EXPECT_EQ(log10(0), 0);
    EXPECT_EQ(log10(-5), 0);
    EXPECT_NEAR(log10(1000), 3, 1e-15);
    EXPECT_NEAR(log10(0.01), -2, 1e-15);
    EXPECT_NEAR(power10(2), 100, 1e-12);
    EXPECT_NEAR(power10(-3), 0.001, 1e-18);
    EXPECT_EQ(power10(0), 1);

    struct Case {
        double p, x, step;
    };
    const Case cases[] = {
        {1, 250, 10}, // e = 2: 10^(2 - 1)
        {0, 5, 1}, // e = 0
        {2, 12345, 100}, // e = 4
        {1, 1, 0.1}, // e = 0, x >= 1
        {1, 0.05, 100}, // e = trunc(-1.3) = -1, x < 1: 10^(1 + 1)
        {1, 0.5, 10}, // e = trunc(-0.3) = 0
        {1, -250, 0.1}, // a negative x takes the x < 1 rule with e of |x|
        {0, 0, 1},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(decadeStep(c.p, c.x), c.step, c.step * 1e-12) << c.p << " " << c.x;
}

TEST(Values, TrimBlanks)
{
    struct Case {
        const char* in;
        const char* leading;
        const char* trailing;
    };
    const Case cases[] = {
        {"   ", " ", ""},        {"", "", ""},        {"  ab  ", "ab  ", "  ab"}, {"ab", "ab", "ab"},
        {" \ta", "\ta", " \ta"}, // only code 32 is a blank
        {"a\t ", "a\t ", "a\t"}, {"  x", "x", "  x"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(trimLeadingBlanks(QLatin1String(c.in)), QLatin1String(c.leading)) << c.in;
        EXPECT_EQ(trimTrailingBlanks(QLatin1String(c.in)), QLatin1String(c.trailing)) << c.in;
    }
}

TEST(Values, InsertModelInCaption)
{
    struct Case {
        const char* model;
        const char* caption;
        const char* result;
    };
    const Case cases[] = {
        {"ZK-101 Thermo", "Quorvant Delayed Start", "Quorvant  ZK-101 Thermo Delayed Start"},
        {"  ZK-1  ", "Quorvant Configuration", "Quorvant  ZK-1 Configuration"},
        {"ZK-1", "Quorvant", "Quorvant ZK-1 "},
        {"", "Quorvant Delayed Start", "Quorvant Delayed Start"},
        {"   ", "Quorvant Delayed Start", "Quorvant Delayed Start"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(insertModelInCaption(QLatin1String(c.model), QLatin1String(c.caption)),
                  QLatin1String(c.result))
            << c.model;
}

TEST(Values, MemoryBlocks)
{
    struct Case {
        std::uint16_t code;
        int blocks;
    };
    const Case cases[] = {
        {1, 124},    {0, 60},       {0xE0, 508}, {0x21, 124}, {0x41, 188},
        {0x20, 124}, {0x60, 252},   {0x80, 316}, {0xA0, 380}, {0xC0, 444},
        {0x1F, 60},  {0xFFFF, 508}, {101, 252},  {293, 124},  {485, 508},
    };
    for (const Case& c : cases)
        EXPECT_EQ(memoryBlocks(c.code), c.blocks) << c.code;
}

} // namespace
} // namespace qz
