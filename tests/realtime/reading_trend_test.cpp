// The last minute of each input, and the line that draws it in a small box.
#include "realtime/reading_trend.h"

#include <gtest/gtest.h>

namespace qz::test {
namespace {

TEST(ReadingTrend, KeepsOneMinutePerInput)
{
    ReadingTrend trend;
    for (int s = 0; s <= 90; ++s)
        trend.add(2, 1000 * s, s);
    trend.add(5, 90000, -1);
    const auto& points = trend.points(2);
    ASSERT_EQ(points.size(), 61u);
    EXPECT_EQ(points.front().tickMs, 30000);
    EXPECT_EQ(points.back().value, 90);
    EXPECT_EQ(trend.points(5).size(), 1u);
    EXPECT_TRUE(trend.points(0).empty());

    trend.clear();
    EXPECT_TRUE(trend.points(2).empty());
    EXPECT_TRUE(trend.points(5).empty());
}

TEST(ReadingTrend, AClockThatWentBackStartsAfresh)
{
    ReadingTrend trend;
    trend.add(0, 50000, 1);
    trend.add(0, 51000, 2);
    trend.add(0, 1000, 3);
    ASSERT_EQ(trend.points(0).size(), 1u);
    EXPECT_EQ(trend.points(0).front().value, 3);
}

TEST(TrendLine, TimeRunsFromAMinuteAgoOnTheLeftToNowOnTheRight)
{
    std::deque<TrendPoint> points{{0, 10}, {30000, 20}, {60000, 30}, {70000, 99}};
    const auto line = trendLine(points, 60000, QSizeF(120, 10), 0);
    ASSERT_EQ(line.size(), 3u) << "a point after now is not drawn";
    EXPECT_DOUBLE_EQ(line[0].x(), 0);
    EXPECT_DOUBLE_EQ(line[1].x(), 60);
    EXPECT_DOUBLE_EQ(line[2].x(), 120);
    // The lowest value at the bottom, the highest at the top.
    EXPECT_DOUBLE_EQ(line[0].y(), 10);
    EXPECT_DOUBLE_EQ(line[1].y(), 5);
    EXPECT_DOUBLE_EQ(line[2].y(), 0);
}

TEST(TrendLine, ASmallChangeUsesOnlyPartOfTheHeight)
{
    std::deque<TrendPoint> points{{0, 20.0}, {1000, 20.5}};
    const auto line = trendLine(points, 1000, QSizeF(60, 16), 2.0);
    ASSERT_EQ(line.size(), 2u);
    // A range of 2 centred on 20.25: 20.0 is 0.75 above the bottom, 20.5 1.25.
    EXPECT_DOUBLE_EQ(line[0].y(), 16 - 16 * 0.75 / 2);
    EXPECT_DOUBLE_EQ(line[1].y(), 16 - 16 * 1.25 / 2);
}

TEST(TrendLine, ASteadyInputDrawsFlatInTheMiddle)
{
    std::deque<TrendPoint> points{{0, 4}, {1000, 4}, {2000, 4}};
    for (double minRange : {0.0, 1.0}) {
        const auto line = trendLine(points, 2000, QSizeF(60, 16), minRange);
        ASSERT_EQ(line.size(), 3u);
        for (const QPointF& p : line)
            EXPECT_DOUBLE_EQ(p.y(), 8) << "min range " << minRange;
    }
    EXPECT_TRUE(trendLine({}, 0, QSizeF(60, 16), 1).empty());
}

} // namespace
} // namespace qz::test
