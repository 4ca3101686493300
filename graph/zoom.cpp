#include "graph/zoom.h"

#include "graph/graph_draw.h"
#include "graph/graph_view.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace qz {

namespace {

// The input still has a raw range, oriented as on the level above (a falling input's
// range runs downwards in raw units).
bool hasHeight(const ViewRecord& v, const ViewRecord& above, int input)
{
    const double now = v.top[std::size_t(input)] - v.bottom[std::size_t(input)];
    const double before = above.top[std::size_t(input)] - above.bottom[std::size_t(input)];
    return before > 0 ? now > 0 : before < 0 && now < 0;
}

} // namespace

ZoomView computeZoomView(const GraphLayout& layout, const ViewRecord& v, QPoint a, QPoint b)
{
    const int x0 = std::min(a.x(), b.x());
    const int x1 = std::max(a.x(), b.x());
    const int y0 = std::min(a.y(), b.y());
    const int y1 = std::max(a.y(), b.y());
    const std::int64_t w = layout.width();
    const int h = layout.height();
    const std::int64_t span = std::int64_t(v.last) - v.first;

    ZoomView z;
    z.first = w > 0 ? int((x0 - layout.left) * span / w + v.first) : v.first;
    z.last = w > 0 ? int((x1 - layout.left) * span / w + v.first) : v.last;
    for (std::size_t i = 0; i < std::size_t(mem::kInputs); ++i) {
        const long double range = static_cast<long double>(v.top[i]) - v.bottom[i];
        if (h <= 0) {
            z.top[i] = v.top[i];
            z.bottom[i] = v.bottom[i];
            continue;
        }
        z.top[i] = double((layout.bottom - y0) * range / h + v.bottom[i]);
        z.bottom[i] = double((layout.bottom - y1) * range / h + v.bottom[i]);
    }
    return z;
}

namespace {

// The next level from the rectangle on the picture of the current level, by time: its
// columns choose the instants, its rows each plotted range (of every recording's inputs
// and of every unit).
void pushWindow(GraphView& view, const GraphLayout& layout, QPoint a, QPoint b)
{
    const int level = view.currentLevel();
    const TimeWindow w = view.currentWindow();
    const double x0 = std::min(a.x(), b.x()) - layout.left;
    const double x1 = std::max(a.x(), b.x()) - layout.left;
    const double y0 = layout.bottom - std::min(a.y(), b.y()); // rows above the bottom edge
    const double y1 = layout.bottom - std::max(a.y(), b.y());
    const double width = layout.width();
    const double height = layout.height();
    const TimeWindow next =
        width > 0 ? TimeWindow{w.from + x0 * w.span() / width, w.from + x1 * w.span() / width} : w;
    std::vector<ZoomView> raw;
    for (int r = 0; r < view.recordingCount(); ++r)
        raw.push_back(computeZoomView(layout, view.record(level, r), a, b));
    const std::vector<UnitRange> units = view.unitRanges(level);

    view.showWindow(level + 1, next);
    for (int r = 0; r < view.recordingCount(); ++r) {
        ViewRecord& v = view.record(level + 1, r);
        for (int i = 0; i < mem::kInputs; ++i) {
            if (!view.data(r).isEnabled(i))
                continue;
            v.top[std::size_t(i)] = raw[std::size_t(r)].top[std::size_t(i)];
            v.bottom[std::size_t(i)] = raw[std::size_t(r)].bottom[std::size_t(i)];
        }
    }
    if (!(height > 0))
        return;
    for (UnitRange& u : view.unitRanges(level + 1)) {
        for (const UnitRange& before : units) {
            if (before.unit != u.unit)
                continue;
            const double range = before.high - before.low;
            u.low = before.low + y1 * range / height;
            u.high = before.low + y0 * range / height;
        }
    }
}

// The range test of a level made by time: every plotted range keeps its height, and one
// recording at least shows two measurement steps.
ZoomOutcome testWindow(const GraphView& view)
{
    const int level = view.currentLevel();
    if (view.unitAxes()) {
        for (const ValueAxis& a : view.valueAxes())
            if (!(a.range.high > a.range.low))
                return ZoomOutcome::NoHeight;
    } else {
        for (int r = 0; r < view.recordingCount(); ++r)
            for (int i = 0; i < mem::kInputs; ++i)
                if (view.isDrawn(r, i) && !hasHeight(view.record(level, r), view.record(level - 1, r), i))
                    return ZoomOutcome::NoHeight;
    }
    return view.holdsThreeMeasurements() ? ZoomOutcome::Zoomed : ZoomOutcome::WindowTooSmall;
}

} // namespace

bool zoomsByMeasurement(const GraphView& view)
{
    return view.recordingCount() == 1 && !view.unitAxes();
}

ZoomResult zoomIn(GraphView& view, const GraphLayout& layout, QPoint start, QPoint end)
{
    const int level = view.currentLevel();
    const bool byMeasurement = zoomsByMeasurement(view);
    if (level < kDeepestLevel && !byMeasurement) {
        pushWindow(view, layout, start, end);
    } else if (level < kDeepestLevel) {
        const ZoomView z = computeZoomView(layout, view.currentView(), start, end);
        ViewRecord& v = view.showLevel(level + 1, z.first, z.last);
        // The rectangle's height, not the data, decides the new raw range.
        for (int i = 0; i < mem::kInputs; ++i) {
            if (!view.data().isEnabled(i))
                continue;
            v.top[std::size_t(i)] = z.top[std::size_t(i)];
            v.bottom[std::size_t(i)] = z.bottom[std::size_t(i)];
        }
    }
    // A refused level goes back one, also at the deepest level where no level was added:
    // the picture then shows the level above, as after a step back. Never above level 0.
    const auto stepBack = [&view] { view.setCurrentLevel(view.currentLevel() - 1); };
    ZoomResult result;

    // Each value axis needs a tick inside the plot to be read at all. The range test
    // then judges the level stepped back to.
    if (!axisTickInside(layout, view, AxisSide::Left) || !axisTickInside(layout, view, AxisSide::Right)) {
        result.outcome = ZoomOutcome::WindowTooSmall;
        result.redraw = true;
        stepBack();
    }

    if (!byMeasurement) {
        const ZoomOutcome tested = testWindow(view);
        if (tested != ZoomOutcome::Zoomed) {
            stepBack();
            if (result.outcome == ZoomOutcome::Zoomed)
                result.outcome = tested;
            return result;
        }
        result.redraw = true;
        return result;
    }

    const ViewRecord& v = view.currentView();
    const ViewRecord& above = view.view(view.currentLevel() - 1);
    const bool tooFew = std::abs(std::int64_t(v.last) - v.first) < 2;
    for (int i = 0; i < mem::kInputs; ++i) {
        if (!view.data().isEnabled(i))
            continue;
        if (!hasHeight(v, above, i)) {
            stepBack();
            if (result.outcome == ZoomOutcome::Zoomed)
                result.outcome = ZoomOutcome::NoHeight;
            return result;
        }
        if (tooFew) {
            // One gesture tells "Window too small " once.
            stepBack();
            result.outcome = ZoomOutcome::WindowTooSmall;
            return result;
        }
    }
    result.redraw = true;
    return result;
}

bool zoomOut(GraphView& view)
{
    const int level = view.currentLevel();
    if (level <= 0)
        return false;
    view.setCurrentLevel(level - 1);
    return true;
}

} // namespace qz
