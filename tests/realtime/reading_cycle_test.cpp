// One readings cycle against the emulated logger: the ping, the question to connect it,
// the plain or diagnostic reading, and what the user is told.
#include "link/link_report.h"
#include "readings_rig.h"
#include "realtime/reading_cycle.h"

#include <gtest/gtest.h>

namespace qz {

void PrintTo(CycleOutcome o, std::ostream* os)
{
    switch (o) {
    case CycleOutcome::Read:
        *os << "read";
        return;
    case CycleOutcome::ReadFailed:
        *os << "read failed";
        return;
    case CycleOutcome::Declined:
        *os << "declined";
        return;
    }
}

namespace test {
namespace {

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
    CycleOutcome outcome;
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

    Reading reading;
    reading.counts.fill(0xAA);
    auto logger = rig.open();
    LinkReport report(*logger, rig.prompt);
    EXPECT_EQ(readingCycle(*logger, report, c.diagnostic, reading), c.outcome);

    EXPECT_EQ(rig.prompt.texts(), c.told);
    if (!c.told.isEmpty()) {
        EXPECT_EQ(rig.prompt.records()[0].symbol, PromptSymbol::Warning);
    }
    EXPECT_EQ(rig.frames('F'), c.plainReads);
    EXPECT_EQ(rig.frames('G'), c.diagnosticReads);
    if (c.outcome == CycleOutcome::Read) {
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(reading.input(i), 20 + 10 * i) << "input " << i + 1;
        EXPECT_EQ(reading.batteryCount(), 169);
        EXPECT_EQ(reading.battery, c.battery);
    } else {
        EXPECT_EQ(reading.input(0), 0xAA) << "a failed cycle leaves the reading as it was";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Loggers, ReadingCycleTest,
    ::testing::Values(
        CycleCase{
            "PlainReading", Logger::Answering, false, PromptAnswer::No, CycleOutcome::Read, {}, 1, 0, false},
        CycleCase{"DiagnosticReading",
                  Logger::Answering,
                  true,
                  PromptAnswer::No,
                  CycleOutcome::Read,
                  {},
                  0,
                  1,
                  true},
        CycleCase{"NoAnswerAndNo",
                  Logger::Silent,
                  false,
                  PromptAnswer::No,
                  CycleOutcome::Declined,
                  {kConnect},
                  0,
                  0,
                  false},
        CycleCase{"NoAnswerYesStillSilent",
                  Logger::Silent,
                  false,
                  PromptAnswer::Yes,
                  CycleOutcome::ReadFailed,
                  {kConnect, kNotResponding},
                  0,
                  0,
                  false},
        // After Yes the plain reading is taken, also in the diagnostic display.
        CycleCase{"ConnectedAfterTheQuestion",
                  Logger::BackAfterQuestion,
                  true,
                  PromptAnswer::Yes,
                  CycleOutcome::Read,
                  {kConnect},
                  1,
                  0,
                  false},
        CycleCase{"ReadingFailsAfterThePing",
                  Logger::SilentAfterPing,
                  false,
                  PromptAnswer::No,
                  CycleOutcome::ReadFailed,
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
    LinkReport report(*logger, rig.prompt);
    Reading reading;
    ASSERT_TRUE(readOnce(*logger, report, false, reading));
    EXPECT_EQ(reading.input(3), 77);
    EXPECT_EQ(rig.frames('E'), 0);

    rig.emulator.setSilent(true);
    EXPECT_FALSE(readOnce(*logger, report, true, reading));
    EXPECT_EQ(rig.prompt.texts(), QStringList{kNotResponding});
    EXPECT_EQ(reading.input(3), 77);
}

} // namespace
} // namespace test
} // namespace qz
