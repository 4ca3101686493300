// The lines of a curve placed by time: one line per pixel column for dense data, a line
// between columns only where the curve would break, point to point where it is sparse.
#include "graph/curve_envelope.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

namespace qz {
namespace {

// The pixels a set of lines covers, as a one-pixel pen draws them (vertical lines and
// lines one column apart split at half their height, longer ones by Bresenham steps).
std::set<std::pair<int, int>> pixels(const std::vector<QLine>& lines)
{
    std::set<std::pair<int, int>> out;
    for (const QLine& l : lines) {
        const int dx = l.x2() - l.x1();
        const int dy = l.y2() - l.y1();
        const int n = std::max(std::abs(dx), std::abs(dy));
        for (int k = 0; k <= n; ++k) {
            const int x = n ? l.x1() + (dx * k + (dx >= 0 ? n / 2 : -n / 2)) / n : l.x1();
            const int y = n ? l.y1() + (dy * k + (dy >= 0 ? n / 2 : -n / 2)) / n : l.y1();
            out.insert({x, y});
        }
    }
    return out;
}

std::vector<QLine> build(const std::vector<std::pair<double, int>>& points, int minX = 0, int maxX = 99)
{
    CurveEnvelope e(minX, maxX);
    for (const auto& [x, row] : points)
        e.add(x, row);
    return e.lines();
}

TEST(CurveEnvelope, NoisyColumnsShowTheirBandAndNothingMore)
{
    // Two columns of noise whose bands overlap: each its own line, no line between them,
    // even though the last point of the first and the first of the second lie far apart.
    const std::vector<QLine> lines =
        build({{10.1, 50}, {10.4, 60}, {10.7, 40}, {10.9, 58}, {11.2, 42}, {11.5, 61}, {11.8, 45}});
    EXPECT_EQ(lines, (std::vector<QLine>{QLine(10, 40, 10, 60), QLine(11, 42, 11, 61)}));
}

TEST(CurveEnvelope, NeighbouringColumnsApartAreJoinedBetweenTheEndsThatFaceEachOther)
{
    const std::vector<QLine> up = build({{20.2, 80}, {20.6, 70}, {21.3, 40}, {21.7, 50}});
    EXPECT_EQ(up, (std::vector<QLine>{QLine(20, 70, 20, 80), QLine(21, 40, 21, 50), QLine(20, 70, 21, 50)}));
    // Rows that touch need no line.
    const std::vector<QLine> touch = build({{20.2, 80}, {20.6, 70}, {21.3, 60}, {21.7, 69}});
    EXPECT_EQ(touch.size(), 2u);
}

TEST(CurveEnvelope, SparsePointsAreJoinedPointToPoint)
{
    const std::vector<QLine> lines = build({{10, 50}, {15, 60}, {20, 55}});
    const std::set<std::pair<int, int>> covered = pixels(lines);
    for (const auto& p : std::vector<std::pair<int, int>>{{10, 50}, {15, 60}, {20, 55}, {12, 54}})
        EXPECT_TRUE(covered.count(p)) << p.first << "," << p.second;
}

TEST(CurveEnvelope, ALineCrossingTheColumnsKeepsItsSlope)
{
    // From far left to far right through the columns 0..99: at x 0 and 99 the rows the
    // whole line passes there.
    const std::vector<QLine> lines = build({{-1000, 0}, {1099, 2099}});
    const std::set<std::pair<int, int>> covered = pixels(lines);
    EXPECT_TRUE(covered.count({0, 1000}));
    EXPECT_TRUE(covered.count({99, 1099}));
    for (const auto& [x, y] : covered) {
        EXPECT_GE(x, 0);
        EXPECT_LE(x, 99);
    }
    // Points outside on one side only draw nothing.
    EXPECT_TRUE(build({{-50, 1}, {-20, 2}, {-1, 3}}).empty());
    EXPECT_TRUE(build({{100, 1}, {120, 2}}).empty());
}

TEST(CurveEnvelope, ThePassOverTheColumnsDrawsWhatPointByPointWould)
{
    // Noisy rows at several densities, the first and last points beyond the columns.
    for (double step : {0.013, 0.37, 1.0, 2.6}) {
        std::uint32_t seed = 5;
        std::vector<int> rows;
        for (int n = 0; n < 3000; ++n) {
            seed = seed * 1103515245u + 12345u;
            rows.push_back(100 + int((seed >> 16) % 61) - 30 + n / 40);
        }
        const double x0 = 10.3;
        const int inside = int((99.999 - x0) / step) + 1;
        const int count = std::min(inside, int(rows.size()) - 2);
        CurveEnvelope one(10, 99);
        CurveEnvelope pass(10, 99);
        one.add(x0 - step - 3, 7);
        pass.add(x0 - step - 3, 7);
        for (int n = 0; n < count; ++n)
            one.add(x0 + n * step, rows[std::size_t(n)]);
        pass.addInside(x0, step, count, [&](int n) { return rows[std::size_t(n)]; });
        one.add(130, 400);
        pass.add(130, 400);
        EXPECT_EQ(pass.lines(), one.lines()) << step;
    }
}

} // namespace
} // namespace qz
