// The Current Reading command on the simulated logger, as a user meets it: read the
// logger, watch its inputs change, hide the window and come back to a changed logger.
#include "app_rig.h"

#include "app/ui/options_dialog.h"
#include "link/line_registry.h"
#include "model/internal_messages.h"
#include "model/memory_image.h"
#include "realtime/ui/readings_launcher.h"
#include "realtime/ui/readings_window.h"
#include "sim/emulator.h"
#include "sim/emulator_line.h"
#include "sim/presets.h"

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
        Load({.deviceCode = 485, .content = sim::Content::Linear, .blocks = 3});
    }
    ReadingsWindow* Window() { return Form().readingsLauncher()->window(); }
    QStringList Values()
    {
        QStringList out;
        for (int i = 1; i <= 8; ++i)
            out << Window()->findChild<QLineEdit*>(QStringLiteral("ebMEasure%1").arg(i))->text();
        return out;
    }
    // A tick of the main window's timer, `ms` after the last.
    void Tick(std::int64_t ms = 1000)
    {
        clock_.advance(ms);
        PostInternal(Form().readingsLauncher(), kMsgTimerTick);
        Settle();
    }

};

TEST_F(ReadingsCommandTest, ACycleLetsTheWindowsRepaintWhileItWaitsForThePort)
{
    Form().toolButton("sprealtime")->click();
    Settle();
    ASSERT_TRUE(Window()->isVisible()) << prompt_.texts().join('|').toStdString();
    const int before = pump_.calls();
    const QStringList first = Values();
    Tick(3 * 3600 * 1000);
    EXPECT_NE(Values(), first) << "the cycle ran";
    EXPECT_GE(pump_.calls() - before, 25) << "the half second the port settles lets events through";
}

TEST_F(ReadingsCommandTest, ANewUserWatchesTheInputsChange)
{
    EXPECT_TRUE(Form().action("CurrentReading1")->isEnabled());
    EXPECT_TRUE(Form().toolButton("sprealtime")->isEnabled());
    Form().toolButton("sprealtime")->click();
    Settle();
    ASSERT_TRUE(Window()->isVisible()) << prompt_.texts().join('|').toStdString();
    EXPECT_EQ(Window()->windowTitle(), "Quorvant  ZK-485 Octo Currents Readings");
    EXPECT_FALSE(Form().commandBusy());
    EXPECT_TRUE(Form().menu("Logger")->menuAction()->isEnabled());
    const QStringList first = Values();
    for (int i = 0; i < 8; ++i)
        EXPECT_FALSE(first[i].isEmpty()) << "input " << i + 1;
    EXPECT_EQ(Window()->findChild<QLabel*>("Label1")->text(), QString::fromUtf8("°C"));

    // Through the morning the inside temperature and the humidity move.
    Tick(3 * 3600 * 1000);
    const QStringList later = Values();
    EXPECT_NE(later[0], first[0]);
    EXPECT_NE(later[1], first[1]);

    // A minute of ticks draws each input's trend.
    for (int s = 0; s < 40; ++s)
        Tick();
    EXPECT_GT(Window()->trend().points(0).size(), 30u);
    EXPECT_TRUE(prompt_.records().empty()) << prompt_.texts().join('|').toStdString();
    if (const QString dir = qEnvironmentVariable("QUORZK_SCREENSHOT_DIR"); !dir.isEmpty()) {
        // QUORZK_SCREENSHOT_DIR=docs: the picture of the window in the README.
        Window()->grab().save(QDir(dir).filePath("current-readings.png"));
    }

    // The main window's own timer drives the readings.
    auto* timer = Form().findChild<QTimer*>("SysTimer");
    ASSERT_NE(timer, nullptr);
    const int before = Window()->cyclesRun();
    timer->start(0);
    Settle(); // the timer fires and posts its tick
    timer->start(1000);
    Settle(); // the launcher relays it, the window reads
    EXPECT_GT(Window()->cyclesRun(), before);

    Window()->findChild<QAbstractButton*>("CancelBtn")->click();
    EXPECT_FALSE(Window()->isVisible());
}

TEST_F(ReadingsCommandTest, ALoggerOutsideTheCatalogueIsNotShown)
{
    sim::LoadMemory(logger_.logger(), {.deviceCode = 0x20, .content = sim::Content::Erased});
    Form().currentReading();
    Settle();
    EXPECT_EQ(prompt_.texts(), QStringList{"This device is not a QuorvantZK"});
    EXPECT_EQ(prompt_.records()[0].symbol, PromptSymbol::Error);
    EXPECT_FALSE(Window()->isVisible());
    EXPECT_FALSE(Form().commandBusy());
}

TEST_F(ReadingsCommandTest, NoAnswerAndNoEndsTheCommandSilently)
{
    logger_.setSilent(true);
    prompt_.script({PromptAnswer::No});
    Form().currentReading();
    Settle();
    EXPECT_EQ(prompt_.texts(), QStringList{"Please Connect The Quorvant"});
    EXPECT_FALSE(Window()->isVisible());
    EXPECT_FALSE(Form().readingsLauncher()->prepared());
}

TEST_F(ReadingsCommandTest, ShowingItAgainReadsTheLoggerAgain)
{
    Form().currentReading();
    Settle();
    ASSERT_TRUE(Window()->isVisible());
    Window()->findChild<QAbstractButton*>("CancelBtn")->click();

    // Meanwhile input 1 has become a kelvin probe and input 2 is switched off.
    std::uint8_t* memory = logger_.logger().memory();
    std::memcpy(memory + mem::DescriptorAddress(0) + mem::kInputUnit, "K\0\0\0\0", mem::kInputUnitSize);
    memory[mem::kInputMask] &= std::uint8_t(~0x02);
    Form().currentReading();
    Settle();
    ASSERT_TRUE(Window()->isVisible());
    EXPECT_EQ(Window()->findChild<QLabel*>("Label1")->text(), "K");
    EXPECT_TRUE(Window()->findChild<QLabel*>("Label3")->isHidden());
    EXPECT_EQ(Values()[1], "");
}

TEST_F(ReadingsCommandTest, NothingReachesTheLoggerWhileAnotherCommandRuns)
{
    Form().currentReading();
    Settle();
    ASSERT_TRUE(Window()->isVisible());
    const std::int64_t frames = logger_.commands();
    ASSERT_TRUE(Form().beginLoggerCommand()); // a download runs
    Form().currentReading();
    Tick();
    EXPECT_EQ(logger_.commands(), frames);
    Form().endLoggerCommand();
    Tick();
    EXPECT_GT(logger_.commands(), frames);
}

} // namespace
} // namespace qz::test
