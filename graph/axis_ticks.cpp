#include "graph/axis_ticks.h"

#include "model/values.h"

#include <QDate>

#include <cmath>

namespace qz {

namespace {
constexpr std::int64_t kSecondsPerDay = 86400;
const QDate kDayZero(1899, 12, 30);

QString twoDigits(std::int64_t v)
{
    return QString::number(v).rightJustified(2, u'0');
}

// Round half to even, as the platform's rounding does.
std::int64_t roundToInt(long double v)
{
    return std::int64_t(std::nearbyint(v));
}
} // namespace

std::int64_t secondsFromDateTime(double dateTime)
{
    const double s = std::nearbyint(dateTime * double(kSecondsPerDay));
    if (!std::isfinite(s) || std::fabs(s) > 1e15)
        return 0;
    return std::int64_t(s);
}

std::vector<TimeTick> computeTimeTicks(const GraphLayout& layout, std::int64_t t0, std::int64_t t1,
                                       std::int64_t firstTick)
{
    std::vector<TimeTick> ticks;
    if (t1 <= t0)
        return ticks;
    const long double span = static_cast<long double>(t1 - t0);
    const long double w = layout.width();
    const long double x0 = std::nearbyint(static_cast<long double>(firstTick - t0) * w / span) + layout.left;
    // Far off the plot there is nothing to draw; keep the numbers in int range.
    if (!std::isfinite(x0) || x0 > 1e9L || x0 < -1e9L)
        return ticks;
    const std::int64_t d = roundToInt(w * static_cast<long double>(layout.timeStep) / span);
    std::int64_t x = std::int64_t(x0);
    std::int64_t t = firstTick;
    ticks.push_back({int(x), t});
    if (d <= 0)
        return ticks;
    while (x + d < layout.right) {
        x += d;
        t += layout.timeStep;
        ticks.push_back({int(x), t});
    }
    return ticks;
}

TimeLabeler::Parts TimeLabeler::label(std::int64_t seconds) const
{
    std::int64_t days = seconds / kSecondsPerDay;
    std::int64_t rest = seconds % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
        --days;
    }
    const QDate date = kDayZero.addDays(days);
    Parts p;
    p.date = twoDigits(date.day()) + u'/' + twoDigits(date.month());
    QString separator;
    if (p.date != lastDate_) {
        p.text = p.date;
        separator = QStringLiteral("-");
    }
    p.time = separator + twoDigits(rest / 3600) + u':' + twoDigits(rest / 60 % 60);
    if (unit_ == TimeUnit::Seconds)
        p.time += u':' + twoDigits(rest % 60);
    if (p.time != lastTime_)
        p.text += p.time;
    return p;
}

QString TimeLabeler::peek(std::int64_t seconds) const
{
    return label(seconds).text;
}

QString TimeLabeler::next(std::int64_t seconds)
{
    Parts p = label(seconds);
    lastDate_ = p.date;
    lastTime_ = p.time;
    return p.text;
}

ValueTicks computeValueTicks(const GraphLayout& layout, const AxisScale& scale)
{
    ValueTicks out;
    const long double range = scale.top - scale.bottom;
    if (range == 0 || !std::isfinite(range) || !std::isfinite(scale.bottom))
        return out;
    const long double h = layout.height();
    const long double e = h * scale.step / range;
    if (!std::isfinite(e))
        return out;
    const long double bottom = layout.bottom;
    auto add = [&](long double y, long double v) {
        const int row = int(roundToInt(y));
        out.ticks.push_back({row, v});
        if (row >= layout.top && row <= layout.bottom)
            out.tickInside = true;
    };
    add(bottom, scale.bottom);
    // A plot without height or a step that points down has nothing more to show.
    if (h > 0 && e > 0 && bottom - 11 * e < layout.top + 1) {
        // Each value from the bottom one and its step, not by adding up rounded labels, so
        // that no error accumulates along the axis.
        for (int k = 1; layout.top + 1 < bottom - k * e; ++k)
            add(bottom - k * e, scale.bottom + k * scale.step);
    }
    return out;
}

QString axisLabelPattern(const QString& valueFormat, long double step)
{
    const int dot = valueFormat.indexOf(u'.');
    const int own = dot < 0 ? 0 : int(valueFormat.size()) - dot - 1;
    const long double a = std::fabs(step);
    if (!std::isfinite(a) || a == 0)
        return valueFormat;
    int needed = 0;
    for (; needed < 8; ++needed) {
        const long double scaled = a * std::pow(10.0L, needed);
        if (std::fabs(scaled - std::nearbyint(scaled)) <= 1e-6L * scaled)
            break;
    }
    if (needed <= own)
        return valueFormat;
    return QStringLiteral("0.") + QString(needed, u'0');
}

QString valueLabelText(long double v, const QString& pattern)
{
    v = std::nearbyint(v * 500) / 500;
    if (std::fabs(v) < 0.001L)
        v = 0;
    return trimLeadingBlanks(trimTrailingBlanks(formatValue(pattern, double(v))));
}

} // namespace qz
