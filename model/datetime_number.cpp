#include "model/datetime_number.h"

#include <cmath>

namespace qz {

namespace {
// Computed on first use, so that date numbers are right also for callers that run before
// this file's globals would be initialised (other files' static data).
qint64 julianOf(int year, int month, int day)
{
    return QDate(year, month, day).toJulianDay();
}
qint64 epochJulian()
{
    static const qint64 day = julianOf(1899, 12, 30);
    return day;
}
bool inCalendar(qint64 julian)
{
    static const qint64 first = julianOf(1, 1, 1);
    static const qint64 last = julianOf(9999, 12, 31);
    return julian >= first && julian <= last;
}
} // namespace

bool encodeDate(int year, int month, int day, double& out)
{
    if (year < 1 || year > 9999)
        return false;
    const QDate d(year, month, day);
    if (!d.isValid())
        return false;
    out = double(d.toJulianDay() - epochJulian());
    return true;
}

bool encodeTime(int hour, int minute, int second, int msec, double& out)
{
    if (hour < 0 || hour >= 24 || minute < 0 || minute >= 60 || second < 0 || second >= 60 || msec < 0
        || msec >= 1000)
        return false;
    out = (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + msec) / kMsPerDay;
    return true;
}

bool encodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec, double& out)
{
    double date = 0, time = 0;
    if (!encodeDate(year, month, day, date) || !encodeTime(hour, minute, second, msec, time))
        return false;
    out = date >= 0 ? date + time : date - time;
    return true;
}

bool decodeDateTime(double value, DateTimeParts& out)
{
    out = DateTimeParts();
    if (!std::isfinite(value) || std::fabs(value) > 3.0e6)
        return false;
    const double whole = std::trunc(value);
    qint64 julian = qint64(whole) + epochJulian();
    qint64 ms = std::llround(std::fabs(value - whole) * kMsPerDay);
    if (ms >= qint64(kMsPerDay)) {
        ms -= qint64(kMsPerDay);
        ++julian;
    }
    if (!inCalendar(julian))
        return false;
    const QDate d = QDate::fromJulianDay(julian);
    out.year = d.year();
    out.month = d.month();
    out.day = d.day();
    out.hour = int(ms / 3600000);
    out.minute = int(ms / 60000 % 60);
    out.second = int(ms / 1000 % 60);
    out.msec = int(ms % 1000);
    return true;
}

double toDateTimeNumber(const QDateTime& t)
{
    double out = 0;
    const QDate d = t.date();
    const QTime tm = t.time();
    if (!encodeDateTime(d.year(), d.month(), d.day(), tm.hour(), tm.minute(), tm.second(), tm.msec(), out))
        return 0;
    return out;
}

QDateTime fromDateTimeNumber(double value)
{
    DateTimeParts p;
    if (!decodeDateTime(value, p))
        return QDateTime();
    return QDateTime(QDate(p.year, p.month, p.day), QTime(p.hour, p.minute, p.second, p.msec));
}

} // namespace qz
