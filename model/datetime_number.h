#pragma once
// The date-time number: days since 30 December 1899 as a double, the fraction being the
// time of day. Before that day the whole part counts down and the fraction still counts
// forward from midnight (-1.25 is 29 December 1899 06:00).
#include <QDate>
#include <QDateTime>
#include <QTime>

namespace qz {

inline constexpr double kMsPerDay = 86400000.0;

// Days of a calendar date; false for an impossible date (month 13, 30 February ...) or a
// year outside 1..9999.
bool encodeDate(int year, int month, int day, double& out);
// Fraction of a day; false unless 0 <= h < 24, 0 <= m < 60, 0 <= s < 60, 0 <= ms < 1000.
bool encodeTime(int hour, int minute, int second, int msec, double& out);
// Both at once.
bool encodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec, double& out);

struct DateTimeParts {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0, msec = 0;
};
// Fields of a date-time number, to the nearest millisecond. False (and the parts of day
// 0) when the number is not finite or lies outside years 1..9999.
bool decodeDateTime(double value, DateTimeParts& out);

// Conversions to and from Qt's types (local time, no zone arithmetic).
double toDateTimeNumber(const QDateTime& t);
QDateTime fromDateTimeNumber(double value);

} // namespace qz
