#include "graph/unit_graph.h"

#include "graph/graph_colours.h"
#include "graph/graph_parts.h"
#include "graph/round_scale.h"
#include "graph/timed_curves.h"
#include "model/simulated_logger.h"
#include "model/values.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace qz {

namespace {

constexpr int kScreenTop = 26;
constexpr int kBottomBand = 80; // the printed page's band, as the other drawing's
constexpr int kSideRoom = 20; // a side without an axis
constexpr int kLabelGap = 4; // between a tick's end and its label
constexpr int kAxisGap = 8; // between two axes' columns
constexpr double kLabelSpacing = 2.5; // label heights between two value labels
const QColor kGridColour(224, 224, 224);

// The time labels' room: "hh:mm" with two blanks, and so on.
TimeLabelRoom timeRoom(const QFontMetrics& fm)
{
    TimeLabelRoom room;
    const int blank = fm.horizontalAdvance(u' ');
    room.clock = fm.horizontalAdvance(QStringLiteral("00:00")) + 2 * blank;
    room.clockSeconds = fm.horizontalAdvance(QStringLiteral("00:00:00")) + 2 * blank;
    room.date = fm.horizontalAdvance(QStringLiteral("00/00")) + 2 * blank;
    return room;
}

QColor axisColour(const GraphView& view, const ValueAxis& axis)
{
    if (axis.curves.empty())
        return Qt::black;
    const Colour first = view.curveColour(axis.curves.front());
    for (const CurveRef& c : axis.curves)
        if (view.curveColour(c) != first)
            return Qt::black;
    return colourFromBgr(first);
}

FooterTexts footerOf(const GraphView& view)
{
    const ImageReader& reader = view.data().reader();
    const ViewRecord& v = view.currentView();
    const int first = std::clamp(v.first, 1, std::max(1, view.data().measurementCount()));
    FooterTexts texts;
    texts.start =
        QStringLiteral("Start : ") + reader.recordDateText(first) + u' ' + reader.recordTimeText(first);
    texts.serial = QStringLiteral("S/N : ") + serialNumberText(reader.serialNumber());
    return texts;
}

} // namespace

int unitRow(const GraphLayout& layout, const UnitRange& range, double value)
{
    const double span = range.high - range.low;
    if (!(span > 0))
        return layout.bottom;
    const double rise = std::clamp((value - range.low) * layout.height() / span, -1e7, 1e7);
    return layout.bottom - int(std::lround(rise));
}

UnitGraphPlan planUnitGraph(const GraphTarget& target, const GraphView& view, const GraphMetrics& metrics)
{
    UnitGraphPlan plan;
    const QFontMetrics& fm = metrics.metrics(GraphTextKind::ValueLabel);
    const int lh = fm.height();
    const int side = target.printer ? target.leftOffset : 0;
    const int width = target.size.width();

    plan.footer = planFooter(target, footerOf(view), metrics);
    const int footerTop = target.size.height() - target.bottomOffset / 2
        - plan.footer.rows * metrics.metrics(GraphTextKind::Serial).height();
    GraphLayout& layout = plan.layout;
    layout.top = target.printer ? (target.bottomOffset + kBottomBand) / 2 : kScreenTop;

    const std::vector<LegendEntry> entries = legendEntries(view);
    int legendHeight = entries.empty() ? 0 : lh;
    for (const ValueAxis& axis : view.valueAxes()) {
        UnitAxisPlan a;
        a.axis = axis;
        a.colour = axisColour(view, axis);
        plan.axes.push_back(a);
    }
    // Twice: the legend's rows depend on the plot's width, the labels (and so the width
    // of the axes) on its height.
    // Under the plot: the ticks, or half a value label at the bottom edge where fonts are
    // large, then two rows of time labels.
    const int underPlot = std::max(kTickLength, lh - lh / 2) + 2 * lh;
    const QFontMetrics& bold = metrics.metrics(GraphTextKind::Unit);
    const int halfW = bold.horizontalAdvance(QStringLiteral("W")) / 2;
    for (int pass = 0; pass < 2; ++pass) {
        layout.bottom = footerTop - legendHeight - (legendHeight ? kLabelGap : 0) - underPlot;
        const double height = std::max(1, layout.bottom - layout.top);
        int leftRoom = 0;
        int rightRoom = 0;
        for (std::size_t k = 0; k < plan.axes.size(); ++k) {
            UnitAxisPlan& a = plan.axes[k];
            a.left = k % 2 == 0;
            const UnitRange& r = a.axis.range;
            a.step = labelStep(r.low, r.high, height, kLabelSpacing * lh);
            a.values = roundValues(r.low, r.high, a.step);
            int labels = 0;
            for (double v : a.values)
                labels = std::max(labels, fm.horizontalAdvance(roundLabel(v, a.step)));
            // Room for the labels, and for the unit above them.
            a.width =
                std::max(kTickLength + kLabelGap + labels, bold.horizontalAdvance(r.unit) + halfW) + kAxisGap;
            (a.left ? leftRoom : rightRoom) += a.width;
        }
        const int halfTimeLabel = fm.horizontalAdvance(QStringLiteral("00/00/00")) / 2 + kLabelGap;
        layout.left = side + std::max(kSideRoom, leftRoom);
        layout.right = width - side - std::max({kSideRoom, rightRoom, halfTimeLabel});
        plan.legend = planLegend(entries, layout.left, layout.width(), 0, fm);
        legendHeight = plan.legend.height();
    }
    // The axis lines: the first on each side is the frame's edge, the others outwards.
    int leftX = layout.left;
    int rightX = layout.right;
    for (UnitAxisPlan& a : plan.axes) {
        if (a.left) {
            a.lineX = leftX;
            leftX -= a.width;
        } else {
            a.lineX = rightX;
            rightX += a.width;
        }
    }
    const int legendTop = footerTop - legendHeight;
    for (PlacedEntry& e : plan.legend.entries) {
        e.sample.translate(0, legendTop);
        e.textRect.translate(0, legendTop);
    }
    plan.timeLabelTop = timeLabelTop(layout, metrics);

    const TimeWindow& w = view.currentWindow();
    plan.timeStep =
        chooseTimeStep(w.span(), layout.width(), timeRoom(metrics.metrics(GraphTextKind::TimeLabel)));
    plan.instants = roundInstants(w, plan.timeStep);
    layout.timeStep = plan.timeStep.months ? plan.timeStep.months * 2629746 : plan.timeStep.seconds;
    layout.timeUnit = plan.timeStep.showsSeconds() ? TimeUnit::Seconds
        : plan.timeStep.showsClock()               ? TimeUnit::Minutes
                                                   : TimeUnit::Days;
    return plan;
}

