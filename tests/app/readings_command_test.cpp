// The Current Reading command on the simulated logger, as a user meets it: read the
// logger, watch its inputs change, hide the window and come back to a changed logger.
#include "app_rig.h"

#include "app/ui/options_dialog.h"
#include "link/line_registry.h"
#include "model/memory_image.h"
#include "realtime/ui/readings_launcher.h"
#include "realtime/ui/readings_window.h"
#include "sim/emulator.h"
#include "sim/emulator_line.h"
#include "sim/presets.h"
#include "ui/internal_messages.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

#include <cstring>

namespace qz::test {
namespace {

class ReadingsCommandTest : public SimulatedLoggerTest {
protected:
    void SetUp() override
    {
        SimulatedLoggerTest::SetUp();
        load({.deviceCode = 485, .content = sim::Content::Linear, .blocks = 3});
    }
    ReadingsWindow* window() { return form().readingsLauncher()->window(); }
    QStringList values()
    {
        QStringList out;
        for (int i = 1; i <= 8; ++i)
            out << window()->findChild<QLineEdit*>(QStringLiteral("ebMEasure%1").arg(i))->text();
        return out;
    }
    // A tick of the main window's timer, `ms` after the last.
    void tick(std::int64_t ms = 1000)
    {
        clock_.advance(ms);
        postInternal(form().readingsLauncher(), kMsgTimerTick);
        settle();
    }
};

TEST_F(ReadingsCommandTest, ACycleRunsAsAJobOnThePortWithoutPumpingEvents)
{
    form().toolButton("sprealtime")->click();
    settle();
    ASSERT_TRUE(window()->isVisible()) << prompt_.texts().join('|').toStdString();
    const int before = pump_.calls();
    const int jobs = jobs_.jobsRun();
    const QStringList first = values();
    tick(3 * 3600 * 1000);
    EXPECT_NE(values(), first) << "the cycle ran";
    EXPECT_EQ(jobs_.jobsRun(), jobs + 1) << "on the port's worker";
    EXPECT_EQ(pump_.calls(), before) << "the windows repaint while it waits; nothing is pumped";
}

TEST_F(ReadingsCommandTest, ANewUserWatchesTheInputsChange)
{
    EXPECT_TRUE(form().action("CurrentReading1")->isEnabled());
    EXPECT_TRUE(form().toolButton("sprealtime")->isEnabled());
    form().toolButton("sprealtime")->click();
    settle();
    ASSERT_TRUE(window()->isVisible()) << prompt_.texts().join('|').toStdString();
    EXPECT_EQ(window()->windowTitle(), "Quorvant  ZK-485 Octo Currents Readings");
    EXPECT_FALSE(form().commandBusy());
    EXPECT_TRUE(form().menu("Logger")->menuAction()->isEnabled());
    const QStringList first = values();
    for (int i = 0; i < 8; ++i)
        EXPECT_FALSE(first[i].isEmpty()) << "input " << i + 1;
    EXPECT_EQ(window()->findChild<QLabel*>("Label1")->text(), QString::fromUtf8("°C"));
    // Each input's name beside its number.
    const QStringList names = {"Temp In", "Humidity", "Supply", "Temp Out",
                               "Current", "Pressure", "Light",  "Temp Box"};
    for (int i = 0; i < 8; ++i) {
        const QLabel* name = window()->findChild<QLabel*>(QStringLiteral("lbName%1").arg(i + 1));
        ASSERT_NE(name, nullptr) << i + 1;
        EXPECT_TRUE(name->isVisible()) << i + 1;
        EXPECT_EQ(name->text(), names[i]) << i + 1;
    }

    // Through the morning the inside temperature and the humidity move.
    tick(3 * 3600 * 1000);
    const QStringList later = values();
    EXPECT_NE(later[0], first[0]);
    EXPECT_NE(later[1], first[1]);

    // A minute of ticks draws each input's trend.
    for (int s = 0; s < 40; ++s)
        tick();
    EXPECT_GT(window()->trend().points(0).size(), 30u);
    EXPECT_TRUE(prompt_.records().empty()) << prompt_.texts().join('|').toStdString();
    if (const QString dir = qEnvironmentVariable("QUORZK_SCREENSHOT_DIR"); !dir.isEmpty()) {
        // QUORZK_SCREENSHOT_DIR=docs: the picture of the window in the README.
        window()->grab().save(QDir(dir).filePath("current-readings.png"));
    }

    // The main window's own timer drives the readings.
    auto* timer = form().findChild<QTimer*>("SysTimer");
    ASSERT_NE(timer, nullptr);
    const int before = window()->cyclesRun();
    timer->start(0);
    settle(); // the timer fires and posts its tick
    timer->start(1000);
    settle(); // the launcher relays it, the window reads
    EXPECT_GT(window()->cyclesRun(), before);

    window()->findChild<QAbstractButton*>("CancelBtn")->click();
    EXPECT_FALSE(window()->isVisible());
}

TEST_F(ReadingsCommandTest, ALoggerOutsideTheCatalogueIsNotShown)
{
    sim::loadMemory(logger_.logger(), {.deviceCode = 0x20, .content = sim::Content::Erased});
    form().currentReading();
    settle();
    EXPECT_EQ(prompt_.texts(), QStringList{"This device is not a QuorvantZK"});
    EXPECT_EQ(prompt_.records()[0].symbol, PromptSymbol::Error);
    EXPECT_FALSE(window()->isVisible());
    EXPECT_FALSE(form().commandBusy());
}

TEST_F(ReadingsCommandTest, NoAnswerAndNoEndsTheCommandSilently)
{
    logger_.setSilent(true);
    prompt_.script({PromptAnswer::No});
    form().currentReading();
    settle();
    EXPECT_EQ(prompt_.texts(), QStringList{"Please Connect The Quorvant"});
    EXPECT_FALSE(window()->isVisible());
    EXPECT_FALSE(form().readingsLauncher()->prepared());
}

TEST_F(ReadingsCommandTest, ShowingItAgainReadsTheLoggerAgain)
{
    form().currentReading();
    settle();
    ASSERT_TRUE(window()->isVisible());
    window()->findChild<QAbstractButton*>("CancelBtn")->click();

    // Meanwhile input 1 has become a kelvin probe and input 2 is switched off.
    std::uint8_t* memory = logger_.logger().memory();
    std::memcpy(memory + mem::descriptorAddress(0) + mem::kInputUnit, "K\0\0\0\0", mem::kInputUnitSize);
    memory[mem::kInputMask] &= std::uint8_t(~0x02);
    form().currentReading();
    settle();
    ASSERT_TRUE(window()->isVisible());
    EXPECT_EQ(window()->findChild<QLabel*>("Label1")->text(), "K");
    EXPECT_TRUE(window()->findChild<QLabel*>("Label3")->isHidden());
    EXPECT_EQ(values()[1], "");
}

TEST_F(ReadingsCommandTest, NothingReachesTheLoggerWhileAnotherCommandRuns)
{
    form().currentReading();
    settle();
    ASSERT_TRUE(window()->isVisible());
    const std::int64_t frames = logger_.commands();
    ASSERT_TRUE(form().beginLoggerCommand()); // a download runs
    jobs_.hold(); // on the port
    form().currentReading();
    tick();
    tick();
    EXPECT_EQ(logger_.commands(), frames);
    EXPECT_EQ(jobs_.waiting(), 1) << "one cycle waits for the port; Current Reading is not taken";
    form().endLoggerCommand();
    jobs_.release();
    EXPECT_GT(logger_.commands(), frames);
}

} // namespace
} // namespace qz::test
