// The current readings window and its launcher over the emulated logger on the virtual
// clock: what it shows for enabled and disabled inputs, the diagnostic display, a logger
// that does not answer, the one-cycle-at-a-time rule, and the last minute of each input.
#include "jobs/logger_ports.h"
#include "readings_rig.h"
#include "realtime/ui/readings_launcher.h"
#include "realtime/ui/readings_window.h"
#include "realtime/ui/trend_view.h"
#include "support/catalogue_folder.h"
#include "support/image_builder.h"
#include "ui/internal_messages.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <functional>

namespace qz::test {
namespace {

// A line to the emulated logger that counts how many lines are open at once.
class WatchedLine final : public LineBackend {
public:
    WatchedLine(std::unique_ptr<LineBackend> inner, int& open, int& mostOpen)
        : inner_(std::move(inner)), open_(open), mostOpen_(mostOpen)
    {}
    ~WatchedLine() override { close(); }
    bool open(const QString& name) override
    {
        const bool ok = inner_->open(name);
        if (ok && !counted_) {
            counted_ = true;
            mostOpen_ = std::max(mostOpen_, ++open_);
        }
        return ok;
    }
    void close() override
    {
        inner_->close();
        if (counted_) {
            counted_ = false;
            --open_;
        }
    }
    bool isOpen() const override { return inner_->isOpen(); }
    bool raiseDtr() override { return inner_->raiseDtr(); }
    std::int64_t write(const std::uint8_t* d, std::int64_t n) override { return inner_->write(d, n); }
    std::int64_t bytesWaiting() override { return inner_->bytesWaiting(); }
    std::int64_t waitForBytes(std::int64_t c, std::int64_t t) override { return inner_->waitForBytes(c, t); }
    std::int64_t read(std::uint8_t* d, std::int64_t n) override { return inner_->read(d, n); }
    void purge() override { inner_->purge(); }

private:
    std::unique_ptr<LineBackend> inner_;
    int& open_;
    int& mostOpen_;
    bool counted_ = false;
};

// Answers from a script, after running an action (a timer tick that comes while a
// message box is up).
class ActingPrompt final : public Prompt {
public:
    PromptAnswer ask(const QString& text, PromptSymbol symbol, PromptButtons buttons) override
    {
        if (during)
            during();
        return inner.ask(text, symbol, buttons);
    }
    RecordingPrompt inner;
    std::function<void()> during;
};

// Inputs 1 (Air, °C), 3 (Door, %: the 0..100 over counts 0..255 example) and 8; the
// others are off.
ImageBuilder threeInputs(std::uint16_t code = kCodeSmall)
{
    return ImageBuilder()
        .deviceCode(code)
        .input(0,
               {QStringLiteral("Air"),
                QStringLiteral("\xb0"
                               "C"),
                -20, 60, 20 * 256, 220 * 256})
        .input(2, {QStringLiteral("Door"), QStringLiteral("%"), 0, 100, 0, 255 * 256})
        .input(7, {QStringLiteral("Flow"), QStringLiteral("l/s"), 0, 10, 0, 250 * 256});
}

class ReadingsWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = QLocale();
        QLocale::setDefault(QLocale::c());
    }
    void TearDown() override
    {
        launcher_.reset();
        window_.reset();
        settle();
        QLocale::setDefault(previous_);
    }

