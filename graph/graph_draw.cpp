#include "graph/graph_draw.h"

#include "graph/axis_ticks.h"
#include "graph/curve_lines.h"
#include "graph/curve_paint.h"
#include "graph/graph_parts.h"
#include "graph/graph_view.h"
#include "graph/timed_curves.h"
#include "graph/unit_graph.h"
#include "model/values.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace qz {

namespace {

// The current level's measurements, held inside the primary recording.
struct Range {
    int first = 1;
    int last = 1;
};

Range viewRange(const GraphView& view)
{
    const ViewRecord& v = view.currentView();
    const int count = view.data().measurementCount();
    Range r;
    r.first = std::clamp(v.first, 1, std::max(1, count));
    r.last = std::clamp(v.last, r.first, std::max(r.first, count));
    return r;
}

std::int64_t spanSeconds(const GraphView& view, const Range& r)
{
    const RecordingData& data = view.data();
    return secondsFromDateTime(data.measurementTime(r.last) - data.measurementTime(r.first));
}

// The legend of several recordings, in rows over the plot's width above the footer.
LegendPlan classicLegend(const GraphView& view, const GraphLayout& layout, const GraphMetrics& metrics)
{
    if (view.recordingCount() < 2)
        return {};
    return planLegend(legendEntries(view), layout.left, layout.width(), 0,
                      metrics.metrics(GraphTextKind::Legend));
}

// The layout on the target, with the rows the footer and the legend need there.
GraphLayout layoutFor(const GraphTarget& target, const GraphView& view, const Range& r,
                      const FooterPlan& footer, const GraphMetrics& metrics, LegendPlan* legend = nullptr)
{
    GraphLayout layout;
    computeHorizontalLayout(target, spanSeconds(view, r), layout);
    LegendPlan plan = classicLegend(view, layout, metrics);
    computeVerticalLayout(target, layout, footer.extraHeight + plan.height());
    if (legend) {
        const int footerTop = target.size.height() - target.bottomOffset / 2
            - footer.rows * metrics.metrics(GraphTextKind::Serial).height();
        for (PlacedEntry& e : plan.entries) {
            e.sample.translate(0, footerTop - plan.height());
            e.textRect.translate(0, footerTop - plan.height());
        }
        *legend = std::move(plan);
    }
    return layout;
}

} // namespace

