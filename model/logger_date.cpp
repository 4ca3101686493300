#include "model/logger_date.h"

#include "model/datetime_number.h"
#include "model/values.h"
#include "platform/clock.h"

#include <QLocale>
#include <cmath>

namespace qz {

namespace {

// Whole seconds since 1 January of year 1, or false for fields that form no instant.
bool instantSeconds(const LoggerDate& d, qint64& out)
{
    double probe = 0;
    if (!encodeDateTime(d.Year, d.Month, d.Day, d.Hour, d.Min, d.Sec, 0, probe))
        return false;
    out = (QDate(d.Year, d.Month, d.Day).toJulianDay()) * 86400 + d.Hour * 3600 + d.Min * 60 + d.Sec;
    return true;
}

// Comparisons at millisecond resolution, so sums of doubles do not decide by an ulp.
qint64 toMs(double value)
{
    return std::llround(value * kMsPerDay);
}

// A part of a typed date or time: digits after optional leading blanks, nothing else.
bool parsePart(const QString& text, int from, int& out)
{
    QString part = text.mid(from, 2);
    while (part.startsWith(QLatin1Char(' ')))
        part.remove(0, 1);
    if (part.isEmpty())
        return false;
    int v = 0;
    for (QChar c : part) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        v = v * 10 + (c.unicode() - '0');
    }
    out = v;
    return true;
}

} // namespace

bool LoggerDate::isLeapYear() const
{
    return (Year % 4 == 0 && Year % 100 != 0) || Year % 400 == 0;
}

int LoggerDate::daysInMonth() const
{
    switch (Month) {
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
        return 31;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return isLeapYear() ? 29 : 28;
    default:
        return -1;
    }
}

void LoggerDate::nextDay()
{
    if (Day < daysInMonth()) {
        ++Day;
        return;
    }
    Day = 1;
    if (Month >= 12) {
        Month = 1;
        ++Year;
    } else {
        ++Month;
    }
}

void LoggerDate::previousDay()
{
    if (Day > 1) {
        --Day;
        return;
    }
    if (Month <= 1) {
        Month = 12;
        --Year;
    } else {
        --Month;
    }
    const int days = daysInMonth();
    Day = std::uint16_t(days > 0 ? days : 1);
}

bool LoggerDate::incSecond()
{
    if (++Sec < 60)
        return false;
    Sec = 0;
    return true;
}

bool LoggerDate::incMinute()
{
    if (++Min < 60)
        return false;
    Min = 0;
    return true;
}

bool LoggerDate::incHour()
{
    if (++Hour < 24)
        return false;
    Hour = 0;
    return true;
}

bool LoggerDate::tryAsDateTime(double& out) const
{
    return encodeDateTime(Year, Month, Day, Hour, Min, Sec, 0, out);
}

double LoggerDate::asDateTime() const
{
    double v = 0;
    return tryAsDateTime(v) ? v : 0.0;
}

bool LoggerDate::setDateTime(double value)
{
    DateTimeParts p;
    if (!decodeDateTime(value, p))
        return false;
    Year = std::uint16_t(p.year);
    Month = std::uint16_t(p.month);
    Day = std::uint16_t(p.day);
    Hour = std::uint16_t(p.hour);
    Min = std::uint16_t(p.minute);
    Sec = std::uint16_t(p.second);
    MSec = std::uint16_t(p.msec);
    return true;
}

void LoggerDate::setNow(Clock& clock)
{
    const QDateTime now = clock.localNow();
    const QDate d = now.date();
    const QTime t = now.time();
    Year = std::uint16_t(d.year());
    Month = std::uint16_t(d.month());
    Day = std::uint16_t(d.day());
    Hour = std::uint16_t(t.hour());
    Min = std::uint16_t(t.minute());
    Sec = std::uint16_t(t.second());
    MSec = std::uint16_t(t.msec());
}

void LoggerDate::addSpan(double span)
{
    double v = 0;
    if (tryAsDateTime(v))
        setDateTime(v + span);
}

