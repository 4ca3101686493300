// The drawing with one value axis per unit: axes, round labels, grid, legend and curves at
// the rows of their values, on small recordings.
#include "graph/graph_draw.h"
#include "graph/graph_fonts.h"
#include "graph/legend.h"
#include "graph/unit_graph.h"
#include "graph_fixture.h"

#include <QPainter>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>

namespace qz::test {
namespace {

const QColor kRed(255, 0, 0); // input 1 in testColours
const QColor kGreen(0, 192, 0); // input 2
const QColor kGrid(224, 224, 224);

struct Drawn {
    QImage image;
    DrawResult result;

    std::vector<PlacedText> of(GraphTextKind kind) const
    {
        std::vector<PlacedText> out;
        for (const PlacedText& t : result.texts)
            if (t.kind == kind)
                out.push_back(t);
        return out;
    }
    const PlacedText* find(const QString& text) const
    {
        for (const PlacedText& t : result.texts)
            if (t.text == text)
                return &t;
        return nullptr;
    }
};

Drawn draw(const GraphView& view, QSize size = QSize(600, 400))
{
    Drawn d;
    d.image = newCanvas(size);
    QPainter p(&d.image);
    d.result = drawGraph(p, screenTarget(size), view);
    return d;
}

// Inputs 1 and 2 in degC, 3 in %rH, 4 in bar, 5 in V: four units.
ImageBuilder fourUnits()
{
    return graphRecording()
        .input(0, {QStringLiteral("Inside"), QStringLiteral("degC"), -20, 80, 0, 255 * 256})
        .input(1, {QStringLiteral("Outside"), QStringLiteral("degC"), -20, 80, 0, 255 * 256})
        .input(2, {QStringLiteral("Humid"), QStringLiteral("%rH"), 0, 100, 0, 255 * 256})
        .input(3, {QStringLiteral("Press"), QStringLiteral("bar"), 0, 10, 0, 255 * 256})
        .input(4, {QString(), QStringLiteral("V"), 0, 5, 0, 255 * 256})
        .measurements(57, [](int k, int i) { return std::uint8_t(60 + 20 * i + k); });
}

class UnitDrawingTest : public ::testing::Test {
protected:
    void SetUp() override { setUpFontSubstitutions(); }
    GraphFixture fixture_;
};

TEST_F(UnitDrawingTest, EachUnitHasOneAxisFirstLeftThenRightThenBesideThem)
{
    auto view = fixture_.loadByUnit(fourUnits());
    ASSERT_TRUE(view);
    const std::vector<ValueAxis> axes = view->valueAxes();
    ASSERT_EQ(axes.size(), 4u);
    EXPECT_EQ(axes[0].range.unit, "degC");
    EXPECT_EQ(axes[0].curves, (std::vector<CurveRef>{{0, 0}, {0, 1}}));

    const Drawn d = draw(*view);
    const GraphLayout& l = d.result.layout;
    const std::vector<PlacedText> units = d.of(GraphTextKind::Unit);
    ASSERT_EQ(units.size(), 4u);
    const auto unit = [&](const char* text) { return d.find(QString::fromLatin1(text))->rect; };
    EXPECT_LT(unit("degC").right(), l.left); // first: left of the frame
    EXPECT_GT(unit("%rH").left(), l.right); // second: right of it
    EXPECT_LT(unit("bar").right(), unit("degC").left()); // third: beyond the first
    EXPECT_GT(unit("V").left(), unit("%rH").right()); // fourth: beyond the second
    // Every value label of an axis stands on its side, nothing in the plot.
    for (const PlacedText& t : d.of(GraphTextKind::ValueLabel))
        EXPECT_TRUE(t.rect.right() < l.left || t.rect.left() > l.right) << t.text.toStdString();
}

TEST_F(UnitDrawingTest, ValueLabelsAreRoundMultiplesOfOneStep)
{
    auto view = fixture_.loadByUnit(fourUnits());
    ASSERT_TRUE(view);
    const Drawn d = draw(*view);
    const GraphLayout& l = d.result.layout;
    // The labels of the first axis: those right next to the frame on the left.
    std::vector<double> values;
    for (const PlacedText& t : d.of(GraphTextKind::ValueLabel))
        if (t.rect.right() < l.left && t.rect.right() > l.left - 20)
            values.push_back(t.text.toDouble());
    ASSERT_GE(values.size(), 3u);
    std::sort(values.begin(), values.end());
    const double step = values[1] - values[0];
    const double decade = std::pow(10.0, std::floor(std::log10(step)));
    const double mantissa = step / decade;
    EXPECT_TRUE(std::fabs(mantissa - 1) < 1e-9 || std::fabs(mantissa - 2) < 1e-9
                || std::fabs(mantissa - 2.5) < 1e-9 || std::fabs(mantissa - 5) < 1e-9)
        << step;
    for (std::size_t k = 0; k < values.size(); ++k) {
        EXPECT_NEAR(values[k] / step, std::nearbyint(values[k] / step), 1e-9) << values[k];
        if (k > 0) {
            EXPECT_NEAR(values[k] - values[k - 1], step, 1e-9);
        }
    }
}

TEST_F(UnitDrawingTest, TimeLabelsAreRoundWithTheDateUnderTheFirst)
{
    auto view = fixture_.loadByUnit(oneInput()); // 14:21 to 15:17, one a minute
    ASSERT_TRUE(view);
    const Drawn d = draw(*view);
    const QRegularExpression clock(QStringLiteral("^(\\d\\d):(\\d\\d)$"));
    int clocks = 0;
    std::optional<PlacedText> first;
    for (const PlacedText& t : d.of(GraphTextKind::TimeLabel)) {
        const QRegularExpressionMatch m = clock.match(t.text);
        if (!m.hasMatch())
            continue;
        ++clocks;
        EXPECT_EQ(m.captured(2).toInt() % 5, 0) << t.text.toStdString();
        if (!first || t.rect.left() < first->rect.left())
            first = t;
    }
    EXPECT_GE(clocks, 3);
    const PlacedText* date = d.find(QStringLiteral("12/03/01"));
    ASSERT_TRUE(date && first);
    EXPECT_GT(date->rect.top(), first->rect.top()); // under it
    EXPECT_TRUE(
        date->rect.intersects(QRect(first->rect.left() - 30, date->rect.top(), first->rect.width() + 60, 1)));
}

TEST_F(UnitDrawingTest, TheCurveRunsAtItsValuesOnItsUnitsAxis)
{
    // Input 1 of fourUnits reads 60 + k raw on -20..80: measurement k at value
    // -20 + (60 + k) x 100 / 255.
    auto view = fixture_.loadByUnit(fourUnits());
    ASSERT_TRUE(view);
    const Drawn d = draw(*view);
    const GraphLayout& l = d.result.layout;
    const UnitRange range = view->valueAxes()[0].range;
    for (int k : {5, 20, 40}) {
        const double value = -20 + (60 + k) * 100.0 / 255;
        const int x = l.left + int(std::lround((k - 1) * double(l.width()) / 56));
        const int y = unitRow(l, range, value);
        bool found = false;
        for (int dx = -1; dx <= 1 && !found; ++dx)
            for (int dy = -1; dy <= 1 && !found; ++dy)
                found = d.image.pixelColor(x + dx, y + dy) == kRed;
        EXPECT_TRUE(found) << "measurement " << k << " at " << x << "," << y;
    }
}

TEST_F(UnitDrawingTest, GridLinesAtTheLabelsUnlessTurnedOff)
{
    auto view = fixture_.loadByUnit(oneInput());
    ASSERT_TRUE(view);
    const auto gridPixels = [&](const Drawn& d) {
        int n = 0;
        const GraphLayout& l = d.result.layout;
        for (int y = l.top + 1; y < l.bottom - 1; ++y)
            n += d.image.pixelColor((l.left + l.right) / 2 + 1, y) == kGrid;
        return n;
    };
    EXPECT_GT(gridPixels(draw(*view)), 2);
    DisplaySettings s = view->settings();
    s.grid = false;
    view->setDisplaySettings(s);
    EXPECT_EQ(gridPixels(draw(*view)), 0);
}

TEST_F(UnitDrawingTest, TheLegendNamesEveryCurveUnderThePlot)
{
    auto view = fixture_.loadByUnit(fourUnits());
    ASSERT_TRUE(view);
    const Drawn d = draw(*view);
    const GraphLayout& l = d.result.layout;
    std::vector<QString> texts;
    for (const PlacedText& t : d.of(GraphTextKind::Legend)) {
        texts.push_back(t.text);
        EXPECT_GT(t.rect.top(), l.bottom); // never over the plot
    }
    EXPECT_EQ(texts,
              (std::vector<QString>{"Inside (degC)", "Outside (degC)", "Humid (%rH)", "Press (bar)",
                                    "Input 5 (V)"}));
    // Each entry's sample line is in its curve's colour, beside its text.
    ASSERT_EQ(d.result.legend.entries.size(), 5u);
    const PlacedEntry& second = d.result.legend.entries[1];
    EXPECT_EQ(d.image.pixelColor(second.sample.center()), kGreen);
    EXPECT_LT(second.sample.right(), second.textRect.left());
    // No legend text overlaps another text.
    for (const PlacedText& a : d.result.texts)
        for (const PlacedText& b : d.result.texts)
            if (&a != &b) {
                EXPECT_FALSE(a.rect.intersects(b.rect))
                    << a.text.toStdString() << " / " << b.text.toStdString();
            }
}

TEST(Legend, LongNamesAreShortenedWithAnEllipsis)
{
    setUpFontSubstitutions();
    const QFontMetrics fm(graphFont(8, false));
    const QString longName = QStringLiteral("A recording with a very long file name indeed: Temp (degC)");
    const LegendPlan plan =
        planLegend({{longName, Qt::red}, {QStringLiteral("B: Temp (degC)"), Qt::blue}}, 10, 200, 300, fm);
    ASSERT_EQ(plan.entries.size(), 2u);
    EXPECT_TRUE(plan.entries[0].text.endsWith(QChar(0x2026))) << plan.entries[0].text.toStdString();
    EXPECT_LE(plan.entries[0].textRect.right(), 210);
    EXPECT_EQ(plan.entries[1].text, "B: Temp (degC)");
    for (const PlacedEntry& e : plan.entries)
        EXPECT_GE(e.sample.top(), 300);
    EXPECT_EQ(legendText(QStringLiteral(" Temp "), QStringLiteral("degC "), 0), "Temp (degC)");
    EXPECT_EQ(legendText(QString(), QString(), 2, QStringLiteral("run2")), "run2: Input 3");
}

TEST_F(UnitDrawingTest, WithEachInputOnItsOwnScaleTheAxesNameTheirInputs)
{
    auto view = fixture_.load(threeInputs()); // each input on its own scale
    ASSERT_TRUE(view);
    const Drawn d = draw(*view, QSize(400, 300));
    const PlacedText* left = d.find(QStringLiteral("1:"));
    const PlacedText* right = d.find(QStringLiteral("3:"));
    ASSERT_TRUE(left && right);
    EXPECT_EQ(left->rect.right() + 1, d.find(QStringLiteral("degC"))->rect.left());
    EXPECT_EQ(right->rect.right() + 1, d.find(QStringLiteral("%rH"))->rect.left());
    EXPECT_TRUE(d.of(GraphTextKind::Legend).empty()); // one recording: the footer's numbers
}

} // namespace
} // namespace qz::test
