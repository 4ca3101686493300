#include "graph/graph_texts.h"

#include "graph/graph_fonts.h"

#include <algorithm>

namespace qz {

namespace {
constexpr int kLabelPoints = 8;
constexpr int kTitlePoints = 10;
constexpr int kMaxFooterRows = 3;

QFontMetrics metricsOn(const QFont& font, const QPaintDevice* device)
{
    return device ? QFontMetrics(font, device) : QFontMetrics(font);
}

// The text cut to width (with an ellipsis); empty when not even that fits.
QString cut(const QString& text, const QFontMetrics& fm, int width)
{
    if (width <= 0)
        return {};
    if (fm.horizontalAdvance(text) <= width)
        return text;
    return fm.elidedText(text, Qt::ElideRight, width);
}

PlacedText text(GraphTextKind kind, const QString& text, int x, int y, const QFontMetrics& fm,
                const QColor& colour = Qt::black, int input = -1)
{
    return {kind, text, QRect(x, y, fm.horizontalAdvance(text), fm.height()), colour, input};
}
} // namespace

GraphMetrics::GraphMetrics(int fontIncrement, const QPaintDevice* device)
    : labelFont_(graphFont(kLabelPoints + fontIncrement, false)),
      boldFont_(graphFont(kTitlePoints + fontIncrement, true)),
      regularFont_(graphFont(kTitlePoints + fontIncrement, false)), label_(metricsOn(labelFont_, device)),
      bold_(metricsOn(boldFont_, device)), regular_(metricsOn(regularFont_, device))
{}

const QFont& GraphMetrics::font(GraphTextKind kind) const
{
    switch (kind) {
    case GraphTextKind::ValueLabel:
    case GraphTextKind::TimeLabel:
    case GraphTextKind::Legend:
        return labelFont_;
    case GraphTextKind::InputNumber:
        return regularFont_;
    case GraphTextKind::Name:
    case GraphTextKind::Start:
    case GraphTextKind::Serial:
    case GraphTextKind::Unit:
        break;
    }
    return boldFont_;
}

const QFontMetrics& GraphMetrics::metrics(GraphTextKind kind) const
{
    switch (kind) {
    case GraphTextKind::ValueLabel:
    case GraphTextKind::TimeLabel:
    case GraphTextKind::Legend:
        return label_;
    case GraphTextKind::InputNumber:
        return regular_;
    case GraphTextKind::Name:
    case GraphTextKind::Start:
    case GraphTextKind::Serial:
    case GraphTextKind::Unit:
        break;
    }
    return bold_;
}

bool TextPlaces::fits(const QRect& rect) const
{
    return std::none_of(texts_.begin(), texts_.end(),
                        [&rect](const PlacedText& t) { return t.rect.intersects(rect); });
}

bool TextPlaces::place(const PlacedText& text)
{
    if (text.text.isEmpty() || text.rect.isEmpty() || !fits(text.rect))
        return false;
    texts_.push_back(text);
    return true;
}

FooterPlan planFooter(const GraphTarget& target, const FooterTexts& texts, const GraphMetrics& metrics)
{
    const QFontMetrics& bold = metrics.metrics(GraphTextKind::Serial);
    const QFontMetrics& regular = metrics.metrics(GraphTextKind::InputNumber);
    const int w = metrics.titleW();
    const int h = bold.height();
    const int width = target.size.width();
    const auto rowTop = [&](int row) { return target.size.height() - target.bottomOffset / 2 - h - row * h; };
    const int leftX = w + target.leftOffset;
    const int rightEnd = width - target.leftOffset - w;

    // The usual places: the numbers stand two "W" apart, ending two "W" before the serial
    // number, which ends one "W" before the right edge (less the left offset).
    const int serialX = rightEnd - bold.horizontalAdvance(texts.serial);
    std::vector<int> numberX(texts.numbers.size());
    int x = serialX - 2 * w;
    for (std::size_t k = texts.numbers.size(); k-- > 0;) {
        x -= 2 * w;
        numberX[k] = x;
    }
    const int legendLeft = numberX.empty() ? serialX : numberX.front();
    const int startRight = leftX + bold.horizontalAdvance(texts.start);

    FooterPlan plan;
    const auto addNumbers = [&](int row, const std::vector<int>& xs) {
        for (std::size_t k = 0; k < texts.numbers.size(); ++k) {
            if (xs[k] < leftX)
                continue; // no room left of the row
            const FooterNumber& n = texts.numbers[k];
            plan.texts.push_back(text(GraphTextKind::InputNumber, QString::number(n.input + 1), xs[k],
                                      rowTop(row), regular, n.colour, n.input));
        }
    };
    const auto addStart = [&](int row) {
        const QString start = cut(texts.start, bold, rightEnd - leftX);
        if (!start.isEmpty())
            plan.texts.push_back(text(GraphTextKind::Start, start, leftX, rowTop(row), bold));
    };

    if (legendLeft >= startRight + w) {
        plan.rows = 1;
        addStart(0);
        plan.texts.push_back(text(GraphTextKind::Serial, texts.serial, serialX, rowTop(0), bold));
        addNumbers(0, numberX);
    } else if (legendLeft >= leftX) {
        plan.rows = 2;
        plan.texts.push_back(text(GraphTextKind::Serial, texts.serial, serialX, rowTop(0), bold));
        addNumbers(0, numberX);
        addStart(1);
    } else {
        plan.rows = kMaxFooterRows;
        const QString serial = cut(texts.serial, bold, rightEnd - leftX);
        if (!serial.isEmpty())
            plan.texts.push_back(text(GraphTextKind::Serial, serial,
                                      rightEnd - bold.horizontalAdvance(serial), rowTop(0), bold));
        // The numbers alone, ending where the serial number ends.
        std::vector<int> xs(texts.numbers.size());
        int nx = rightEnd + w;
        for (std::size_t k = texts.numbers.size(); k-- > 0;) {
            nx -= 2 * w;
            xs[k] = nx;
        }
        addNumbers(1, xs);
        addStart(2);
    }
    plan.extraHeight = (plan.rows - 1) * h;
    return plan;
}

PlacedText placeName(const QString& name, const GraphLayout& layout, const GraphMetrics& metrics)
{
    const QFontMetrics& fm = metrics.metrics(GraphTextKind::Name);
    const QString shown = cut(name, fm, layout.width());
    const int x = layout.left + layout.width() / 2 - fm.horizontalAdvance(shown) / 2;
    return text(GraphTextKind::Name, shown, x, int(layout.top / 2 - fm.height() / 2.0), fm);
}

int timeLabelTop(const GraphLayout& layout, const GraphMetrics& metrics)
{
    const int h = metrics.metrics(GraphTextKind::ValueLabel).height();
    // A value label is centred on its tick; the lowest tick lies on the bottom edge.
    const int valueReach = int(layout.bottom - h / 2.0) + h;
    return std::max(layout.bottom + kTickLength, valueReach);
}

void placeTimeLabels(TextPlaces& places, const std::vector<TimeTick>& ticks, TimeUnit unit,
                     const GraphLayout& layout, const GraphMetrics& metrics)
{
    const QFontMetrics& fm = metrics.metrics(GraphTextKind::TimeLabel);
    const int gap = fm.horizontalAdvance(QLatin1Char(' '));
    const int top = timeLabelTop(layout, metrics);
    TimeLabeler labeler(unit);
    int lastRight = 0;
    bool any = false;
    for (const TimeTick& tick : ticks) {
        if (tick.x < layout.left || tick.x > layout.right)
            continue;
        const QString text = labeler.peek(tick.seconds);
        const int width = fm.horizontalAdvance(text);
        const PlacedText label{GraphTextKind::TimeLabel, text,
                               QRect(int(tick.x - width / 2.0), top, width, fm.height())};
        if (any && label.rect.left() < lastRight + gap)
            continue;
        if (!places.place(label))
            continue;
        labeler.next(tick.seconds);
        lastRight = label.rect.left() + width;
        any = true;
    }
}

} // namespace qz
