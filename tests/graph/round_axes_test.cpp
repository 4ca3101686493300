// Round numbers of the drawing with one axis per unit: value steps and labels, time steps,
// instants and their labels.
#include "graph/round_scale.h"
#include "graph/round_time.h"

#include <QDate>
#include <QLocale>

#include <gtest/gtest.h>

#include <cmath>

namespace qz {
namespace {

TEST(RoundScale, StepsAreOneTwoTwoAndAHalfOrFiveTimesAPowerOfTen)
{
    const struct {
        double rough;
        double step;
    } cases[] = {{0.7, 1},     {1, 1},           {1.01, 2},  {2.1, 2.5},     {3, 5}, {5.5, 10},
                 {0.03, 0.05}, {0.0021, 0.0025}, {130, 200}, {26000, 50000}, {0, 0}, {-3, 0}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(roundStepAtLeast(c.rough), c.step) << c.rough;
}

TEST(RoundScale, LabelsStandOnMultiplesOfTheStepInsideTheRange)
{
    const struct {
        double low, high, height, spacing;
        std::vector<double> values;
    } cases[] = {
        // 20 units over 200 pixels, labels 40 pixels apart: a step of 5 (not 4.41 ...).
        {-0.59, 20.3, 200, 40, {0, 5, 10, 15, 20}},
        {-12.4, -7.7, 500, 100, {-12, -11, -10, -9, -8}},
        {0.31, 0.69, 400, 30, {0.35, 0.4, 0.45, 0.5, 0.55, 0.6, 0.65}},
        // Too little room for two labels: one still stands on the axis.
        {0.3, 0.7, 10, 40, {0.5}},
        {5, 5, 100, 30, {}},
    };
    for (const auto& c : cases) {
        const double step = labelStep(c.low, c.high, c.height, c.spacing);
        const std::vector<double> values = roundValues(c.low, c.high, step);
        ASSERT_EQ(values.size(), c.values.size()) << c.low << ".." << c.high;
        for (std::size_t k = 0; k < values.size(); ++k)
            EXPECT_NEAR(values[k], c.values[k], 1e-9) << c.low << ".." << c.high;
    }
}

TEST(RoundScale, LabelTextsHaveTheDecimalsOfTheStep)
{
    const QLocale saved;
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(roundLabel(10, 5), "10");
    EXPECT_EQ(roundLabel(7.5, 2.5), "7.5");
    EXPECT_EQ(roundLabel(0.25, 0.25), "0.25");
    EXPECT_EQ(roundLabel(-1e-17, 0.1), "0.0"); // never "-0.0"
    EXPECT_EQ(roundLabel(1200, 200), "1200");
    QLocale::setDefault(QLocale(QLocale::German));
    EXPECT_EQ(roundLabel(7.5, 2.5), "7,5");
    QLocale::setDefault(saved);
}

TEST(RoundScale, RoundOutwardsWidensToAStep)
{
    double low = 1.2, high = 13.7;
    roundOutwards(low, high);
    EXPECT_DOUBLE_EQ(low, 0);
    EXPECT_DOUBLE_EQ(high, 14);
}

double at(int y, int mo, int d, int h, int mi, int s = 0)
{
    return double(QDate(1899, 12, 30).daysTo(QDate(y, mo, d))) * 86400 + h * 3600 + mi * 60 + s;
}

TEST(RoundTime, TheStepLeavesRoomForItsLabels)
{
    const TimeLabelRoom room{40, 60, 40};
    const struct {
        double span;
        double width;
        TimeStep step;
    } cases[] = {
        {3600, 800, {300, 0}}, // 40 px need 180 s: 5 minutes
        {56 * 60, 280, {600, 0}}, // an hour over 280 px: ten minutes
        {60, 600, {10, 0}}, // a label of seconds needs 60 px
        {86400, 900, {7200, 0}},
        {42 * 86400, 900, {2 * 86400, 0}},
        {42 * 86400, 300, {7 * 86400, 0}}, // weeks
        {400 * 86400, 800, {0, 1}}, // months
        {30 * 365.25 * 86400, 800, {0, 24}},
    };
    for (const auto& c : cases) {
        const TimeStep s = chooseTimeStep(c.span, c.width, room);
        EXPECT_EQ(s.seconds, c.step.seconds) << c.span << " s over " << c.width;
        EXPECT_EQ(s.months, c.step.months) << c.span << " s over " << c.width;
    }
}

TEST(RoundTime, InstantsAreWholeStepsFromMidnightMondayOrTheFirstOfTheMonth)
{
    const auto instants = [](double from, double to, TimeStep step) {
        return roundInstants({from, to}, step);
    };
    EXPECT_EQ(instants(at(2001, 3, 12, 14, 21), at(2001, 3, 12, 15, 17), {900, 0}),
              (std::vector<double>{at(2001, 3, 12, 14, 30), at(2001, 3, 12, 14, 45), at(2001, 3, 12, 15, 0),
                                   at(2001, 3, 12, 15, 15)}));
    // 15/01/2024 was a Monday.
    EXPECT_EQ(instants(at(2024, 1, 10, 8, 0), at(2024, 1, 25, 0, 0), {7 * 86400, 0}),
              (std::vector<double>{at(2024, 1, 15, 0, 0), at(2024, 1, 22, 0, 0)}));
    EXPECT_EQ(instants(at(2023, 11, 20, 8, 0), at(2024, 5, 2, 0, 0), {0, 3}),
              (std::vector<double>{at(2024, 1, 1, 0, 0), at(2024, 4, 1, 0, 0)}));
    EXPECT_TRUE(instants(10, 5, {60, 0}).empty());
}

TEST(RoundTime, LabelsCarryTheDateUnderTheFirstAndWhereItChanges)
{
    const std::vector<double> hours{at(2001, 3, 12, 22, 0), at(2001, 3, 13, 0, 0), at(2001, 3, 13, 2, 0)};
    const std::vector<RoundTimeLabel> l = roundTimeLabels(hours, {7200, 0});
    ASSERT_EQ(l.size(), 3u);
    EXPECT_EQ(l[0].upper, "22:00");
    EXPECT_EQ(l[0].lower, "12/03/01");
    EXPECT_EQ(l[1].upper, "00:00");
    EXPECT_EQ(l[1].lower, "13/03/01");
    EXPECT_EQ(l[2].lower, "");

    const std::vector<RoundTimeLabel> s = roundTimeLabels({at(2001, 3, 12, 22, 0, 10)}, {10, 0});
    EXPECT_EQ(s[0].upper, "22:00:10");

    const std::vector<RoundTimeLabel> d =
        roundTimeLabels({at(2023, 12, 25, 0, 0), at(2024, 1, 1, 0, 0), at(2024, 1, 8, 0, 0)}, {7 * 86400, 0});
    EXPECT_EQ(d[0].upper, "25/12");
    EXPECT_EQ(d[0].lower, "2023");
    EXPECT_EQ(d[1].lower, "2024");
    EXPECT_EQ(d[2].lower, "");
}

} // namespace
} // namespace qz
