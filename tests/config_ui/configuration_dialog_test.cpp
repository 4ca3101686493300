// The configuration dialog: what it shows of the logger, the interval fields, the PC
// clock, and sending through its Config button.
#include "dialog_rig.h"

#include "model/image_reader.h"
#include "model/internal_messages.h"
#include "sim/logger_time.h"

#include <QCheckBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

namespace qz::test {
namespace {

using ConfigurationDialogTest = DialogTest;

TEST_F(ConfigurationDialogTest, TheModelNamesTheCaptionsAndFixedInputsHaveNoScaling)
{
    struct Case {
        std::uint16_t code;
        const char* model;
        bool scaling;
    } cases[] = {{101, "ZK-101 Thermo", true}, {293, "ZK-293 Volt", false}, {485, "ZK-485 Octo", false},
                 {69, "ZK-69 Duo", true}};
    for (const auto& c : cases) {
        ASSERT_TRUE(Prepare({.deviceCode = c.code, .content = sim::Content::Erased})) << c.code;
        const QString model = QString::fromLatin1(c.model);
        EXPECT_EQ(dialog_->windowTitle(), "Quorvant  " + model + " Configuration");
        EXPECT_EQ(dialog_->delayedStart()->windowTitle(), "Quorvant  " + model + " Delayed Start");
        EXPECT_EQ(dialog_->inputsScaling()->windowTitle(), "Quorvant  " + model + " Inputs Scaling ");
        EXPECT_EQ(Child("bSelPage2")->isVisibleTo(dialog_.get()), c.scaling) << c.code;
        EXPECT_FALSE(Child("cbSampling")->isVisibleTo(dialog_.get()));
    }
    EXPECT_FALSE(Prepare({.deviceCode = 0x20, .content = sim::Content::Erased})) << "not in the catalogue";
}

TEST_F(ConfigurationDialogTest, ShowingFillsTheControlsFromTheImage)
{
    struct Case {
        int interval;
        unsigned stopMode;
        const char* minutes;
        const char* seconds;
        const char* checked;
    } cases[] = {{300, 0x0101, "5", "0", "EofMem"}, {90, 0x0001, "1", "30", "EofMem"},
                 {3600, 0x0000, "60", "0", "Cyclic"}};
    for (const auto& c : cases) {
        sim::MemoryPreset preset{.deviceCode = 101, .content = sim::Content::Erased, .serial = "7421"};
        preset.intervalSeconds = c.interval;
        ASSERT_TRUE(Prepare(preset));
        ByteView{image_.data(), image_.size()}.setU16(mem::kStopMode, std::uint16_t(c.stopMode));
        clock_.setLocalNow(QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9)));
        Show();
        EXPECT_EQ(Text("laSN"), "7421");
        EXPECT_EQ(Text("UserComment") + QString(50 - Text("UserComment").size(), QLatin1Char(' ')),
                  ImageReader::deviceImage(ConstByteView{image_.data(), image_.size()}).recordName())
            << "the comment without its padding";
        EXPECT_FALSE(Text("UserComment").endsWith(' '));
        EXPECT_EQ(Text("mInterval"), c.minutes) << c.interval;
        EXPECT_EQ(Text("sInterval"), c.seconds) << c.interval;
        EXPECT_TRUE(Child<QRadioButton>(c.checked)->isChecked()) << c.interval;
        EXPECT_EQ(Text("SystemClock"), "05/03/26  14:07:09");
        EXPECT_EQ(Text("Label1"), "PC Date: ");
        dialog_->hide();
    }
    // 252 blocks x 120 samples x 3600 s / 4 inputs.
    EXPECT_EQ(Text("lbReclen"), "315 Days  0 Hours  0 Min");
    EXPECT_TRUE(prompt_.records().empty()) << prompt_.texts().join('|').toStdString();
}

