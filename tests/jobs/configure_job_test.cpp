// Sending a configuration to the emulated logger: the bytes it receives for each kind of
// start, the order of the frames, the verify loop, refusals and questions that send
// nothing, the clock record built after the question, and a recording that is then
// downloaded as it was asked for.
#include "config/configuration_rules.h"
#include "config/inputs_table.h"
#include "config_rig.h"
#include "jobs/configure_job.h"
#include "jobs/download_job.h"
#include "model/image_reader.h"
#include "model/memory_image.h"
#include "print_jobs.h"
#include "sim/logger_time.h"
#include "support/catalogue_folder.h"

#include <gtest/gtest.h>

#include <optional>

namespace qz::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

const QDateTime kPcTime(QDate(2026, 3, 5), QTime(14, 7, 9));
const QString kComment = QStringLiteral("Greenhouse test");

double instant(int y, int mo, int d, int h, int mi, int s)
{
    LoggerDate t;
    t.Year = std::uint16_t(y);
    t.Month = std::uint16_t(mo);
    t.Day = std::uint16_t(d);
    t.Hour = std::uint16_t(h);
    t.Min = std::uint16_t(mi);
    t.Sec = std::uint16_t(s);
    return t.asDateTime();
}

ConfigurationEntry entry(int seconds, StopChoice stop = StopChoice::Cyclic)
{
    ConfigurationEntry e;
    e.intervalSeconds = seconds;
    e.comment = kComment;
    e.stop = stop;
    return e;
}

// The Config button's work: the entries stored under the dialog's rules (a refusal is
// told, and nothing is sent: no status), then the send, its messages and its question told
// through the prompt, and the send run again when the answer restarts the logger.
std::optional<ConfigureStatus> send(ConfigRig& r, const StartRequest& start, const ConfigurationEntry& e,
                                    ConfigurePolicy policy = {})
{
    r.clock.setLocalNow(kPcTime);
    if (const IntervalCheck check = storeConfiguration(r.view(), e); check != IntervalCheck::Ok) {
        r.prompt.tell(intervalRefusal(check, QStringLiteral("1")), PromptSymbol::Warning);
        return std::nullopt;
    }
    auto q = r.make();
    ConfigureResult result = configureJob(*q, r.image, start, policy, r.progress);
    r.prompt.tell(messagesOf(result));
    if (const std::optional<Message> question = questionOf(result); question && r.prompt.confirm(*question)) {
        policy.restart = Decision::Yes;
        result = configureJob(*q, r.image, start, policy, r.progress);
        r.prompt.tell(messagesOf(result));
    }
    r.image = result.image;
    return result.status;
}

struct StartCase {
    const char* name;
    StartRequest start;
    Bytes clock; // the clock record the logger receives
    Bytes stamp; // StartStamp
    sim::CivilTime startsAt; // when the logger begins recording
};

const StartCase kStarts[] = {
    {"immediate",
     {false, {}},
     {0x04, 0x00, 0x09, 0x07, 0x14, 0x85, 0x03, 0x00, 0xC2, 0x00, 0x09, 0x07, 0x14, 0x05, 0x03, 0x01},
     {26, 3, 5, 14, 7, 9},
     {2026, 3, 5, 14, 7, 9, 0}},
    {"at a date",
     {true, {DelayedStart::Mode::Date, instant(2026, 3, 5, 14, 30, 0), 0}},
     {0x04, 0x00, 0x09, 0x07, 0x14, 0x85, 0x03, 0x00, 0xB0, 0x00, 0x00, 0x30, 0x14, 0x05, 0x03, 0x01},
     {26, 3, 5, 14, 30, 0},
     {2026, 3, 5, 14, 30, 0, 0}},
    {"after a delay",
     {true, {DelayedStart::Mode::Delay, 0, 15 / 1440.0}},
     {0x04, 0x00, 0x09, 0x07, 0x14, 0x85, 0x03, 0x00, 0xB0, 0x00, 0x09, 0x22, 0x14, 0x05, 0x03, 0x01},
     {26, 3, 5, 14, 22, 9},
     {2026, 3, 5, 14, 22, 9, 0}},
};

