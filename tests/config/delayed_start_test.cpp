// The delayed start: what the user may type, and the clock record and date fields a
// send writes, byte for byte, on the virtual clock.
#include "config/delayed_start.h"
#include "model/byte_view.h"
#include "model/memory_image.h"
#include "support/print_qt.h"
#include "support/virtual_clock.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace qz::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Image = std::array<std::uint8_t, mem::kDeviceImageSize>;

double instant(int y, int mo, int d, int h, int mi, int s)
{
    LoggerDate t;
    t.Year = std::uint16_t(y);
    t.Month = std::uint16_t(mo);
    t.Day = std::uint16_t(d);
    t.Hour = std::uint16_t(h);
    t.Min = std::uint16_t(mi);
    t.Sec = std::uint16_t(s);
    return t.asDateTime();
}

TEST(StartDate, DatesAndTimesAsTyped)
{
    struct Case {
        const char* date;
        const char* time;
        StartCheck check;
        int year, month, day, hour, minute, second;
    } cases[] = {
        {"29/02/00", "10:00:00", StartCheck::Ok, 2000, 2, 29, 10, 0, 0}, // a leap year
        {"01/01/81", "00:00:00", StartCheck::Ok, 1981, 1, 1, 0, 0, 0},
        {"01/01/79", "23:59:59", StartCheck::Ok, 2079, 1, 1, 23, 59, 59},
        {"05/03/26", " 7:05:00", StartCheck::Ok, 2026, 3, 5, 7, 5, 0}, // a blank before the 7
        {"29/02/01", "10:00:00", StartCheck::InvalidDate, 0, 0, 0, 0, 0, 0},
        {"31/04/05", "10:00:00", StartCheck::InvalidDate, 0, 0, 0, 0, 0, 0},
        {"00/05/05", "10:00:00", StartCheck::InvalidDate, 0, 0, 0, 0, 0, 0},
        {"01/01/80", "10:00:00", StartCheck::InvalidDate, 0, 0, 0, 0, 0, 0}, // 1980 is before the first year
        {"01/13/26", "10:00:00", StartCheck::InvalidDate, 0, 0, 0, 0, 0, 0},
        {"  /  /  ", "10:00:00", StartCheck::InvalidDate, 0, 0, 0, 0, 0, 0},
        {"05/03/26", "24:00:00", StartCheck::InvalidTime, 0, 0, 0, 0, 0, 0},
        {"05/03/26", "10:60:00", StartCheck::InvalidTime, 0, 0, 0, 0, 0, 0},
        {"05/03/26", "  :  :  ", StartCheck::InvalidTime, 0, 0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        double got = -1;
        EXPECT_EQ(checkStartTexts(c.date, c.time, got), c.check) << c.date << ' ' << c.time;
        if (c.check == StartCheck::Ok) {
            EXPECT_EQ(got, instant(c.year, c.month, c.day, c.hour, c.minute, c.second)) << c.date;
        } else {
            EXPECT_EQ(got, -1) << "a refusal keeps the previous start: " << c.date;
        }
    }
    EXPECT_EQ(startRefusal(StartCheck::InvalidDate), "Invalid Date");
    EXPECT_EQ(startRefusal(StartCheck::InvalidTime), "Invalid Time");
}

TEST(StartDate, WholeYearsFollowTheSameRules)
{
    double got = 0;
    EXPECT_EQ(checkStartFields(2026, 3, 6, 8, 30, 0, got), StartCheck::Ok);
    EXPECT_EQ(got, instant(2026, 3, 6, 8, 30, 0));
    EXPECT_EQ(checkStartFields(2150, 3, 6, 8, 30, 0, got), StartCheck::InvalidDate);
    EXPECT_EQ(checkStartFields(1980, 3, 6, 8, 30, 0, got), StartCheck::InvalidDate);
    EXPECT_EQ(checkStartFields(2026, 2, 29, 8, 30, 0, got), StartCheck::InvalidDate);
    EXPECT_EQ(checkStartFields(2026, 2, 28, 8, 61, 0, got), StartCheck::InvalidTime);
}

TEST(Delay, FieldsAndTheirLimits)
{
    struct Case {
        const char* days;
        const char* hours;
        const char* minutes;
        DelayCheck check;
        const char* message;
        double delay;
    } cases[] = {
        {"30", "23", "59", DelayCheck::Ok, "", 30 + 23 / 24.0 + 59 / 1440.0},
        {"00", "00", "00", DelayCheck::Ok, "", 0},
        {"1", "2", "3", DelayCheck::Ok, "", 1 + 2 / 24.0 + 3 / 1440.0},
        {"31", "00", "00", DelayCheck::DaysOutOfRange, "The delay can be at most 30 days", 0},
        {"00", "24", "00", DelayCheck::HoursOutOfRange, "The delay hours must be 0 to 23", 0},
        {"00", "00", "60", DelayCheck::MinutesOutOfRange, "The delay minutes must be 0 to 59", 0},
        {"", "00", "00", DelayCheck::NotANumber, "'' is not a number of days, hours or minutes", 0},
        {"00", "1x", "00", DelayCheck::NotANumber, "'1x' is not a number of days, hours or minutes", 0},
    };
    for (const auto& c : cases) {
        double delay = -1;
        QString bad;
        const DelayCheck got = checkDelayTexts(c.days, c.hours, c.minutes, delay, bad);
        EXPECT_EQ(got, c.check) << c.days << ':' << c.hours << ':' << c.minutes;
        EXPECT_EQ(delayRefusal(got, bad), c.message);
        if (c.check == DelayCheck::Ok) {
            EXPECT_NEAR(delay, c.delay, 1e-9) << c.days;
        } else {
            EXPECT_EQ(delay, -1) << "a refusal keeps the previous delay";
        }
    }
}

// The clock record, YearBits, YearBcd and StartStamp a send writes.
struct Written {
    Bytes clock;
    std::uint8_t yearBits;
    std::uint8_t yearBcd;
    Bytes stamp;
};

Written written(const Image& image)
{
    return {Bytes(image.begin() + mem::kClockInImage, image.end()), image[mem::kYearBits],
            image[mem::kYearBcd],
            Bytes(image.begin() + mem::kStartStamp, image.begin() + mem::kStartStamp + 6)};
}

TEST(ProgramTimeVars, ClockRecordAndDateFieldsForEachKindOfStart)
{
    struct Case {
        const char* name;
        bool delayed;
        DelayedStart plan;
        Bytes clock;
        Bytes stamp;
    } cases[] = {
        {"immediate",
         false,
         {},
         {0x04, 0x00, 0x09, 0x07, 0x14, 0x85, 0x03, 0x00, 0xC2, 0x00, 0x09, 0x07, 0x14, 0x05, 0x03, 0x01},
         {26, 3, 5, 14, 7, 9}},
        {"at a date",
         true,
         {DelayedStart::Mode::Date, instant(2026, 3, 6, 8, 30, 0), 0},
         {0x04, 0x00, 0x09, 0x07, 0x14, 0x85, 0x03, 0x00, 0xB0, 0x00, 0x00, 0x30, 0x08, 0x06, 0x03, 0x01},
         {26, 3, 6, 8, 30, 0}},
        {"after a delay",
         true,
         {DelayedStart::Mode::Delay, 0, 1 + 2 / 24.0 + 3 / 1440.0},
         {0x04, 0x00, 0x09, 0x07, 0x14, 0x85, 0x03, 0x00, 0xB0, 0x00, 0x09, 0x10, 0x16, 0x06, 0x03, 0x01},
         {26, 3, 6, 16, 10, 9}},
    };
    for (const auto& c : cases) {
        VirtualClock clock; // 2026-03-05 14:07:09
        Image image{};
        std::fill(image.begin(), image.end(), 0xEE);
        const StartProgram p = programTimeVars({image.data(), image.size()}, clock, c.delayed, c.plan);
        EXPECT_TRUE(p.inFuture) << c.name;
        const Written w = written(image);
        EXPECT_EQ(w.clock, c.clock) << c.name;
        EXPECT_EQ(w.yearBits, 0x80) << c.name; // 2026 mod 4 = 2
        EXPECT_EQ(w.yearBcd, 0x26) << c.name;
        EXPECT_EQ(w.stamp, c.stamp) << c.name;
        // Nothing else of the header changes.
        for (std::size_t i = 0; i < mem::kHeaderSize; ++i) {
            const bool field = i == mem::kYearBits || i == mem::kYearBcd
                || (i >= mem::kStartStamp && i < mem::kStartStamp + 6);
            if (!field) {
                EXPECT_EQ(image[i], 0xEE) << c.name << " byte " << i;
            }
        }
    }
}

TEST(ProgramTimeVars, TheYearTravelsInTwoBitsAndInBcd)
{
    struct Case {
        int year;
        std::uint8_t day;
        std::uint8_t yearBits;
        std::uint8_t yearBcd;
    } cases[] = {{2024, 0x15, 0x00, 0x24},
                 {2025, 0x55, 0x40, 0x25},
                 {2027, 0xD5, 0xC0, 0x27},
                 {2100, 0x15, 0x00, 0x00}};
    for (const auto& c : cases) {
        VirtualClock clock(QDateTime(QDate(c.year, 3, 15), QTime(14, 7, 9)));
        Image image{};
        programTimeVars({image.data(), image.size()}, clock, false, {});
        EXPECT_EQ(image[mem::kClockInImage + mem::kClockDay], c.day) << c.year;
        EXPECT_EQ(image[mem::kClockInImage + mem::kClockMonth], 0x03) << c.year;
        EXPECT_EQ(image[mem::kYearBits], c.yearBits) << c.year;
        EXPECT_EQ(image[mem::kYearBcd], c.yearBcd) << c.year;
        // The start repeats the PC time without the year bits.
        EXPECT_EQ(image[mem::kClockInImage + 13], 0x15) << c.year;
    }
}

TEST(ProgramTimeVars, ADelayedStartMustLieAfterThePcTime)
{
    struct Case {
        const char* name;
        int pcMs; // milliseconds past 14:07:09
        DelayedStart plan;
        bool inFuture;
    } cases[] = {
        {"no delay", 0, {DelayedStart::Mode::Delay, 0, 0}, false},
        {"no delay, later in the second", 500, {DelayedStart::Mode::Delay, 0, 0}, false},
        {"one minute", 999, {DelayedStart::Mode::Delay, 0, 1 / 1440.0}, true},
        {"the PC time itself", 0, {DelayedStart::Mode::Date, instant(2026, 3, 5, 14, 7, 9), 0}, false},
        {"the next second", 500, {DelayedStart::Mode::Date, instant(2026, 3, 5, 14, 7, 10), 0}, true},
        {"yesterday", 0, {DelayedStart::Mode::Date, instant(2026, 3, 4, 14, 7, 9), 0}, false},
        {"never confirmed", 0, {}, false}, // 30 December 1899
    };
    for (const auto& c : cases) {
        VirtualClock clock(QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9, c.pcMs)));
        Image image{};
        const StartProgram p = programTimeVars({image.data(), image.size()}, clock, true, c.plan);
        EXPECT_EQ(p.inFuture, c.inFuture) << c.name;
        // The image is filled all the same.
        EXPECT_EQ(image[mem::kClockInImage + mem::kRunState], mem::kRunWaiting) << c.name;
    }
}

