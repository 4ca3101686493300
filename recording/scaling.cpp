#include "recording/scaling.h"

#include "model/values.h"

#include <cmath>
#include <limits>

namespace qz {

namespace {

int truncToInt(long double v)
{
    // Clamped first: converting an out-of-range value to int is undefined.
    constexpr long double lo = std::numeric_limits<int>::min();
    constexpr long double hi = std::numeric_limits<int>::max();
    if (!(v > lo))
        return std::numeric_limits<int>::min();
    if (!(v < hi))
        return std::numeric_limits<int>::max();
    return static_cast<int>(std::trunc(v));
}

} // namespace

Conversion makeConversion(double scaleLow, double scaleHigh, long double calLow, long double calHigh)
{
    Conversion c;
    const long double span = static_cast<long double>(scaleHigh) - static_cast<long double>(scaleLow);
    c.resolution = span / 200;
    const long double calSpan = calHigh - calLow;
    if (calSpan == 0) {
        c.gain = 0;
        c.offset = scaleLow;
        return c;
    }
    c.gain = span / calSpan;
    c.offset = static_cast<long double>(scaleLow) - c.gain * calLow;
    return c;
}

long double normalize(long double v, long double resolution)
{
    if (resolution == 0 || !std::isfinite(resolution) || !std::isfinite(v))
        return v;
    // nearbyint rounds in the current mode, which is to nearest with halves to even.
    const long double r = std::nearbyint(v / resolution) * resolution;
    return std::isfinite(r) ? r : v;
}

int niceStep(int n)
{
    const long long a = n < 0 ? -static_cast<long long>(n) : n;
    int r;
    if (a <= 9)
        r = 10;
    else if (a <= 20)
        r = 20;
    else if (a <= 25)
        r = 25;
    else if (a <= 50)
        r = 50;
    else if (a <= 75)
        r = 75;
    else if (a <= 99)
        r = 100;
    else
        return -1;
    return n < 0 ? -r : r;
}

long double roundAxisStep(long double x)
{
    if (!std::isfinite(x))
        return 0;
    // The decade comes from the model's logarithm (ln x / ln 10), as everywhere else in
    // the program: at an exact power of ten it may land below the integer, and the step
    // then becomes the first-label-only one (NiceStep's -1).
    if (std::fabs(x) < 1) {
        const long double s = decadeStep(2, static_cast<double>(x));
        return niceStep(truncToInt(x * s)) / s;
    }
    const long double s = decadeStep(1, static_cast<double>(std::fabs(x)));
    return niceStep(truncToInt(x / s)) * s;
}

AxisScale computeAxisScale(const Conversion& c, double rawTop, double rawBottom)
{
    AxisScale a;
    a.top = c.gain * rawTop + c.offset;
    a.bottom = c.gain * rawBottom + c.offset;
    a.step = roundAxisStep((a.top - a.bottom) / 8);
    return a;
}

} // namespace qz