TEST(ConfigureJob, TheLoggerReceivesTheProgramInputsAndClockForEachStart)
{
    for (const StartCase& c : kStarts) {
        ConfigRig r;
        r.readLogger();
        const Bytes header(r.memory(), r.memory() + mem::kHeaderSize);
        ASSERT_EQ(send(r, c.start, entry(30)), ConfigureStatus::Sent) << c.name;

        // The program block: the logger's own, with the fields of a configuration.
        Bytes program(header.begin() + mem::kProgram, header.begin() + mem::kInputTable);
        const auto at = [&](std::size_t address) -> std::uint8_t& {
            return program[address - mem::kProgram];
        };
        const QByteArray name = kComment.toLatin1().leftJustified(50, ' ');
        std::copy(name.begin(), name.end(), program.begin());
        at(mem::kSamplingPeriod) = 1;
        at(mem::kSamplingReload) = 1;
        at(mem::kSamplesPerInterval) = 30;
        at(mem::kSamplesPerInterval + 1) = 0;
        at(mem::kYearBits) = 0x80;
        at(mem::kYearBcd) = 0x26;
        at(mem::kSamplingInterval) = 1;
        at(mem::kStopMode) = 0;
        at(mem::kStopMode + 1) = 0;
        std::copy(c.stamp.begin(), c.stamp.end(), program.begin() + (mem::kStartStamp - mem::kProgram));
        for (std::size_t a = mem::kBlocksUsed; a < mem::kResetWord2 + 2; ++a)
            at(a) = 0;

        EXPECT_EQ(r.lastData('H', mem::kProgram), program) << c.name;
        EXPECT_EQ(r.lastData('H', mem::kInputTable), Bytes(header.begin() + mem::kInputTable, header.end()))
            << c.name << ": the inputs as they were read";
        EXPECT_EQ(r.lastData('C'), c.clock) << c.name;
        EXPECT_TRUE(std::equal(program.begin(), program.end(), r.memory() + mem::kProgram)) << c.name;

        const sim::Logger& logger = r.emulator.logger();
        if (c.start.delayed) {
            EXPECT_EQ(logger.runState(), mem::kRunWaiting) << c.name;
            EXPECT_EQ(logger.startAlarmUs(), sim::civilToUs(c.startsAt)) << c.name;
        } else {
            EXPECT_EQ(logger.runState(), mem::kRunRecording) << c.name;
        }
        EXPECT_TRUE(r.prompt.records().empty()) << c.name << ": " << r.prompt.texts().join("|").toStdString();
    }
}

TEST(ConfigureJob, FramesGoInTheirOrderUnderTheProgress)
{
    ConfigRig r;
    r.readLogger();
    ASSERT_EQ(send(r, {}, entry(60)), ConfigureStatus::Sent);
    // The run state, reset, program block, input table, the program read back, the clock.
    EXPECT_EQ(r.frames(), "E A H40 H128 D40 C");
    EXPECT_EQ(r.progress.caption, "Sending Configuration ...");
    EXPECT_EQ(r.progress.positions, (std::vector<int>{0, 10, 40, 70, 90, 100}));
    EXPECT_EQ(r.progress.cancelEnabled, std::vector<bool>{false});
}

TEST(ConfigureJob, AProgramBlockThatDidNotStickIsWrittenAgain)
{
    ConfigRig r;
    r.readLogger();
    sim::Fault dropped;
    dropped.kind = sim::FaultKind::Ignored;
    dropped.frame = 2; // E A [H40]
    r.emulator.addFault(dropped);
    ASSERT_EQ(send(r, {}, entry(60)), ConfigureStatus::Sent);
    // Read back, differs: stop (clock read and write), write again, read back, equal.
    EXPECT_EQ(r.frames(), "E A H40 H128 D40 E C H40 D40 C");
    EXPECT_FALSE(r.emulator.frameLog()[2].carriedOut);
    EXPECT_TRUE(std::equal(r.image.begin() + mem::kProgram, r.image.begin() + mem::kInputTable,
                           r.memory() + mem::kProgram));
    EXPECT_EQ(r.emulator.logger().runState(), mem::kRunRecording);
    EXPECT_TRUE(r.prompt.records().empty());
}

