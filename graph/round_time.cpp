#include "graph/round_time.h"

#include <QDate>

#include <cmath>

namespace qz {

namespace {

constexpr std::int64_t kDay = 86400;
constexpr std::int64_t kWeek = 7 * kDay;
// 1 January 1900 was a Monday, two days after day zero.
constexpr std::int64_t kFirstMonday = 2 * kDay;
constexpr double kMonth = 30.436875 * kDay;
constexpr int kMaxTicks = 10000;
const QDate kDayZero(1899, 12, 30);

constexpr std::int64_t kSecondSteps[] = {1,   2,    5,    10,   15,    30,    60,    120,  300,      600,
                                         900, 1800, 3600, 7200, 10800, 21600, 43200, kDay, 2 * kDay, kWeek};
constexpr int kMonthSteps[] = {1, 2, 3, 6, 12, 24, 60, 120, 240, 600, 1200, 2400, 6000};

QString twoDigits(std::int64_t v)
{
    return QString::number(v).rightJustified(2, u'0');
}

struct Instant {
    QDate date;
    std::int64_t secondOfDay = 0;
};

Instant split(double seconds)
{
    const double days = std::floor(seconds / kDay);
    Instant i;
    i.date = kDayZero.addDays(std::int64_t(days));
    i.secondOfDay = std::int64_t(std::nearbyint(seconds - days * kDay));
    if (i.secondOfDay >= kDay) {
        i.date = i.date.addDays(1);
        i.secondOfDay -= kDay;
    }
    return i;
}

double secondsOf(const QDate& date)
{
    return double(kDayZero.daysTo(date)) * kDay;
}

} // namespace

TimeStep chooseTimeStep(double span, double width, const TimeLabelRoom& room)
{
    if (!(span > 0) || !(width > 0))
        return {kDay, 0};
    const double pixelsPerSecond = width / span;
    for (std::int64_t s : kSecondSteps) {
        const TimeStep step{s, 0};
        const double need = step.showsSeconds() ? room.clockSeconds
            : step.showsClock()                 ? room.clock
                                                : room.date;
        if (double(s) * pixelsPerSecond >= need)
            return step;
    }
    for (int m : kMonthSteps)
        if (m * kMonth * pixelsPerSecond >= room.date)
            return {0, m};
    return {0, kMonthSteps[std::size(kMonthSteps) - 1]};
}

std::vector<double> roundInstants(const TimeWindow& window, const TimeStep& step)
{
    std::vector<double> out;
    if (!(window.to >= window.from) || !std::isfinite(window.from) || !std::isfinite(window.to))
        return out;
    if (step.months <= 0) {
        if (step.seconds <= 0)
            return out;
        const double s = double(step.seconds);
        const double base = step.seconds == kWeek ? double(kFirstMonday) : 0;
        const double first = std::ceil((window.from - base) / s) * s + base;
        if ((window.to - first) / s > kMaxTicks)
            return out;
        for (double t = first; t <= window.to; t += s)
            out.push_back(t);
        return out;
    }
    const QDate start = split(window.from).date;
    int index = start.year() * 12 + start.month() - 1;
    index += (step.months - index % step.months) % step.months;
    for (int n = 0; n < kMaxTicks; ++n, index += step.months) {
        const QDate d(index / 12, index % 12 + 1, 1);
        if (!d.isValid())
            break;
        const double t = secondsOf(d);
        if (t > window.to)
            break;
        if (t >= window.from)
            out.push_back(t);
    }
    return out;
}

std::vector<RoundTimeLabel> roundTimeLabels(const std::vector<double>& instants, const TimeStep& step)
{
    std::vector<RoundTimeLabel> labels;
    QString lastLower;
    for (double t : instants) {
        const Instant i = split(t);
        RoundTimeLabel label;
        QString lower;
        if (step.showsClock()) {
            const std::int64_t s = i.secondOfDay;
            label.upper = twoDigits(s / 3600) + u':' + twoDigits(s / 60 % 60);
            if (step.showsSeconds())
                label.upper += u':' + twoDigits(s % 60);
            lower = twoDigits(i.date.day()) + u'/' + twoDigits(i.date.month()) + u'/'
                + twoDigits(i.date.year() % 100);
        } else {
            label.upper = twoDigits(i.date.day()) + u'/' + twoDigits(i.date.month());
            lower = QString::number(i.date.year());
        }
        if (lower != lastLower)
            label.lower = lower;
        lastLower = lower;
        labels.push_back(label);
    }
    return labels;
}

} // namespace qz
