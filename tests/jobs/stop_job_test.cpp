// The stop job against the emulated logger: a recording, a waiting and a stopped logger, a
// refusal, a logger that does not answer, and the stop read back.
#include "job_rig.h"
#include "jobs/stop_job.h"
#include "sim/logger_time.h"

#include <gtest/gtest.h>

#include <functional>

namespace qz::test {
namespace {

const QString kConfirm = "Quorvant running\rConfirming stop ?";
const QString kStopped = "Quorvant Already stopped";
const QString kConnect = "Please Connect The Quorvant";

// The Stop command as the window runs it: messages and questions through the prompt; Yes to
// the question to connect pings again (at most connectQuestions times; negative: until No),
// Yes to the stop runs it again with the stop confirmed.
StopResult stop(JobRig& r, Prompt& prompt, int connectQuestions = -1)
{
    auto q = r.make();
    StopPolicy policy;
    int asked = 0;
    for (;;) {
        const StopResult result = stopJob(*q, policy);
        prompt.tell(messagesOf(result));
        const std::optional<Message> question = questionOf(result);
        if (!question || (result.question == Question::Connect && asked++ == connectQuestions)
            || !prompt.confirm(*question))
            return result;
        if (result.question == Question::ConfirmStop)
            policy.stop = Decision::Yes;
    }
}

TEST(StopJob, AskingFirstThenStoppingOnlyOnYes)
{
    struct Case {
        const char* name;
        bool waiting; // a delayed start is pending, otherwise recording
        PromptAnswer answer;
        StopStatus status;
        std::uint8_t runStateAfter;
    } cases[] = {
        {"recording, yes", false, PromptAnswer::Yes, StopStatus::Stopped, mem::kRunStopped},
        {"recording, no", false, PromptAnswer::No, StopStatus::NotConfirmed, mem::kRunRecording},
        {"waiting, yes", true, PromptAnswer::Yes, StopStatus::Stopped, mem::kRunStopped},
        {"waiting, no", true, PromptAnswer::No, StopStatus::NotConfirmed, mem::kRunWaiting},
    };
    for (const auto& c : cases) {
        JobRig r({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 4, .running = !c.waiting});
        sim::Logger& logger = r.emulator.logger();
        if (c.waiting)
            logger.startAt({2026, 3, 1, 12, 0, 0, 0}); // a day after the logger's clock
        const std::int64_t records = logger.recorder().records();
        r.prompt.script({c.answer});
        EXPECT_EQ(stop(r, r.prompt).status, c.status) << c.name;
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

TEST(StopJob, AStoppedLoggerIsToldAndGetsNothing)
{
    JobRig r({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 4});
    EXPECT_EQ(stop(r, r.prompt).status, StopStatus::AlreadyStopped);
    EXPECT_EQ(r.prompt.texts(), QStringList{kStopped});
    EXPECT_EQ(r.prompt.records()[0].symbol, PromptSymbol::Warning);
    EXPECT_EQ(r.emulator.commands('C'), 0);
    EXPECT_EQ(r.emulator.commands('A'), 0);
}

TEST(StopJob, NothingIsSentBeforeTheStopIsConfirmed)
{
    JobRig r({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 4, .running = true});
    auto q = r.make();
    const StopResult asked = stopJob(*q, {});
    EXPECT_EQ(asked.status, StopStatus::NotConfirmed);
    EXPECT_EQ(asked.question, Question::ConfirmStop);
    EXPECT_EQ(asked.clock.runState(), mem::kRunRecording) << "the run state read is kept";
    EXPECT_EQ(r.emulator.commands('C'), 0);
    EXPECT_EQ(stopJob(*q, {.stop = Decision::No}).question, Question::None);
    EXPECT_EQ(r.emulator.commands('C'), 0);
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

TEST(StopJob, AskedToConnectUntilTheLoggerAnswers)
{
    JobRig r({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 4, .running = true});
    r.emulator.setSilent(true);
    ActingPrompt prompt;
    int asked = 0;
    prompt.answer = [&](const QString& text) {
        if (text == kConnect && ++asked == 3)
            r.emulator.setSilent(false); // plugged in at the third question
        return PromptAnswer::Yes;
    };
    EXPECT_EQ(stop(r, prompt).status, StopStatus::Stopped);
    EXPECT_EQ(prompt.texts, (QStringList{kConnect, kConnect, kConnect, kConfirm}));
    EXPECT_EQ(r.emulator.logger().runState(), mem::kRunStopped);
}

TEST(StopJob, NoToTheConnectQuestionEndsSilently)
{
    struct Case {
        int questions; // the limit given
        int yesAnswers;
        int asked;
    } cases[] = {{-1, 0, 1}, {-1, 4, 5}, {1, 5, 1}, {3, 5, 3}};
    for (const auto& c : cases) {
        JobRig r;
        r.emulator.setSilent(true);
        ActingPrompt prompt;
        int yes = 0;
        prompt.answer = [&](const QString&) {
            return yes++ < c.yesAnswers ? PromptAnswer::Yes : PromptAnswer::No;
        };
        EXPECT_EQ(stop(r, prompt, c.questions).status, StopStatus::NotConnected) << c.questions;
        EXPECT_EQ(prompt.texts, QStringList(c.asked, kConnect)) << c.questions << " " << c.yesAnswers;
    }
}

TEST(StopJob, AClockReadThatFailsAfterThePingIsToldOnce)
{
    JobRig r({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 4, .running = true});
    sim::Fault f;
    f.kind = sim::FaultKind::Silence;
    f.frame = 1; // the ping answers, every later frame does not
    f.frames = 0;
    r.emulator.addFault(f);
    EXPECT_EQ(stop(r, r.prompt).status, StopStatus::LinkFailed);
    EXPECT_EQ(r.prompt.texts(), QStringList{"Device Not Responding"});
    EXPECT_EQ(r.emulator.logger().runState(), mem::kRunRecording);
}

TEST(StopJob, VerifiedTheRunStateIsReadBack)
{
    struct Case {
        const char* name;
        bool dropStop; // the stop's clock record does not take
        StopStatus status;
        QStringList told;
    } cases[] = {
        {"stopped", false, StopStatus::Stopped, {}},
        {"still running",
         true,
         StopStatus::StillRunning,
         {"The Quorvant did not stop\rIt still reports a recording"}},
    };
    for (const auto& c : cases) {
        JobRig r({.deviceCode = 101, .content = sim::Content::Linear, .blocks = 4, .running = true});
        if (c.dropStop) {
            sim::Fault dropped;
            dropped.kind = sim::FaultKind::Ignored;
            dropped.frame = 3; // ping, run state, the stop's clock read, [its clock record]
            r.emulator.addFault(dropped);
        }
        auto q = r.make();
        const StopResult result = stopJob(*q, {.stop = Decision::Yes, .verify = true});
        EXPECT_EQ(result.status, c.status) << c.name;
        EXPECT_EQ(told(result), c.told) << c.name;
        EXPECT_EQ(r.emulator.commands('E'), 4) << c.name;
    }
}

} // namespace
} // namespace qz::test