TEST(ConfigureJob, AProgramBlockThatNeverSticksEndsWithoutSettingTheClock)
{
    ConfigRig r;
    r.readLogger();
    for (int frame : {2, 7, 11, 15}) { // every write of the program block
        sim::Fault dropped;
        dropped.kind = sim::FaultKind::Ignored;
        dropped.frame = frame;
        r.emulator.addFault(dropped);
    }
    EXPECT_EQ(send(r, {}, entry(60)), ConfigureStatus::NotKept);
    // Three comparisons, three rewrites, no clock record with a start.
    EXPECT_EQ(r.frames(), "E A H40 H128 D40 E C H40 D40 E C H40 D40 E C H40");
    EXPECT_EQ(r.emulator.logger().runState(), mem::kRunStopped);
    EXPECT_EQ(r.prompt.texts(),
              QStringList{"The Quorvant did not keep the configuration\rIt has not been started"});
    EXPECT_EQ(r.progress.positions, (std::vector<int>{0, 10, 40, 70}));
}

TEST(ConfigureJob, RefusalsSendNothing)
{
    struct Case {
        const char* name;
        StartRequest start;
        int seconds;
        std::optional<ConfigureStatus> outcome; // none: the entries were refused
        const char* message;
        PromptSymbol symbol;
    } cases[] = {
        {"interval 0",
         {},
         0,
         std::nullopt,
         "The interval must be a multiple of 1 sec",
         PromptSymbol::Warning},
        {"interval 3601 s",
         {},
         3601,
         std::nullopt,
         "The interval cannot be greater than 60 minutes",
         PromptSymbol::Warning},
        {"a start in the past",
         {true, {DelayedStart::Mode::Date, instant(2026, 3, 5, 14, 0, 0), 0}},
         60,
         ConfigureStatus::StartElapsed,
         "The Start Date/Time Elapsed...",
         PromptSymbol::Error},
        {"a delay of nothing",
         {true, {DelayedStart::Mode::Delay, 0, 0}},
         60,
         ConfigureStatus::StartElapsed,
         "The Start Date/Time Elapsed...",
         PromptSymbol::Error},
    };
    for (const auto& c : cases) {
        ConfigRig r;
        r.readLogger();
        const Bytes before(r.memory(), r.memory() + mem::kHeaderSize);
        EXPECT_EQ(send(r, c.start, entry(c.seconds)), c.outcome) << c.name;
        EXPECT_EQ(r.frames(), "") << c.name;
        EXPECT_EQ(r.prompt.texts(), QStringList{c.message}) << c.name;
        if (!r.prompt.records().empty()) {
            EXPECT_EQ(r.prompt.records()[0].symbol, c.symbol) << c.name;
        }
        EXPECT_TRUE(std::equal(before.begin(), before.end(), r.memory())) << c.name;
    }
}

TEST(ConfigureJob, ARecordingLoggerIsRestartedOnlyOnYes)
{
    const QString question = "Recorder running\rSending configuration will restart it\rSend Configuration ?";
    struct Case {
        PromptAnswer answer;
        ConfigureStatus outcome;
        const char* frames; // Yes runs the send again: nothing was sent before the question
    } cases[] = {{PromptAnswer::No, ConfigureStatus::NotConfirmed, "E"},
                 {PromptAnswer::Yes, ConfigureStatus::Sent, "E E A H40 H128 D40 C"}};
    for (const auto& c : cases) {
        ConfigRig r({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 4, .running = true});
        r.readLogger();
        const std::int64_t recordsBefore = r.emulator.logger().recorder().records();
        r.prompt.script({c.answer});
        EXPECT_EQ(send(r, {}, entry(60)), c.outcome);
        EXPECT_EQ(r.frames(), c.frames);
        ASSERT_EQ(r.prompt.records().size(), 1u);
        EXPECT_EQ(r.prompt.records()[0].text, question);
        EXPECT_EQ(r.prompt.records()[0].symbol, PromptSymbol::Confirmation);
        EXPECT_EQ(r.prompt.records()[0].buttons, PromptButtons::YesNo);
        EXPECT_EQ(r.emulator.logger().runState(), mem::kRunRecording);
        if (c.answer == PromptAnswer::No) {
            EXPECT_GE(r.emulator.logger().recorder().records(), recordsBefore) << "still the old recording";
            EXPECT_EQ(r.emulator.logger().recorder().setup().intervalUs, 300 * sim::kUsPerSecond);
        } else {
            EXPECT_EQ(r.emulator.logger().recorder().setup().intervalUs, 60 * sim::kUsPerSecond);
        }
    }
}