TEST_F(ConfigurationDialogTest, TheTimerTickShowsThePcClock)
{
    ASSERT_TRUE(Prepare());
    Show();
    clock_.advance(61'000);
    EXPECT_EQ(Text("SystemClock"), "05/03/26  14:07:09");
    PostInternal(dialog_.get(), kMsgTimerTick);
    QApplication::processEvents();
    EXPECT_EQ(Text("SystemClock"), "05/03/26  14:08:10");
}

TEST_F(ConfigurationDialogTest, LeavingAnIntervalFieldAppliesItsRules)
{
    ASSERT_TRUE(Prepare());
    Show();
    const auto interval = [&] {
        return ImageReader::deviceImage(ConstByteView{image_.data(), image_.size()}).interval();
    };
    struct Step {
        const char* field;
        const char* typed;
        const char* shown;
        int stored;          // the interval in the image afterwards
        const char* message; // empty: none
    } steps[] = {
        {"mInterval", "75", "60", 3600, ""},
        {"sInterval", "", "00", 3600, ""},
        {"sInterval", "1", "01", 3600, "The interval cannot be greater than 60 minutes"},
        {"mInterval", "2", "02", 121, ""},
        {"sInterval", "7", "07", 127, ""},
        {"mInterval", "0", "00", 7, ""},
        {"sInterval", "0", "00", 7, "The interval must be a multiple of 1 sec"},
    };
    for (const auto& s : steps) {
        prompt_.clear();
        Type(s.field, s.typed);
        EXPECT_EQ(Text(s.field), s.shown) << s.field << " " << s.typed;
        EXPECT_EQ(interval(), s.stored) << s.field << " " << s.typed;
        const QStringList expected = *s.message ? QStringList{s.message} : QStringList{};
        EXPECT_EQ(prompt_.texts(), expected) << s.field << " " << s.typed;
        if (*s.message) {
            EXPECT_EQ(prompt_.records()[0].symbol, PromptSymbol::Warning);
        }
    }
    EXPECT_EQ(Text("lbReclen"), "0 Days  14 Hours  42 Min") << "252 x 120 x 7 s / 4, of the last accepted";

    // A message box or another window taking the focus is no leaving of the field.
    prompt_.clear();
    auto* minutes = Child<QLineEdit>("mInterval");
    minutes->setText("99");
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(minutes, &away);
    EXPECT_EQ(Text("mInterval"), "99");
    EXPECT_TRUE(prompt_.records().empty());
}

TEST_F(ConfigurationDialogTest, ActivationStoresTheEntriesButRepeatsNoRefusal)
{
    ASSERT_TRUE(Prepare());
    Show();
    Child<QLineEdit>("mInterval")->setText("0");
    Child<QLineEdit>("sInterval")->setText("0");
    for (int i = 0; i < 3; ++i) {
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(dialog_.get(), &activate);
    }
    EXPECT_EQ(prompt_.texts(), QStringList{"The interval must be a multiple of 1 sec"});
    Child<QLineEdit>("sInterval")->setText("45");
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(dialog_.get(), &activate);
    EXPECT_EQ(ImageReader::deviceImage(ConstByteView{image_.data(), image_.size()}).interval(), 45);
}

TEST_F(ConfigurationDialogTest, ConfigSendsWhatTheControlsHoldAndHides)
{
    ASSERT_TRUE(Prepare());
    Show();
    Child<QLineEdit>("mInterval")->setText("0");
    Child<QLineEdit>("sInterval")->setText("30");
    Child<QLineEdit>("UserComment")->setText("North wall");
    Child<QRadioButton>("Cyclic")->setChecked(true);
    prompt_.clear();
    Click("BitBtn1");
    EXPECT_TRUE(prompt_.records().empty()) << prompt_.texts().join('|').toStdString();
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->lastSend(), SendOutcome::Sent);
    EXPECT_EQ(begins_, 1);
    EXPECT_FALSE(busy_) << "the logger command ended";
    const ImageReader logger = ImageReader::header({Memory(), mem::kHeaderSize});
    EXPECT_EQ(logger.interval(), 30);
    EXPECT_EQ(logger.stopMode(), 0);
    EXPECT_EQ(logger.recordName(), QStringLiteral("North wall").leftJustified(50, QLatin1Char(' ')));
    EXPECT_EQ(emulator_.logger().runState(), mem::kRunRecording);
}

TEST_F(ConfigurationDialogTest, NothingIsSentWhileAnotherLoggerCommandRunsOrAfterARefusal)
{
    ASSERT_TRUE(Prepare());
    Show();
    const std::int64_t frames = emulator_.commands();
    busy_ = true; // a download runs
    Click("BitBtn1");
    EXPECT_EQ(emulator_.commands(), frames);
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_TRUE(prompt_.records().empty());
    EXPECT_TRUE(busy_) << "the other command still holds the logger";

    busy_ = false;
    Child<QLineEdit>("mInterval")->setText("0");
    Child<QLineEdit>("sInterval")->setText("0");
    Click("BitBtn1");
    EXPECT_EQ(emulator_.commands(), frames);
    EXPECT_EQ(prompt_.texts(), QStringList{"The interval must be a multiple of 1 sec"});
    EXPECT_EQ(dialog_->lastSend(), SendOutcome::Refused);
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_FALSE(busy_);
}