namespace {

int timeX(const GraphLayout& layout, const TimeWindow& w, double t)
{
    const double span = w.span();
    if (!(span > 0))
        return layout.left;
    return layout.left + int(std::lround((t - w.from) * layout.width() / span));
}

void drawGrid(QPainter& painter, const UnitGraphPlan& plan, const GraphView& view)
{
    const GraphLayout& l = plan.layout;
    QPen pen = hairPen(kGridColour);
    painter.setPen(pen);
    if (!plan.axes.empty()) {
        const UnitAxisPlan& a = plan.axes.front();
        for (double v : a.values) {
            const int y = unitRow(l, a.axis.range, v);
            if (y > l.top && y < l.bottom - 1)
                painter.drawLine(l.left + 1, y, l.right - 2, y);
        }
    }
    for (double t : plan.instants) {
        const int x = timeX(l, view.currentWindow(), t);
        if (x > l.left && x < l.right - 1)
            painter.drawLine(x, l.top + 1, x, l.bottom - 2);
    }
}

void drawCurvesByUnit(QPainter& painter, const UnitGraphPlan& plan, const GraphView& view)
{
    drawTimedCurves(painter, plan.layout, view, [&](const CurveRef& c, RowTable& rows) {
        for (const UnitAxisPlan& a : plan.axes) {
            if (std::find(a.axis.curves.begin(), a.axis.curves.end(), c) == a.axis.curves.end())
                continue;
            rows = unitRows(view.data(c.recording).conversion(c.input), a.axis.range.low, a.axis.range.high,
                            plan.layout);
            return a.axis.range.high > a.axis.range.low;
        }
        return false;
    });
}

// Ticks of the value axes (and the lines of those beside the frame) and of the time axis.
void drawTicks(QPainter& painter, const UnitGraphPlan& plan, const GraphView& view, bool labelsShown)
{
    const GraphLayout& l = plan.layout;
    painter.setPen(hairPen(kFrameColour));
    for (const UnitAxisPlan& a : plan.axes) {
        if (a.lineX != l.left && a.lineX != l.right)
            painter.drawLine(a.lineX, l.top, a.lineX, l.bottom);
        if (!labelsShown)
            continue;
        for (double v : a.values) {
            const int y = unitRow(l, a.axis.range, v);
            if (y < l.top || y > l.bottom)
                continue;
            if (a.left)
                painter.drawLine(a.lineX - kTickLength + 1, y, a.lineX, y);
            else
                painter.drawLine(a.lineX, y, a.lineX + kTickLength - 1, y);
        }
    }
    for (double t : plan.instants) {
        const int x = timeX(l, view.currentWindow(), t);
        if (x >= l.left && x <= l.right)
            painter.drawLine(x, l.bottom, x, l.bottom + kTickLength - 1);
    }
}

void placeAxisTexts(TextPlaces& places, const UnitGraphPlan& plan, const GraphMetrics& metrics)
{
    const GraphLayout& l = plan.layout;
    const QFontMetrics& bold = metrics.metrics(GraphTextKind::Unit);
    const QFontMetrics& fm = metrics.metrics(GraphTextKind::ValueLabel);
    const int w = bold.horizontalAdvance(QStringLiteral("W"));
    for (const UnitAxisPlan& a : plan.axes) {
        const QString& unit = a.axis.range.unit;
        const int unitWidth = bold.horizontalAdvance(unit);
        const int unitX = a.left ? a.lineX - unitWidth - w / 2 : a.lineX + w / 2;
        places.place({GraphTextKind::Unit, unit,
                      QRect(unitX, int(l.top / 2 - bold.height() / 2.0), unitWidth, bold.height()),
                      a.colour});
        for (double v : a.values) {
            const int y = unitRow(l, a.axis.range, v);
            if (y < l.top || y > l.bottom)
                continue;
            const QString text = roundLabel(v, a.step);
            const int width = fm.horizontalAdvance(text);
            const int x =
                a.left ? a.lineX - kTickLength - kLabelGap - width : a.lineX + kTickLength + kLabelGap;
            places.place({GraphTextKind::ValueLabel, text,
                          QRect(x, int(y - fm.height() / 2.0), width, fm.height()), a.colour});
        }
    }
}

void placeRoundTimeLabels(TextPlaces& places, const UnitGraphPlan& plan, const GraphView& view,
                          const GraphMetrics& metrics)
{
    const GraphLayout& l = plan.layout;
    const QFontMetrics& fm = metrics.metrics(GraphTextKind::TimeLabel);
    const int gap = fm.horizontalAdvance(u' ');
    const std::vector<RoundTimeLabel> labels = roundTimeLabels(plan.instants, plan.timeStep);
    int lastRight = std::numeric_limits<int>::min();
    int lastLowerRight = std::numeric_limits<int>::min();
    QString pendingLower; // a date whose label was left out goes under the next one shown
    for (std::size_t n = 0; n < labels.size(); ++n) {
        const int x = timeX(l, view.currentWindow(), plan.instants[n]);
        if (!labels[n].lower.isEmpty())
            pendingLower = labels[n].lower;
        if (x < l.left || x > l.right)
            continue;
        const QString& upper = labels[n].upper;
        const int width = fm.horizontalAdvance(upper);
        const PlacedText label{GraphTextKind::TimeLabel, upper,
                               QRect(int(x - width / 2.0), plan.timeLabelTop, width, fm.height())};
        if (label.rect.left() < lastRight + gap || !places.place(label))
            continue;
        lastRight = label.rect.right() + 1;
        if (pendingLower.isEmpty())
            continue;
        const int lowerWidth = fm.horizontalAdvance(pendingLower);
        const PlacedText lower{GraphTextKind::TimeLabel, pendingLower,
                               QRect(std::max(int(x - lowerWidth / 2.0), lastLowerRight + gap),
                                     plan.timeLabelTop + fm.height(), lowerWidth, fm.height())};
        if (places.place(lower)) {
            lastLowerRight = lower.rect.right() + 1;
            pendingLower.clear();
        }
    }
}

} // namespace

