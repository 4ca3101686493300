#include "config/delayed_start.h"

#include "config/config_texts.h"
#include "model/datetime_number.h"
#include "model/image_writer.h"
#include "model/memory_image.h"
#include "platform/clock.h"

#include <array>
#include <cmath>

namespace qz {

namespace {

constexpr int kLongestDelayDays = 30;

// A field of digits, blanks around them allowed.
bool wholeNumber(const QString& text, int& out)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 9)
        return false;
    int v = 0;
    for (QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        v = v * 10 + (c.unicode() - '0');
    }
    out = v;
    return true;
}

// Comparisons at whole milliseconds, so that sums of doubles do not decide by an ulp.
long long toMs(double value)
{
    return std::llround(value * kMsPerDay);
}

} // namespace

StartCheck checkStartTexts(const QString& dateText, const QString& timeText, double& instant)
{
    LoggerDate d;
    if (!d.parseDate(dateText))
        return StartCheck::InvalidDate;
    if (!d.parseTime(timeText))
        return StartCheck::InvalidTime;
    instant = d.asDateTime();
    return StartCheck::Ok;
}

StartCheck checkStartFields(int year, int month, int day, int hour, int minute, int second, double& instant)
{
    double date = 0;
    if (year < 1981 || year > 2099 || !encodeDate(year, month, day, date))
        return StartCheck::InvalidDate;
    double time = 0;
    if (!encodeTime(hour, minute, second, 0, time))
        return StartCheck::InvalidTime;
    LoggerDate d;
    d.Year = std::uint16_t(year);
    d.Month = std::uint16_t(month);
    d.Day = std::uint16_t(day);
    d.Hour = std::uint16_t(hour);
    d.Min = std::uint16_t(minute);
    d.Sec = std::uint16_t(second);
    instant = d.asDateTime();
    return StartCheck::Ok;
}

QString startRefusal(StartCheck check)
{
    switch (check) {
    case StartCheck::Ok:
        return {};
    case StartCheck::InvalidDate:
        return texts::invalidDate();
    case StartCheck::InvalidTime:
        return texts::invalidTime();
    }
    return {};
}

DelayCheck checkDelay(int days, int hours, int minutes, double& delay)
{
    if (days < 0 || days > kLongestDelayDays)
        return DelayCheck::DaysOutOfRange;
    if (hours < 0 || hours > 23)
        return DelayCheck::HoursOutOfRange;
    if (minutes < 0 || minutes > 59)
        return DelayCheck::MinutesOutOfRange;
    delay = LoggerDate::span(0, 0, days, hours, minutes, 0);
    return DelayCheck::Ok;
}

DelayCheck checkDelayTexts(const QString& days, const QString& hours, const QString& minutes, double& delay,
                           QString& badText)
{
    int v[3] = {0, 0, 0};
    const QString* fields[3] = {&days, &hours, &minutes};
    for (int i = 0; i < 3; ++i) {
        if (!wholeNumber(*fields[i], v[i])) {
            badText = *fields[i];
            return DelayCheck::NotANumber;
        }
    }
    return checkDelay(v[0], v[1], v[2], delay);
}

QString delayRefusal(DelayCheck check, const QString& badText)
{
    switch (check) {
    case DelayCheck::Ok:
        return {};
    case DelayCheck::DaysOutOfRange:
        return texts::delayDaysOutOfRange();
    case DelayCheck::HoursOutOfRange:
        return texts::delayHoursOutOfRange();
    case DelayCheck::MinutesOutOfRange:
        return texts::delayMinutesOutOfRange();
    case DelayCheck::NotANumber:
        return texts::delayNotANumber(badText);
    }
    return {};
}

double startLimit(double now)
{
    // In whole seconds, as the alarm and the message hold it: a start at the second shown
    // is refused even when now lies inside that second.
    QDateTime at = fromDateTimeNumber(now);
    const QTime t = at.time();
    at.setTime(QTime(t.hour(), t.minute(), t.second()));
    return toDateTimeNumber(at.addYears(1));
}

bool withinStartLimit(double start, double now)
{
    return toMs(start) < toMs(startLimit(now));
}

QString startTooFarRefusal(double limit, const QString& format)
{
    return texts::startTooFarAhead(fromDateTimeNumber(limit).toString(format));
}

StartProgram programTimeVars(ByteView image, Clock& clock, bool delayed, const DelayedStart& plan)
{
    StartProgram out;
    LoggerDate& now = out.now;
    now.setNow(clock);

    ImageWriter w = ImageWriter::deviceImage(image);
    // The logger's clock: the PC time.
    w.setClockByte(int(mem::kClockSecond), now.Sec);
    w.setClockByte(int(mem::kClockMinute), now.Min);
    w.setClockByte(int(mem::kClockHour), now.Hour);
    w.setClockDay(now.Day, now.yearBits());
    w.setClockByte(int(mem::kClockMonth), now.Month);
    w.setYearBits(now.yearBits());
    w.setYearBcd(now.yearOfCentury());

    LoggerDate& start = out.start;
    start = now;
    if (delayed) {
        if (plan.mode == DelayedStart::Mode::Delay) {
            start.addSpan(plan.delay);
            start.MSec = 0;
        } else {
            start.setDateTime(plan.startInstant);
        }
    }
    std::array<std::uint8_t, mem::kStartStampSize> stamp{};
    start.toStartStamp(stamp.data());
    w.setStartStamp(stamp);

    w.setClockControl(mem::kClockControlFromPc);
    w.setRunState(std::uint8_t(delayed ? mem::kRunWaiting : mem::kRunRecording));
    w.setClockByte(int(mem::kClockHundredths), 0);
    w.setClockByte(int(mem::kClockReserved), 0);
    w.setStartByte(int(mem::kClockStart), 0);
    w.setStartByte(int(mem::kClockLast), mem::kClockLastFromPc);
    // The start time: second, minute, hour, day, month.
    const int startFields[] = {start.Sec, start.Min, start.Hour, start.Day, start.Month};
    for (int i = 0; i < 5; ++i)
        w.setStartByte(int(mem::kClockStart) + 1 + i, startFields[i]);

    if (delayed) {
        // The PC time read again: a start that is not after it would never come.
        const double nowAgain = toDateTimeNumber(clock.localNow());
        out.inFuture = toMs(nowAgain) < toMs(start.asDateTime());
        out.withinLimit = withinStartLimit(start.asDateTime(), now.asDateTime());
    }
    return out;
}

} // namespace qz