TEST(ConfigureJob, AStepThatFailsEndsTheSequenceWithOneMessage)
{
    ConfigRig r;
    r.readLogger();
    sim::Fault silent;
    silent.kind = sim::FaultKind::Silence;
    silent.frame = 3; // E A H40 [H128 ...]
    silent.frames = 0;
    r.emulator.addFault(silent);
    EXPECT_EQ(send(r, {}, entry(60)), ConfigureStatus::LinkFailed);
    EXPECT_EQ(r.prompt.texts(), QStringList{"Device Not Responding"});
    EXPECT_EQ(r.frames(), "E A H40");
    EXPECT_EQ(r.progress.positions, (std::vector<int>{0, 10, 40}));
    EXPECT_EQ(r.emulator.commands('C'), 0);
}

TEST(ConfigureJob, TheTransferTakesTheBytesAsTheyWereWhenItBegan)
{
    // The send runs on a worker while the dialog stays usable; an edit stored meanwhile must
    // not reach the logger half-way.
    ConfigRig r;
    r.readLogger();
    // After the reset, before the program block.
    r.progress.onPosition = [&](int position) {
        if (position == 10)
            storeConfiguration(r.view(), entry(120));
    };
    ASSERT_EQ(send(r, {}, entry(60)), ConfigureStatus::Sent);
    EXPECT_EQ(r.frames(), "E A H40 H128 D40 C") << "the program read back is the one written";
    EXPECT_EQ(ImageReader::header({r.memory(), mem::kHeaderSize}).interval(), 60);
}

TEST(ConfigureJob, TheClockRecordIsBuiltAfterTheQuestionRightBeforeItIsSent)
{
    // The user leaves the question about a recording logger open for ten minutes: the clock
    // the logger gets is the PC's when it is sent, not when Config was pressed.
    ConfigRig r({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 4, .running = true});
    r.readLogger();
    r.clock.setLocalNow(kPcTime);
    ASSERT_EQ(storeConfiguration(r.view(), entry(60)), IntervalCheck::Ok);
    auto q = r.make();
    const ConfigureResult asked = configureJob(*q, r.image, {}, {}, r.progress);
    ASSERT_EQ(asked.question, Question::RestartRecording);
    EXPECT_EQ(r.emulator.commands('C'), 0);
    r.clock.advance(10 * 60 * 1000);
    const ConfigureResult sent = configureJob(*q, r.image, {}, {.restart = Decision::Yes}, r.progress);
    ASSERT_EQ(sent.status, ConfigureStatus::Sent);
    const Bytes clock = r.lastData('C');
    ASSERT_EQ(clock.size(), mem::kClockRecordSize);
    EXPECT_EQ(clock[mem::kClockMinute], 0x17) << "14:17:09, not 14:07:09";
    EXPECT_EQ(clock[mem::kClockSecond], 0x09);
    EXPECT_EQ(clock[mem::kClockStart + 2], 0x17) << "an immediate start is the same moment";
    EXPECT_EQ(sent.start.now.Min, 17);
    EXPECT_TRUE(std::equal(clock.begin(), clock.end(), sent.image.begin() + mem::kClockInImage))
        << "the result holds the image as sent";

    // A delayed start that passes while the question is open sends nothing.
    ConfigRig late({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 4, .running = true});
    late.readLogger();
    late.clock.setLocalNow(kPcTime);
    ASSERT_EQ(storeConfiguration(late.view(), entry(60)), IntervalCheck::Ok);
    const StartRequest inFiveMinutes{true, {DelayedStart::Mode::Date, instant(2026, 3, 5, 14, 12, 9), 0}};
    auto lq = late.make();
    ASSERT_EQ(configureJob(*lq, late.image, inFiveMinutes, {}, late.progress).question,
              Question::RestartRecording);
    late.clock.advance(10 * 60 * 1000);
    const ConfigureResult elapsed =
        configureJob(*lq, late.image, inFiveMinutes, {.restart = Decision::Yes}, late.progress);
    EXPECT_EQ(elapsed.status, ConfigureStatus::StartElapsed);
    EXPECT_EQ(told(elapsed), QStringList{"The Start Date/Time Elapsed..."});
    EXPECT_EQ(late.frames(), "E") << "nothing sent, nothing asked";
}