QPen hairPen(const QColor& colour)
{
    QPen pen(colour);
    // Width 0: one device pixel on a screen, the thinnest visible line on paper and in a
    // PDF at any resolution.
    pen.setWidth(0);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

void drawTextAt(QPainter& painter, int x, int y, const QString& text)
{
    painter.drawText(x, y + painter.fontMetrics().ascent(), text);
}

void drawCurves(QPainter& painter, const GraphLayout& layout, const GraphView& view, int first, int last)
{
    if (view.recordingCount() > 1) {
        // Several recordings meet on the time axis, each input on its own raw scale.
        drawTimedCurves(painter, layout, view, [&](const CurveRef& c, RowTable& rows) {
            const ViewRecord& v = view.record(view.currentLevel(), c.recording);
            const std::size_t i = std::size_t(c.input);
            const CurveScale scale(v.top[i], v.bottom[i], layout.bottom, layout.height());
            for (int raw = 0; raw < 256; ++raw)
                rows[std::size_t(raw)] = scale.row(raw);
            return scale.isDrawable();
        });
        return;
    }
    if (last <= first)
        return;
    std::vector<std::uint8_t> raws(std::size_t(last - first + 1));
    std::array<CurveLines, mem::kInputs> lines;
    std::vector<CurveToPaint> curves;
    const ViewRecord& level = view.currentView();
    const RecordingData& data = view.data();
    for (int i = 0; i < mem::kInputs; ++i) {
        if (!view.isInputDrawn(i))
            continue;
        const CurveScale scale(level.top[i], level.bottom[i], layout.bottom, layout.height());
        if (!scale.isDrawable())
            continue;
        data.samples(i, first, last - first + 1, raws.data());
        buildCurve(raws, layout.left, layout.width(), scale, lines[std::size_t(i)]);
        curves.push_back({&lines[std::size_t(i)].lines(), colourFromBgr(view.colours()[std::size_t(1 + i)])});
    }
    paintCurves(painter, curves);
}

namespace {
// Fills x0..x1 - 1, y0..y1 - 1 white; nothing when that is empty.
void fillWhite(QPainter& painter, int x0, int y0, int x1, int y1)
{
    if (x1 > x0 && y1 > y0)
        painter.fillRect(QRect(x0, y0, x1 - x0, y1 - y0), Qt::white);
}
} // namespace

void clearMargins(QPainter& painter, const GraphTarget& target, const GraphLayout& layout)
{
    // Curve parts outside the frame disappear; the row of the bottom edge stays.
    const int w = target.size.width();
    const int h = target.size.height();
    fillWhite(painter, 0, 0, w, layout.top);
    fillWhite(painter, 0, layout.bottom + 1, w, h);
    fillWhite(painter, layout.right, 0, w, h);
    fillWhite(painter, 0, 0, layout.left, h);
}

GraphLayout computeLayout(const GraphTarget& target, const GraphView& view)
{
    // Measured as on the screen's canvas.
    const QImage canvas = newCanvas(QSize(1, 1));
    const GraphMetrics metrics(target.fontIncrement, &canvas);
    if (view.unitAxes())
        return planUnitGraph(target, view, metrics).layout;
    const Range r = viewRange(view);
    return layoutFor(target, view, r, planFooter(target, footerTextsOf(view, r.first), metrics), metrics);
}

DrawResult drawGraph(QPainter& painter, const GraphTarget& target, const GraphView& view,
                     const DrawOptions& options)
{
    if (view.unitAxes())
        return drawUnitGraph(painter, target, view, options);
    const Range r = viewRange(view);
    const GraphMetrics metrics(target.fontIncrement, painter.device());
    const FooterPlan footer = planFooter(target, footerTextsOf(view, r.first), metrics);
    DrawResult result;
    result.layout = layoutFor(target, view, r, footer, metrics, &result.legend);
    result.footerRows = footer.rows;
    const GraphLayout& layout = result.layout;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);

    // The frame's rectangle also clears the plot area. Like every rectangle of the
    // graph it covers left..right - 1 and top..bottom - 1.
    if (layout.width() > 1 && layout.height() > 1) {
        painter.setPen(hairPen(kFrameColour));
        painter.setBrush(Qt::white);
        painter.drawRect(QRect(layout.left, layout.top, layout.width() - 1, layout.height() - 1));
        painter.setBrush(Qt::NoBrush);
        drawCurves(painter, layout, view, r.first, r.last);
    }
    clearMargins(painter, target, layout);
    if (target.printer && layout.width() > 1 && layout.height() > 1) {
        // On paper and in a PDF the thinnest line is widened when shown, and the white
        // margins drawn after it would eat half of the frame: draw its outline again.
        painter.setPen(hairPen(kFrameColour));
        painter.drawRect(QRect(layout.left, layout.top, layout.width() - 1, layout.height() - 1));
    }
    const std::vector<TimeTick> timeTicks = drawTimeTicks(painter, layout, view, r.first, r.last);
    std::vector<PlacedText> axisTexts;
    result.leftTickInside =
        drawValueAxis(&painter, layout, view, AxisSide::Left, options.labelsShown, &metrics, &axisTexts);
    result.rightTickInside =
        drawValueAxis(&painter, layout, view, AxisSide::Right, options.labelsShown, &metrics, &axisTexts);

    // The texts in the order they keep their places: the footer, the name, the units and
    // value labels, then the time labels.
    TextPlaces places;
    for (const PlacedText& t : footer.texts)
        places.place(t);
    places.place(
        placeName(trimLeadingBlanks(trimTrailingBlanks(view.data().reader().recordName())), layout, metrics));
    for (const PlacedText& t : axisTexts)
        places.place(t);
    for (const PlacedEntry& e : result.legend.entries)
        places.place({GraphTextKind::Legend, e.text, e.textRect, Qt::black});
    placeTimeLabels(places, timeTicks, layout.timeUnit, layout, metrics);
    for (const PlacedEntry& e : result.legend.entries)
        painter.fillRect(e.sample, e.colour);
    drawTexts(painter, places.texts(), metrics);
    result.texts = places.texts();

    painter.restore();
    return result;
}

bool axisTickInside(const GraphLayout& layout, const GraphView& view, AxisSide side)
{
    if (!view.unitAxes())
        return drawValueAxis(nullptr, layout, view, side, false, nullptr, nullptr);
    // A unit's axis always has a round label on it while its range is not empty.
    const std::vector<ValueAxis> axes = view.valueAxes();
    for (std::size_t k = side == AxisSide::Left ? 0 : 1; k < axes.size(); k += 2)
        if (!(axes[k].range.high > axes[k].range.low) || layout.height() <= 0)
            return false;
    return true;
}

} // namespace qz
