// The time axis, the value axes, the footer's texts and the drawing of the placed texts.
#include "graph/axis_ticks.h"
#include "graph/graph_parts.h"
#include "graph/graph_view.h"
#include "model/simulated_logger.h"
#include "model/values.h"

#include <QFontMetrics>

namespace qz {

namespace {
constexpr int kLabelGap = 10; // between a value label and the frame
} // namespace

std::vector<TimeTick> drawTimeTicks(QPainter& painter, const GraphLayout& layout, const GraphView& view,
                                    int first, int last)
{
    const ImageReader& reader = view.data().reader();
    const std::int64_t t0 = secondsFromDateTime(reader.recordDateTime(first));
    const std::int64_t t1 = secondsFromDateTime(reader.recordDateTime(last));
    // Round ticks are looked for in the first 12 % of the view.
    const int limitMeasurement = first + int((std::int64_t(last - first) * 12) / 100);
    const double limit = reader.recordDateTime(limitMeasurement);
    const std::int64_t firstTick =
        secondsFromDateTime(reader.recordDateTimeRounded(first, int(layout.timeUnit), limit));

    std::vector<TimeTick> shown;
    painter.setPen(hairPen(kFrameColour));
    for (const TimeTick& tick : computeTimeTicks(layout, t0, t1, firstTick)) {
        if (tick.x < layout.left || tick.x > layout.right)
            continue;
        painter.drawLine(tick.x, layout.bottom, tick.x, layout.bottom + kTickLength - 1);
        shown.push_back(tick);
    }
    return shown;
}

bool drawValueAxis(QPainter* painter, const GraphLayout& layout, const GraphView& view, AxisSide side,
                   bool labelsShown, const GraphMetrics* metrics, std::vector<PlacedText>* texts)
{
    const DisplaySettings& settings = view.settings();
    const int input = side == AxisSide::Left ? settings.leftAxisInput : settings.rightAxisInput;
    if (input < 0 || input >= mem::kInputs)
        return true; // no axis on this side: nothing can be outside
    const AxisScale scale = view.axisScale(input);
    const ValueTicks ticks = computeValueTicks(layout, scale);
    if (!painter || !labelsShown)
        return ticks.tickInside;

    const QColor colour = colourFromBgr(view.colours()[std::size_t(1 + input)]);
    painter->setPen(hairPen(kFrameColour));
    for (const ValueTick& tick : ticks.ticks) {
        if (tick.y < layout.top || tick.y > layout.bottom)
            continue;
        if (side == AxisSide::Left)
            painter->drawLine(layout.left - kTickLength + 1, tick.y, layout.left, tick.y);
        else
            painter->drawLine(layout.right, tick.y, layout.right + kTickLength - 1, tick.y);
    }
    if (!metrics || !texts)
        return ticks.tickInside;

    // The unit, centred in the top margin beside the frame.
    const QFontMetrics& bold = metrics->metrics(GraphTextKind::Unit);
    const QString& unit = view.data().input(input).unit;
    const int w = bold.horizontalAdvance(QStringLiteral("W"));
    const int unitWidth = bold.horizontalAdvance(unit);
    const int unitX = side == AxisSide::Left ? layout.left - unitWidth - w : layout.right + w;
    const int unitY = int(layout.top / 2 - bold.height() / 2.0);
    texts->push_back(
        {GraphTextKind::Unit, unit, QRect(unitX, unitY, unitWidth, bold.height()), colour, input});
    // The number of the input whose scale this is, just before its unit.
    const QFontMetrics& regular = metrics->metrics(GraphTextKind::InputNumber);
    const QString owner = QString::number(input + 1) + u':';
    const int ownerWidth = regular.horizontalAdvance(owner);
    texts->push_back({GraphTextKind::InputNumber, owner,
                      QRect(unitX - ownerWidth, unitY, ownerWidth, regular.height()), colour, input});

    const QFontMetrics& fm = metrics->metrics(GraphTextKind::ValueLabel);
    const QString pattern = axisLabelPattern(view.data().valueFormat(input), scale.step);
    for (const ValueTick& tick : ticks.ticks) {
        if (tick.y < layout.top || tick.y > layout.bottom)
            continue;
        const QString text = valueLabelText(tick.value, pattern);
        const int width = fm.horizontalAdvance(text);
        const int x = side == AxisSide::Left ? layout.left - width - kLabelGap : layout.right + kLabelGap;
        texts->push_back({GraphTextKind::ValueLabel, text,
                          QRect(x, int(tick.y - fm.height() / 2.0), width, fm.height()), colour, input});
    }
    return ticks.tickInside;
}

FooterTexts footerTextsOf(const GraphView& view, int first)
{
    const ImageReader& reader = view.data().reader();
    FooterTexts texts;
    texts.start =
        QStringLiteral("Start : ") + reader.recordDateText(first) + u' ' + reader.recordTimeText(first);
    texts.serial = QStringLiteral("S/N : ") + serialNumberText(reader.serialNumber());
    for (int i = 0; i < mem::kInputs; ++i)
        if (view.isInputDrawn(i))
            texts.numbers.push_back({i, colourFromBgr(view.colours()[std::size_t(1 + i)])});
    return texts;
}

void drawTexts(QPainter& painter, const std::vector<PlacedText>& texts, const GraphMetrics& metrics)
{
    for (const PlacedText& t : texts) {
        painter.setFont(metrics.font(t.kind));
        painter.setPen(t.colour);
        drawTextAt(painter, t.rect.left(), t.rect.top(), t.text);
    }
}

} // namespace qz