TEST(ConfigureJob, VerifiedTheLoggerIsReadBack)
{
    struct Case {
        const char* name;
        bool dropClock; // the clock record does not take
        ConfigureStatus status;
        QStringList told;
    } cases[] = {
        {"held", false, ConfigureStatus::Sent, {}},
        {"not started",
         true,
         ConfigureStatus::NotHeld,
         {"The Quorvant does not hold the configuration sent"}},
    };
    for (const auto& c : cases) {
        ConfigRig r;
        r.readLogger();
        if (c.dropClock) {
            sim::Fault dropped;
            dropped.kind = sim::FaultKind::Ignored;
            dropped.frame = 5; // E A H40 H128 D40 [C]
            r.emulator.addFault(dropped);
        }
        r.clock.setLocalNow(kPcTime);
        ASSERT_EQ(storeConfiguration(r.view(), entry(60)), IntervalCheck::Ok);
        auto q = r.make();
        const ConfigureResult result = configureJob(*q, r.image, {}, {.verify = true}, r.progress);
        EXPECT_EQ(result.status, c.status) << c.name;
        EXPECT_EQ(told(result), c.told) << c.name;
        EXPECT_EQ(r.frames(), "E A H40 H128 D40 C D128 E") << c.name;
    }
}

TEST(ConfigureJob, TheDownloadAfterwardsFindsWhatWasSent)
{
    for (const StartCase& c : kStarts) {
        ConfigRig r;
        r.readLogger();
        // Inputs 1, 3 and 6 this time, the third renamed.
        std::array<InputSetting, 3> inputs{};
        const int which[] = {0, 2, 5};
        const ImageReader before = ImageReader::deviceImage(ConstByteView{r.image.data(), r.image.size()});
        for (int k = 0; k < 3; ++k) {
            InputSetting& s = inputs[std::size_t(k)];
            s.input = which[k];
            s.active = true;
            s.function = k == 2 ? QStringLiteral("Soil") : before.inputName(which[k]);
            s.unit = before.inputUnit(which[k]);
            s.scaleHigh = before.scaleHigh(which[k]);
            s.scaleLow = before.scaleLow(which[k]);
        }
        storeInputSettings(r.view(), inputs);
        for (int i : {1, 3}) { // the model's other recorded inputs are switched off
            InputSetting off;
            off.input = i;
            off.function = before.inputName(i);
            off.unit = before.inputUnit(i);
            off.scaleHigh = before.scaleHigh(i);
            off.scaleLow = before.scaleLow(i);
            storeInputSettings(r.view(), std::span<const InputSetting>(&off, 1));
        }
        ASSERT_EQ(send(r, c.start, entry(30)), ConfigureStatus::Sent) << c.name;

        r.clock.advance(45 * 60 * 1000); // the logger records on its own meanwhile
        auto q = r.make();
        const DownloadResult downloaded =
            downloadJob(*q, {}, DeviceCatalog(ProgramFolder(QStringLiteral(QUORZK_BINARY_DIR))), r.progress);
        ASSERT_EQ(downloaded.status, DownloadStatus::Read)
            << c.name << ' ' << told(downloaded).join("|").toStdString();
        const ImageReader got(ConstByteView{downloaded.image.data(), downloaded.image.size()});
        EXPECT_EQ(got.recordName(), kComment.leftJustified(50, QLatin1Char(' '))) << c.name;
        EXPECT_EQ(got.interval(), 30) << c.name;
        EXPECT_EQ(got.stopMode(), 0) << c.name;
        EXPECT_EQ(got.inputMask(), 0x25) << c.name;
        EXPECT_EQ(got.inputCount(), 3) << c.name;
        EXPECT_EQ(got.inputName(5), "Soil") << c.name;
        const double start = instant(c.startsAt.year, c.startsAt.month, c.startsAt.day, c.startsAt.hour,
                                     c.startsAt.minute, c.startsAt.second);
        EXPECT_EQ(got.recordDateTime(0), start) << c.name << ": the recording begins as it was asked";
        // One measurement every 30 s from the start to the download, 45 minutes after sending.
        const double downloadedAt = instant(2026, 3, 5, 14, 52, 9);
        const int expected = int((downloadedAt - start) * 86400 / 30 + 1e-6);
        EXPECT_NEAR(got.recordCount(), expected, 1) << c.name;
    }
}

} // namespace
} // namespace qz::test