    ReadingsWindow& window()
    {
        if (!window_) {
            lines_.addNamed(QStringLiteral("sim"), [this] {
                return std::make_unique<WatchedLine>(
                    std::make_unique<sim::EmulatorLine>(rig_.emulator, rig_.clock), linesOpen_,
                    mostLinesOpen_);
            });
            ReadingsServices services{
                prompt_,
                rig_.clock,
                ProgramFolder(catalogue_.path()),
                ports_,
                [](const QString& port) {
                    return LinkSettings{port, false};
                },
            };
            window_ = std::make_unique<ReadingsWindow>(std::move(services));
            launcher_ = std::make_unique<ReadingsLauncher>(window_.get());
        }
        return *window_;
    }
    bool prepare(const ImageBuilder& builder, const QString& port = QStringLiteral("sim"))
    {
        const QByteArray bytes = builder.build();
        std::copy_n(bytes.constData(), mem::kHeaderSize, image_.begin());
        window();
        return launcher_->initialize(port, ConstByteView{image_.data(), image_.size()});
    }
    // Prepared for ThreeInputs and shown, with its first reading taken.
    void open()
    {
        ASSERT_TRUE(prepare(threeInputs()));
        launcher_->show();
        settle();
    }
    // One tick of the main window's timer, a second after the last.
    void tick()
    {
        rig_.clock.advance(1000);
        postInternal(launcher_.get(), kMsgTimerTick);
        settle();
    }
    static void settle()
    {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
    template <class T = QWidget> T* control(const QString& name)
    {
        T* w = window().findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    QString value(int input) { return control<QLineEdit>(QStringLiteral("ebMEasure%1").arg(input))->text(); }
    QString raw(int input) { return control<QLineEdit>(QStringLiteral("ebAd%1").arg(input))->text(); }
    QLabel* unit(int input) { return control<QLabel>(QStringLiteral("Label%1").arg(2 * input - 1)); }

    ReadingsRig rig_;
    ActingPrompt prompt_;
    CatalogueFolder catalogue_;
    std::array<std::uint8_t, mem::kDeviceImageSize> image_{};
    InlineJobRunner runner_;
    LineRegistry lines_;
    LoggerPorts ports_{runner_, lines_, rig_.clock};
    int linesOpen_ = 0;
    int mostLinesOpen_ = 0;
    std::unique_ptr<ReadingsWindow> window_;
    std::unique_ptr<ReadingsLauncher> launcher_;

private:
    QLocale previous_;
};

TEST_F(ReadingsWindowTest, PreparedForALoggerItNamesTheModelAndItsInputs)
{
    ASSERT_TRUE(prepare(threeInputs()));
    EXPECT_EQ(window().windowTitle(), "Quorvant  ZK-110 Currents Readings");
    EXPECT_EQ(window().objectName(), "BtnRightDlg3");
    for (int input = 1; input <= 8; ++input) {
        SCOPED_TRACE(input);
        const bool enabled = input == 1 || input == 3 || input == 8;
        EXPECT_EQ(control<QLabel>(QStringLiteral("Label%1").arg(16 + input))->text(), QString::number(input));
        EXPECT_EQ(control<QLineEdit>(QStringLiteral("ebMEasure%1").arg(input))->isEnabled(), enabled);
        EXPECT_EQ(unit(input)->isHidden(), !enabled);
        EXPECT_EQ(control<QLabel>(QStringLiteral("Label%1").arg(2 * input))->text(), "AD Cnt");
    }
    EXPECT_EQ(unit(1)->text(), QString::fromUtf8("°C"));
    EXPECT_EQ(unit(3)->text(), "%");
    EXPECT_EQ(unit(2)->text(), "") << "the image's unit, hidden";
    EXPECT_FALSE(window().isVisible());
    EXPECT_TRUE(launcher_->prepared());

    QSignalSpy help(&window(), &ReadingsWindow::helpRequested);
    QTest::mouseClick(control<QWidget>("HelpBtn"), Qt::LeftButton);
    ASSERT_EQ(help.size(), 1);
    EXPECT_EQ(help[0][0].toInt(), 10);
}

TEST_F(ReadingsWindowTest, EnabledInputsShowTheirValuesDisabledOnesStayEmpty)
{
    rig_.hold(0, 120);
    rig_.hold(1, 33);
    rig_.hold(2, 128);
    rig_.hold(7, 25);
    open();
    EXPECT_EQ(value(1), "20.0");
    EXPECT_EQ(value(3), "50.0");
    EXPECT_EQ(value(8), "1.00");
    EXPECT_EQ(value(2), "");

    rig_.hold(1, 200);
    rig_.hold(2, 255);
    tick();
    EXPECT_EQ(value(3), "100.0");
    EXPECT_EQ(value(2), "") << "the disabled input stays empty whatever its count";
    EXPECT_EQ(raw(3), "") << "raw counts only in the diagnostic display";
    EXPECT_EQ(window().cyclesRun(), 2);
    EXPECT_EQ(rig_.frames('F'), 2);
}

TEST_F(ReadingsWindowTest, DiagnosticDisplayShowsRawCountsAndTheBattery)
{
    rig_.holdAll(20);
    rig_.battery(169);
    open();
    EXPECT_FALSE(window().diagnosticDisplay());
    EXPECT_TRUE(control<QLabel>("lbBatt")->isHidden());

    QTest::mouseClick(unit(3), Qt::RightButton, Qt::ShiftModifier);
    ASSERT_TRUE(window().diagnosticDisplay());
    for (const char* name : {"DisplayDc", "lbBatt", "ebAd1", "ebAd8", "Label2", "Label16"})
        EXPECT_FALSE(control(QString::fromLatin1(name))->isHidden()) << name;
    tick();
    EXPECT_EQ(rig_.frames('G'), 1) << "the diagnostic display reads with the DC command";
    for (int input = 1; input <= 8; ++input)
        EXPECT_EQ(raw(input), QString::number(20 + 10 * (input - 1))) << "input " << input;
    EXPECT_EQ(control<QLabel>("lbBatt")->text(), "Vbatt : 3.32 V");
    EXPECT_EQ(value(2), "") << "a disabled input shows its raw count only";

    // Off again: the plain reading, and the battery line is not touched.
    QTest::mouseClick(unit(1), Qt::RightButton, Qt::ShiftModifier);
    EXPECT_FALSE(window().diagnosticDisplay());
    rig_.battery(150);
    tick();
    EXPECT_EQ(rig_.frames('G'), 1);
    EXPECT_EQ(control<QLabel>("lbBatt")->text(), "Vbatt : 3.32 V");
    EXPECT_TRUE(control<QLabel>("lbBatt")->isHidden());
}

struct ClickCase {
    const char* what;
    Qt::MouseButton button;
    Qt::KeyboardModifiers modifiers;
    bool toggles;
};

void PrintTo(const ClickCase& c, std::ostream* os)
{
    *os << c.what;
}

class DiagnosticClickTest : public ReadingsWindowTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(DiagnosticClickTest, OnlyShiftWithTheRightButtonOnAUnitToggles)
{
    const ClickCase& c = GetParam();
    open();
    QTest::mouseClick(unit(8), c.button, c.modifiers);
    EXPECT_EQ(window().diagnosticDisplay(), c.toggles);
    // Elsewhere than on a unit label nothing happens.
    QTest::mouseClick(control<QLabel>("Label17"), c.button, c.modifiers);
    QTest::mouseClick(control<QLineEdit>("ebMEasure1"), c.button, c.modifiers);
    EXPECT_EQ(window().diagnosticDisplay(), c.toggles);
}

INSTANTIATE_TEST_SUITE_P(Clicks, DiagnosticClickTest,
                         ::testing::Values(ClickCase{"ShiftRight", Qt::RightButton, Qt::ShiftModifier, true},
                                           ClickCase{"ShiftControlRight", Qt::RightButton,
                                                     Qt::ShiftModifier | Qt::ControlModifier, true},
                                           ClickCase{"RightAlone", Qt::RightButton, Qt::NoModifier, false},
                                           ClickCase{"ControlRight", Qt::RightButton, Qt::ControlModifier,
                                                     false},
                                           ClickCase{"ShiftLeft", Qt::LeftButton, Qt::ShiftModifier, false}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST_F(ReadingsWindowTest, NoToTheQuestionHidesTheWindowAndStopsTheReadings)
{
    rig_.hold(2, 128);
    open();
    ASSERT_EQ(value(3), "50.0");
    rig_.emulator.setSilent(true);
    prompt_.inner.script({PromptAnswer::No});
    tick();
    EXPECT_EQ(prompt_.inner.texts(), QStringList{"Please Connect The Quorvant"});
    EXPECT_EQ(prompt_.inner.records()[0].symbol, PromptSymbol::Warning);
    EXPECT_FALSE(window().isVisible());
    tick();
    EXPECT_EQ(window().cyclesRun(), 2) << "no cycles while hidden";
    EXPECT_TRUE(launcher_->prepared()) << "showing it again resumes the readings";
}

TEST_F(ReadingsWindowTest, YesToTheQuestionReadsAgainAndAFailureLeavesTheValues)
{
    rig_.hold(2, 128);
    open();
    rig_.emulator.setSilent(true);
    prompt_.inner.script({PromptAnswer::Yes});
    rig_.hold(2, 0);
    tick();
    EXPECT_EQ(prompt_.inner.texts(), (QStringList{"Please Connect The Quorvant", "Device Not Responding"}));
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(value(3), "50.0");

    // The logger answers the ping but not the reading.
    rig_.emulator.setSilent(false);
    prompt_.inner.clear();
    rig_.silence(1, LoggerProtocol::kAttempts);
    tick();
    EXPECT_EQ(prompt_.inner.texts(), QStringList{"Device Not Responding"});
    EXPECT_EQ(value(3), "50.0");
    tick();
    EXPECT_EQ(value(3), "0.0");
}

TEST_F(ReadingsWindowTest, ATickDuringACycleIsSkippedAndThePortOpensOnce)
{
    open();
    rig_.emulator.setSilent(true);
    int ticksDuring = 0;
    prompt_.during = [&] {
        // The main window's timer goes on while the question is up.
        ++ticksDuring;
        postInternal(launcher_.get(), kMsgTimerTick);
        settle();
        window().refreshReadings();
    };
    prompt_.inner.script({PromptAnswer::No});
    tick();
    EXPECT_EQ(ticksDuring, 1);
    EXPECT_EQ(window().cyclesRun(), 2);
    EXPECT_EQ(window().cyclesSkipped(), 2);
    EXPECT_EQ(prompt_.inner.texts(), QStringList{"Please Connect The Quorvant"});
    EXPECT_EQ(mostLinesOpen_, 1);
    EXPECT_EQ(linesOpen_, 0) << "each cycle closes its port";
    EXPECT_EQ(runner_.waiting(), 0);
}

TEST_F(ReadingsWindowTest, ACycleWaitsBehindAJobOnThePortAndTicksMeanwhileAreSkipped)
{
    open();
    const std::int64_t before = rig_.emulator.commands();
    runner_.hold(); // another job runs on the port
    tick();
    EXPECT_EQ(rig_.emulator.commands(), before) << "nothing reaches the logger meanwhile";
    EXPECT_EQ(runner_.waiting(), 1) << "the cycle waits its turn";
    tick();
    tick();
    EXPECT_EQ(runner_.waiting(), 1) << "one cycle waits, no more";
    EXPECT_EQ(window().cyclesSkipped(), 2);
    runner_.release();
    EXPECT_GT(rig_.emulator.commands(), before);
    const std::int64_t after = rig_.emulator.commands();
    tick();
    EXPECT_GT(rig_.emulator.commands(), after) << "the next tick reads again";
    EXPECT_EQ(mostLinesOpen_, 1);
}

TEST_F(ReadingsWindowTest, APortThatDoesNotOpenIsToldOnceAndStopsTheReadings)
{
    ASSERT_TRUE(prepare(threeInputs(), QStringLiteral("/nonexistent/ttyQZ")));
    launcher_->show();
    settle();
    EXPECT_EQ(prompt_.inner.texts(),
              QStringList{"Unable to open com port /nonexistent/ttyQZ: No such file or directory"});
    EXPECT_FALSE(window().isVisible()) << "a port that is not there would be told every second";
    tick();
    EXPECT_EQ(prompt_.inner.texts().size(), 1);
}

TEST_F(ReadingsWindowTest, TheLauncherRelaysTicksOnlyToAPreparedShowingWindow)
{
    window();
    postInternal(launcher_.get(), kMsgTimerTick);
    settle();
    EXPECT_EQ(window().cyclesRun(), 0) << "not prepared";
    ASSERT_TRUE(prepare(threeInputs()));
    tick();
    EXPECT_EQ(window().cyclesRun(), 0) << "prepared, not showing";
    launcher_->show();
    settle();
    EXPECT_EQ(window().cyclesRun(), 1) << "the first values come when it shows";
    tick();
    EXPECT_EQ(window().cyclesRun(), 2);
    QTest::mouseClick(control<QWidget>("CancelBtn"), Qt::LeftButton);
    EXPECT_FALSE(window().isVisible());
    tick();
    EXPECT_EQ(window().cyclesRun(), 2);
}

TEST_F(ReadingsWindowTest, AModelOutsideTheCatalogueIsNotPrepared)
{
    open();
    EXPECT_FALSE(prepare(threeInputs(kCodeRefused)));
    EXPECT_FALSE(launcher_->prepared());
    EXPECT_FALSE(window().isVisible()) << "no readings of a logger that is not accepted";
    launcher_->show();
    tick();
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(window().cyclesRun(), 1);
}

TEST_F(ReadingsWindowTest, PreparingAgainForgetsTheLoggerBefore)
{
    rig_.hold(0, 120);
    open();
    window().setDiagnosticDisplay(true);
    tick();
    ASSERT_EQ(value(1), "20.0");
    ASSERT_FALSE(window().trend().points(0).empty());
    // Input 1 now in kelvin and input 2 on.
    ASSERT_TRUE(
        prepare(threeInputs()
                    .input(0, {QStringLiteral("Air"), QStringLiteral("K"), 250, 330, 20 * 256, 220 * 256})
                    .input(1, {QStringLiteral("Wind"), QStringLiteral("m/s"), 0, 40, 0, 250 * 256})));
    EXPECT_EQ(value(1), "");
    EXPECT_TRUE(window().trend().points(0).empty());
    EXPECT_EQ(unit(1)->text(), "K");
    EXPECT_FALSE(unit(2)->isHidden());
    EXPECT_EQ(raw(1), "");
    EXPECT_TRUE(window().diagnosticDisplay()) << "the diagnostic display keeps its state";
    tick();
    EXPECT_EQ(value(1), "290.0");
}

TEST_F(ReadingsWindowTest, EachEnabledInputKeepsItsLastMinuteAsATrendLine)
{
    open();
    for (int s = 0; s < 75; ++s) {
        rig_.hold(0, 100 + s % 10);
        tick();
    }
    // A cycle takes a second and a half of the virtual clock (the tick, and the 500 ms
    // its port takes to settle): a minute holds 41 of them.
    const auto& points = window().trend().points(0);
    EXPECT_EQ(points.size(), 41u);
    EXPECT_EQ(points.back().tickMs - points.front().tickMs, 60000);
    EXPECT_TRUE(window().trend().points(1).empty()) << "input 2 is off";
    const auto* line1 = control<TrendView>("Trend1");
    EXPECT_FALSE(line1->isHidden());
    EXPECT_EQ(line1->line().size(), 41u);
    // The newest point at the right end of the box.
    EXPECT_NEAR(line1->line().back().x(), line1->width() - 2, 0.5);
    EXPECT_TRUE(control<TrendView>("Trend2")->isHidden());
}

} // namespace
} // namespace qz::test
