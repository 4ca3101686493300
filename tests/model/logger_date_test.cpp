#include "model/datetime_number.h"
#include "model/logger_date.h"

#include "locale_guard.h"
#include "support/print_qt.h"
#include "support/virtual_clock.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>

namespace qz {
namespace {

using test::LocaleGuard;

LoggerDate make(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    LoggerDate t;
    t.Year = std::uint16_t(y);
    t.Month = std::uint16_t(mo);
    t.Day = std::uint16_t(d);
    t.Hour = std::uint16_t(h);
    t.Min = std::uint16_t(mi);
    t.Sec = std::uint16_t(s);
    t.MSec = std::uint16_t(ms);
    return t;
}

// A data block whose bytes 1..6 carry the BCD stamp.
std::array<std::uint8_t, 128> block(std::uint8_t yy, std::uint8_t mo, std::uint8_t d, std::uint8_t h,
                                    std::uint8_t mi, std::uint8_t s)
{
    std::array<std::uint8_t, 128> b{};
    b[1] = yy;
    b[2] = mo;
    b[3] = d;
    b[4] = h;
    b[5] = mi;
    b[6] = s;
    return b;
}

TEST(LoggerDate, StartsAt1980)
{
    const LoggerDate t;
    EXPECT_EQ(t, make(1980, 1, 1));
    EXPECT_EQ(t.dateText(), QStringLiteral("01/01/80"));
    EXPECT_EQ(t.timeText(), QStringLiteral("00:00:00"));
}

TEST(LoggerDate, LeapYearsAndMonthLengths)
{
    struct Case {
        int year, month, days;
    };
    const Case cases[] = {
        {2000, 2, 29}, {1900, 2, 28},  {2004, 2, 29},  {2001, 2, 28}, {2100, 2, 28},  {2001, 1, 31},
        {2001, 4, 30}, {2001, 12, 31}, {2001, 11, 30}, {2001, 0, -1}, {2001, 13, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(make(c.year, c.month, 1).daysInMonth(), c.days) << c.year << "-" << c.month;
    EXPECT_TRUE(make(2000, 1, 1).isLeapYear());
    EXPECT_FALSE(make(1900, 1, 1).isLeapYear());
}

TEST(LoggerDate, DaySteps)
{
    struct Case {
        LoggerDate from, next;
    };
    const Case cases[] = {
        {make(2000, 2, 28), make(2000, 2, 29)}, {make(1900, 2, 28), make(1900, 3, 1)},
        {make(2001, 12, 31), make(2002, 1, 1)}, {make(2004, 2, 29), make(2004, 3, 1)},
        {make(2005, 4, 30), make(2005, 5, 1)},  {make(2005, 1, 15), make(2005, 1, 16)},
    };
    for (const Case& c : cases) {
        LoggerDate t = c.from;
        t.nextDay();
        EXPECT_EQ(t.dateText(), c.next.dateText()) << c.from.dateText().toStdString();
        EXPECT_EQ(t, c.next);
        t.previousDay();
        EXPECT_EQ(t, c.from) << c.from.dateText().toStdString();
    }
}

TEST(LoggerDate, IncrementsCarry)
{
    LoggerDate t = make(2001, 1, 1, 23, 59, 59);
    EXPECT_TRUE(t.incSecond());
    EXPECT_EQ(t.Sec, 0);
    EXPECT_TRUE(t.incMinute());
    EXPECT_TRUE(t.incHour());
    EXPECT_EQ(t, make(2001, 1, 1, 0, 0, 0));
    EXPECT_FALSE(t.incSecond());
    EXPECT_FALSE(t.incMinute());
    EXPECT_FALSE(t.incHour());
    EXPECT_EQ(t, make(2001, 1, 1, 1, 1, 1));
}

TEST(LoggerDate, DateTimeNumbers)
{
    struct Case {
        LoggerDate date;
        double number;
    };
    const Case cases[] = {
        {make(1899, 12, 30), 0.0},       {make(1900, 1, 1), 2.0},        {make(2000, 1, 1, 12), 36526.5},
        {make(2000, 1, 1, 6), 36526.25}, {make(1899, 12, 29, 6), -1.25},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(c.date.asDateTime(), c.number) << c.number;
        LoggerDate back;
        ASSERT_TRUE(back.setDateTime(c.number));
        EXPECT_EQ(back, c.date) << c.number;
    }
    // MSec is left out of AsDateTime.
    EXPECT_DOUBLE_EQ(make(2000, 1, 1, 6, 0, 0, 500).asDateTime(), 36526.25);
}

TEST(LoggerDate, SetDateTimeRoundsToTheMillisecond)
{
    LoggerDate t;
    ASSERT_TRUE(t.setDateTime(36526.0 + 0.5 / 86400000.0 * 0.999));
    EXPECT_EQ(t, make(2000, 1, 1));
    ASSERT_TRUE(t.setDateTime(36526.999999999999));
    EXPECT_EQ(t, make(2000, 1, 2));
    ASSERT_TRUE(t.setDateTime(36526.0 + 1234.0 / 86400000.0));
    EXPECT_EQ(t, make(2000, 1, 1, 0, 0, 1, 234));
}

TEST(LoggerDate, ImpossibleValuesAreRefused)
{
    LoggerDate t = make(2001, 5, 6);
    for (double v : {std::nan(""), HUGE_VAL, 1e12, -1e12}) {
        EXPECT_FALSE(t.setDateTime(v)) << v;
        EXPECT_EQ(t, make(2001, 5, 6));
    }
    double out = 0;
    EXPECT_FALSE(make(2001, 13, 1).tryAsDateTime(out));
    EXPECT_FALSE(make(2001, 2, 29).tryAsDateTime(out));
    EXPECT_FALSE(make(2001, 2, 1, 24).tryAsDateTime(out));
    EXPECT_FALSE(make(2001, 2, 1, 0, 60).tryAsDateTime(out));
    EXPECT_EQ(make(2001, 2, 30).asDateTime(), 0.0);
    EXPECT_FALSE(encodeDate(0, 1, 1, out));
    EXPECT_FALSE(encodeTime(0, 0, 0, 1000, out));
}

TEST(LoggerDate, QtConversions)
{
    const QDateTime t(QDate(2026, 3, 5), QTime(14, 7, 9, 250));
    const double n = toDateTimeNumber(t);
    EXPECT_EQ(fromDateTimeNumber(n), t);
    EXPECT_FALSE(fromDateTimeNumber(std::nan("")).isValid());
}

TEST(LoggerDate, NowComesFromTheClock)
{
    test::VirtualClock clock(QDateTime(QDate(2024, 3, 15), QTime(14, 7, 9, 321)));
    LoggerDate t;
    t.setNow(clock);
    EXPECT_EQ(t, make(2024, 3, 15, 14, 7, 9, 321));
    EXPECT_EQ(LoggerDate::nowDateText(clock), QStringLiteral("15/03/24"));
    EXPECT_EQ(LoggerDate::nowTimeText(clock), QStringLiteral("14:07:09"));
    clock.advance(1000);
    EXPECT_EQ(LoggerDate::nowTimeText(clock), QStringLiteral("14:07:10"));
}

TEST(LoggerDate, StampFields)
{
    const LoggerDate t = make(2027, 3, 15, 14, 7, 9);
    std::uint8_t stamp[6];
    t.toStartStamp(stamp);
    const std::uint8_t expected[6] = {27, 3, 15, 14, 7, 9};
    EXPECT_EQ(std::memcmp(stamp, expected, 6), 0);
    EXPECT_EQ(t.yearBits(), 0xC0);
    EXPECT_EQ(make(2024, 1, 1).yearBits(), 0x00);
    EXPECT_EQ(make(2025, 1, 1).yearBits(), 0x40);
    EXPECT_EQ(t.yearOfCentury(), 27);
    EXPECT_EQ(t.monthByte(), 3);
    EXPECT_EQ(t.dayByte(), 15);
    EXPECT_EQ(t.hourByte(), 14);
    EXPECT_EQ(t.minuteByte(), 7);
    EXPECT_EQ(t.secondByte(), 9);
}

TEST(LoggerDate, SetFromStampReadsBcdAndTheCentury)
{
    struct Case {
        std::uint8_t yy;
        int year;
    };
    const Case cases[] = {{0x79, 2079}, {0x80, 1980}, {0x00, 2000}, {0x99, 1999}, {0x26, 2026}};
    for (const Case& c : cases) {
        LoggerDate t;
        t.MSec = 7;
        const auto b = block(c.yy, 0x12, 0x31, 0x23, 0x59, 0x58);
        t.setFromStamp(b);
        EXPECT_EQ(t, make(c.year, 12, 31, 23, 59, 58)) << int(c.yy);
    }
    LoggerDate t = make(2001, 1, 1);
    const std::uint8_t shortBlock[3] = {0, 0x01, 0x02};
    t.setFromStamp(shortBlock);
    EXPECT_EQ(t, make(2001, 1, 1));
}

TEST(LoggerDate, Continuity)
{
    const LoggerDate value = make(2026, 3, 5, 14, 0, 0);
    struct Case {
        std::array<std::uint8_t, 128> block;
        StampContinuity found;
        const char* what;
    };
    const Case cases[] = {
        {block(0x26, 0x03, 0x05, 0x14, 0x00, 0x00), StampContinuity::Continues, "equal"},
        {block(0x26, 0x03, 0x10, 0x14, 0x00, 0x00), StampContinuity::Continues, "5 days later"},
        {block(0x26, 0x03, 0x10, 0x14, 0x59, 0x59), StampContinuity::Continues, "5 days 59:59 later"},
        {block(0x26, 0x03, 0x10, 0x15, 0x00, 0x00), StampContinuity::Breaks, "5 days 1 hour later"},
        {block(0x26, 0x03, 0x05, 0x13, 0x59, 0x59), StampContinuity::Breaks, "1 second earlier"},
        {block(0x25, 0x03, 0x05, 0x14, 0x00, 0x00), StampContinuity::Breaks, "a year earlier"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(value.continuity(c.block), c.found) << c.what;
}

// The download warns "Measurements date error" for these (tests/link/download_test.cpp).
TEST(LoggerDate, ContinuityOfImpossibleDates)
{
    struct Case {
        LoggerDate value;
        std::array<std::uint8_t, 128> block;
        const char* what;
    };
    const Case cases[] = {
        {make(2026, 3, 5), block(0x26, 0x13, 0x05, 0x14, 0, 0), "month 13 in the stamp"},
        {make(2026, 3, 5), block(0x26, 0x02, 0x30, 0x14, 0, 0), "30 February in the stamp"},
        {make(2026, 3, 5), block(0x26, 0x03, 0x05, 0x14, 0x60, 0), "minute 60 in the stamp"},
        {make(2026, 3, 32), block(0x26, 0x03, 0x05, 0x14, 0, 0), "day 32 in the value"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.value.continuity(c.block), StampContinuity::ImpossibleDate) << c.what;
    const std::uint8_t noStamp[6] = {0, 0x26, 0x03, 0x05, 0x14, 0};
    EXPECT_EQ(make(2026, 3, 5).continuity(noStamp), StampContinuity::ImpossibleDate);
}

TEST(LoggerDate, AddIntervalAndSpan)
{
    struct Case {
        LoggerDate from;
        int seconds;
        LoggerDate to;
    };
    const Case cases[] = {
        {make(2001, 1, 1, 10, 0, 0), 90, make(2001, 1, 1, 10, 1, 30)},
        {make(2001, 1, 1, 10, 0, 0), 7200, make(2001, 1, 1, 11, 0, 0)},
        {make(2001, 1, 1, 10, 0, 0), 3600, make(2001, 1, 1, 11, 0, 0)},
        {make(2001, 1, 1, 10, 0, 0), 3599, make(2001, 1, 1, 10, 59, 59)},
        {make(2001, 12, 31, 23, 59, 30), 45, make(2002, 1, 1, 0, 0, 15)},
        {make(2001, 1, 1, 10, 0, 0, 250), 1, make(2001, 1, 1, 10, 0, 1, 250)},
    };
    for (const Case& c : cases) {
        LoggerDate t = c.from;
        t.addInterval(c.seconds);
        EXPECT_EQ(t, c.to) << c.seconds;
    }

    EXPECT_DOUBLE_EQ(LoggerDate::span(0, 0, 5, 1, 0, 0), 5 + 1.0 / 24);
    EXPECT_NEAR(LoggerDate::span(0, 0, 30, 23, 59, 0), 30.9993, 0.0001);
    EXPECT_DOUBLE_EQ(LoggerDate::span(0, 1, 0, 0, 0, 0), 31);
    double out = -1;
    EXPECT_EQ(LoggerDate::trySpan(0, 0, 31, 0, 0, 0, out), LoggerDate::SpanStatus::BadDate);
    EXPECT_EQ(LoggerDate::trySpan(0, 0, 1, 24, 0, 0, out), LoggerDate::SpanStatus::BadTime);
    EXPECT_EQ(LoggerDate::trySpan(0, 0, 1, 0, 60, 0, out), LoggerDate::SpanStatus::BadTime);
    EXPECT_EQ(out, -1);
    EXPECT_EQ(LoggerDate::span(0, 0, 31, 0, 0, 0), 0.0);

    LoggerDate t = make(2001, 1, 1, 10, 0, 0, 999);
    t.addSpan(LoggerDate::span(0, 0, 1, 2, 3, 0));
    EXPECT_EQ(t, make(2001, 1, 2, 12, 3, 0)); // whole seconds
}

TEST(LoggerDate, RoundUp)
{
    struct Case {
        int mode;
        LoggerDate from;
        LoggerDate limit;
        LoggerDate result;
        const char* what;
    };
    const LoggerDate far = make(2030, 1, 1);
    const Case cases[] = {
        {0, make(2001, 3, 5, 0, 0, 0), far, make(2001, 3, 5), "midnight stays"},
        {0, make(2001, 3, 5, 0, 0, 1), far, make(2001, 3, 6), "next midnight"},
        {0, make(2001, 12, 31, 12, 0, 0), far, make(2002, 1, 1), "into the next year"},
        {1, make(2001, 3, 5, 10, 0, 0), far, make(2001, 3, 5, 10), "full hour stays"},
        {1, make(2001, 3, 5, 10, 0, 1), far, make(2001, 3, 5, 11), "next hour"},
        {1, make(2001, 3, 5, 23, 30, 0), far, make(2001, 3, 6, 0), "next day"},
        {2, make(2001, 3, 5, 10, 12, 5), make(2001, 3, 5, 10, 30), make(2001, 3, 5, 10, 13),
         "hour beyond limit: next minute"},
        {2, make(2001, 3, 5, 10, 12, 5), make(2001, 3, 5, 11, 0), make(2001, 3, 5, 11), "hour at the limit"},
        {2, make(2001, 3, 5, 10, 12, 0), make(2001, 3, 5, 10, 30), make(2001, 3, 5, 10, 12),
         "full minute stays"},
        {2, make(2001, 3, 5, 23, 59, 30), make(2001, 3, 5, 23, 59, 50), make(2001, 3, 6, 0),
         "minute carries into the next day"},
        {3, make(2001, 3, 5, 10, 12, 5), make(2001, 3, 5, 11, 0), make(2001, 3, 5, 11), "hour within limit"},
        {3, make(2001, 3, 5, 10, 12, 5), make(2001, 3, 5, 10, 30), make(2001, 3, 5, 10, 13),
         "minute within limit"},
        {3, make(2001, 3, 5, 10, 12, 5), make(2001, 3, 5, 10, 12, 50), make(2001, 3, 5, 10, 12, 10),
         "ten seconds"},
        {3, make(2001, 3, 5, 10, 12, 5), make(2001, 3, 5, 10, 12, 7), make(2001, 3, 5, 10, 12, 7),
         "stops at the limit"},
        {3, make(2001, 3, 5, 23, 59, 55), make(2001, 3, 5, 23, 59, 58), make(2001, 3, 5, 23, 59, 58),
         "limit before the carry"},
        {3, make(2001, 3, 5, 10, 12, 5), make(2001, 3, 5, 10, 12, 5), make(2001, 3, 5, 10, 12, 5),
         "at the limit already"},
        {7, make(2001, 3, 5, 10, 12, 5), far, make(2001, 3, 5, 10, 12, 5), "other mode"},
    };
    for (const Case& c : cases) {
        LoggerDate t = c.from;
        const double r = t.roundUp(c.mode, c.limit.asDateTime());
        EXPECT_EQ(t, c.result) << c.what;
        EXPECT_DOUBLE_EQ(r, c.result.asDateTime()) << c.what;
    }
    // MSec is kept and ignored.
    LoggerDate t = make(2001, 3, 5, 10, 0, 0, 400);
    t.roundUp(1, far.asDateTime());
    EXPECT_EQ(t, make(2001, 3, 5, 10, 0, 0, 400));
}

TEST(LoggerDate, ExportStamp)
{
    const LoggerDate t = make(2001, 3, 5, 14, 7, 9, 500);
    const double n = make(2001, 3, 5, 14, 7, 9).asDateTime() + 0.5 / 86400;
    {
        LocaleGuard english(LocaleGuard::english());
        EXPECT_EQ(t.exportStamp(0), QStringLiteral("05/03/01 14:07:09\t"));
        EXPECT_EQ(t.exportStamp(1), QString::number(n, 'f', 9) + QLatin1Char('\t'));
        EXPECT_EQ(t.exportStamp(1), QStringLiteral("36955.588304398\t"));
        EXPECT_EQ(t.exportStamp(2), QStringLiteral("36955.588304398;"));
        EXPECT_EQ(t.exportStamp(3), QStringLiteral("14:07:09\t"));
        EXPECT_EQ(t.exportStamp(4), QStringLiteral("05/03/01\t"));
        // ISO 8601 local time: whole seconds, four-digit year, no separator after it.
        EXPECT_EQ(t.exportStamp(5), QStringLiteral("2001-03-05T14:07:09"));
        EXPECT_EQ(t.exportStamp(6), QString());
        EXPECT_EQ(t.exportStamp(-1), QString());
    }
    LocaleGuard german(LocaleGuard::german());
    EXPECT_EQ(t.exportStamp(1), QStringLiteral("36955,588304398\t"));
    EXPECT_EQ(t.exportStamp(2), QStringLiteral("36955,588304398;"));
    EXPECT_EQ(t.exportStamp(5), QStringLiteral("2001-03-05T14:07:09"));
}

TEST(LoggerDate, ParseDate)
{
    struct Case {
        const char* text;
        bool valid;
        int year, month, day;
    };
    const Case cases[] = {
        {"29/02/00", true, 2000, 2, 29}, {"29/02/01", false, 0, 0, 0},
        {"31/04/05", false, 0, 0, 0},    {"00/05/05", false, 0, 0, 0},
        {"01/01/80", false, 0, 0, 0},    {"01/01/81", true, 1981, 1, 1},
        {"01/01/79", true, 2079, 1, 1},  {"31/12/99", true, 1999, 12, 31},
        {"15/13/05", false, 0, 0, 0},    {"15/00/05", false, 0, 0, 0},
        {"  /  /  ", false, 0, 0, 0},    {"1a/03/05", false, 0, 0, 0},
        {" 5/03/05", true, 2005, 3, 5},  {"05/03/0", true, 2000, 3, 5}, // a shorter field is what it holds
        {"05/03", false, 0, 0, 0},       {"", false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        LoggerDate t = make(2010, 6, 7, 8, 9, 10);
        EXPECT_EQ(t.parseDate(QLatin1String(c.text)), c.valid) << c.text;
        if (c.valid)
            EXPECT_EQ(t, make(c.year, c.month, c.day, 8, 9, 10)) << c.text;
        else
            EXPECT_EQ(t, make(2010, 6, 7, 8, 9, 10)) << c.text;
    }
}

TEST(LoggerDate, ParseTime)
{
    struct Case {
        const char* text;
        bool valid;
        int h, m, s;
    };
    const Case cases[] = {
        {"14:07:09", true, 14, 7, 9},   {" 7:05:00", true, 7, 5, 0},  {"00:00:00", true, 0, 0, 0},
        {"23:59:59", true, 23, 59, 59}, {"24:00:00", false, 0, 0, 0}, {"12:60:00", false, 0, 0, 0},
        {"12:00:60", false, 0, 0, 0},   {"  :  :  ", false, 0, 0, 0}, {"1x:00:00", false, 0, 0, 0},
        {"-1:00:00", false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        LoggerDate t = make(2010, 6, 7, 8, 9, 10, 11);
        EXPECT_EQ(t.parseTime(QLatin1String(c.text)), c.valid) << c.text;
        if (c.valid)
            EXPECT_EQ(t, make(2010, 6, 7, c.h, c.m, c.s, 0)) << c.text;
        else
            EXPECT_EQ(t, make(2010, 6, 7, 8, 9, 10, 11)) << c.text;
    }
}

} // namespace
} // namespace qz
