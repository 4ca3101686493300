// A graph view over a recording: its first level, the plotted range of each level, the
// drawn inputs and colours, its title, and a recording known under a new name.
#include "graph/graph_view.h"
#include "graph_fixture.h"
#include "model/datetime_number.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qz::test {
namespace {

// Inputs 1, 2 and 5 (5 with a falling scale), 100 measurements of 5 minutes from
// 05/03/01 14:07:09: input 1 reads 100 + k % 20, input 5 20 + 7k % 50.
ImageBuilder scaledInputs()
{
    ImageBuilder b;
    b.serial("0815")
        .recordName(QStringLiteral("   Cold store 3"))
        .interval(1, 300)
        .start(1, 3, 5, 14, 7, 9)
        .input(0, {QStringLiteral("Temp"), QStringLiteral("\u00B0C"), -20, 80, 16 * 256, 216 * 256})
        .input(1, {QStringLiteral("Humidity"), QStringLiteral("%RH"), 0, 100, 0, 250 * 256})
        .input(4, {QStringLiteral("Pressure"), QStringLiteral("bar"), 10, 0, 0, 200 * 256})
        .measurements(100, [](int k, int input) -> std::uint8_t {
            switch (input) {
            case 0:
                return std::uint8_t(100 + k % 20);
            case 1:
                return std::uint8_t(50 + k / 2);
            default:
                return std::uint8_t(20 + (k * 7) % 50);
            }
        });
    return b;
}

class GraphViewTest : public ::testing::Test {
protected:
    std::unique_ptr<GraphView> load(const ImageBuilder& image, double created = 0) const
    {
        const RecordingResult made =
            RecordingData::fromImage(image.build(), created, fixture_.programFolder());
        EXPECT_TRUE(made.ok());
        return made ? std::make_unique<GraphView>(made.data) : nullptr;
    }

