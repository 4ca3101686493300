#include "graph/timed_curves.h"

#include "graph/curve_envelope.h"
#include "graph/curve_paint.h"
#include "graph/graph_colours.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace qz {

namespace {
// As in CurveScale: rows beyond this distance from the plot are held there.
constexpr double kRowLimit = double(1 << 22);
} // namespace

RowTable unitRows(const Conversion& conversion, double low, double high, const GraphLayout& layout)
{
    RowTable rows;
    const double range = high - low;
    const double h = layout.height();
    for (int raw = 0; raw < 256; ++raw) {
        const double v = double(conversion.physical(raw));
        double rise = range > 0 ? (v - low) * h / range : 0;
        if (!std::isfinite(rise))
            rise = 0;
        rise = std::clamp(rise, -kRowLimit, kRowLimit);
        rows[std::size_t(raw)] = layout.bottom - int(std::lround(rise));
    }
    return rows;
}

void drawTimedCurves(QPainter& painter, const GraphLayout& layout, const GraphView& view,
                     const std::function<bool(const CurveRef&, RowTable&)>& rowsOf)
{
    const TimeWindow& w = view.currentWindow();
    const double span = w.span();
    if (!(span > 0) || layout.width() <= 1)
        return;
    const double pixelsPerSecond = layout.width() / span;
    const std::vector<CurveRef> curves = view.curves();
    std::vector<std::vector<QLine>> lines;
    lines.reserve(curves.size());
    std::vector<CurveToPaint> toPaint;
    RowTable rows;
    std::vector<std::uint8_t> raws;
    for (const CurveRef& c : curves) {
        if (!rowsOf(c, rows))
            continue;
        const RecordingData& data = view.data(c.recording);
        const ViewRecord& v = view.record(view.currentLevel(), c.recording);
        const Timeline& t = view.timeline(c.recording);
        // One measurement beyond each edge, so that the curve runs to the frame.
        const int from = std::clamp(std::min(v.first, v.last + 1) - 1, 1, std::max(1, t.count));
        const int to = std::clamp(std::max(v.last, v.first - 1) + 1, 1, std::max(1, t.count));
        const double a = layout.left + (t.origin + view.shift(c.recording) - w.from) * pixelsPerSecond;
        const double b = t.step * pixelsPerSecond;
        raws.resize(std::size_t(to - from + 1));
        data.samples(c.input, from, to - from + 1, raws.data());
        const auto rowOf = [&](int k) { return rows[raws[std::size_t(k - from)]]; };
        CurveEnvelope envelope(layout.left, layout.right - 1);
        // The measurements over the columns in one pass, those beyond them one by one.
        const int inFirst = std::clamp(int(std::ceil((layout.left - a) / b)), from, to + 1);
        int inLast = std::clamp(int(std::ceil((layout.right - a) / b)) - 1, inFirst - 1, to);
        while (inLast >= inFirst && a + b * inLast >= layout.right)
            --inLast;
        for (int k = from; k < inFirst; ++k)
            envelope.add(a + b * k, rowOf(k));
        if (inFirst <= inLast && a + b * inFirst >= layout.left) {
            envelope.addInside(a + b * inFirst, b, inLast - inFirst + 1,
                               [&](int n) { return rowOf(inFirst + n); });
        } else {
            for (int k = inFirst; k <= inLast; ++k)
                envelope.add(a + b * k, rowOf(k));
        }
        for (int k = std::max(inLast + 1, inFirst); k <= to; ++k)
            envelope.add(a + b * k, rowOf(k));
        lines.push_back(envelope.lines());
        toPaint.push_back({nullptr, colourFromBgr(view.curveColour(c))});
    }
    for (std::size_t n = 0; n < toPaint.size(); ++n)
        toPaint[n].lines = &lines[n];
    paintCurves(painter, toPaint);
}

} // namespace qz
