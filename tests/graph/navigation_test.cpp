// The wheel, the drag that moves the picture, and Home, on the view and the layout of a
// picture (no window).
#include "graph/navigation.h"
#include "graph/zoom.h"
#include "graph_fixture.h"

#include <gtest/gtest.h>

#include <cmath>

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

double instantAt(const GraphView& v, int x)
{
    const TimeWindow& w = v.currentWindow();
    return w.from + (x - 60) * w.span() / 280;
}

class NavigationTest : public ::testing::Test {
protected:
    GraphFixture fixture_;
};

TEST_F(NavigationTest, TheWheelZoomsTheTimeAroundTheCursorOnALevelOfItsOwn)
{
    auto view = fixture_.loadByUnit(oneInput()); // 56 minutes over 280 pixels
    ASSERT_TRUE(view);
    const TimeWindow whole = view->currentWindow();
    const double under = instantAt(*view, 200);
    ASSERT_TRUE(zoomTimeAround(*view, plot(), 200, 0.5));
    EXPECT_EQ(view->currentLevel(), 1);
    EXPECT_NEAR(view->currentWindow().span(), whole.span() / 2, 1e-6);
    EXPECT_NEAR(instantAt(*view, 200), under, 1e-6); // the instant under the cursor stays
    EXPECT_EQ(view->window(0), whole); // level 0 is still the whole

    // A second turn zooms the same level further; turning back never shows more than all.
    ASSERT_TRUE(zoomTimeAround(*view, plot(), 200, 0.5));
    EXPECT_EQ(view->currentLevel(), 1);
    ASSERT_TRUE(zoomTimeAround(*view, plot(), 100, 100));
    EXPECT_EQ(view->currentWindow(), whole);
    EXPECT_FALSE(zoomTimeAround(*view, plot(), 100, 2)); // nothing more to show
}

TEST_F(NavigationTest, TheWheelStopsBeforeFewerThanThreeMeasurements)
{
    auto view = fixture_.loadByUnit(oneInput());
    ASSERT_TRUE(view);
    while (zoomTimeAround(*view, plot(), 200, 0.5)) {
    }
    EXPECT_GE(view->currentView().last - view->currentView().first, 2);
    EXPECT_LT(view->currentWindow().span(), 5 * 60.0);
}

TEST_F(NavigationTest, DraggingMovesTheTimeWithinTheRecordingAndTheValues)
{
    auto view = fixture_.loadByUnit(oneInput());
    ASSERT_TRUE(view);
    ASSERT_TRUE(zoomTimeAround(*view, plot(), 200, 0.5)); // 28 minutes
    const TimeWindow before = view->currentWindow();
    ASSERT_TRUE(pan(*view, plot(), {20, 0})); // to the right: earlier instants
    EXPECT_NEAR(view->currentWindow().from, before.from - 20 * before.span() / 280, 1e-6);
    // Far to the right: held at the first measurement.
    ASSERT_TRUE(pan(*view, plot(), {2000, 0}));
    EXPECT_DOUBLE_EQ(view->currentWindow().from, view->extent().from);
    EXPECT_NEAR(view->currentWindow().span(), before.span(), 1e-6);

    const UnitRange range = view->unitRanges(1).front();
    ASSERT_TRUE(pan(*view, plot(), {0, 23})); // down a tenth of the height: higher values
    EXPECT_NEAR(view->unitRanges(1).front().low, range.low + (range.high - range.low) / 10, 1e-9);
    EXPECT_NEAR(view->unitRanges(1).front().high, range.high + (range.high - range.low) / 10, 1e-9);
}

TEST_F(NavigationTest, CtrlAndTheWheelZoomTheValuesAroundTheCursorsHeight)
{
    auto view = fixture_.loadByUnit(oneInput());
    ASSERT_TRUE(view);
    const UnitRange range = view->unitRanges(0).front();
    const double at = range.low + (256 - 141) * (range.high - range.low) / 230; // row 141
    ASSERT_TRUE(zoomValuesAround(*view, plot(), 141, 0.5));
    const UnitRange zoomed = view->unitRanges(1).front();
    EXPECT_NEAR(zoomed.high - zoomed.low, (range.high - range.low) / 2, 1e-9);
    EXPECT_NEAR(zoomed.low + (256 - 141) * (zoomed.high - zoomed.low) / 230, at, 1e-9);
    EXPECT_EQ(view->unitRanges(0).front().low, range.low);
}

TEST_F(NavigationTest, EachInputOnItsOwnScaleKeepsWholeMeasurementsAtTheEdges)
{
    auto view = fixture_.load(oneInput());
    ASSERT_TRUE(view);
    ASSERT_TRUE(zoomTimeAround(*view, plot(), 197, 0.37));
    const ViewRecord& v = view->currentView();
    EXPECT_DOUBLE_EQ(view->currentWindow().from, view->viewTime(0, v.first));
    EXPECT_DOUBLE_EQ(view->currentWindow().to, view->viewTime(0, v.last));
    ASSERT_TRUE(pan(*view, plot(), {-33, 0}));
    EXPECT_DOUBLE_EQ(view->currentWindow().from, view->viewTime(0, view->currentView().first));
    // The zoom rectangle then goes on from that level.
    EXPECT_EQ(zoomIn(*view, plot(), {110, 56}, {300, 206}).outcome, ZoomOutcome::Zoomed);
    EXPECT_EQ(view->currentLevel(), 2);
}

TEST_F(NavigationTest, HomeShowsAll)
{
    auto view = fixture_.loadByUnit(oneInput());
    ASSERT_TRUE(view);
    EXPECT_FALSE(showAll(*view));
    ASSERT_TRUE(zoomTimeAround(*view, plot(), 200, 0.5));
    ASSERT_EQ(zoomIn(*view, plot(), {110, 56}, {300, 206}).outcome, ZoomOutcome::Zoomed);
    EXPECT_TRUE(showAll(*view));
    EXPECT_EQ(view->currentLevel(), 0);
    EXPECT_EQ(view->currentView().last, 57);
}

} // namespace
} // namespace qz::test