    GraphFixture fixture_;
};

TEST_F(GraphViewTest, ANewViewShowsTheWholeRecordingWithEveryRecordedInput)
{
    auto v = load(scaledInputs());
    EXPECT_EQ(v->currentLevel(), 0);
    EXPECT_EQ(v->view(0).first, 1);
    EXPECT_EQ(v->view(0).last, 100);
    EXPECT_EQ(v->settings(), initDisplaySettings(0x13));
    EXPECT_EQ(v->colours(), defaultColours());
    EXPECT_EQ(v->recordings().size(), 1u);
    const DataRange r = v->range();
    EXPECT_EQ(r.first, 1);
    EXPECT_EQ(r.last, 100);
    EXPECT_EQ(r.inputs, (std::array<bool, 8>{true, true, false, false, true, false, false, false}));
    // Extremes of the whole recording; a falling scale exchanges them.
    EXPECT_EQ(v->view(0).rawMin[0], 100);
    EXPECT_EQ(v->view(0).rawMax[0], 119);
    EXPECT_DOUBLE_EQ(v->view(0).average[0], 109.5);
    EXPECT_EQ(v->view(0).rawMax[4], 20);
    EXPECT_EQ(v->view(0).rawMin[4], 69);
}

TEST_F(GraphViewTest, AutomaticRangeAddsMarginAtLevelZero)
{
    auto r = load(scaledInputs());
    const ViewRecord& v = r->view(0);
    EXPECT_EQ(v.bottom[0], 100 - 12);
    EXPECT_EQ(v.top[0], 119 + 12);
    // Falling scale: the physically higher end (raw 20) is on top, widened by the margin.
    EXPECT_EQ(v.top[4], 20 - 12);
    EXPECT_EQ(v.bottom[4], 69 + 12);
    EXPECT_GT(r->data().physicalValue(4, v.top[4]), r->data().physicalValue(4, v.bottom[4]));
}

TEST_F(GraphViewTest, FlatInputSpansTwiceTheMarginThenFallsBackWhenZoomed)
{
    auto r = load(scaledInputs().measurements(30, [](int, int) -> std::uint8_t { return 77; }));
    EXPECT_EQ(r->view(0).bottom[0], 65);
    EXPECT_EQ(r->view(0).top[0], 89);

    const ViewRecord& zoom = r->showLevel(1, 10, 12);
    EXPECT_EQ(r->currentLevel(), 1);
    EXPECT_EQ(zoom.rawMin[0], 77);
    EXPECT_EQ(zoom.rawMax[0], 77);
    EXPECT_EQ(zoom.bottom[0], 65);
    EXPECT_EQ(zoom.top[0], 89);
}

TEST_F(GraphViewTest, ZoomedLevelHasNoMarginAndOwnAverages)
{
    auto r = load(scaledInputs());
    const ViewRecord& zoom = r->showLevel(1, 21, 25); // input 1: 101..105
    EXPECT_EQ(zoom.bottom[0], 101);
    EXPECT_EQ(zoom.top[0], 105);
    EXPECT_DOUBLE_EQ(zoom.average[0], 103);
    EXPECT_EQ(r->range().first, 21);
    EXPECT_EQ(r->range().last, 25);
    // The level above stays as it was.
    EXPECT_EQ(r->view(0).bottom[0], 100 - 12);
    // A single measurement: minimum and maximum are that sample.
    const ViewRecord& one = r->showLevel(2, 7, 7);
    EXPECT_EQ(one.rawMin[0], 107);
    EXPECT_EQ(one.rawMax[0], 107);
}

TEST_F(GraphViewTest, FixedRangeIsTheCalibratedSpan)
{
    auto r = load(scaledInputs());
    DisplaySettings s = r->settings();
    s.autoScale = false;
    ColourTable colours = r->colours();
    colours[1] = 0x123456;
    r->applyGraphicConfig(colours, s);
    EXPECT_EQ(r->colours()[1], 0x123456u);
    const ViewRecord& v = r->view(0);
    EXPECT_EQ(v.bottom[0], 16);
    EXPECT_EQ(v.top[0], 216);
    const AxisScale a = r->axisScale(0);
    EXPECT_NEAR(static_cast<double>(a.top), 80, 1e-9);
    EXPECT_NEAR(static_cast<double>(a.bottom), -20, 1e-9);
    EXPECT_NEAR(static_cast<double>(a.step), 20, 1e-9); // 12.5 rounded up
    // Falling scale: the higher value 10 bar stays at the top.
    const AxisScale p = r->axisScale(4);
    EXPECT_NEAR(static_cast<double>(p.top), 10, 1e-9);
    EXPECT_NEAR(static_cast<double>(p.bottom), 0, 1e-9);
    // No such input: no axis.
    EXPECT_EQ(r->axisScale(8).step, 0);
}

TEST_F(GraphViewTest, FixedRangePutsTheHigherScaleValueAtTheTopWhateverTheCalibration)
{
    // Rising and falling scales, each with a rising and a reversed calibration (CalHigh
    // below CalLow): the top of the plot is always the higher scale value, and the axis
    // step points up, so every label is drawn.
    const struct {
        const char* name;
        double low;
        double high;
        std::uint16_t calLow;
        std::uint16_t calHigh;
    } cases[] = {
        {"rising scale, rising calibration", -20, 80, 16 * 256, 216 * 256},
        {"rising scale, reversed calibration", -20, 80, 216 * 256, 16 * 256},
        {"falling scale, rising calibration", 80, -20, 16 * 256, 216 * 256},
        {"falling scale, reversed calibration", 80, -20, 216 * 256, 16 * 256},
    };
    for (const auto& c : cases) {
        ImageBuilder b = scaledInputs();
        b.input(0, {QStringLiteral("Temp"), QStringLiteral("C"), c.low, c.high, c.calLow, c.calHigh});
        auto r = load(b);
        DisplaySettings s = r->settings();
        s.autoScale = false;
        r->applyGraphicConfig(r->colours(), s);
        const AxisScale a = r->axisScale(0);
        EXPECT_NEAR(static_cast<double>(a.top), 80, 1e-9) << c.name;
        EXPECT_NEAR(static_cast<double>(a.bottom), -20, 1e-9) << c.name;
        EXPECT_NEAR(static_cast<double>(a.step), 20, 1e-9) << c.name;
        // The automatic range frames the data the same way up.
        s.autoScale = true;
        r->applyGraphicConfig(r->colours(), s);
        const AxisScale automatic = r->axisScale(0);
        EXPECT_GT(automatic.top, automatic.bottom) << c.name;
        EXPECT_GT(automatic.step, 0) << c.name;
    }
}

TEST_F(GraphViewTest, DegenerateScalesStayDrawable)
{
    ImageBuilder b = scaledInputs();
    b.input(0, {QStringLiteral("Flat"), QStringLiteral("V"), 5, 5, 0, 255 * 256}) // no scale span
        .input(1, {QStringLiteral("NoCal"), QStringLiteral("V"), 0, 100, 300, 300}); // no calibrated span
    auto r = load(b);
    for (bool autoScale : {true, false}) {
        DisplaySettings s = r->settings();
        s.autoScale = autoScale;
        r->applyGraphicConfig(r->colours(), s);
        for (int i : {0, 1}) {
            EXPECT_NE(r->view(0).top[i], r->view(0).bottom[i]) << i << autoScale;
            const AxisScale a = r->axisScale(i);
            EXPECT_TRUE(std::isfinite(static_cast<double>(a.step))) << i << autoScale;
        }
    }
}

TEST_F(GraphViewTest, LevelsOutsideTheRecordingReadOnlyItsMeasurementsAndStayInTheStack)
{
    auto r = load(scaledInputs());
    const ViewRecord& v = r->showLevel(3, -5, 100000);
    EXPECT_EQ(v.rawMin[0], 100);
    EXPECT_EQ(v.rawMax[0], 119);
    r->setCurrentLevel(99);
    EXPECT_EQ(r->currentLevel(), kViewLevels - 1);
    r->showLevel(-4, 1, 50);
    EXPECT_EQ(r->currentLevel(), 0);
    EXPECT_EQ(r->view(0).last, 50);
}

TEST_F(GraphViewTest, TitleOfADownloadAndOfAFile)
{
    const double created = toDateTimeNumber(QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9)));
    const QString when = QStringLiteral("5 Mar 2026 14:07:09");
    const QString name30 = QStringLiteral("   Cold store 3").leftJustified(30);

    auto download = load(scaledInputs(), created);
    download->childTitle(1);
    EXPECT_EQ(download->caption(),
              QStringLiteral("S/N:0815 - ") + name30 + QStringLiteral(" #1   (") + when
                  + QStringLiteral(" )"));
    download->childTitle(2); // title set: unchanged
    EXPECT_TRUE(download->caption().contains(QStringLiteral("#1  ")));
    download->clearTitleSet();
    download->childTitle(12);
    EXPECT_TRUE(download->caption().contains(QStringLiteral(" #12  (")));

    // Saved under a name: the file's name from then on, the view itself unchanged.
    download->showLevel(1, 10, 20);
    download->renamePrimary(QStringLiteral("/data/logs/cold.qrv"));
    EXPECT_EQ(download->data().fileName(), QStringLiteral("/data/logs/cold.qrv"));
    EXPECT_EQ(download->data().created(), created);
    EXPECT_EQ(download->currentLevel(), 1);
    download->clearTitleSet();
    download->childTitle(2);
    EXPECT_EQ(download->caption(), QStringLiteral("cold.qrv - ") + name30 + QStringLiteral(" #2  "));
}

TEST_F(GraphViewTest, TheTitleOfTheSimulatedLoggersRecordingSaysSo)
{
    const struct {
        const char* serial;
        QString mark;
    } cases[] = {
        {"SIM1", QStringLiteral(" (Simulated logger)")},
        {"0815", QString()},
    };
    const QString name30 = QStringLiteral("   Cold store 3").leftJustified(30);
    for (const auto& c : cases) {
        auto download = load(scaledInputs().serial(c.serial));
        download->childTitle(1);
        EXPECT_TRUE(
            download->caption().startsWith(QStringLiteral("S/N:") + c.serial + c.mark + " - " + name30))
            << download->caption().toStdString();
        download->renamePrimary(QStringLiteral("/data/logs/cold.qrv"));
        download->clearTitleSet();
        download->childTitle(1);
        EXPECT_EQ(download->caption(), QStringLiteral("cold.qrv") + c.mark + " - " + name30 + " #1  ");
    }
}

} // namespace
} // namespace qz::test
