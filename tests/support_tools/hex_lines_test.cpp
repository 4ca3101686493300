// The memory panel's line formats.
#include "support/print_qt.h"
#include "support_tools/hex_lines.h"

#include <gtest/gtest.h>

#include <array>
#include <numeric>
#include <vector>

namespace qz {
namespace {

TEST(PadHex, PutsZerosInFrontUpToTheWidthThenOneBlank)
{
    const struct {
        QString text;
        int width;
        QString padded;
    } cases[] = {
        {"0 ", 5, " 0000 "}, {"FF80 ", 5, " FF80 "}, {"10000 ", 5, " 10000 "}, {"A", 2, " 0A"},
        {"FF", 2, " FF"},    {"", 2, " 00"},         {"ABC", 2, " ABC"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(padHex(c.text, c.width), c.padded) << c.text.toStdString() << " " << c.width;
}

std::vector<std::uint8_t> counting(int n, int from = 0)
{
    std::vector<std::uint8_t> bytes(std::size_t(n), 0);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t(from));
    return bytes;
}

TEST(HexDumpLines, AKnown128BytesGiveEightLinesOfSixteen)
{
    const std::vector<std::uint8_t> bytes = counting(128, 0xA0 - 0x20); // 80..FF
    const QStringList want = {
        " 0180  80 81 82 83 84 85 86 87 88 89 8A 8B 8C 8D 8E 8F",
        " 0190  90 91 92 93 94 95 96 97 98 99 9A 9B 9C 9D 9E 9F",
        " 01A0  A0 A1 A2 A3 A4 A5 A6 A7 A8 A9 AA AB AC AD AE AF",
        " 01B0  B0 B1 B2 B3 B4 B5 B6 B7 B8 B9 BA BB BC BD BE BF",
        " 01C0  C0 C1 C2 C3 C4 C5 C6 C7 C8 C9 CA CB CC CD CE CF",
        " 01D0  D0 D1 D2 D3 D4 D5 D6 D7 D8 D9 DA DB DC DD DE DF",
        " 01E0  E0 E1 E2 E3 E4 E5 E6 E7 E8 E9 EA EB EC ED EE EF",
        " 01F0  F0 F1 F2 F3 F4 F5 F6 F7 F8 F9 FA FB FC FD FE FF",
    };
    EXPECT_EQ(hexDumpLines(bytes, 0x0180), want);
}

TEST(HexDumpLines, SmallValuesKeepTheirLeadingZeros)
{
    const std::vector<std::uint8_t> bytes = counting(16);
    EXPECT_EQ(hexDumpLines(bytes, 0), QStringList{" 0000  00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F"});
}

TEST(HexDumpLines, AShortDumpShowsTheBytesThereAre)
{
    EXPECT_EQ(hexDumpLines(counting(20), 0xFF70),
              QStringList({" FF70  00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F", " FF80  10 11 12 13"}));
    EXPECT_TRUE(hexDumpLines({}, 0x40).isEmpty());
}

TEST(HexDumpLines, LineAddressesWrapWhereTheLoggersDo)
{
    const std::vector<std::uint8_t> bytes(64, 0xEE);
    const QStringList wrapped = hexDumpLines(bytes, 0xFFE0, 0x10000);
    ASSERT_EQ(wrapped.size(), 4);
    EXPECT_TRUE(wrapped[1].startsWith(" FFF0  EE")) << wrapped[1].toStdString();
    EXPECT_TRUE(wrapped[2].startsWith(" 0000  EE")) << wrapped[2].toStdString();
    EXPECT_TRUE(wrapped[3].startsWith(" 0010  EE")) << wrapped[3].toStdString();
    // A file's image addresses go on past FFFF.
    EXPECT_TRUE(hexDumpLines(bytes, 0xFFE0)[2].startsWith(" 10000  EE"));
}

TEST(ClockLine, IsTheSixteenBytesAfterRtc)
{
    const std::array<std::uint8_t, 16> record = {0x04, 0x00, 0x09, 0x07, 0x14, 0x05, 0x03, 0x00,
                                                 0xC2, 0x00, 0x00, 0x00, 0x08, 0x27, 0x02, 0x01};
    EXPECT_EQ(clockLine(record), "RTC->  04 00 09 07 14 05 03 00 C2 00 00 00 08 27 02 01");
}

} // namespace
} // namespace qz
