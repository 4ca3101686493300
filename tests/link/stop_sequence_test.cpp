// The Stop command against the emulated logger: a recording, a waiting and a stopped
// logger, a refusal, and a logger that does not answer.
#include "emulator_rig.h"
#include "link/stop_sequence.h"
#include "sim/logger_time.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace qz {

inline void PrintTo(StopOutcome o, std::ostream* os)
{
    switch (o) {
    case StopOutcome::Stopped:
        *os << "stopped";
        return;
    case StopOutcome::AlreadyStopped:
        *os << "already stopped";
        return;
    case StopOutcome::NotConfirmed:
        *os << "not confirmed";
        return;
    case StopOutcome::NotConnected:
        *os << "not connected";
        return;
    case StopOutcome::Failed:
        *os << "failed";
        return;
    }
}

namespace test {
namespace {

const QString kConfirm = "Quorvant running\rConfirming stop ?";
const QString kStopped = "Quorvant Already stopped";
const QString kConnect = "Please Connect The Quorvant";

TEST(StopCommand, AskingFirstThenStoppingOnlyOnYes)
{
    struct Case {
        const char* name;
        bool waiting; // a delayed start is pending, otherwise recording
        PromptAnswer answer;
        StopOutcome outcome;
        std::uint8_t runStateAfter;
    } cases[] = {
        {"recording, yes", false, PromptAnswer::Yes, StopOutcome::Stopped, mem::kRunStopped},
        {"recording, no", false, PromptAnswer::No, StopOutcome::NotConfirmed, mem::kRunRecording},
        {"waiting, yes", true, PromptAnswer::Yes, StopOutcome::Stopped, mem::kRunStopped},
        {"waiting, no", true, PromptAnswer::No, StopOutcome::NotConfirmed, mem::kRunWaiting},
    };
    for (const auto& c : cases) {
        EmulatorRig r(
            {.deviceCode = 101, .content = sim::Content::Linear, .blocks = 4, .running = !c.waiting});
        sim::Logger& logger = r.emulator.logger();
        if (c.waiting)
            logger.startAt({2026, 3, 1, 12, 0, 0, 0}); // a day after the logger's clock
        const std::int64_t records = logger.recorder().records();
        r.prompt.script({c.answer});
        auto q = r.make();
        EXPECT_EQ(runStop(*q, r.prompt), c.outcome) << c.name;
        ASSERT_EQ(r.prompt.records().size(), 1u) << c.name;
        EXPECT_EQ(r.prompt.records()[0].text, kConfirm) << c.name;
        EXPECT_EQ(r.prompt.records()[0].symbol, PromptSymbol::Confirmation) << c.name;
        EXPECT_EQ(logger.runState(), c.runStateAfter) << c.name;
        EXPECT_EQ(r.emulator.commands('C'), c.answer == PromptAnswer::Yes ? 1 : 0) << c.name;
        if (c.waiting && c.answer == PromptAnswer::Yes) {
            EXPECT_EQ(logger.startAlarmUs(), -1) << "the pending start is cleared";
        }
        // The memory keeps the recording either way.
        EXPECT_EQ(logger.recorder().records(), records) << c.name;
    }
}

TEST(StopCommand, AStoppedLoggerIsToldAndGetsNothing)
{
    EmulatorRig r({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 4});
    auto q = r.make();
    EXPECT_EQ(runStop(*q, r.prompt), StopOutcome::AlreadyStopped);
    EXPECT_EQ(r.prompt.texts(), QStringList{kStopped});
    EXPECT_EQ(r.prompt.records()[0].symbol, PromptSymbol::Warning);
    EXPECT_EQ(r.emulator.commands('C'), 0);
    EXPECT_EQ(r.emulator.commands('A'), 0);
}

// A prompt that runs an action before answering each question.
class ActingPrompt final : public Prompt {
public:
    std::function<PromptAnswer(const QString&)> answer;
    QStringList texts;
    PromptAnswer ask(const QString& text, PromptSymbol, PromptButtons) override
    {
        texts << text;
        return answer(text);
    }
};

TEST(StopCommand, AskedToConnectUntilTheLoggerAnswers)
{
    EmulatorRig r({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 4, .running = true});
    r.emulator.setSilent(true);
    ActingPrompt prompt;
    int asked = 0;
    prompt.answer = [&](const QString& text) {
        if (text == kConnect && ++asked == 3)
            r.emulator.setSilent(false); // plugged in at the third question
        return PromptAnswer::Yes;
    };
    auto q = r.make();
    EXPECT_EQ(runStop(*q, prompt), StopOutcome::Stopped);
    EXPECT_EQ(prompt.texts, (QStringList{kConnect, kConnect, kConnect, kConfirm}));
    EXPECT_EQ(r.emulator.logger().runState(), mem::kRunStopped);
}

TEST(StopCommand, NoToTheConnectQuestionEndsSilently)
{
    struct Case {
        int questions; // the limit given
        int yesAnswers;
        int asked;
    } cases[] = {{-1, 0, 1}, {-1, 4, 5}, {1, 5, 1}, {3, 5, 3}};
    for (const auto& c : cases) {
        EmulatorRig r;
        r.emulator.setSilent(true);
        ActingPrompt prompt;
        int yes = 0;
        prompt.answer = [&](const QString&) {
            return yes++ < c.yesAnswers ? PromptAnswer::Yes : PromptAnswer::No;
        };
        auto q = r.make();
        EXPECT_EQ(runStop(*q, prompt, c.questions), StopOutcome::NotConnected) << c.questions;
        EXPECT_EQ(prompt.texts, QStringList(c.asked, kConnect)) << c.questions << " " << c.yesAnswers;
    }
}

TEST(StopCommand, AClockReadThatFailsAfterThePingIsToldOnce)
{
    EmulatorRig r({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 4, .running = true});
    sim::Fault f;
    f.kind = sim::FaultKind::Silence;
    f.frame = 1; // the ping answers, every later frame does not
    f.frames = 0;
    r.emulator.addFault(f);
    auto q = r.make();
    EXPECT_EQ(runStop(*q, r.prompt), StopOutcome::Failed);
    EXPECT_EQ(r.prompt.texts(), QStringList{"Device Not Responding"});
    EXPECT_EQ(r.emulator.logger().runState(), mem::kRunRecording);
}

} // namespace
} // namespace test
} // namespace qz
