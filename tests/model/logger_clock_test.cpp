// The logger's clock with its year, and its drift from the computer's clock.
#include "model/logger_clock.h"
#include "model/memory_image.h"
#include "model/values.h"

#include <gtest/gtest.h>

#include <array>

namespace qz {
namespace {

// A clock record for the time, with only the year's last two bits.
std::array<std::uint8_t, mem::kClockRecordSize> record(int year, int month, int day, int hour, int minute,
                                                       int second, int hundredths = 0)
{
    std::array<std::uint8_t, mem::kClockRecordSize> r{};
    r[mem::kClockHundredths] = intToBcd(hundredths);
    r[mem::kClockSecond] = intToBcd(second);
    r[mem::kClockMinute] = intToBcd(minute);
    r[mem::kClockHour] = intToBcd(hour);
    r[mem::kClockDay] = std::uint8_t(intToBcd(day) | (year % 4) << 6);
    r[mem::kClockMonth] = intToBcd(month);
    return r;
}

TEST(LoggerClock, TheYearComesFromTheHeaderWhenItAgreesElseFromTheComputersYear)
{
    const struct {
        const char* name;
        int clockYear; // whose two bits the record carries
        std::uint8_t yearBcd;
        int computerYear;
        int year;
    } cases[] = {
        {"as configured", 2026, 0x26, 2026, 2026},
        {"configured years ago, still agrees", 2026, 0x22, 2031, 2022},
        {"the year passed since", 2027, 0x26, 2026, 2027},
        {"the computer is a year ahead", 2026, 0x25, 2027, 2026},
        {"no year in the header", 2027, 0x00, 2026, 2027},
        {"a header year that is no BCD", 2025, 0xAB, 2026, 2025},
        {"last century", 1999, 0x99, 2026, 1999},
    };
    for (const auto& c : cases) {
        const auto r = record(c.clockYear, 2, 28, 23, 59, 58, 50);
        const std::optional<QDateTime> t = loggerClockTime(r, c.yearBcd, c.computerYear);
        ASSERT_TRUE(t) << c.name;
        EXPECT_EQ(*t, QDateTime(QDate(c.year, 2, 28), QTime(23, 59, 58, 500), Qt::UTC)) << c.name;
    }
}

TEST(LoggerClock, ARecordThatIsNoDateHasNoTime)
{
    auto month13 = record(2026, 1, 5, 10, 0, 0);
    month13[mem::kClockMonth] = 0x13;
    auto notBcd = record(2026, 1, 5, 10, 0, 0);
    notBcd[mem::kClockMinute] = 0x5A;
    // 29 February in a year that the bits say is not a leap year.
    auto leap = record(2027, 2, 29, 10, 0, 0);
    for (const auto& r : {month13, notBcd, leap})
        EXPECT_FALSE(loggerClockTime(r, 0x27, 2027));
    EXPECT_FALSE(loggerClockTime(std::span<const std::uint8_t>(month13.data(), 6), 0x26, 2026)) << "cut short";
}

TEST(LoggerClock, DriftIsTheWallClockDifferenceInWholeSeconds)
{
    const QDateTime logger(QDate(2026, 3, 29), QTime(3, 0, 0), Qt::UTC);
    const struct {
        QDateTime computer;
        std::int64_t seconds;
        const char* text;
    } cases[] = {
        {QDateTime(QDate(2026, 3, 29), QTime(3, 0, 0, 400)), 0, "in step with this computer's clock"},
        {QDateTime(QDate(2026, 3, 29), QTime(2, 59, 57, 400)), 3, "3 s ahead of this computer's clock"},
        {QDateTime(QDate(2026, 3, 29), QTime(4, 2, 5)), -3725, "1 h 2 min 5 s behind this computer's clock"},
        {QDateTime(QDate(2026, 3, 29), QTime(3, 1, 0)), -60, "1 min 0 s behind this computer's clock"},
        {QDateTime(QDate(2025, 2, 22), QTime(2, 59, 59)), 400 * 86400 + 1,
         "400 d 0 h 0 min 1 s ahead of this computer's clock"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(clockDriftSeconds(logger, c.computer), c.seconds) << c.text;
        EXPECT_EQ(clockDriftText(c.seconds), c.text);
    }
}

} // namespace
} // namespace qz
