// The recording's value search and plotted ranges over its zoom levels.
#include "recording/recording.h"

#include <algorithm>

namespace qz {

void Recording::searchMaxMin(ViewRecord& view)
{
    // Only measurements that exist are read, whatever the view says.
    const int first = std::max(view.first, 1);
    const int last = std::min(view.last, measurementCount_);
    for (int i = 0; i < mem::kInputs; ++i) {
        if (!enabled_[i])
            continue;
        long double sum = 0;
        int lo = 255;
        int hi = 0;
        for (int k = first; k <= last; ++k) {
            const int r = reader_.sample(i, k);
            sum += r;
            lo = std::min(lo, r);
            hi = std::max(hi, r);
        }
        rawSum_[i] = sum;
        view.rawMin[i] = lo;
        view.rawMax[i] = hi;
    }
    // A falling conversion: raw max is the raw value of the physically highest point.
    for (int i = 0; i < mem::kInputs; ++i) {
        if (enabled_[i] && conversion_[i].gain < 0)
            std::swap(view.rawMin[i], view.rawMax[i]);
    }
}

void Recording::updateScalingMode(ViewRecord& view)
{
    const int level = levelOf(view);
    const int margin = level == 0 ? margin_ : 0;
    for (int i = 0; i < mem::kInputs; ++i) {
        if (!enabled_[i])
            continue;
        // The physically higher end goes to the top; with a falling conversion that is
        // the lower raw value, so the margin widens the range downwards in raw units.
        const bool falling = conversion_[i].gain < 0;
        if (settings_.autoScale) {
            const int m = falling ? -margin : margin;
            view.bottom[i] = view.rawMin[i] - m;
            view.top[i] = view.rawMax[i] + m;
            if (view.top[i] == view.bottom[i] && level >= 1) {
                view.top[i] = views_[level - 1].top[i];
                view.bottom[i] = views_[level - 1].bottom[i];
            }
        } else {
            // ScaleHigh is read at CalHigh and ScaleLow at CalLow, whichever raw value is
            // larger: the higher scale value goes to the top, not the larger raw value.
            view.bottom[i] = reader_.calLow(i);
            view.top[i] = reader_.calHigh(i);
            if (reader_.scaleHigh(i) < reader_.scaleLow(i))
                std::swap(view.top[i], view.bottom[i]);
        }
        // A plot without height cannot be drawn (no calibrated span, or a flat level
        // above): keep the level-0 margin around it.
        if (view.top[i] == view.bottom[i]) {
            view.top[i] += kAutoScaleMargin;
            view.bottom[i] -= kAutoScaleMargin;
        }
    }
}

void Recording::computeAverages(ViewRecord& view) const
{
    const long double n = static_cast<long double>(view.last) + 1 - view.first;
    for (int i = 0; i < mem::kInputs; ++i) {
        if (enabled_[i])
            view.average[i] = n > 0 ? static_cast<double>(rawSum_[i] / n) : 0.0;
    }
}

AxisScale Recording::axisScale(int input) const
{
    if (input < 0 || input >= mem::kInputs)
        return {};
    const ViewRecord& v = currentView();
    return computeAxisScale(conversion_[input], v.top[input], v.bottom[input]);
}

} // namespace qz
