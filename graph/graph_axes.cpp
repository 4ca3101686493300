// The time axis, the value axes, the footer and the recording's name.
#include "graph/axis_ticks.h"
#include "graph/graph_fonts.h"
#include "graph/graph_parts.h"
#include "model/values.h"
#include "recording/recording.h"

#include <QFontMetrics>

namespace qz {

namespace {
constexpr int kTickLength = 8;
constexpr int kLabelGap = 10;   // between a value label and the frame
constexpr int kLabelPoints = 8;
constexpr int kTitlePoints = 10;
} // namespace

void DrawTimeAxis(QPainter& painter, const GraphTarget& target, const GraphLayout& layout,
                  const Recording& recording, int first, int last)
{
    const ImageReader& reader = recording.reader();
    const std::int64_t t0 = SecondsFromDateTime(reader.recordDateTime(first));
    const std::int64_t t1 = SecondsFromDateTime(reader.recordDateTime(last));
    // Round ticks are looked for in the first 12 % of the view.
    const int limitMeasurement = first + int((std::int64_t(last - first) * 12) / 100);
    const double limit = reader.recordDateTime(limitMeasurement);
    const std::int64_t firstTick = SecondsFromDateTime(
        reader.recordDateTimeRounded(first, int(layout.timeUnit), limit));

    painter.setFont(GraphFont(kLabelPoints + target.fontIncrement, false));
    const QFontMetrics fm = painter.fontMetrics();
    TimeLabeler labeler(layout.timeUnit);
    for (const TimeTick& tick : ComputeTimeTicks(layout, t0, t1, firstTick)) {
        if (tick.x < layout.left || tick.x > layout.right)
            continue;
        painter.setPen(HairPen(kFrameColour));
        painter.drawLine(tick.x, layout.bottom, tick.x, layout.bottom + kTickLength - 1);
        const QString text = labeler.Next(tick.seconds);
        painter.setPen(Qt::black);
        DrawTextAt(painter, int(tick.x - fm.horizontalAdvance(text) / 2.0), layout.bottom + kTickLength, text);
    }
}

bool DrawValueAxis(QPainter* painter, const GraphTarget& target, const GraphLayout& layout,
                   const Recording& recording, AxisSide side, bool labelsShown)
{
    const DisplaySettings& settings = recording.settings();
    const int input = side == AxisSide::Left ? settings.leftAxisInput : settings.rightAxisInput;
    if (input < 0 || input >= mem::kInputs)
        return true; // no axis on this side: nothing can be outside
    const AxisScale scale = recording.axisScale(input);
    const ValueTicks ticks = ComputeValueTicks(layout, scale);
    if (!painter || !labelsShown)
        return ticks.tickInside;

    const QColor colour = ColourFromBgr(recording.colours()[std::size_t(1 + input)]);
    const QString pattern = AxisLabelPattern(recording.valueFormat(input), scale.step);
    painter->setFont(GraphFont(kLabelPoints + target.fontIncrement, false));
    const QFontMetrics fm = painter->fontMetrics();
    for (const ValueTick& tick : ticks.ticks) {
        if (tick.y < layout.top || tick.y > layout.bottom)
            continue;
        painter->setPen(HairPen(kFrameColour));
        if (side == AxisSide::Left)
            painter->drawLine(layout.left - kTickLength + 1, tick.y, layout.left, tick.y);
        else
            painter->drawLine(layout.right, tick.y, layout.right + kTickLength - 1, tick.y);
        const QString text = ValueLabelText(tick.value, pattern);
        const int width = fm.horizontalAdvance(text);
        const int x = side == AxisSide::Left ? layout.left - width - kLabelGap : layout.right + kLabelGap;
        painter->setPen(colour);
        DrawTextAt(*painter, x, int(tick.y - fm.height() / 2.0), text);
    }

    // The unit, centred in the top margin beside the frame.
    const QString unit = recording.reader().inputUnit(input);
    painter->setFont(GraphFont(kTitlePoints + target.fontIncrement, true));
    const QFontMetrics bold = painter->fontMetrics();
    const int w = bold.horizontalAdvance(QStringLiteral("W"));
    const int y = int(layout.top / 2 - bold.height() / 2.0);
    const int x = side == AxisSide::Left ? layout.left - bold.horizontalAdvance(unit) - w : layout.right + w;
    painter->setPen(colour);
    DrawTextAt(*painter, x, y, unit);
    return ticks.tickInside;
}

void DrawFooter(QPainter& painter, const GraphTarget& target, const GraphLayout& layout,
                const Recording& recording, int first)
{
    const ImageReader& reader = recording.reader();
    const QFont bold = GraphFont(kTitlePoints + target.fontIncrement, true);
    painter.setFont(bold);
    const QFontMetrics fm = painter.fontMetrics();
    const int w = fm.horizontalAdvance(QStringLiteral("W"));
    const int width = target.size.width();
    const int y = target.size.height() - target.bottomOffset / 2 - fm.height();
    painter.setPen(Qt::black);

    DrawTextAt(painter, w + target.leftOffset,
               y, QStringLiteral("Start : ") + reader.recordDateText(first) + u' ' + reader.recordTimeText(first));

    const QString serial = QStringLiteral("S/N : ") + reader.serialNumber();
    const int serialX = width - target.leftOffset - w - fm.horizontalAdvance(serial);
    DrawTextAt(painter, serialX, y, serial);

    // Input numbers in increasing order, right to left from the serial number.
    painter.setFont(GraphFont(kTitlePoints + target.fontIncrement, false));
    int x = serialX - 2 * w;
    for (int i = mem::kInputs - 1; i >= 0; --i) {
        if (!recording.isInputDrawn(i))
            continue;
        x -= 2 * w;
        painter.setPen(ColourFromBgr(recording.colours()[std::size_t(1 + i)]));
        DrawTextAt(painter, x, y, QString::number(i + 1));
    }

    // The name, centred over the plot in the top margin.
    painter.setFont(bold);
    painter.setPen(Qt::black);
    const QString name = TrimLeadingBlanks(TrimTrailingBlanks(reader.recordName()));
    const int nameX = layout.left + layout.Width() / 2 - fm.horizontalAdvance(name) / 2;
    DrawTextAt(painter, nameX, int(layout.top / 2 - fm.height() / 2.0), name);
}

} // namespace qz
