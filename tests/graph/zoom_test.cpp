#include "graph/graph_draw.h"
#include "graph/zoom.h"
#include "graph_fixture.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>

namespace qz {

// Readable outcomes in failure messages.
inline void PrintTo(ZoomOutcome o, std::ostream* os)
{
    static const char* const names[] = {"Zoomed", "WindowTooSmall", "NoHeight"};
    *os << names[int(o)];
}

} // namespace qz

namespace qz::test {
namespace {

// The plot of a 400 x 300 canvas: 60..340 x 26..256 (W 280, H 230).
GraphLayout plot()
{
    GraphLayout l;
    l.left = 60;
    l.right = 340;
    l.top = 26;
    l.bottom = 256;
    return l;
}

TEST(ZoomView, RectangleChoosesMeasurementsByColumnAndRawRangeByRow)
{
    ViewRecord v;
    v.first = 1;
    v.last = 57;
    v.top[0] = 176;
    v.bottom[0] = 40;
    v.top[3] = 10; // a falling input: its raw range runs downwards
    v.bottom[3] = 240;

    // 56 steps over 280 pixels: one measurement every 5 pixels.
    const ZoomView z = computeZoomView(plot(), v, QPoint(160, 206), QPoint(110, 56));
    EXPECT_EQ(z.first, 11); // 50 x 56 div 280 + 1
    EXPECT_EQ(z.last, 21); // 100 x 56 div 280 + 1
    // Row 56 lies 200 of 230 rows above the bottom, row 206 lies 50 above it.
    EXPECT_DOUBLE_EQ(z.top[0], 40 + 200 * 136.0 / 230);
    EXPECT_DOUBLE_EQ(z.bottom[0], 40 + 50 * 136.0 / 230);
    EXPECT_DOUBLE_EQ(z.top[3], 240 - 200 * 230.0 / 230);
    EXPECT_DOUBLE_EQ(z.bottom[3], 240 - 50 * 230.0 / 230);

    // The whole frame is the view itself; the columns truncate toward the first.
    const ZoomView whole = computeZoomView(plot(), v, QPoint(60, 26), QPoint(340, 256));
    EXPECT_EQ(whole.first, 1);
    EXPECT_EQ(whole.last, 57);
    EXPECT_DOUBLE_EQ(whole.top[0], 176);
    EXPECT_DOUBLE_EQ(whole.bottom[0], 40);
    const ZoomView inner = computeZoomView(plot(), v, QPoint(61, 27), QPoint(339, 255));
    EXPECT_EQ(inner.first, 1);
    EXPECT_EQ(inner.last, 56);
}

struct ZoomCase {
    const char* name;
    QPoint from;
    QPoint to;
    ZoomOutcome outcome;
    bool redraw;
    int level; // after the zoom
    int first;
    int last;
};

void PrintTo(const ZoomCase& c, std::ostream* os)
{
    *os << c.name << ": (" << c.from.x() << "," << c.from.y() << ")-(" << c.to.x() << "," << c.to.y() << ")";
}

class ZoomInTest : public ::testing::TestWithParam<ZoomCase> {
protected:
    GraphFixture fixture_;
};

TEST_P(ZoomInTest, PushesTheRectanglesLevelOrKeepsTheLevelAbove)
{
    const ZoomCase& c = GetParam();
    auto rec = fixture_.load(oneInput());
    ASSERT_TRUE(rec);
    const ViewRecord before = rec->currentView();

    const ZoomResult r = zoomIn(*rec, plot(), c.from, c.to);
    EXPECT_EQ(r.outcome, c.outcome);
    EXPECT_EQ(r.redraw, c.redraw);
    EXPECT_EQ(rec->currentLevel(), c.level);
    EXPECT_EQ(rec->currentView().first, c.first);
    EXPECT_EQ(rec->currentView().last, c.last);
    // The level above is as it was.
    EXPECT_EQ(rec->view(0).first, before.first);
    EXPECT_EQ(rec->view(0).last, before.last);
    EXPECT_EQ(rec->view(0).top, before.top);
}

INSTANTIATE_TEST_SUITE_P(
    Rectangles, ZoomInTest,
    ::testing::Values(
        ZoomCase{"rectangle", {110, 56}, {160, 206}, ZoomOutcome::Zoomed, true, 1, 11, 21},
        ZoomCase{"drawn backwards", {160, 206}, {110, 56}, ZoomOutcome::Zoomed, true, 1, 11, 21},
        ZoomCase{"whole frame", {60, 26}, {340, 256}, ZoomOutcome::Zoomed, true, 1, 1, 57},
        ZoomCase{"two measurement steps wide", {110, 50}, {120, 200}, ZoomOutcome::Zoomed, true, 1, 11, 13},
        ZoomCase{
            "one measurement step wide", {110, 50}, {115, 200}, ZoomOutcome::WindowTooSmall, false, 0, 1, 57},
        ZoomCase{"narrower than a step", {110, 50}, {112, 200}, ZoomOutcome::WindowTooSmall, false, 0, 1, 57},
        ZoomCase{"no width", {110, 50}, {110, 200}, ZoomOutcome::WindowTooSmall, false, 0, 1, 57},
        // The axis loses its physical range, so it has no tick: the label test refuses.
        ZoomCase{"no height", {110, 100}, {200, 100}, ZoomOutcome::WindowTooSmall, true, 0, 1, 57}),
    [](const ::testing::TestParamInfo<ZoomCase>& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return n;
    });

class ZoomTest : public ::testing::Test {
protected:
    GraphFixture fixture_;
};

TEST_F(ZoomTest, NewLevelTakesTheRectanglesHeightAndTheDatasExtremes)
{
    auto rec = fixture_.load(oneInput());
    ASSERT_TRUE(rec);
    // Level 0 spans raw 40..176 (52..164 and the margin of 12).
    ASSERT_DOUBLE_EQ(rec->currentView().top[0], 176);
    ASSERT_DOUBLE_EQ(rec->currentView().bottom[0], 40);

    ASSERT_EQ(zoomIn(*rec, plot(), {110, 56}, {160, 206}).outcome, ZoomOutcome::Zoomed);
    const ViewRecord& v = rec->currentView();
    EXPECT_NEAR(v.top[0], 158.26087, 1e-5);
    EXPECT_NEAR(v.bottom[0], 69.56522, 1e-5);
    // Measurements 11..21 hold raw 72..92.
    EXPECT_EQ(v.rawMin[0], 72);
    EXPECT_EQ(v.rawMax[0], 92);
    EXPECT_DOUBLE_EQ(v.average[0], 82);

    // A rectangle one row high still zooms: one row's worth of the level above.
    ASSERT_EQ(zoomIn(*rec, plot(), {100, 100}, {300, 101}).outcome, ZoomOutcome::Zoomed);
    EXPECT_EQ(rec->currentLevel(), 2);
    EXPECT_NEAR(rec->currentView().top[0] - rec->currentView().bottom[0], (158.26087 - 69.56522) / 230, 1e-6);
}

TEST_F(ZoomTest, SixteenLevelsAtMostAndTheDeepestIsJudgedAgain)
{
    auto rec = fixture_.load(oneInput());
    ASSERT_TRUE(rec);
    // The inner frame drops the last measurement of each level: 57, 56, ... 41.
    for (int level = 1; level <= kDeepestLevel; ++level) {
        ASSERT_EQ(zoomIn(*rec, plot(), {61, 27}, {339, 255}).outcome, ZoomOutcome::Zoomed) << level;
        ASSERT_EQ(rec->currentLevel(), level);
        EXPECT_EQ(rec->currentView().last, 57 - level);
    }
    const ViewRecord deepest = rec->currentView();
    const ZoomResult r = zoomIn(*rec, plot(), {100, 50}, {200, 150});
    EXPECT_EQ(r.outcome, ZoomOutcome::Zoomed);
    EXPECT_TRUE(r.redraw);
    EXPECT_EQ(rec->currentLevel(), kDeepestLevel);
    EXPECT_EQ(rec->currentView().first, deepest.first);
    EXPECT_EQ(rec->currentView().last, deepest.last);
    EXPECT_EQ(rec->currentView().top, deepest.top);
}

TEST_F(ZoomTest, ZoomOutReturnsToTheLevelAboveAsItWas)
{
    auto rec = fixture_.load(oneInput());
    ASSERT_TRUE(rec);
    EXPECT_FALSE(zoomOut(*rec));
    EXPECT_EQ(rec->currentLevel(), 0);

    ASSERT_EQ(zoomIn(*rec, plot(), {110, 56}, {300, 206}).outcome, ZoomOutcome::Zoomed);
    const ViewRecord first = rec->currentView();
    ASSERT_EQ(zoomIn(*rec, plot(), {110, 56}, {160, 206}).outcome, ZoomOutcome::Zoomed);
    EXPECT_TRUE(zoomOut(*rec));
    EXPECT_EQ(rec->currentLevel(), 1);
    EXPECT_EQ(rec->currentView().first, first.first);
    EXPECT_EQ(rec->currentView().last, first.last);
    EXPECT_EQ(rec->currentView().top, first.top);
    EXPECT_TRUE(zoomOut(*rec));
    EXPECT_EQ(rec->currentView().last, 57);
}

// Input 1 reads 0..100; input 2 has no calibrated span (its readings coincide), so its
// axis has no physical range and no tick.
ImageBuilder withFlatAxis()
{
    return graphRecording()
        .input(0, graphInput("degC"))
        .input(1, graphInput("bar", 0, 100, 100 * 256, 100 * 256))
        .measurements(57, [](int k, int i) { return std::uint8_t(i == 0 ? 50 + 2 * k : 90 + k % 3); });
}

TEST_F(ZoomTest, AnAxisWithoutATickInsideRefusesTheLevelAndAsksForARedraw)
{
    auto rec = fixture_.load(withFlatAxis());
    ASSERT_TRUE(rec);
    ASSERT_EQ(rec->settings().rightAxisInput, 1);
    const ZoomResult r = zoomIn(*rec, plot(), {110, 56}, {160, 206});
    EXPECT_EQ(r.outcome, ZoomOutcome::WindowTooSmall);
    EXPECT_TRUE(r.redraw);
    EXPECT_EQ(rec->currentLevel(), 0);

    // Without that axis the same rectangle zooms.
    DisplaySettings s = rec->settings();
    s.rightAxisInput = -1;
    rec->setDisplaySettings(s);
    EXPECT_EQ(zoomIn(*rec, plot(), {110, 56}, {160, 206}).outcome, ZoomOutcome::Zoomed);
}

TEST_F(ZoomTest, AtTheDeepestLevelARefusalStepsBackALevel)
{
    auto rec = fixture_.load(withFlatAxis());
    ASSERT_TRUE(rec);
    DisplaySettings s = rec->settings();
    s.rightAxisInput = -1;
    rec->setDisplaySettings(s);
    for (int level = 1; level <= kDeepestLevel; ++level)
        ASSERT_EQ(zoomIn(*rec, plot(), {61, 27}, {339, 255}).outcome, ZoomOutcome::Zoomed) << level;
    s.rightAxisInput = 1;
    rec->setDisplaySettings(s);
    const ZoomResult r = zoomIn(*rec, plot(), {100, 50}, {200, 150});
    EXPECT_EQ(r.outcome, ZoomOutcome::WindowTooSmall);
    EXPECT_TRUE(r.redraw);
    // The level above the deepest is shown, as after a step back.
    EXPECT_EQ(rec->currentLevel(), kDeepestLevel - 1);
    EXPECT_EQ(rec->currentView().last, 57 - (kDeepestLevel - 1));
}

TEST_F(ZoomTest, AfterFailedAxesTheRangeTestJudgesTheLevelGoneBackTo)
{
    // Two measurements: no level below 0 can span two steps, and level 0 cannot either.
    auto rec = fixture_.load(graphRecording()
                                 .input(0, graphInput("degC"))
                                 .input(1, graphInput("bar", 0, 100, 100 * 256, 100 * 256))
                                 .measurements(2, [](int k, int) { return std::uint8_t(100 * k); }));
    ASSERT_TRUE(rec);
    ASSERT_EQ(rec->settings().rightAxisInput, 1); // an axis without ticks
    const ZoomResult r = zoomIn(*rec, plot(), {60, 26}, {340, 256});
    EXPECT_EQ(r.outcome, ZoomOutcome::WindowTooSmall);
    EXPECT_TRUE(r.redraw);
    EXPECT_EQ(rec->currentLevel(), 0); // never above the whole recording
    EXPECT_EQ(rec->currentView().last, 2);
}

TEST_F(ZoomTest, AnInputLeftWithoutRawRangeRefusesTheLevelSilently)
{
    auto rec = fixture_.load(oneInput());
    ASSERT_TRUE(rec);
    DisplaySettings s = rec->settings();
    s.leftAxisInput = -1; // no axis to test first
    rec->setDisplaySettings(s);
    const ZoomResult r = zoomIn(*rec, plot(), {110, 100}, {200, 100});
    EXPECT_EQ(r.outcome, ZoomOutcome::NoHeight);
    EXPECT_FALSE(r.redraw);
    EXPECT_EQ(rec->currentLevel(), 0);
}

TEST_F(ZoomTest, AFallingInputZoomsLikeARisingOne)
{
    // 100 at the lowest reading, 0 at the highest: raw ranges run downwards.
    auto rec =
        fixture_.load(graphRecording().input(0, graphInput("m", 100, 0)).measurements(57, [](int k, int) {
            return std::uint8_t(50 + 2 * k);
        }));
    ASSERT_TRUE(rec);
    ASSERT_LT(rec->currentView().top[0], rec->currentView().bottom[0]);
    ASSERT_EQ(zoomIn(*rec, plot(), {110, 56}, {160, 206}).outcome, ZoomOutcome::Zoomed);
    EXPECT_EQ(rec->currentLevel(), 1);
    EXPECT_LT(rec->currentView().top[0], rec->currentView().bottom[0]);
}

TEST_F(ZoomTest, WithOneAxisPerUnitTheRectangleChoosesTheInstantsAndEachUnitsRange)
{
    auto rec = fixture_.loadByUnit(threeInputs()); // 80 minutes over 280 pixels
    ASSERT_TRUE(rec);
    const TimeWindow whole = rec->currentWindow();
    const std::vector<UnitRange> before = rec->unitRanges(0);
    ASSERT_EQ(before.size(), 3u);
    // Columns 95 and 165: an eighth and three eighths of the width; rows 56 and 206.
    ASSERT_EQ(zoomIn(*rec, plot(), {95, 206}, {165, 56}).outcome, ZoomOutcome::Zoomed);
    EXPECT_EQ(rec->currentLevel(), 1);
    EXPECT_DOUBLE_EQ(rec->currentWindow().from, whole.from + whole.span() / 8);
    EXPECT_DOUBLE_EQ(rec->currentWindow().to, whole.from + whole.span() * 3 / 8);
    EXPECT_EQ(rec->currentView().first, 11);
    EXPECT_EQ(rec->currentView().last, 31);
    for (std::size_t u = 0; u < before.size(); ++u) {
        const double span = before[u].high - before[u].low;
        EXPECT_NEAR(rec->unitRanges(1)[u].low, before[u].low + 50 * span / 230, 1e-9);
        EXPECT_NEAR(rec->unitRanges(1)[u].high, before[u].low + 200 * span / 230, 1e-9);
    }
    // Narrower than two measurement steps: refused with the message.
    EXPECT_EQ(zoomIn(*rec, plot(), {100, 56}, {104, 206}).outcome, ZoomOutcome::WindowTooSmall);
    EXPECT_EQ(rec->currentLevel(), 1);
}

TEST_F(ZoomTest, ARecordingOfTwoMeasurementsCannotBeZoomedAndStaysAtLevelZero)
{
    auto rec = fixture_.load(graphRecording().input(0, graphInput("degC")).measurements(2, [](int k, int) {
        return std::uint8_t(100 * k);
    }));
    ASSERT_TRUE(rec);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(zoomIn(*rec, plot(), {60, 26}, {340, 256}).outcome, ZoomOutcome::WindowTooSmall);
        EXPECT_EQ(rec->currentLevel(), 0);
    }
    EXPECT_EQ(rec->currentView().last, 2);
}

} // namespace
} // namespace qz::test
