// Raw-to-physical conversion, rounding to an input's resolution and axis label steps.
#include "recording/scaling.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qz {
namespace {

struct NormalizeCase {
    long double value;
    long double resolution;
    long double expected;
};

TEST(Normalize, RoundsToResolutionWithHalvesToEven)
{
    const NormalizeCase cases[] = {
        {12.34L, 0.5L, 12.5L},   {12.25L, 0.5L, 12.0L}, // 24.5 steps: even neighbour 24
        {12.75L, 0.5L, 13.0L}, // 25.5 steps: even neighbour 26
        {-12.25L, 0.5L, -12.0L}, {0.0L, 0.5L, 0.0L},    {7.0L, 2.0L, 8.0L}, // 3.5 steps -> 4
        {5.0L, 2.0L, 4.0L}, // 2.5 steps -> 2
        {3.3L, -0.5L, 3.5L}, // a falling scale has a negative resolution
    };
    for (const auto& c : cases)
        EXPECT_NEAR(static_cast<double>(normalize(c.value, c.resolution)), static_cast<double>(c.expected),
                    1e-12)
            << static_cast<double>(c.value) << " / " << static_cast<double>(c.resolution);
}

TEST(Normalize, ZeroResolutionLeavesValueUnrounded)
{
    EXPECT_EQ(normalize(12.34L, 0.0L), 12.34L);
    EXPECT_EQ(normalize(-1.5L, 0.0L), -1.5L);
}

TEST(NiceStep, TableOfRanges)
{
    const struct {
        int n;
        int expected;
    } cases[] = {
        {0, 10},  {9, 10},   {10, 20},  {20, 20},  {21, 25},   {25, 25},  {26, 50},   {50, 50},    {51, 75},
        {75, 75}, {76, 100}, {99, 100}, {100, -1}, {5000, -1}, {-9, -10}, {-21, -25}, {-76, -100}, {-100, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(niceStep(c.n), c.expected) << c.n;
}

TEST(RoundAxisStep, KeepsTwoDigitsRoundedUp)
{
    const struct {
        long double x;
        double expected;
    } cases[] = {
        {3.7L, 5}, {-3.7L, -5}, {0.37L, 0.5}, {-0.37L, -0.5}, {0.037L, 0.05}, {12, 20},      {26, 50},
        {80, 100}, {150, 200},  {0, 0.1},     {2, 2},         {12.5L, 20},    {0.25L, 0.25},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(static_cast<double>(roundAxisStep(c.x)), c.expected, std::fabs(c.expected) * 1e-12)
            << static_cast<double>(c.x);
}

TEST(RoundAxisStep, PowersOfTenFollowTheModelsDecadeFunctions)
{
    // Log10 (ln x / ln 10) and Power10 (e^(x ln 10)) land a hair beside an exact power of
    // ten: 0.1 reads as 10^-1 exactly (e = -1), so 0.1 x 1000 = 100 is beyond NiceStep's
    // table and the axis gets its first label only; 1 / power10(-1) falls just short of 10.
    const struct {
        long double x;
        double expected;
    } cases[] = {
        {0.1L, -0.001}, {-0.1L, -0.001}, {0.01L, -0.0001}, {0.0001L, -0.000001}, {0.001L, 0.001},
        {1, 1},         {-1, -1},        {10, 20},         {100, 200},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(static_cast<double>(roundAxisStep(c.x)), c.expected, std::fabs(c.expected) * 1e-12)
            << static_cast<double>(c.x);
}

TEST(RoundAxisStep, NotFiniteGivesZero)
{
    EXPECT_EQ(roundAxisStep(INFINITY), 0);
    EXPECT_EQ(roundAxisStep(NAN), 0);
}

TEST(Conversion, GainAndOffsetFromCalibration)
{
    // Raw 16 reads 0, raw 216 reads 100.
    const Conversion c = makeConversion(0.0, 100.0, 16.0L, 216.0L);
    EXPECT_NEAR(static_cast<double>(c.gain), 0.5, 1e-15);
    EXPECT_NEAR(static_cast<double>(c.offset), -8.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(c.physical(116)), 50.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(c.resolution), 0.5, 1e-15);
}

TEST(Conversion, DegenerateCalibrationOrScaleStaysFinite)
{
    // No calibrated span: the input reads its low scale value everywhere.
    const Conversion noCal = makeConversion(-20.0, 80.0, 100.0L, 100.0L);
    EXPECT_EQ(noCal.gain, 0);
    EXPECT_EQ(noCal.physical(0), -20);
    EXPECT_EQ(noCal.physical(255), -20);

    // No scale span: a flat value and a zero resolution, which Normalize leaves alone.
    const Conversion noScale = makeConversion(5.0, 5.0, 0.0L, 255.0L);
    EXPECT_EQ(noScale.gain, 0);
    EXPECT_EQ(noScale.resolution, 0);
    EXPECT_EQ(normalize(noScale.physical(200), noScale.resolution), 5);

    const AxisScale a = computeAxisScale(noCal, 267.0, -12.0);
    EXPECT_EQ(a.top, -20);
    EXPECT_EQ(a.bottom, -20);
    EXPECT_TRUE(std::isfinite(static_cast<double>(a.step)));
}

TEST(ComputeAxisScale, PhysicalEdgesAndStep)
{
    const Conversion c = makeConversion(0.0, 100.0, 16.0L, 216.0L);
    const AxisScale a = computeAxisScale(c, 216.0, 16.0); // fixed scale: 0..100
    EXPECT_NEAR(static_cast<double>(a.top), 100.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(a.bottom), 0.0, 1e-12);
    EXPECT_NEAR(static_cast<double>(a.step), 20.0, 1e-12); // 12.5 -> 20
}

} // namespace
} // namespace qz
