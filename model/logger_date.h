#pragma once
// The program's calendar value: date and time of day as separate fields, with the
// calendar steps the logger data needs, the logger's stamp forms and the fixed texts.
#include <QString>
#include <cstdint>
#include <span>

namespace qz {

class Clock;

// How a block's stamp stands to a date: within 5 days and 1 hour after it, outside that
// window, or not comparable because either instant is impossible.
enum class StampContinuity {
    Continues,
    Breaks,
    ImpossibleDate
};

class LoggerDate {
public:
    std::uint16_t Year = 1980, Month = 1, Day = 1;
    std::uint16_t Hour = 0, Min = 0, Sec = 0, MSec = 0;

    bool isLeapYear() const;
    // 28..31, or -1 for a month outside 1..12.
    int daysInMonth() const;
    void nextDay();
    void previousDay();
    // Add one; true when the field wrapped to 0 (the caller carries).
    bool incSecond();
    bool incMinute();
    bool incHour();

    // Date plus time of day, MSec ignored. Fields that form no valid instant give 0;
    // TryAsDateTime tells them apart.
    double asDateTime() const;
    bool tryAsDateTime(double& out) const;
    // All fields from a date-time number (to the millisecond). An impossible number
    // leaves the fields unchanged and gives false.
    bool setDateTime(double value);
    // All fields from the local date and time, milliseconds included.
    void setNow(Clock& clock);
    // Fields := AsDateTime + span.
    void addSpan(double span);
    // One recording step: 1 hour from 3600 s on, otherwise minutes and seconds.
    void addInterval(int seconds);
    // The length of a span of years, months, days, hours, minutes and seconds as a
    // date-time number. 0 when a part is beyond its natural limit (see TrySpan).
    static double span(int years, int months, int days, int hours, int minutes, int seconds);
    enum class SpanStatus {
        Ok,
        BadDate,
        BadTime
    };
    static SpanStatus trySpan(int years, int months, int days, int hours, int minutes, int seconds,
                              double& out);

    // Bytes 1..6 of a data block as BCD yy mm dd hh mm ss (yy < 80 is 20yy); MSec := 0.
    // A block shorter than 7 bytes leaves the value unchanged.
    void setFromStamp(std::span<const std::uint8_t> block);
    // Whether the block's stamp continues this value within 5 days and 1 hour. A block
    // shorter than 7 bytes has no stamp: ImpossibleDate.
    StampContinuity continuity(std::span<const std::uint8_t> block) const;
    // Year mod 100, Month, Day, Hour, Min, Sec as binary bytes.
    void toStartStamp(std::uint8_t out[6]) const;
    // (Year mod 4) x 64.
    std::uint8_t yearBits() const;
    std::uint8_t yearOfCentury() const;
    std::uint8_t monthByte() const;
    std::uint8_t dayByte() const;
    std::uint8_t hourByte() const;
    std::uint8_t minuteByte() const;
    std::uint8_t secondByte() const;

    // "dd/mm/yy" and "hh:mm:ss".
    QString dateText() const;
    QString timeText() const;
    static QString nowDateText(Clock& clock);
    static QString nowTimeText(Clock& clock);
    // First column of an exported line: 0 date and time + tab, 1 date-time number with
    // 9 decimals + tab, 2 the same + ';', 3 time + tab, 4 date + tab, 5 the ISO 8601 local
    // date and time YYYY-MM-DDThh:mm:ss (no separator), other: empty.
    QString exportStamp(int form) const;

    // "dd/mm/yy" with 1981 <= year <= 2099 (yy 00..79 is 20yy, 81..99 is 19yy); sets
    // Year, Month, Day when valid.
    bool parseDate(const QString& text);
    // "hh:mm:ss" (a leading blank allowed); sets Hour, Min, Sec (MSec := 0) when valid.
    bool parseTime(const QString& text);

    // Moves forward to a round instant (mode 0 day, 1 hour, 2 hour or minute,
    // 3 hour, minute or ten seconds, bounded by limit) and returns it.
    double roundUp(int mode, double limit);

    bool operator==(const LoggerDate&) const = default;
};

} // namespace qz
