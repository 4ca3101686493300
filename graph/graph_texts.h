#pragma once
// Where the texts of a graph go, as rectangles on the drawing target: the footer (start
// time, input numbers, serial number), the name, the units, the value labels and the time
// labels. Every text keeps its usual place where it overlaps nothing placed before it.
// Otherwise: the footer takes a second or third row (the plot gives up that height), the
// name is cut to the plot's width, and a value or time label is left out (its tick stays).
//
// A rectangle is the text's advance width by its font's height, its top-left corner where
// the text is written; two texts overlap when their rectangles intersect.
#include "graph/axis_ticks.h"
#include "graph/graph_layout.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QString>

#include <vector>

class QPaintDevice;

namespace qz {

// Length of the axis ticks, outside the plot; the time labels start below them.
inline constexpr int kTickLength = 8;

enum class GraphTextKind {
    Name,
    Start,
    Serial,
    InputNumber,
    Unit,
    ValueLabel,
    TimeLabel,
    Legend
};

struct PlacedText {
    GraphTextKind kind = GraphTextKind::Name;
    QString text;
    QRect rect;
    QColor colour = Qt::black;
    int input = -1; // the input of a number, a unit or a value label
};

// The graph's three fonts, measured on the device drawn on: labels (8 points), titles
// (10 points, bold) and input numbers (10 points), each plus the target's increment.
class GraphMetrics {
public:
    GraphMetrics(int fontIncrement, const QPaintDevice* device);

    const QFont& font(GraphTextKind kind) const;
    const QFontMetrics& metrics(GraphTextKind kind) const;
    // Width of "W" in the title font: the footer's unit of spacing.
    int titleW() const { return bold_.horizontalAdvance(QStringLiteral("W")); }

private:
    QFont labelFont_;
    QFont boldFont_;
    QFont regularFont_;
    QFontMetrics label_;
    QFontMetrics bold_;
    QFontMetrics regular_;
};

// The texts taken so far; a new one is taken only when it overlaps none of them.
class TextPlaces {
public:
    bool fits(const QRect& rect) const;
    // False, and nothing kept, for an empty text or one that overlaps a text taken before.
    bool place(const PlacedText& text);
    const std::vector<PlacedText>& texts() const { return texts_; }

private:
    std::vector<PlacedText> texts_;
};

struct FooterNumber {
    int input = 0; // 0..7, shown as input + 1
    QColor colour;
};

struct FooterTexts {
    QString start; // "Start : dd/mm/yy hh:mm:ss"
    QString serial; // "S/N : ..."
    std::vector<FooterNumber> numbers; // the drawn inputs, in increasing order
};

struct FooterPlan {
    int rows = 1; // 1 to 3
    std::vector<PlacedText> texts;
    // Height the extra rows take from the bottom of the plot.
    int extraHeight = 0;
};

// One row when everything fits: the start at the left, the serial number at the right and
// the input numbers before it, two "W" apart. Otherwise the start moves to a row above;
// when the numbers and the serial number do not fit one row either, the numbers get a row
// of their own between them. A text wider than its row is cut.
FooterPlan planFooter(const GraphTarget& target, const FooterTexts& texts, const GraphMetrics& metrics);

// The name centred over the plot and vertically in the top margin, cut to the plot's width.
PlacedText placeName(const QString& name, const GraphLayout& layout, const GraphMetrics& metrics);

// A label under each tick inside left..right, in order, where it keeps a blank's width
// from the label before and overlaps nothing taken before. A label left out does not count
// as shown, so the next one shown carries the date when that changed.
void placeTimeLabels(TextPlaces& places, const std::vector<TimeTick>& ticks, TimeUnit unit,
                     const GraphLayout& layout, const GraphMetrics& metrics);

// Top of the time labels: 8 pixels under the plot, or lower when a value label at the
// bottom edge would reach further down (large fonts on paper).
int timeLabelTop(const GraphLayout& layout, const GraphMetrics& metrics);

} // namespace qz
