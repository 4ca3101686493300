// Graphs as a user sees them in the main window: a recording of eight inputs in four
// units, two runs of a freezer compared at their starts, and noisy one-minute data drawn
// both ways. QUORZK_SCREENSHOT_DIR=docs also writes the pictures of the README.
#include "app_rig.h"

#include "app/ui/status_image.h"
#include "graph/graph_colours.h"
#include "graph/ui/graph_paint_box.h"
#include "graph/ui/graph_window.h"
#include "graph/ui/graphic_config_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QMdiArea>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace qz::test {
namespace {

constexpr double kPi = 3.14159265358979;

// A cold store over two days, every five minutes: three temperatures, the humidity, two
// pressures and two currents of its refrigeration, with a defrost every eight hours.
ImageBuilder eightInputs()
{
    static const char* const names[] = {"Air",     "Product", "Evap",  "Humidity",
                                        "Suction", "Head",    "Compr", "Fans"};
    static const char* const units[] = {"\xb0"
                                        "C",
                                        "\xb0"
                                        "C",
                                        "\xb0"
                                        "C",
                                        "%rH",
                                        "bar",
                                        "bar",
                                        "A",
                                        "A"};
    static constexpr double low[] = {-30, -30, -30, 0, -1, 0, 0, 0};
    static constexpr double high[] = {20, 20, 20, 100, 9, 25, 20, 5};
    ImageBuilder b;
    b.serial("2417")
        .deviceCode(kCodeLarge)
        .recordName(QStringLiteral("Cold store 2, north"))
        .interval(1, 300)
        .start(24, 5, 13, 6, 0, 0);
    for (int i = 0; i < 8; ++i)
        b.input(
            i, {QString::fromLatin1(names[i]), QString::fromLatin1(units[i]), low[i], high[i], 0, 255 * 256});
    b.measurements(576, [](int k, int i) {
        const double hour = k / 12.0;
        const bool defrost = std::fmod(hour, 8.0) < 0.5;
        const double day = std::sin(2 * kPi * hour / 24);
        const double values[] = {
            defrost ? 2 : 2 + 1.5 * day + 0.4 * std::sin(k * 0.9),
            3 + 0.5 * day,
            defrost ? 8 : -8 + day,
            78 + 8 * day,
            defrost ? 3.5 : 1.2 + 0.3 * std::sin(k * 0.7),
            defrost ? 6 : 12 + 2 * day,
            defrost ? 0 : 9 + std::sin(k * 0.7),
            defrost ? 0 : 2.4,
        };
        const double raw = (values[i] - low[i]) * 255 / (high[i] - low[i]);
        return std::uint8_t(std::clamp(std::lround(raw), 0L, 255L));
    });
    return b;
}

// A freezer pulled down from room temperature, one run a day later than the other and a
// little slower.
ImageBuilder freezerRun(int day, double rate)
{
    return ImageBuilder()
        .serial("0815")
        .deviceCode(kCodeLarge)
        .recordName(QStringLiteral("Freezer pull-down"))
        .interval(1, 120)
        .start(24, 6, day, 9, 0, 0)
        .input(0,
               {QStringLiteral("Cabinet"),
                QStringLiteral("\xb0"
                               "C"),
                -40, 30, 0, 255 * 256})
        .input(1, {QStringLiteral("Door"), QStringLiteral("%"), 0, 100, 0, 255 * 256})
        .measurements(360, [rate](int k, int i) {
            const double hours = k / 30.0;
            if (i == 1)
                return std::uint8_t(k % 90 < 2 ? 255 : 0);
            const double t = -24 + 46 * std::exp(-hours * rate);
            return std::uint8_t(std::clamp(std::lround((t + 40) * 255 / 70), 0L, 255L));
        });
}

// One minute of a cold room with a sensor's noise, six weeks long.
ImageBuilder noisyMinutes()
{
    std::uint32_t seed = 11;
    return ImageBuilder()
        .serial("0816")
        .deviceCode(kCodeLarge)
        .recordName(QStringLiteral("Cold room"))
        .interval(1, 60)
        .start(24, 1, 15, 8, 0, 0)
        .input(0,
               {QStringLiteral("Room"),
                QStringLiteral("\xb0"
                               "C"),
                -20, 80, 0, 255 * 256})
        .measurements(mem::kMaxBlocks * int(mem::kSampleArea), [seed](int k, int) mutable {
            seed = seed * 1103515245u + 12345u;
            const double day = 2 * kPi * (k % 1440) / 1440.0;
            return std::uint8_t(std::lround(70 + 12 * std::sin(day) + int((seed >> 16) % 9) - 4));
        });
}

class GraphPictures : public AppTest {
protected:
    GraphWindow* show(const QString& file)
    {
        form().resize(1000, 680);
        form().show();
        GraphWindow* graph = openThroughMenu(file);
        if (graph)
            graph->showMaximized();
        settle();
        return graph;
    }
    void moveTo(GraphWindow* graph, QPoint at)
    {
        clock_.advance(kCursorHoldOffMs);
        QWidget* box = graph->paintBox();
        QMouseEvent e(QEvent::MouseMove, at, box->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(box, &e);
        settle();
    }
    static std::vector<PlacedText> of(const GraphWindow* graph, GraphTextKind kind)
    {
        std::vector<PlacedText> out;
        for (const PlacedText& t : graph->paintBox()->texts())
            if (t.kind == kind)
                out.push_back(t);
        return out;
    }
    void picture(QWidget* w, const char* name)
    {
        if (const QString dir = qEnvironmentVariable("QUORZK_SCREENSHOT_DIR"); !dir.isEmpty())
            w->grab().save(QDir(dir).filePath(QString::fromLatin1(name)));
    }
    StatusImage* status() { return form().findChild<StatusImage*>(); }
};

TEST_F(GraphPictures, EightInputsInFourUnitsEachReadAgainstItsOwnUnit)
{
    GraphWindow* graph = show(writeRecording("cold-store-2.qrv", eightInputs()));
    ASSERT_TRUE(graph);
    EXPECT_EQ(of(graph, GraphTextKind::Unit).size(), 4u);
    const std::vector<PlacedText> legend = of(graph, GraphTextKind::Legend);
    ASSERT_EQ(legend.size(), 8u);
    EXPECT_EQ(legend[0].text, "Air (\u00b0C)");
    const GraphLayout& l = graph->paintBox()->layout();
    for (const PlacedText& t : legend)
        EXPECT_GT(t.rect.top(), l.bottom);
    moveTo(graph, QPoint((l.left + l.right) / 2, (l.top + l.bottom) / 2));
    ASSERT_TRUE(status());
    EXPECT_EQ(status()->readout().texts.size(), 9); // the time and eight values
    picture(&form(), "graph-eight-inputs.png");

    // Its graphic configuration, as a double click opens it.
    graph->openGraphicConfig();
    auto* config = form().findChild<GraphicConfigDialog*>();
    ASSERT_TRUE(config && config->isVisible());
    EXPECT_TRUE(config->gridBox()->isChecked());
    EXPECT_FALSE(config->ownScalesBox()->isChecked());
    EXPECT_FALSE(config->alignBox()->isEnabled()); // one recording
    picture(config, "graphic-configuration.png");
    config->reject();

    // The main window as it first shows a recording.
    graph->showNormal();
    form().resize(710, 555);
    settle();
    graph->setGeometry(0, 0, 600, form().mdiArea()->height());
    settle();
    EXPECT_EQ(of(graph, GraphTextKind::Unit).size(), 4u);
    picture(&form(), "main-window.png");

    // Half a day around the defrost of the first afternoon, read under the mouse.
    QWidget* box = graph->paintBox();
    const QPoint at(l.left + l.width() * 29 / 48, (l.top + l.bottom) / 2);
    QWheelEvent wheel(at, box->mapToGlobal(at), QPoint(), QPoint(0, 3 * 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(box, &wheel);
    settle();
    EXPECT_EQ(graph->view().currentLevel(), 1);
    moveTo(graph, at + QPoint(20, 0));
    EXPECT_EQ(status()->readout().texts.size(), 9);
    picture(&form(), "zoomed-graph.png");
}

TEST_F(GraphPictures, TwoRunsComparedAtTheirStarts)
{
    GraphWindow* graph = show(writeRecording("monday.qrv", freezerRun(10, 0.9)));
    ASSERT_TRUE(graph);
    form().addRecordings(graph, {writeRecording("tuesday.qrv", freezerRun(11, 0.6))});
    DisplaySettings s = graph->view().settings();
    s.alignStarts = true;
    s.shown[1] = false; // the door contact only in the legend of the status line
    graph->view().applyGraphicConfig(graph->view().colours(), s);
    graph->drawGraph();
    settle();
    const std::vector<PlacedText> legend = of(graph, GraphTextKind::Legend);
    ASSERT_EQ(legend.size(), 2u);
    EXPECT_EQ(legend[0].text, "monday: Cabinet (\u00b0C)");
    EXPECT_EQ(legend[1].text, "tuesday: Cabinet (\u00b0C)");
    // Both start at the left edge of the plot.
    EXPECT_EQ(graph->view().viewTime(1, 1), graph->view().viewTime(0, 1));
    const GraphLayout& l = graph->paintBox()->layout();
    moveTo(graph, QPoint(l.left + l.width() / 3, (l.top + l.bottom) / 2));
    ASSERT_TRUE(status());
    const std::vector<StatusColumn>& more = status()->readout().more;
    ASSERT_EQ(more.size(), 2u); // tuesday's time and name, then its value
    EXPECT_TRUE(more[0].time);
    EXPECT_EQ(more[0].unit, "tuesday");
    EXPECT_TRUE(more[0].value.startsWith(" 11/06/24 "));
    EXPECT_TRUE(more[1].value.endsWith(' ')) << more[1].value.toStdString(); // a value and its unit after it
    picture(&form(), "graph-two-recordings.png");
}

TEST_F(GraphPictures, NoisyMinutesDrawnBothWays)
{
    GraphWindow* graph = show(writeRecording("cold-room.qrv", noisyMinutes()));
    ASSERT_TRUE(graph);
    graph->view().showLevel(1, 1, 1440); // the first day
    DisplaySettings s = graph->view().settings();
    s.ownScales = true;
    graph->view().setDisplaySettings(s);
    graph->drawGraph();
    picture(graph, "noisy-before.png");
    s.ownScales = false;
    graph->view().applyGraphicConfig(graph->view().colours(), s);
    graph->drawGraph();
    picture(graph, "noisy-after.png");
    EXPECT_EQ(graph->view().currentView().last, 1440);
}

} // namespace
} // namespace qz::test