void LoggerDate::addInterval(int seconds)
{
    double v = 0;
    if (!encodeDateTime(Year, Month, Day, Hour, Min, Sec, MSec < 1000 ? MSec : 0, v))
        return;
    const int step = seconds >= 3600 ? 3600 : (seconds / 60) * 60 + seconds % 60;
    setDateTime(v + step / 86400.0);
}

LoggerDate::SpanStatus LoggerDate::trySpan(int years, int months, int days, int hours, int minutes,
                                           int seconds, double& out)
{
    double date = 0, time = 0;
    if (!encodeDate(years + 1, months + 1, days + 1, date))
        return SpanStatus::BadDate;
    if (!encodeTime(hours, minutes, seconds, 0, time))
        return SpanStatus::BadTime;
    out = double(QDate(years + 1, months + 1, days + 1).toJulianDay() - QDate(1, 1, 1).toJulianDay()) + time;
    return SpanStatus::Ok;
}

double LoggerDate::span(int years, int months, int days, int hours, int minutes, int seconds)
{
    double out = 0;
    return trySpan(years, months, days, hours, minutes, seconds, out) == SpanStatus::Ok ? out : 0.0;
}

void LoggerDate::setFromStamp(std::span<const std::uint8_t> block)
{
    if (block.size() < 7)
        return;
    const int yy = bcdToInt(block[1]);
    Year = std::uint16_t(yy < 80 ? 2000 + yy : 1900 + yy);
    Month = std::uint16_t(bcdToInt(block[2]));
    Day = std::uint16_t(bcdToInt(block[3]));
    Hour = std::uint16_t(bcdToInt(block[4]));
    Min = std::uint16_t(bcdToInt(block[5]));
    Sec = std::uint16_t(bcdToInt(block[6]));
    MSec = 0;
}

StampContinuity LoggerDate::continuity(std::span<const std::uint8_t> block) const
{
    qint64 t = 0, d = 0;
    LoggerDate stamp;
    if (block.size() < 7)
        return StampContinuity::ImpossibleDate;
    stamp.setFromStamp(block);
    if (!instantSeconds(stamp, t) || !instantSeconds(*this, d))
        return StampContinuity::ImpossibleDate;
    const qint64 window = 5 * 86400 + 3600;
    return d <= t && t < d + window ? StampContinuity::Continues : StampContinuity::Breaks;
}

void LoggerDate::toStartStamp(std::uint8_t out[6]) const
{
    out[0] = std::uint8_t(Year % 100);
    out[1] = std::uint8_t(Month);
    out[2] = std::uint8_t(Day);
    out[3] = std::uint8_t(Hour);
    out[4] = std::uint8_t(Min);
    out[5] = std::uint8_t(Sec);
}

std::uint8_t LoggerDate::yearBits() const
{
    return std::uint8_t((Year % 4) * 64);
}
std::uint8_t LoggerDate::yearOfCentury() const
{
    return std::uint8_t(Year % 100);
}
std::uint8_t LoggerDate::monthByte() const
{
    return std::uint8_t(Month);
}
std::uint8_t LoggerDate::dayByte() const
{
    return std::uint8_t(Day);
}
std::uint8_t LoggerDate::hourByte() const
{
    return std::uint8_t(Hour);
}
std::uint8_t LoggerDate::minuteByte() const
{
    return std::uint8_t(Min);
}
std::uint8_t LoggerDate::secondByte() const
{
    return std::uint8_t(Sec);
}

QString LoggerDate::dateText() const
{
    return QString::asprintf("%02d/%02d/%02d", int(Day), int(Month), int(Year % 100));
}

QString LoggerDate::timeText() const
{
    return QString::asprintf("%02d:%02d:%02d", int(Hour), int(Min), int(Sec));
}

QString LoggerDate::nowDateText(Clock& clock)
{
    LoggerDate now;
    now.setNow(clock);
    return now.dateText();
}

QString LoggerDate::nowTimeText(Clock& clock)
{
    LoggerDate now;
    now.setNow(clock);
    return now.timeText();
}

