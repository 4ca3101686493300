#include "graph/round_scale.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace qz {

namespace {
constexpr double kMantissas[] = {1, 2, 2.5, 5, 10};
constexpr double kTolerance = 1e-6; // of a step
constexpr int kRoundDivisions = 8;
} // namespace

double roundStepAtLeast(double rough)
{
    if (!(rough > 0) || !std::isfinite(rough))
        return 0;
    const double decade = std::pow(10.0, std::floor(std::log10(rough)));
    for (double m : kMantissas)
        if (m * decade >= rough * (1 - 1e-12))
            return m * decade;
    return 10 * decade;
}

double labelStep(double low, double high, double height, double spacing)
{
    const double range = high - low;
    if (!(range > 0) || !std::isfinite(range) || !(height > 0))
        return 0;
    // The step of labels spacing pixels apart, made round; never more than the range,
    // so that every axis has a label.
    const double step = roundStepAtLeast(range * std::max(spacing, 1.0) / height);
    if (step <= range)
        return step;
    const double decade = std::pow(10.0, std::floor(std::log10(range)));
    for (double m : {5.0, 2.5, 2.0, 1.0})
        if (m * decade <= range * (1 + 1e-12))
            return m * decade;
    return decade;
}

std::vector<double> roundValues(double low, double high, double step)
{
    std::vector<double> values;
    if (!(step > 0) || !std::isfinite(low) || !std::isfinite(high) || high < low)
        return values;
    const double first = std::ceil(low / step - kTolerance);
    const double last = std::floor(high / step + kTolerance);
    // A range of millions of steps is no axis anyone reads.
    if (!(last - first < 10000))
        return values;
    for (double k = first; k <= last; ++k)
        values.push_back(k * step);
    return values;
}

int stepDecimals(double step)
{
    step = std::fabs(step);
    if (!(step > 0) || !std::isfinite(step))
        return 0;
    for (int d = 0; d < 12; ++d) {
        const double scaled = step * std::pow(10.0, d);
        if (std::fabs(scaled - std::nearbyint(scaled)) <= 1e-6 * scaled)
            return d;
    }
    return 12;
}

QString roundLabel(double value, double step)
{
    if (std::fabs(value) <= std::fabs(step) * kTolerance)
        value = 0;
    return QLocale().toString(value, 'f', stepDecimals(step));
}

void roundOutwards(double& low, double& high)
{
    const double step = roundStepAtLeast((high - low) / kRoundDivisions);
    if (!(step > 0))
        return;
    low = std::floor(low / step + kTolerance) * step;
    high = std::ceil(high / step - kTolerance) * step;
}

} // namespace qz