DrawResult drawUnitGraph(QPainter& painter, const GraphTarget& target, const GraphView& view,
                         const DrawOptions& options)
{
    const GraphMetrics metrics(target.fontIncrement, painter.device());
    const UnitGraphPlan plan = planUnitGraph(target, view, metrics);
    const GraphLayout& layout = plan.layout;
    DrawResult result;
    result.layout = layout;
    result.footerRows = plan.footer.rows;
    result.leftTickInside = true;
    result.rightTickInside = true;
    for (const UnitAxisPlan& a : plan.axes)
        (a.left ? result.leftTickInside : result.rightTickInside) &= !a.values.empty();

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const bool room = layout.width() > 1 && layout.height() > 1;
    const QRect frame(layout.left, layout.top, layout.width() - 1, layout.height() - 1);
    if (room) {
        painter.setPen(hairPen(kFrameColour));
        painter.setBrush(Qt::white);
        painter.drawRect(frame);
        painter.setBrush(Qt::NoBrush);
        if (view.settings().grid)
            drawGrid(painter, plan, view);
        drawCurvesByUnit(painter, plan, view);
    }
    clearMargins(painter, target, layout);
    if (room) {
        // The curves may have drawn over the frame's edges.
        painter.setPen(hairPen(kFrameColour));
        painter.drawRect(frame);
    }
    drawTicks(painter, plan, view, options.labelsShown);

    TextPlaces places;
    for (const PlacedText& t : plan.footer.texts)
        places.place(t);
    places.place(
        placeName(trimLeadingBlanks(trimTrailingBlanks(view.data().reader().recordName())), layout, metrics));
    if (options.labelsShown)
        placeAxisTexts(places, plan, metrics);
    for (const PlacedEntry& e : plan.legend.entries)
        places.place({GraphTextKind::Legend, e.text, e.textRect, Qt::black});
    placeRoundTimeLabels(places, plan, view, metrics);
    for (const PlacedEntry& e : plan.legend.entries)
        painter.fillRect(e.sample, e.colour);
    drawTexts(painter, places.texts(), metrics);
    result.texts = places.texts();
    result.legend = plan.legend;
    painter.restore();
    return result;
}

} // namespace qz
