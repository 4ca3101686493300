// The Configuration and Stop commands of the main window on the simulated logger, as a
// user meets them: read the logger, prepare its recording, send it, let it record, and
// download what it recorded.
#include "app_rig.h"

#include "app/ui/logger_status_window.h"
#include "app/ui/options_dialog.h"
#include "app/ui/simulated_logger.h"
#include "app/ui/status_image.h"
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
#include <QProcess>
#include <QRadioButton>
#include <QToolButton>

namespace qz::test {
namespace {

class ConfigureCommandTest : public SimulatedLoggerTest {
protected:
    ConfigurationDialog* dialog() { return form().configurationDialog(); }
    template <class T = QWidget> T* control(const char* name)
    {
        T* w = dialog()->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
};

TEST_F(ConfigureCommandTest, ANewUserPreparesARecordingAndDownloadsIt)
{
    load({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 12, .serial = "7421"});
    EXPECT_TRUE(form().action("Configutation1")->isEnabled());
    EXPECT_TRUE(form().toolButton("sbConfig")->isEnabled());
    form().toolButton("sbConfig")->click();
    settle();
    ASSERT_TRUE(dialog()->isVisible()) << prompt_.texts().join('|').toStdString();
    EXPECT_EQ(dialog()->windowTitle(), "Quorvant  ZK-101 Thermo Configuration");
    EXPECT_FALSE(form().commandBusy());
    EXPECT_TRUE(form().menu("Logger")->menuAction()->isEnabled());

    control<QLineEdit>("mInterval")->setText("0");
    control<QLineEdit>("sInterval")->setText("30");
    control<QLineEdit>("UserComment")->setText("North wall, bench 2");
    control<QRadioButton>("Cyclic")->setChecked(true);
    if (const QString dir = qEnvironmentVariable("QUORZK_SCREENSHOT_DIR"); !dir.isEmpty()) {
        // QUORZK_SCREENSHOT_DIR=docs: the picture of the dialog in the README.
        dialog()->updateConfiguration();
        dialog()->updateRecDuration();
        dialog()->grab().save(QDir(dir).filePath("configuration-dialog.png"));
    }
    control<QAbstractButton>("BitBtn1")->click();
    settle();
    EXPECT_TRUE(prompt_.records().empty()) << prompt_.texts().join('|').toStdString();
    EXPECT_FALSE(dialog()->isVisible());
    // The status line says what the logger will do.
    EXPECT_TRUE(form().statusImage()->note().startsWith("7421 configured: starts 14:07"))
        << form().statusImage()->note().toStdString();
    EXPECT_TRUE(form().statusImage()->note().endsWith(", every 30 s, cyclic recording"))
        << form().statusImage()->note().toStdString();

    clock_.advance(20 * 60 * 1000); // twenty minutes of recording
    form().download();
    settle();
    ASSERT_EQ(form().graphWindows().size(), 1) << prompt_.texts().join('|').toStdString();
    GraphWindow* graph = form().graphWindows().constFirst();
    const ImageReader& recording = graph->data().reader();
    EXPECT_EQ(recording.recordName(),
              QStringLiteral("North wall, bench 2").leftJustified(50, QLatin1Char(' ')));
    EXPECT_EQ(recording.interval(), 30);
    EXPECT_EQ(recording.stopMode(), 0);
    EXPECT_EQ(graph->measurementCount(), 40);
    EXPECT_TRUE(graph->windowTitle().startsWith("S/N:7421 - North wall, bench 2"))
        << graph->windowTitle().toStdString();
}

TEST_F(ConfigureCommandTest, AModelOutsideTheCatalogueIsNotConfigured)
{
    load({.deviceCode = 0x20, .content = sim::Content::Erased});
    form().configure();
    settle();
    EXPECT_EQ(prompt_.texts(), QStringList{"This device is not a QuorvantZK"});
    EXPECT_EQ(prompt_.records()[0].symbol, PromptSymbol::Error);
    EXPECT_FALSE(dialog()->isVisible());
    EXPECT_FALSE(form().commandBusy());
}

TEST_F(ConfigureCommandTest, AReadThatFailsLeavesTheDeviceImageAsItWas)
{
    load({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 4});
    form().configure();
    settle();
    ASSERT_TRUE(dialog()->isVisible());
    const auto image = form().deviceImage();

    // Another logger, which stops answering after its identification and calibration.
    load({.deviceCode = 485, .content = sim::Content::Linear, .blocks = 4});
    sim::Fault silent;
    silent.kind = sim::FaultKind::Silence;
    silent.frame = 3; // the ping, ident, calibration answer
    silent.frames = 0;
    logger_.addFault(silent);
    prompt_.clear();
    form().configure();
    settle();
    EXPECT_EQ(prompt_.texts(), QStringList{"Device Not Responding"});
    EXPECT_TRUE(form().deviceImage() == image) << "the open dialog still works on one logger's bytes";
    EXPECT_EQ(dialog()->windowTitle(), "Quorvant  ZK-101 Thermo Configuration");
}

TEST_F(ConfigureCommandTest, StopAsksAndStops)
{
    load({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 4, .running = true});
    EXPECT_TRUE(form().action("Stop1")->isEnabled());
    EXPECT_TRUE(form().toolButton("spStop")->isEnabled());
    prompt_.script({PromptAnswer::Yes});
    form().toolButton("spStop")->click();
    // The question says what is stopped; the status line says it was.
    EXPECT_EQ(prompt_.texts(), QStringList{"Quorvant recording\rConfirming stop ?"});
    EXPECT_EQ(logger_.logger().runState(), mem::kRunStopped);
    EXPECT_FALSE(form().commandBusy());
    EXPECT_EQ(form().statusImage()->note(), "SIM1 stopped");

    prompt_.clear();
    form().stopLogger();
    EXPECT_EQ(prompt_.texts(), QStringList{"Quorvant Already stopped"});

    // A logger waiting for its delayed start is not said to be recording.
    logger_.logger().startAt({2026, 3, 6, 8, 0, 0, 0});
    prompt_.clear();
    prompt_.script({PromptAnswer::No});
    form().stopLogger();
    EXPECT_EQ(prompt_.texts(), QStringList{"Quorvant waiting to start\rConfirming stop ?"});
    EXPECT_EQ(logger_.logger().runState(), mem::kRunWaiting) << "No leaves it waiting";
}

TEST_F(ConfigureCommandTest, TheLoggerStatusWindowTellsTheStateAndRefreshesOnDemand)
{
    load({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 4, .running = true});
    logger_.logger().setClock({2026, 3, 5, 14, 7, 6, 0}); // 3 s slow
    form().action("LoggerStatus1")->trigger();
    settle();
    LoggerStatusWindow* status = form().loggerStatusWindow();
    ASSERT_TRUE(status->isVisible());
    EXPECT_TRUE(prompt_.records().empty()) << prompt_.texts().join('|').toStdString();
    EXPECT_TRUE(status->line("Model:").startsWith("ZK-101")) << status->line("Model:").toStdString();
    EXPECT_EQ(status->line("Serial number:"), "SIM1 (Simulated logger)");
    EXPECT_EQ(status->line("State:"), "recording");
    EXPECT_EQ(status->line("Logger clock:"), "2026-03-05 14:07:06, 3 s behind this computer's clock");
    EXPECT_FALSE(form().commandBusy());
    EXPECT_TRUE(form().menu("Logger")->menuAction()->isEnabled());
    if (const QString dir = qEnvironmentVariable("QUORZK_SCREENSHOT_DIR"); !dir.isEmpty()) {
        // QUORZK_SCREENSHOT_DIR=docs: the picture of the window in the README.
        status->grab().save(QDir(dir).filePath("logger-status.png"));
    }

    // Nothing changes by itself; Refresh reads the logger again.
    logger_.logger().stop();
    EXPECT_EQ(status->line("State:"), "recording");
    auto* refresh = status->findChild<QAbstractButton*>("RefreshBtn");
    ASSERT_NE(refresh, nullptr);
    jobs_.hold();
    refresh->click();
    EXPECT_FALSE(refresh->isEnabled()) << "one read at a time";
    EXPECT_FALSE(form().menu("Logger")->menuAction()->isEnabled()) << "a logger command like the others";
    jobs_.release();
    settle();
    EXPECT_TRUE(refresh->isEnabled());
    EXPECT_EQ(status->line("State:"), "stopped");
    EXPECT_FALSE(form().commandBusy());

    // A read that fails says so and leaves the last state shown.
    sim::Fault silent;
    silent.kind = sim::FaultKind::Silence;
    silent.frame = 0;
    silent.frames = 0;
    logger_.addFault(silent);
    prompt_.script({PromptAnswer::No});
    refresh->click();
    settle();
    EXPECT_FALSE(prompt_.records().empty());
    EXPECT_EQ(status->line("State:"), "stopped");
    EXPECT_TRUE(refresh->isEnabled());
    EXPECT_FALSE(form().commandBusy());
}

TEST_F(ConfigureCommandTest, OneLoggerCommandAtATimeAndTheSendWaitsForThePort)
{
    load({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 4, .running = true});
    form().configure();
    settle();
    ASSERT_TRUE(dialog()->isVisible());
    const std::int64_t frames = logger_.commands();

    ASSERT_TRUE(form().beginLoggerCommand()); // a download runs
    jobs_.hold(); // on the port
    EXPECT_FALSE(form().menu("Logger")->menuAction()->isEnabled());
    // The buttons that would do nothing now are greyed with the menu.
    const char* const loggerTools[] = {"spDownload", "spStop", "sbConfig", "sprealtime"};
    for (const char* name : loggerTools)
        EXPECT_FALSE(form().toolButton(name)->isEnabled()) << name;
    auto* refresh = form().loggerStatusWindow()->findChild<QAbstractButton*>("RefreshBtn");
    ASSERT_NE(refresh, nullptr);
    EXPECT_FALSE(refresh->isEnabled()) << "the status window's Refresh too";
    EXPECT_FALSE(form().beginLoggerCommand());
    form().configure();
    form().stopLogger();
    EXPECT_EQ(jobs_.waiting(), 0) << "the window's logger commands are not taken meanwhile";
    control<QAbstractButton>("BitBtn1")->click();
    EXPECT_EQ(jobs_.waiting(), 1) << "the send waits for the port";
    EXPECT_EQ(logger_.commands(), frames) << "nothing reached the logger";
    EXPECT_TRUE(prompt_.records().empty());
    form().endLoggerCommand();
    EXPECT_TRUE(form().menu("Logger")->menuAction()->isEnabled());
    for (const char* name : loggerTools)
        EXPECT_TRUE(form().toolButton(name)->isEnabled()) << name;
    EXPECT_TRUE(refresh->isEnabled());

    prompt_.script({PromptAnswer::Yes});
    jobs_.release();
    EXPECT_EQ(prompt_.texts(),
              QStringList{"Recorder running\rSending configuration will restart it\rSend Configuration ?"});
    EXPECT_EQ(dialog()->lastSend(), SendOutcome::Sent);
    EXPECT_FALSE(form().commandBusy());
}

// The program's own "Simulated logger", the one quorzk-cli --port sim talks to.
class SharedSimulatedLoggerTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        QFile::remove(QDir(folder()).filePath("devices.ini"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(QUORZK_SOURCE_DIR "/data/devices.ini"),
                                QDir(folder()).filePath("devices.ini")));
        clock_.setLocalNow(QDateTime::currentDateTime());
        simulated_.registerIn(lines_, clock_, [this](const QString& text) { warnings_ << text; });
        form().options()->settings().setCurrentPort(LineRegistry::simulatedPortName());
    }
    template <class T = QWidget> T* control(const char* name)
    {
        T* w = form().configurationDialog()->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    SimulatedLogger simulated_;
    QStringList warnings_;
};

TEST_F(SharedSimulatedLoggerTest, AConfigurationSentFromTheCommandLineShowsInTheProgram)
{
    const QString cli = QStringLiteral(QUORZK_BINARY_DIR "/quorzk-cli");
    if (!QFile::exists(cli))
        GTEST_SKIP() << "quorzk-cli is not built";
    QProcess configure;
    configure.start(cli, {"configure", "--port", "sim", "--interval", "01:30", "--stop", "cyclic", "--comment",
                          "Sent from a script"});
    ASSERT_TRUE(configure.waitForFinished(60000));
    ASSERT_EQ(configure.exitCode(), 0) << configure.readAllStandardError().toStdString();

    form().toolButton("sbConfig")->click();
    settle();
    ASSERT_TRUE(form().configurationDialog()->isVisible()) << prompt_.texts().join('|').toStdString();
    EXPECT_EQ(control<QLineEdit>("UserComment")->text().trimmed(), "Sent from a script");
    EXPECT_EQ(control<QLineEdit>("mInterval")->text().toInt(), 1);
    EXPECT_EQ(control<QLineEdit>("sInterval")->text().toInt(), 30);
    EXPECT_TRUE(control<QRadioButton>("Cyclic")->isChecked());
    EXPECT_TRUE(warnings_.isEmpty()) << warnings_.join('|').toStdString();
}

} // namespace
} // namespace qz::test