TEST(StartLimit, TheAlarmHoldsNoYearSoAStartIsLessThanAYearAhead)
{
    // The limit is the same day and time one year after now; 29 February goes to 28 February.
    struct Case {
        const char* name;
        double now;
        double start;
        bool within;
        const char* limit; // as the command line shows it
    } cases[] = {
        {"a second before the limit", instant(2026, 3, 5, 14, 7, 9), instant(2027, 3, 5, 14, 7, 8), true,
         "2027-03-05 14:07:09"},
        {"the limit itself", instant(2026, 3, 5, 14, 7, 9), instant(2027, 3, 5, 14, 7, 9), false,
         "2027-03-05 14:07:09"},
        {"the last second of 2099", instant(2026, 3, 5, 14, 7, 9), instant(2099, 12, 31, 23, 59, 59), false,
         "2027-03-05 14:07:09"},
        {"next summer", instant(2026, 3, 5, 14, 7, 9), instant(2026, 6, 1, 0, 0, 0), true,
         "2027-03-05 14:07:09"},
        {"from a leap day", instant(2028, 2, 29, 12, 0, 0), instant(2029, 2, 28, 12, 0, 0), false,
         "2029-02-28 12:00:00"},
        {"to a leap day", instant(2027, 3, 1, 10, 0, 0), instant(2028, 2, 29, 10, 0, 0), true,
         "2028-03-01 10:00:00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(withinStartLimit(c.start, c.now), c.within) << c.name;
        EXPECT_EQ(startTooFarRefusal(startLimit(c.now), QStringLiteral("yyyy-MM-dd hh:mm:ss")),
                  QStringLiteral("The Start Date/Time is too far ahead\rIt must be before ") + c.limit)
            << c.name;
    }
    VirtualClock clock(QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9)));
    Image image{};
    const DelayedStart tooFar{DelayedStart::Mode::Date, instant(2030, 6, 1, 0, 0, 0), 0};
    const StartProgram p = programTimeVars({image.data(), image.size()}, clock, true, tooFar);
    EXPECT_TRUE(p.inFuture);
    EXPECT_FALSE(p.withinLimit);
    EXPECT_TRUE(programTimeVars({image.data(), image.size()}, clock, true,
                                {DelayedStart::Mode::Delay, 0, 30 + 23 / 24.0})
                    .withinLimit)
        << "the longest delay";
}

} // namespace
} // namespace qz::test
