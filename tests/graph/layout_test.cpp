#include "graph/graph_layout.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(NiceDivisor, FirstDivisorWhoseQuotientFits)
{
    struct Case {
        std::int64_t n, low, high, expected;
    };
    const Case cases[] = {
        {40, 3, 7, 10}, // 40, 20, 8, then 4
        {2, 3, 7, 0}, // 2, 1, then 0 comes first
        {2, 2, 8, 1},         {0, 1, 7, 0}, {7, 3, 7, 1}, {9, 3, 7, 2}, // 9 too big, 4 fits
        {24, 3, 7, 5}, // 24, 12, then 4
        {1440, 3, 7, 200}, // ... 72, 28, 14, then 7
        {86400, 3, 7, 20000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(niceDivisor(c.n, c.low, c.high), c.expected) << c.n << " in " << c.low << ".." << c.high;
}

TEST(TimeScale, UnitAndStepFollowTheSpan)
{
    struct Case {
        std::int64_t span;
        TimeUnit unit;
        std::int64_t step;
    };
    const Case cases[] = {
        {3 * 86400, TimeUnit::Hours, 10 * 3600}, // exactly 3 days: n = 72 hours
        {3 * 86400 + 1, TimeUnit::Days, 86400}, // n = 3 days
        {40 * 86400, TimeUnit::Days, 10 * 86400}, // n = 40: 40 div 10 = 4
        {3 * 3600, TimeUnit::Minutes, 50 * 60}, // exactly 3 hours: n = 180, 180 div 50 = 3
        {3 * 3600 + 1, TimeUnit::Hours, 3600},
        {181, TimeUnit::Minutes, 60},
        {180, TimeUnit::Seconds, 50},
        {2, TimeUnit::Seconds, 1}, // (2, 3, 7) -> 0, (2, 2, 8) -> 1
        {1, TimeUnit::Seconds, 1}, // (1, 1, 7) -> 1
        {0, TimeUnit::Seconds, 1}, // every divisor fails: one unit
        {3600, TimeUnit::Minutes, 10 * 60},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(chooseTimeUnit(c.span), c.unit) << c.span;
        EXPECT_EQ(timeStep(c.span, c.unit), c.step) << c.span;
    }
}

TEST(GraphLayout, ScreenAndPrinterFrames)
{
    struct Case {
        GraphTarget target;
        int left, right, top, bottom;
    };
    const Case cases[] = {
        {screenTarget(QSize(800, 600)), 60, 740, 26, 556},
        {screenTarget(QSize(400, 300)), 60, 340, 26, 256},
        // Landscape page 1600 x 1000: offsets 200 and 125, band 205.
        {printerTarget(QSize(1600, 1000), false), 260, 1340, 102, 795},
        // Portrait page 1000 x 1600: picture height 880, offsets 125 and 200, band 280.
        {printerTarget(QSize(1000, 1600), true), 185, 815, 140, 600},
    };
    for (const Case& c : cases) {
        GraphLayout l;
        computeHorizontalLayout(c.target, 3600, l);
        computeVerticalLayout(c.target, l);
        EXPECT_EQ(l.left, c.left);
        EXPECT_EQ(l.right, c.right);
        EXPECT_EQ(l.top, c.top);
        EXPECT_EQ(l.bottom, c.bottom);
        EXPECT_EQ(l.width(), c.right - c.left);
        EXPECT_EQ(l.height(), c.bottom - c.top);
    }
}

TEST(GraphLayout, PortraitPrintingUsesTheUpper55PercentOfThePage)
{
    const GraphTarget portrait = printerTarget(QSize(4960, 7015), true);
    EXPECT_EQ(portrait.size, QSize(4960, 7015 * 55 / 100));
    EXPECT_EQ(portrait.leftOffset, 620);
    EXPECT_EQ(portrait.bottomOffset, 876); // from the full page height
    EXPECT_EQ(portrait.fontIncrement, 2);

    const GraphTarget landscape = printerTarget(QSize(7015, 4960), false);
    EXPECT_EQ(landscape.size, QSize(7015, 4960));
    EXPECT_EQ(landscape.bottomOffset, 620);

    const GraphTarget screen = screenTarget(QSize(640, 480));
    EXPECT_EQ(screen.leftOffset, 0);
    EXPECT_EQ(screen.bottomOffset, 0);
    EXPECT_EQ(screen.fontIncrement, 0);
}

} // namespace
} // namespace qz