TEST_F(ConfigurationDialogTest, ADelayedStartIsSentAsTheLoggersAlarm)
{
    ASSERT_TRUE(Prepare());
    Show();
    EXPECT_FALSE(Child("Delay")->isEnabled());
    Click("DelayedRec");
    EXPECT_TRUE(Child("Delay")->isEnabled());
    DelayedStartDialog* delayed = dialog_->delayedStart();
    ASSERT_TRUE(delayed->isVisible());
    EXPECT_EQ(Text("meDateStart", delayed), "05/03/26");
    EXPECT_EQ(Text("meTimeStart", delayed), "14:07:09");
    Child<QLineEdit>("meDateStart", delayed)->setText("06/03/26");
    Child<QLineEdit>("meTimeStart", delayed)->setText("08:30:00");
    Click("OKBtn", delayed);
    EXPECT_FALSE(delayed->isVisible());
    Click("BitBtn1");
    EXPECT_EQ(dialog_->lastSend(), SendOutcome::Sent) << prompt_.texts().join('|').toStdString();
    EXPECT_EQ(emulator_.logger().runState(), mem::kRunWaiting);
    EXPECT_EQ(emulator_.logger().startAlarmUs(), sim::CivilToUs({2026, 3, 6, 8, 30, 0, 0}));

    // Unchecked, the next send starts at once.
    Show();
    Click("DelayedRec");
    EXPECT_FALSE(Child("Delay")->isEnabled());
    Click("BitBtn1");
    EXPECT_EQ(emulator_.logger().runState(), mem::kRunRecording);
}

TEST_F(ConfigurationDialogTest, AStartThatHasPassedShowsTheDelayedStartAgain)
{
    ASSERT_TRUE(Prepare());
    Show();
    Click("DelayedRec");
    DelayedStartDialog* delayed = dialog_->delayedStart();
    Click("CancelBtn", delayed); // no start was ever accepted
    ASSERT_FALSE(delayed->isVisible());
    const std::int64_t frames = emulator_.commands();
    Click("BitBtn1");
    EXPECT_EQ(dialog_->lastSend(), SendOutcome::StartElapsed);
    EXPECT_EQ(prompt_.texts(), QStringList{"The Start Date/Time Elapsed..."});
    EXPECT_EQ(prompt_.records()[0].symbol, PromptSymbol::Error);
    EXPECT_TRUE(delayed->isVisible());
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(emulator_.commands(), frames);
}

TEST_F(ConfigurationDialogTest, ARecordingLoggerAsksBeforeItIsRestarted)
{
    ASSERT_TRUE(Prepare({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 4, .running = true}));
    Show();
    prompt_.script({PromptAnswer::No});
    Click("BitBtn1");
    EXPECT_EQ(dialog_->lastSend(), SendOutcome::NotConfirmed);
    EXPECT_EQ(prompt_.texts(),
              QStringList{"Recorder running\rSending configuration will restart it\rSend Configuration ?"});
    EXPECT_EQ(emulator_.commands('A'), 0);
    EXPECT_TRUE(dialog_->isVisible());
}

TEST_F(ConfigurationDialogTest, PcDateOpensTheDesktopsSettingsAndHelpItsTopic)
{
    ASSERT_TRUE(Prepare());
    Show();
    QLabel* pcDate = Child<QLabel>("Label1");
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), pcDate->mapToGlobal(QPointF(2, 2)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), pcDate->mapToGlobal(QPointF(2, 2)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(pcDate, &press);
    QApplication::sendEvent(pcDate, &release);
    EXPECT_EQ(dates_.opened, 1);

    std::vector<int> contexts;
    QObject::connect(dialog_.get(), &ConfigurationDialog::helpRequested, [&](int c) { contexts.push_back(c); });
    Click("HelpBtn");
    Click("HelpBtn", dialog_->delayedStart());
    Click("HelpBtn", dialog_->inputsScaling());
    EXPECT_EQ(contexts, (std::vector<int>{8, 8, 9}));
}

} // namespace
} // namespace qz::test
