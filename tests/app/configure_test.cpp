// The Configuration and Stop commands of the main window on the simulated logger, as a
// user meets them: read the logger, prepare its recording, send it, let it record, and
// download what it recorded.
#include "app_rig.h"

#include "app/ui/options_dialog.h"
#include "config/ui/configuration_dialog.h"
#include "graph/ui/graph_window.h"
#include "link/line_registry.h"
#include "sim/emulator.h"
#include "sim/emulator_line.h"
#include "sim/presets.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QToolButton>

namespace qz::test {
namespace {

class ConfigureCommandTest : public SimulatedLoggerTest {
protected:
    ConfigurationDialog* Dialog() { return Form().configurationDialog(); }
    template <class T = QWidget>
    T* Control(const char* name)
    {
        T* w = Dialog()->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

};

TEST_F(ConfigureCommandTest, ANewUserPreparesARecordingAndDownloadsIt)
{
    Load({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 12, .serial = "7421"});
    EXPECT_TRUE(Form().action("Configutation1")->isEnabled());
    EXPECT_TRUE(Form().toolButton("sbConfig")->isEnabled());
    Form().toolButton("sbConfig")->click();
    Settle();
    ASSERT_TRUE(Dialog()->isVisible()) << prompt_.texts().join('|').toStdString();
    EXPECT_EQ(Dialog()->windowTitle(), "Quorvant  ZK-101 Thermo Configuration");
    EXPECT_FALSE(Form().commandBusy());
    EXPECT_TRUE(Form().menu("Logger")->menuAction()->isEnabled());

    Control<QLineEdit>("mInterval")->setText("0");
    Control<QLineEdit>("sInterval")->setText("30");
    Control<QLineEdit>("UserComment")->setText("North wall, bench 2");
    Control<QRadioButton>("Cyclic")->setChecked(true);
    if (const QString dir = qEnvironmentVariable("QUORZK_SCREENSHOT_DIR"); !dir.isEmpty()) {
        // QUORZK_SCREENSHOT_DIR=docs: the picture of the dialog in the README.
        Dialog()->updateConfiguration();
        Dialog()->updateRecDuration();
        Dialog()->grab().save(QDir(dir).filePath("configuration-dialog.png"));
    }
    Control<QAbstractButton>("BitBtn1")->click();
    Settle();
    EXPECT_TRUE(prompt_.records().empty()) << prompt_.texts().join('|').toStdString();
    EXPECT_FALSE(Dialog()->isVisible());

    clock_.advance(20 * 60 * 1000); // twenty minutes of recording
    Form().download();
    Settle();
    ASSERT_EQ(Form().graphWindows().size(), 1) << prompt_.texts().join('|').toStdString();
    GraphWindow* graph = Form().graphWindows().constFirst();
    const ImageReader& recording = graph->recording().reader();
    EXPECT_EQ(recording.recordName(), QStringLiteral("North wall, bench 2").leftJustified(50, QLatin1Char(' ')));
    EXPECT_EQ(recording.interval(), 30);
    EXPECT_EQ(recording.stopMode(), 0);
    EXPECT_EQ(graph->measurementCount(), 40);
    EXPECT_TRUE(graph->windowTitle().startsWith("S/N:7421 - North wall, bench 2")) << graph->windowTitle().toStdString();
}

TEST_F(ConfigureCommandTest, AModelOutsideTheCatalogueIsNotConfigured)
{
    Load({.deviceCode = 0x20, .content = sim::Content::Erased});
    Form().configure();
    Settle();
    EXPECT_EQ(prompt_.texts(), QStringList{"This device is not a QuorvantZK"});
    EXPECT_EQ(prompt_.records()[0].symbol, PromptSymbol::Error);
    EXPECT_FALSE(Dialog()->isVisible());
    EXPECT_FALSE(Form().commandBusy());
}

TEST_F(ConfigureCommandTest, AReadThatFailsLeavesTheDeviceImageAsItWas)
{
    Load({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 4});
    Form().configure();
    Settle();
    ASSERT_TRUE(Dialog()->isVisible());
    const auto image = Form().deviceImage();

    // Another logger, which stops answering after its identification and calibration.
    Load({.deviceCode = 485, .content = sim::Content::Linear, .blocks = 4});
    sim::Fault silent;
    silent.kind = sim::FaultKind::Silence;
    silent.frame = 3; // the ping, ident, calibration answer
    silent.frames = 0;
    logger_.addFault(silent);
    prompt_.clear();
    Form().configure();
    Settle();
    EXPECT_EQ(prompt_.texts(), QStringList{"Device Not Responding"});
    EXPECT_TRUE(Form().deviceImage() == image) << "the open dialog still works on one logger's bytes";
    EXPECT_EQ(Dialog()->windowTitle(), "Quorvant  ZK-101 Thermo Configuration");
}

TEST_F(ConfigureCommandTest, StopAsksAndStops)
{
    Load({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 4, .running = true});
    EXPECT_TRUE(Form().action("Stop1")->isEnabled());
    EXPECT_TRUE(Form().toolButton("spStop")->isEnabled());
    prompt_.script({PromptAnswer::Yes});
    Form().toolButton("spStop")->click();
    EXPECT_EQ(prompt_.texts(), QStringList{"Quorvant running\rConfirming stop ?"});
    EXPECT_EQ(logger_.logger().runState(), mem::kRunStopped);
    EXPECT_FALSE(Form().commandBusy());

    prompt_.clear();
    Form().stopLogger();
    EXPECT_EQ(prompt_.texts(), QStringList{"Quorvant Already stopped"});
}

TEST_F(ConfigureCommandTest, OneLoggerCommandAtATime)
{
    Load({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 4, .running = true});
    Form().configure();
    Settle();
    ASSERT_TRUE(Dialog()->isVisible());
    const std::int64_t frames = logger_.commands();

    ASSERT_TRUE(Form().beginLoggerCommand()); // a download runs
    EXPECT_FALSE(Form().menu("Logger")->menuAction()->isEnabled());
    EXPECT_FALSE(Form().beginLoggerCommand());
    Form().configure();
    Form().stopLogger();
    Control<QAbstractButton>("BitBtn1")->click();
    EXPECT_EQ(logger_.commands(), frames) << "nothing reached the logger";
    EXPECT_TRUE(prompt_.records().empty());
    Form().endLoggerCommand();
    EXPECT_TRUE(Form().menu("Logger")->menuAction()->isEnabled());

    prompt_.script({PromptAnswer::Yes});
    Control<QAbstractButton>("BitBtn1")->click();
    EXPECT_EQ(Dialog()->lastSend(), SendOutcome::Sent);
    EXPECT_FALSE(Form().commandBusy());
}

} // namespace
} // namespace qz::test
