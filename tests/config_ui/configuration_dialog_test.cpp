// The configuration dialog: what it shows of the logger, the interval fields, the PC
// clock, and sending through its Config button.
#include "dialog_rig.h"

#include "model/image_reader.h"
#include "sim/logger_time.h"
#include "ui/internal_messages.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace qz::test {
namespace {

using ConfigurationDialogTest = DialogTest;

TEST_F(ConfigurationDialogTest, TheModelNamesTheCaptionsAndFixedInputsHaveNoScaling)
{
    struct Case {
        std::uint16_t code;
        const char* model;
        bool scaling;
    } cases[] = {{101, "ZK-101 Thermo", true},
                 {293, "ZK-293 Volt", false},
                 {485, "ZK-485 Octo", false},
                 {69, "ZK-69 Duo", true}};
    for (const auto& c : cases) {
        ASSERT_TRUE(prepare({.deviceCode = c.code, .content = sim::Content::Erased})) << c.code;
        const QString model = QString::fromLatin1(c.model);
        EXPECT_EQ(dialog_->windowTitle(), "Quorvant  " + model + " Configuration");
        EXPECT_EQ(dialog_->delayedStart()->windowTitle(), "Quorvant  " + model + " Delayed Start");
        EXPECT_EQ(dialog_->inputsScaling()->windowTitle(), "Quorvant  " + model + " Inputs Scaling ");
        EXPECT_EQ(child("bSelPage2")->isVisibleTo(dialog_.get()), c.scaling) << c.code;
        EXPECT_FALSE(child("cbSampling")->isVisibleTo(dialog_.get()));
    }
    EXPECT_FALSE(prepare({.deviceCode = 0x20, .content = sim::Content::Erased})) << "not in the catalogue";
}

TEST_F(ConfigurationDialogTest, ShowingFillsTheControlsFromTheImage)
{
    struct Case {
        int interval;
        unsigned stopMode;
        const char* minutes;
        const char* seconds;
        const char* checked;
    } cases[] = {{300, 0x0101, "5", "0", "EofMem"},
                 {90, 0x0001, "1", "30", "EofMem"},
                 {3600, 0x0000, "60", "0", "Cyclic"}};
    for (const auto& c : cases) {
        sim::MemoryPreset preset{.deviceCode = 101, .content = sim::Content::Erased, .serial = "7421"};
        preset.intervalSeconds = c.interval;
        ASSERT_TRUE(prepare(preset));
        ByteView{image_.data(), image_.size()}.setU16(mem::kStopMode, std::uint16_t(c.stopMode));
        clock_.setLocalNow(QDateTime(QDate(2026, 3, 5), QTime(14, 7, 9)));
        show();
        EXPECT_EQ(text("laSN"), "7421");
        EXPECT_EQ(text("UserComment") + QString(50 - text("UserComment").size(), QLatin1Char(' ')),
                  ImageReader::deviceImage(ConstByteView{image_.data(), image_.size()}).recordName())
            << "the comment without its padding";
        EXPECT_FALSE(text("UserComment").endsWith(' '));
        EXPECT_EQ(text("mInterval"), c.minutes) << c.interval;
        EXPECT_EQ(text("sInterval"), c.seconds) << c.interval;
        EXPECT_TRUE(child<QRadioButton>(c.checked)->isChecked()) << c.interval;
        EXPECT_EQ(text("SystemClock"), "05/03/26  14:07:09");
        EXPECT_EQ(text("Label1"), "PC Date: ");
        dialog_->hide();
    }
    // 252 blocks x 120 samples x 3600 s / 4 inputs.
    EXPECT_EQ(text("lbReclen"), "315 Days  0 Hours  0 Min");
    EXPECT_TRUE(prompt_.records().empty()) << prompt_.texts().join('|').toStdString();
}

TEST_F(ConfigurationDialogTest, TheTimerTickShowsThePcClock)
{
    ASSERT_TRUE(prepare());
    show();
    clock_.advance(61'000);
    EXPECT_EQ(text("SystemClock"), "05/03/26  14:07:09");
    postInternal(dialog_.get(), kMsgTimerTick);
    QApplication::processEvents();
    EXPECT_EQ(text("SystemClock"), "05/03/26  14:08:10");
}

TEST_F(ConfigurationDialogTest, LeavingAnIntervalFieldAppliesItsRules)
{
    ASSERT_TRUE(prepare());
    show();
    const auto interval = [&] {
        return ImageReader::deviceImage(ConstByteView{image_.data(), image_.size()}).interval();
    };
    // What is wrong is told beside the fields, never in a box that takes the focus.
    struct Step {
        const char* field;
        const char* typed;
        const char* shown;
        int stored; // the interval in the image afterwards
        const char* note; // beside the fields; empty: none
    } steps[] = {
        {"mInterval", "75", "60", 3600, ""},
        {"sInterval", "", "00", 3600, ""},
        {"sInterval", "1", "01", 3600, "The interval cannot be greater than 60 minutes"},
        {"mInterval", "2", "02", 121, ""},
        {"sInterval", "7", "07", 127, ""},
        {"mInterval", "0", "00", 7, ""},
        {"sInterval", "0", "00", 7, "The recording interval cannot be 0"},
    };
    for (const auto& s : steps) {
        type(s.field, s.typed);
        EXPECT_EQ(text(s.field), s.shown) << s.field << " " << s.typed;
        EXPECT_EQ(interval(), s.stored) << s.field << " " << s.typed;
        EXPECT_EQ(text("lbIntervalNote"), s.note) << s.field << " " << s.typed;
    }
    EXPECT_TRUE(prompt_.records().empty()) << prompt_.texts().join('|').toStdString();
    EXPECT_EQ(text("lbReclen"), "") << "no duration for an interval that cannot be sent";
    type("sInterval", "7");
    EXPECT_EQ(text("lbReclen"), "0 Days  14 Hours  42 Min") << "252 x 120 x 7 s / 4";

    // A message box or another window taking the focus is no leaving of the field.
    prompt_.clear();
    auto* minutes = child<QLineEdit>("mInterval");
    minutes->setText("99");
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(minutes, &away);
    EXPECT_EQ(text("mInterval"), "99");
    EXPECT_TRUE(prompt_.records().empty());
}

TEST_F(ConfigurationDialogTest, ActivationStoresTheEntriesWithoutAWord)
{
    ASSERT_TRUE(prepare());
    show();
    child<QLineEdit>("mInterval")->setText("0");
    child<QLineEdit>("sInterval")->setText("0");
    for (int i = 0; i < 3; ++i) {
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(dialog_.get(), &activate);
    }
    EXPECT_TRUE(prompt_.records().empty()) << "an interval being typed is checked by Config";
    child<QLineEdit>("sInterval")->setText("45");
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(dialog_.get(), &activate);
    EXPECT_EQ(ImageReader::deviceImage(ConstByteView{image_.data(), image_.size()}).interval(), 45);
}

TEST_F(ConfigurationDialogTest, ConfigSendsWhatTheControlsHoldAndHides)
{
    ASSERT_TRUE(prepare());
    show();
    child<QLineEdit>("mInterval")->setText("0");
    child<QLineEdit>("sInterval")->setText("30");
    child<QLineEdit>("UserComment")->setText("North wall");
    child<QRadioButton>("Cyclic")->setChecked(true);
    prompt_.clear();
    click("BitBtn1");
    EXPECT_TRUE(prompt_.records().empty()) << prompt_.texts().join('|').toStdString();
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->lastSend(), SendOutcome::Sent);
    EXPECT_EQ(runner_.jobsRun(), 1) << "one send";
    EXPECT_FALSE(dialog_->sending()) << "the send has ended";
    const ImageReader logger = ImageReader::header({memory(), mem::kHeaderSize});
    EXPECT_EQ(logger.interval(), 30);
    EXPECT_EQ(logger.stopMode(), 0);
    EXPECT_EQ(logger.recordName(), QStringLiteral("North wall").leftJustified(50, QLatin1Char(' ')));
    EXPECT_EQ(emulator_.logger().runState(), mem::kRunRecording);
}

TEST_F(ConfigurationDialogTest, ASendWaitsBehindAJobOnThePortAndNothingIsSentAfterARefusal)
{
    ASSERT_TRUE(prepare());
    show();
    const std::int64_t frames = emulator_.commands();
    runner_.hold(); // a download runs on the port
    click("BitBtn1");
    EXPECT_EQ(emulator_.commands(), frames) << "nothing reaches the logger meanwhile";
    EXPECT_TRUE(dialog_->sending());
    click("BitBtn1");
    EXPECT_EQ(runner_.waiting(), 1) << "a second press sends nothing more";
    EXPECT_TRUE(prompt_.records().empty());
    runner_.release();
    EXPECT_EQ(dialog_->lastSend(), SendOutcome::Sent);
    EXPECT_FALSE(dialog_->isVisible());

    show();
    const std::int64_t sent = emulator_.commands();
    child<QLineEdit>("mInterval")->setText("0");
    child<QLineEdit>("sInterval")->setText("0");
    click("BitBtn1");
    EXPECT_EQ(emulator_.commands(), sent);
    EXPECT_EQ(prompt_.texts(), QStringList{"The recording interval cannot be 0"});
    EXPECT_EQ(prompt_.records()[0].symbol, PromptSymbol::Warning);
    EXPECT_EQ(dialog_->lastSend(), SendOutcome::Refused);
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_FALSE(dialog_->sending());
}

TEST_F(ConfigurationDialogTest, ADelayedStartIsSentAsTheLoggersAlarm)
{
    ASSERT_TRUE(prepare());
    show();
    EXPECT_FALSE(child("Delay")->isEnabled());
    click("DelayedRec");
    EXPECT_TRUE(child("Delay")->isEnabled());
    DelayedStartDialog* delayed = dialog_->delayedStart();
    ASSERT_TRUE(delayed->isVisible());
    EXPECT_EQ(text("lbStart"), "No start chosen yet: press Delay");
    child<QLineEdit>("meDateStart", delayed)->setText("06/03/26");
    child<QLineEdit>("meTimeStart", delayed)->setText("08:30:00");
    click("OKBtn", delayed);
    EXPECT_FALSE(delayed->isVisible());
    EXPECT_EQ(text("lbStart"), "Starts 2026-03-06 08:30") << "said before it is sent";
    click("BitBtn1");
    EXPECT_EQ(dialog_->lastSend(), SendOutcome::Sent) << prompt_.texts().join('|').toStdString();
    EXPECT_EQ(emulator_.logger().runState(), mem::kRunWaiting);
    EXPECT_EQ(emulator_.logger().startAlarmUs(), sim::civilToUs({2026, 3, 6, 8, 30, 0, 0}));

    // Unchecked, the next send starts at once.
    show();
    click("DelayedRec");
    EXPECT_FALSE(child("Delay")->isEnabled());
    EXPECT_EQ(text("lbStart"), "Starts when sent");
    click("BitBtn1");
    EXPECT_EQ(emulator_.logger().runState(), mem::kRunRecording);
}

TEST_F(ConfigurationDialogTest, ADelayedStartIsForTheLoggerItWasChosenFor)
{
    ASSERT_TRUE(prepare());
    show();
    click("DelayedRec");
    DelayedStartDialog* delayed = dialog_->delayedStart();
    click("rbDelay", delayed);
    child<QLineEdit>("meDelayHours", delayed)->setText("02");
    child<QLineEdit>("meDelayMinutes", delayed)->setText("30");
    click("OKBtn", delayed);
    EXPECT_EQ(text("lbStart"), "Starts 2 h 30 min after sending");
    click("CancelBtn");

    // The next Configuration reads a logger again: its start is its own to choose.
    ASSERT_TRUE(dialog_->initialize("sim", {image_.data(), image_.size()}));
    show();
    EXPECT_FALSE(child<QCheckBox>("DelayedRec")->isChecked());
    EXPECT_FALSE(child("Delay")->isEnabled());
    EXPECT_EQ(text("lbStart"), "Starts when sent");
    EXPECT_FALSE(delayed->hasStart());
    EXPECT_EQ(delayed->plan().delay, 0);
    EXPECT_EQ(delayed->plan().mode, DelayedStart::Mode::Date);
    click("BitBtn1");
    EXPECT_EQ(emulator_.logger().runState(), mem::kRunRecording) << "started at once";
}

TEST_F(ConfigurationDialogTest, TheDelayedStartIsModalAndComesAfterTheMessage)
{
    ASSERT_TRUE(prepare());
    show();
    click("DelayedRec");
    DelayedStartDialog* delayed = dialog_->delayedStart();
    EXPECT_EQ(delayed->windowModality(), Qt::WindowModal) << "the configuration behind waits";
    EXPECT_EQ(QApplication::activeModalWidget(), delayed);
    child<QLineEdit>("meTimeStart", delayed)->setText("14:30:00");
    click("OKBtn", delayed);
    ASSERT_TRUE(delayed->hasStart());

    // The start passes before Config: one message, then the dialog again, on a start to come.
    clock_.advance(3600'000); // 15:07:09
    bool delayedShownAtTheMessage = true;
    prompt_.onAsk = [&](const QString&) { delayedShownAtTheMessage = delayed->isVisible(); };
    click("BitBtn1");
    prompt_.onAsk = nullptr;
    EXPECT_EQ(prompt_.texts(), QStringList{"The Start Date/Time Elapsed..."});
    EXPECT_FALSE(delayedShownAtTheMessage) << "one dialog at a time, in order";
    EXPECT_TRUE(delayed->isVisible());
    EXPECT_EQ(text("meDateStart", delayed), "05/03/26");
    EXPECT_EQ(text("meTimeStart", delayed), "16:00:00") << "not the start that has passed";
}

TEST_F(ConfigurationDialogTest, TheNaturalWayToTenSecondsAsksNothing)
{
    ASSERT_TRUE(prepare()); // 5 min 0 s
    show();
    QApplication::setActiveWindow(dialog_.get());
    auto* minutes = child<QLineEdit>("mInterval");
    auto* seconds = child<QLineEdit>("sInterval");
    EXPECT_EQ(minutes->text(), "5");
    minutes->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents(); // the field's text is selected
    QTest::keyClicks(minutes, "0");
    QTest::keyClick(minutes, Qt::Key_Tab);
    QApplication::processEvents();
    ASSERT_TRUE(seconds->hasFocus());
    EXPECT_EQ(text("lbIntervalNote"), "The recording interval cannot be 0");
    QTest::keyClicks(seconds, "1");
    EXPECT_EQ(text("lbReclen"), "0 Days  2 Hours  6 Min") << "252 x 120 x 1 s / 4, as it is typed";
    QTest::keyClicks(seconds, "0");
    EXPECT_EQ(text("lbReclen"), "0 Days  21 Hours  0 Min");
    EXPECT_EQ(text("lbIntervalNote"), "");
    QTest::keyClick(seconds, Qt::Key_Tab);
    EXPECT_TRUE(prompt_.records().empty()) << prompt_.texts().join('|').toStdString();
    EXPECT_EQ(ImageReader::deviceImage(ConstByteView{image_.data(), image_.size()}).interval(), 10);

    // Seconds beyond 59 do not go in, and the note says why.
    seconds->selectAll();
    QTest::keyClicks(seconds, "75");
    EXPECT_EQ(seconds->text(), "7");
    EXPECT_EQ(text("lbIntervalNote"), "The seconds can be at most 59");
    minutes->selectAll();
    QTest::keyClicks(minutes, "61");
    EXPECT_EQ(minutes->text(), "6");
    EXPECT_EQ(text("lbIntervalNote"), "The minutes can be at most 60");
    click("BitBtn1");
    EXPECT_EQ(dialog_->lastSend(), SendOutcome::Sent);
    EXPECT_EQ(ImageReader::header({memory(), mem::kHeaderSize}).interval(), 6 * 60 + 7);
}

// A character typed as a key event (QTest types ASCII only).
void typeCharacter(QWidget* field, const QString& character)
{
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, character);
    QApplication::sendEvent(field, &press);
}

TEST_F(ConfigurationDialogTest, TheCommentTakesWhatTheLoggerKeeps)
{
    ASSERT_TRUE(prepare());
    show();
    auto* comment = child<QLineEdit>("UserComment");
    comment->clear();
    QTest::keyClicks(comment, "Temp ");
    typeCharacter(comment, QString::fromUtf8("€"));
    EXPECT_EQ(text("lbCommentNote"), QString::fromUtf8("The comment cannot hold the character €"));
    QTest::keyClicks(comment, " test");
    EXPECT_EQ(text("lbCommentNote"), "") << "the next accepted key clears the note";
    typeCharacter(comment, QString::fromUtf8("°"));
    EXPECT_EQ(comment->text(), QString::fromUtf8("Temp  test°")) << "Latin-1 is kept";

    // Text beyond the field's 50 characters is told, not cut without a word.
    QGuiApplication::clipboard()->setText(QString(60, QLatin1Char('x')));
    comment->paste();
    EXPECT_EQ(comment->text(), QString::fromUtf8("Temp  test°"));
    EXPECT_EQ(text("lbCommentNote"), "The comment has at most 50 characters");
    click("BitBtn1");
    EXPECT_EQ(ImageReader::header({memory(), mem::kHeaderSize}).recordName(),
              QString::fromUtf8("Temp  test°").leftJustified(50, QLatin1Char(' ')));

    // A comment that came in some other way is refused by Config, naming the character.
    show();
    const std::int64_t frames = emulator_.commands();
    prompt_.clear();
    child<QLineEdit>("UserComment")->setText(QString::fromUtf8("Temp € test"));
    click("BitBtn1");
    EXPECT_EQ(prompt_.texts(), QStringList{QString::fromUtf8("The comment cannot hold the character €")});
    EXPECT_EQ(emulator_.commands(), frames) << "nothing sent";
    EXPECT_EQ(dialog_->lastSend(), SendOutcome::Refused);
}

TEST_F(ConfigurationDialogTest, AQuestionLeftOpenDoesNotLeaveTheLoggersClockBehind)
{
    ASSERT_TRUE(prepare({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 4, .running = true}));
    show();
    prompt_.script({PromptAnswer::Yes});
    prompt_.onAsk = [&](const QString&) { clock_.advance(4000); }; // the user reads it for 4 s
    click("BitBtn1");
    prompt_.onAsk = nullptr;
    ASSERT_EQ(dialog_->lastSend(), SendOutcome::Sent) << prompt_.texts().join('|').toStdString();
    const QDateTime pc = clock_.localNow();
    const sim::CivilTime logger = emulator_.logger().clock();
    EXPECT_EQ(QTime(logger.hour, logger.minute, logger.second),
              QTime(pc.time().hour(), pc.time().minute(), pc.time().second()))
        << "the clock is the PC's when sent, not when Config was pressed";
}

TEST_F(ConfigurationDialogTest, TheSendSaysWhatTheLoggerWillDo)
{
    ASSERT_TRUE(prepare()); // 252 blocks, 4 inputs: 30 measurements a block
    show();
    QStringList said;
    QObject::connect(dialog_.get(), &ConfigurationDialog::configured, [&](const QString& s) { said << s; });
    click("BitBtn1");
    // 252 x 30 x 300 s = 2,268,000 s after 14:07 on 5 March 2026 (the send itself takes a
    // moment of the emulator's time).
    ASSERT_EQ(said.size(), 1);
    EXPECT_TRUE(said[0].startsWith("7421 configured: starts 14:07:")) << said[0].toStdString();
    EXPECT_TRUE(said[0].endsWith(", every 5 min, memory full on 2026-03-31")) << said[0].toStdString();

    show();
    child<QRadioButton>("Cyclic")->setChecked(true);
    click("DelayedRec");
    DelayedStartDialog* delayed = dialog_->delayedStart();
    child<QLineEdit>("meDateStart", delayed)->setText("10/12/26");
    child<QLineEdit>("meTimeStart", delayed)->setText("14:00:00");
    click("OKBtn", delayed);
    type("sInterval", "30");
    type("mInterval", "1");
    prompt_.script({PromptAnswer::Yes}); // it records since the first send
    click("BitBtn1");
    ASSERT_EQ(said.size(), 2) << prompt_.texts().join('|').toStdString();
    EXPECT_EQ(said[1], "7421 configured: starts 2026-12-10 14:00, every 1 min 30 s, cyclic recording");
}

TEST_F(ConfigurationDialogTest, AStartThatHasPassedShowsTheDelayedStartAgain)
{
    ASSERT_TRUE(prepare());
    show();
    click("DelayedRec");
    DelayedStartDialog* delayed = dialog_->delayedStart();
    click("CancelBtn", delayed); // no start was ever accepted
    ASSERT_FALSE(delayed->isVisible());
    const std::int64_t frames = emulator_.commands();
    click("BitBtn1");
    EXPECT_EQ(dialog_->lastSend(), SendOutcome::StartElapsed);
    EXPECT_EQ(prompt_.texts(), QStringList{"The Start Date/Time Elapsed..."});
    EXPECT_EQ(prompt_.records()[0].symbol, PromptSymbol::Error);
    EXPECT_TRUE(delayed->isVisible());
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(emulator_.commands(), frames);
}

TEST_F(ConfigurationDialogTest, ARecordingLoggerAsksBeforeItIsRestarted)
{
    ASSERT_TRUE(prepare({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 4, .running = true}));
    show();
    prompt_.script({PromptAnswer::No});
    click("BitBtn1");
    EXPECT_EQ(dialog_->lastSend(), SendOutcome::NotConfirmed);
    EXPECT_EQ(prompt_.texts(),
              QStringList{"Recorder running\rSending configuration will restart it\rSend Configuration ?"});
    EXPECT_EQ(emulator_.commands('A'), 0);
    EXPECT_TRUE(dialog_->isVisible());
}

TEST_F(ConfigurationDialogTest, PcDateOpensTheDesktopsSettingsAndHelpItsTopic)
{
    ASSERT_TRUE(prepare());
    show();
    QLabel* pcDate = child<QLabel>("Label1");
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), pcDate->mapToGlobal(QPointF(2, 2)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), pcDate->mapToGlobal(QPointF(2, 2)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(pcDate, &press);
    QApplication::sendEvent(pcDate, &release);
    EXPECT_EQ(dates_.opened, 1);
    EXPECT_EQ(pcDate->cursor().shape(), Qt::PointingHandCursor) << "it opens something here";
    // On a machine without the desktop's date settings the label is a label.
    dates_.canOpen = false;
    dialog_->setDateSettings(&dates_);
    EXPECT_EQ(pcDate->cursor().shape(), Qt::ArrowCursor);

    std::vector<int> contexts;
    QObject::connect(dialog_.get(), &ConfigurationDialog::helpRequested,
                     [&](int c) { contexts.push_back(c); });
    click("HelpBtn");
    click("HelpBtn", dialog_->delayedStart());
    click("HelpBtn", dialog_->inputsScaling());
    EXPECT_EQ(contexts, (std::vector<int>{8, 8, 9}));
}

} // namespace
} // namespace qz::test
