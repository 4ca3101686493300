#include "graph/navigation.h"

#include "graph/graph_view.h"
#include "graph/zoom.h"

#include <algorithm>
#include <cmath>

namespace qz {

namespace {

// The window moved inside the span of the recordings, keeping its length where it fits.
TimeWindow inside(const TimeWindow& extent, TimeWindow w)
{
    if (w.span() >= extent.span())
        return extent;
    if (w.from < extent.from)
        w = {extent.from, extent.from + w.span()};
    if (w.to > extent.to)
        w = {extent.to - w.span(), extent.to};
    return w;
}

// Makes w the current level's window, as whole measurements of the one recording when
// the view zooms by measurement. False when it would show fewer than three measurements
// of every recording, or nothing would change.
bool moveTo(GraphView& view, TimeWindow w)
{
    w = inside(view.extent(), w);
    if (zoomsByMeasurement(view)) {
        const Timeline& t = view.timeline(0);
        const double s = view.shift(0);
        const int first = std::clamp(int(std::lround((w.from - s - t.origin) / t.step)), 1, t.count);
        const int last = std::clamp(int(std::lround((w.to - s - t.origin) / t.step)), 1, t.count);
        if (last - first < 2)
            return false;
        w = {view.viewTime(0, first), view.viewTime(0, last)};
    }
    if (w == view.currentWindow())
        return false;
    const int level = view.currentLevel();
    const TimeWindow before = view.currentWindow();
    const int beforeLevel = level;
    view.moveWindow(w);
    if (!view.holdsThreeMeasurements()) {
        // Back as it was.
        view.moveWindow(before);
        view.setCurrentLevel(beforeLevel);
        return false;
    }
    return true;
}

double instantAt(const GraphLayout& layout, const TimeWindow& w, int x)
{
    return layout.width() > 0 ? w.from + (x - layout.left) * w.span() / layout.width() : w.from;
}

// Every plotted range of the current level through f(low, high).
template <typename F> void changeRanges(GraphView& view, F f)
{
    view.leaveWholeView();
    const int level = view.currentLevel();
    for (UnitRange& u : view.unitRanges(level))
        f(u.low, u.high);
    for (int r = 0; r < view.recordingCount(); ++r) {
        ViewRecord& v = view.record(level, r);
        for (int i = 0; i < mem::kInputs; ++i)
            if (view.data(r).isEnabled(i))
                f(v.bottom[std::size_t(i)], v.top[std::size_t(i)]);
    }
}

} // namespace

bool zoomTimeAround(GraphView& view, const GraphLayout& layout, int x, double factor)
{
    if (!(factor > 0) || factor == 1 || layout.width() <= 0)
        return false;
    const TimeWindow w = view.currentWindow();
    const double t = instantAt(layout, w, std::clamp(x, layout.left, layout.right));
    return moveTo(view, {t - (t - w.from) * factor, t + (w.to - t) * factor});
}

bool zoomValuesAround(GraphView& view, const GraphLayout& layout, int y, double factor)
{
    const double height = layout.height();
    if (!(factor > 0) || factor == 1 || !(height > 0))
        return false;
    // The share of the height below the row, the same on every axis.
    const double share = (layout.bottom - std::clamp(y, layout.top, layout.bottom)) / height;
    bool flat = false;
    changeRanges(view, [&](double& low, double& high) {
        const double at = low + share * (high - low);
        const double newLow = at - (at - low) * factor;
        const double newHigh = at + (high - at) * factor;
        // A range so small it reads as none stays as it was.
        if (newHigh == newLow || !std::isfinite(newLow) || !std::isfinite(newHigh)) {
            flat = true;
            return;
        }
        low = newLow;
        high = newHigh;
    });
    return !flat || factor > 1;
}

bool pan(GraphView& view, const GraphLayout& layout, QPoint delta)
{
    if (layout.width() <= 0 || layout.height() <= 0)
        return false;
    bool moved = false;
    if (delta.x() != 0) {
        const TimeWindow w = view.currentWindow();
        const double dt = -delta.x() * w.span() / layout.width();
        moved = moveTo(view, {w.from + dt, w.to + dt});
    }
    if (delta.y() != 0) {
        const double share = double(delta.y()) / layout.height();
        changeRanges(view, [share](double& low, double& high) {
            const double d = share * (high - low);
            low += d;
            high += d;
        });
        moved = true;
    }
    return moved;
}

bool showAll(GraphView& view)
{
    if (view.currentLevel() == 0)
        return false;
    view.setCurrentLevel(0);
    return true;
}

} // namespace qz