QString LoggerDate::exportStamp(int form) const
{
    const QChar tab(QLatin1Char('\t'));
    switch (form) {
    case 0:
        return dateText() + QLatin1Char(' ') + timeText() + tab;
    case 1:
    case 2: {
        double v = 0;
        if (!encodeDateTime(Year, Month, Day, Hour, Min, Sec, MSec < 1000 ? MSec : 0, v))
            v = 0;
        QString number = QString::number(v, 'f', 9);
        number.replace(QLatin1Char('.'), QLocale().decimalPoint());
        return number + (form == 1 ? QString(tab) : QStringLiteral(";"));
    }
    case 3:
        return timeText() + tab;
    case 4:
        return dateText() + tab;
    case 5:
        return QStringLiteral("%1-%2-%3T%4:%5:%6")
            .arg(Year, 4, 10, QLatin1Char('0'))
            .arg(Month, 2, 10, QLatin1Char('0'))
            .arg(Day, 2, 10, QLatin1Char('0'))
            .arg(Hour, 2, 10, QLatin1Char('0'))
            .arg(Min, 2, 10, QLatin1Char('0'))
            .arg(Sec, 2, 10, QLatin1Char('0'));
    default:
        return QString();
    }
}

bool LoggerDate::parseDate(const QString& text)
{
    int day = 0, month = 0, yy = 0;
    if (!parsePart(text, 0, day) || !parsePart(text, 3, month) || !parsePart(text, 6, yy))
        return false;
    int year = yy + 1900;
    if (year < 1980)
        year += 100;
    if (year < 1981 || year > 2099 || month < 1 || month > 12)
        return false;
    LoggerDate probe;
    probe.Year = std::uint16_t(year);
    probe.Month = std::uint16_t(month);
    if (day < 1 || day > probe.daysInMonth())
        return false;
    Year = std::uint16_t(year);
    Month = std::uint16_t(month);
    Day = std::uint16_t(day);
    return true;
}

bool LoggerDate::parseTime(const QString& text)
{
    int hour = 0, minute = 0, second = 0;
    if (!parsePart(text, 0, hour) || !parsePart(text, 3, minute) || !parsePart(text, 6, second))
        return false;
    if (hour >= 24 || minute >= 60 || second >= 60)
        return false;
    Hour = std::uint16_t(hour);
    Min = std::uint16_t(minute);
    Sec = std::uint16_t(second);
    MSec = 0;
    return true;
}

double LoggerDate::roundUp(int mode, double limit)
{
    const LoggerDate start = *this;
    const qint64 limitMs = toMs(limit);
    auto toNextHour = [](LoggerDate& d) {
        if (d.Min == 0 && d.Sec == 0)
            return;
        d.Min = 0;
        d.Sec = 0;
        if (d.incHour())
            d.nextDay();
    };
    auto toNextMinute = [](LoggerDate& d) {
        if (d.Sec == 0)
            return;
        d.Sec = 0;
        if (d.incMinute() && d.incHour())
            d.nextDay();
    };
    auto hourOrMinute = [&](LoggerDate& d) {
        LoggerDate hour = start;
        toNextHour(hour);
        if (toMs(hour.asDateTime()) <= limitMs) {
            d = hour;
        } else {
            d = start;
            toNextMinute(d);
        }
    };

    switch (mode) {
    case 0:
        if (Hour != 0 || Min != 0 || Sec != 0) {
            Hour = Min = Sec = 0;
            nextDay();
        }
        break;
    case 1:
        toNextHour(*this);
        break;
    case 2:
        hourOrMinute(*this);
        break;
    case 3: {
        LoggerDate first;
        hourOrMinute(first);
        if (toMs(first.asDateTime()) <= limitMs) {
            *this = first;
            break;
        }
        *this = start;
        while (Sec % 10 != 0 && toMs(asDateTime()) < limitMs) {
            if (incSecond() && incMinute() && incHour())
                nextDay();
        }
        break;
    }
    default:
        break;
    }
    return asDateTime();
}

} // namespace qz
