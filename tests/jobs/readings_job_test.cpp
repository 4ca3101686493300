// One readings cycle against the emulated logger: the ping, the question to connect it,
// the plain or diagnostic reading, and what the user is told.
#include "jobs/readings_job.h"
#include "link/device_line.h"
#include "print_jobs.h"
#include "realtime/readings_rig.h"
#include "support/link_teller.h"

#include <gtest/gtest.h>

namespace qz::test {
namespace {

// One cycle as the readings window runs it: the job, its messages and its question through
// the prompt; Yes takes the reading without a second ping.
ReadingResult cycle(ReadingsRig& rig, LoggerProtocol& logger, bool diagnostic)
{
    ReadingResult r = readingJob(logger, ConnectPolicy::Ask, diagnostic);
    rig.prompt.tell(messagesOf(r));
    if (const std::optional<Message> question = questionOf(r); question && rig.prompt.confirm(*question)) {
        r = readingJob(logger, ConnectPolicy::GoOn, diagnostic);
        rig.prompt.tell(messagesOf(r));
    }
    return r;
}

enum class Logger {
    Answering,
    Silent,
    BackAfterQuestion,
    SilentAfterPing
};

struct CycleCase {
    const char* what;
    Logger logger;
    bool diagnostic;
    PromptAnswer answer; // to the question to connect, if it comes
    ReadingStatus outcome;
    QStringList told;
    std::int64_t plainReads, diagnosticReads;
    bool battery; // the reading carries the battery count
};

void PrintTo(const CycleCase& c, std::ostream* os)
{
    *os << c.what;
}

class ReadingCycleTest : public ::testing::TestWithParam<CycleCase> {};

const QString kConnect = QStringLiteral("Please Connect The Quorvant");
const QString kNotResponding = QStringLiteral("Device Not Responding");

TEST_P(ReadingCycleTest, ReadsOrAsksAndTells)
{
    const CycleCase& c = GetParam();
    ReadingsRig rig;
    rig.holdAll(20);
    rig.battery(169);
    switch (c.logger) {
    case Logger::Answering:
        break;
    case Logger::Silent:
        rig.emulator.setSilent(true);
        break;
    case Logger::BackAfterQuestion:
        rig.silence(0, LoggerProtocol::kAttempts);
        break;
    case Logger::SilentAfterPing:
        rig.silence(1, 0);
        break;
    }
    rig.prompt.script({c.answer});

    auto logger = rig.open();
    const ReadingResult result = cycle(rig, *logger, c.diagnostic);
    EXPECT_EQ(result.status, c.outcome);
    const Reading& reading = result.reading;

    EXPECT_EQ(rig.prompt.texts(), c.told);
    if (!c.told.isEmpty()) {
        EXPECT_EQ(rig.prompt.records()[0].symbol, PromptSymbol::Warning);
    }
    EXPECT_EQ(rig.frames('F'), c.plainReads);
    EXPECT_EQ(rig.frames('G'), c.diagnosticReads);
    if (c.outcome == ReadingStatus::Read) {
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(reading.input(i), 20 + 10 * i) << "input " << i + 1;
        EXPECT_EQ(reading.batteryCount(), 169);
        EXPECT_EQ(reading.battery, c.battery);
    } else {
        EXPECT_EQ(reading.input(0), 0) << "a failed cycle brings no reading";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Loggers, ReadingCycleTest,
    ::testing::Values(
        CycleCase{
            "PlainReading", Logger::Answering, false, PromptAnswer::No, ReadingStatus::Read, {}, 1, 0, false},
        CycleCase{"DiagnosticReading",
                  Logger::Answering,
                  true,
                  PromptAnswer::No,
                  ReadingStatus::Read,
                  {},
                  0,
                  1,
                  true},
        CycleCase{"NoAnswerAndNo",
                  Logger::Silent,
                  false,
                  PromptAnswer::No,
                  ReadingStatus::NotConnected,
                  {kConnect},
                  0,
                  0,
                  false},
        CycleCase{"NoAnswerYesStillSilent",
                  Logger::Silent,
                  false,
                  PromptAnswer::Yes,
                  ReadingStatus::LinkFailed,
                  {kConnect, kNotResponding},
                  0,
                  0,
                  false},
        // After Yes the plain reading is taken, also in the diagnostic display.
        CycleCase{"ConnectedAfterTheQuestion",
                  Logger::BackAfterQuestion,
                  true,
                  PromptAnswer::Yes,
                  ReadingStatus::Read,
                  {kConnect},
                  1,
                  0,
                  false},
        CycleCase{"ReadingFailsAfterThePing",
                  Logger::SilentAfterPing,
                  false,
                  PromptAnswer::No,
                  ReadingStatus::LinkFailed,
                  {kNotResponding},
                  0,
                  0,
                  false}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(ReadOnce, TakesNoPingAndTellsAFailureOnce)
{
    ReadingsRig rig;
    rig.hold(3, 77);
    auto logger = rig.open();
    LinkTeller report(*logger, rig.prompt);
    Reading reading;
    ASSERT_TRUE(report.ok(readOnce(*logger, false, reading)));
    EXPECT_EQ(reading.input(3), 77);
    EXPECT_EQ(rig.frames('E'), 0);

    rig.emulator.setSilent(true);
    EXPECT_FALSE(report.ok(readOnce(*logger, true, reading)));
    EXPECT_EQ(rig.prompt.texts(), QStringList{kNotResponding});
    EXPECT_EQ(reading.input(3), 77);
}

TEST(ReadingJob, APortThatDoesNotOpenIsToldOnceAndAsksNothing)
{
    VirtualClock clock;
    LoggerProtocol logger(LinkSettings{"/dev/null", false}, std::make_unique<DeviceLine>(), clock);
    const ReadingResult r = readingJob(logger, ConnectPolicy::Ask, false);
    EXPECT_EQ(r.status, ReadingStatus::LinkFailed);
    EXPECT_EQ(r.link.status, LinkStatus::CannotOpen);
    EXPECT_EQ(told(r), QStringList{"Unable to open com port /dev/null: Not a serial port"});
}

} // namespace
} // namespace qz::test
