#include "graph/axis_ticks.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <vector>

namespace qz {
namespace {

GraphLayout plot(int left, int right, int top, int bottom, std::int64_t step = 600)
{
    GraphLayout l;
    l.left = left;
    l.right = right;
    l.top = top;
    l.bottom = bottom;
    l.timeStep = step;
    l.timeUnit = TimeUnit::Minutes;
    return l;
}

std::vector<int> xs(const std::vector<TimeTick>& ticks)
{
    std::vector<int> xs;
    for (const TimeTick& t : ticks)
        xs.push_back(t.x);
    return xs;
}

TEST(TimeTicks, FirstTickThenEveryStepLeftOfTheRightEdge)
{
    // One hour over 280 pixels, 10-minute step: 46.67 -> 47 pixels apart.
    const GraphLayout l = plot(60, 340, 26, 256);
    const std::vector<TimeTick> ticks = computeTimeTicks(l, 1000, 4600, 1000);
    EXPECT_EQ(xs(ticks), (std::vector<int>{60, 107, 154, 201, 248, 295}));
    EXPECT_EQ(ticks[1].seconds, 1600);
    EXPECT_EQ(ticks.back().seconds, 1000 + 5 * 600);

    // A first tick later than the first measurement: x = round(300 x 280 / 3600) + 60 = 83.
    EXPECT_EQ(xs(computeTimeTicks(l, 1000, 4600, 1300)), (std::vector<int>{83, 130, 177, 224, 271, 318}));
}

TEST(TimeTicks, ViewWithoutDurationOrStepHasNoEndlessAxis)
{
    const GraphLayout l = plot(60, 340, 26, 256);
    // All measurements at one instant (a zero interval): no time axis at all.
    EXPECT_TRUE(computeTimeTicks(l, 5000, 5000, 5000).empty());
    // A step under half a pixel: the first tick only.
    EXPECT_EQ(xs(computeTimeTicks(plot(60, 340, 26, 256, 1), 0, 10000000, 0)), (std::vector<int>{60}));
}

TEST(TimeLabeler, DateOnlyWhenItChangesTimeOnlyWhenItChanges)
{
    const std::int64_t day = 86400;
    // 12 March 2001 is day 36,962.
    const std::int64_t d12 = 36962 * day;
    struct Case {
        TimeUnit unit;
        std::vector<std::int64_t> instants;
        std::vector<const char*> labels;
    };
    const Case cases[] = {
        {TimeUnit::Minutes,
         {d12 + 14 * 3600 + 30 * 60, d12 + 14 * 3600 + 40 * 60, d12 + 23 * 3600 + 50 * 60, d12 + day},
         {"12/03-14:30", "14:40", "23:50", "13/03-00:00"}},
        {TimeUnit::Seconds, {d12 + 5, d12 + 15}, {"12/03-00:00:05", "00:00:15"}},
        // Days: every label stands at midnight; after the first only the date shows.
        {TimeUnit::Days, {d12, d12 + day, d12 + 2 * day}, {"12/03-00:00", "13/03", "14/03"}},
        // A new day at the same time of day as the previous label shows the date alone.
        {TimeUnit::Hours, {d12 + 6 * 3600, d12 + day + 6 * 3600}, {"12/03-06:00", "13/03"}},
    };
    for (const Case& c : cases) {
        TimeLabeler labeler(c.unit);
        for (std::size_t k = 0; k < c.instants.size(); ++k)
            EXPECT_EQ(labeler.next(c.instants[k]), QString::fromLatin1(c.labels[k])) << k;
    }
}

TEST(TimeLabeler, SecondsFromDateTimeRoundToWholeSeconds)
{
    EXPECT_EQ(secondsFromDateTime(1.5), 129600);
    EXPECT_EQ(secondsFromDateTime(36962.0 + 0.4 / 86400), std::int64_t(36962) * 86400);
    EXPECT_EQ(secondsFromDateTime(std::nan("")), 0);
}

std::vector<int> ys(const ValueTicks& t)
{
    std::vector<int> ys;
    for (const ValueTick& v : t.ticks)
        ys.push_back(v.y);
    return ys;
}

TEST(ValueTicks, FromTheBottomEdgeUpwardsOneStepApart)
{
    // 230 pixels for 0..100, step 10: 23 pixels.
    const ValueTicks t = computeValueTicks(plot(60, 340, 26, 256), AxisScale{100, 0, 10});
    EXPECT_EQ(ys(t), (std::vector<int>{256, 233, 210, 187, 164, 141, 118, 95, 72, 49}));
    EXPECT_TRUE(t.tickInside);
    ASSERT_EQ(t.ticks.size(), 10u);
    EXPECT_DOUBLE_EQ(double(t.ticks[0].value), 0);
    EXPECT_DOUBLE_EQ(double(t.ticks[9].value), 90);
}

TEST(ValueTicks, OnlyTheFirstLabelWhenElevenStepsDoNotReachTheTop)
{
    struct Case {
        const char* what;
        AxisScale scale;
        std::vector<int> ys;
        bool inside;
    };
    const Case cases[] = {
        {"negative step", {100, 0, -1}, {256}, true},
        {"step too small", {100, 0, 5}, {256}, true}, // 11 x 11.5 px < 229
        {"falling axis", {0, 100, 10}, {256}, true}, // e < 0
        {"zero step", {100, 0, 0}, {256}, true},
        {"no physical range", {50, 50, 10}, {}, false},
        {"not a number", {std::nan(""), 0, 10}, {}, false},
    };
    for (const Case& c : cases) {
        const ValueTicks t = computeValueTicks(plot(60, 340, 26, 256), c.scale);
        EXPECT_EQ(ys(t), c.ys) << c.what;
        EXPECT_EQ(t.tickInside, c.inside) << c.what;
    }
}

TEST(ValueTicks, PlotWithoutHeightStaysFinite)
{
    // A target smaller than its margins: bottom above top.
    const ValueTicks t = computeValueTicks(plot(60, 10, 26, 20), AxisScale{100, 0, 10});
    EXPECT_EQ(ys(t), (std::vector<int>{20}));
    EXPECT_FALSE(t.tickInside);
}

TEST(ValueLabels, RoundedTrimmedAndZeroNearZero)
{
    struct Case {
        long double v;
        const char* pattern;
        const char* text;
    };
    const Case cases[] = {
        {15.6863L, "0.0", "15.7"},   {0.0004L, "0.00", "0.00"}, // below 0.001: zero, without a sign
        {-0.0004L, "0.0", "0.0"},    {-12.5L, "0", "-13"},
        {2.0011L, "0.000", "2.002"}, // rounded to 1/500 first
        {1234.5L, "0.0", "1234.5"},
    };
    const QLocale saved;
    QLocale::setDefault(QLocale::c());
    for (const Case& c : cases)
        EXPECT_EQ(valueLabelText(c.v, QString::fromLatin1(c.pattern)), QString::fromLatin1(c.text)) << c.text;
    QLocale::setDefault(saved);
}

TEST(ValueLabels, PatternGainsDecimalsOnlyWhenTheStepNeedsThem)
{
    struct Case {
        const char* format;
        long double step;
        const char* pattern;
    };
    const Case cases[] = {
        {"0.0", 7.5L, "0.0"},      {"0", 20, "0"},           {"0", 2.5L, "0.0"}, {"0", 0.25L, "0.00"},
        {"0.00", 0.075L, "0.000"}, {"0.000", 0.5L, "0.000"}, {"0", -1, "0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(axisLabelPattern(QString::fromLatin1(c.format), c.step), QString::fromLatin1(c.pattern));
}

} // namespace
} // namespace qz
