// Transactions: attempts, messages, and what reaches the logger.
#include "link/link_texts.h"
#include "link_rig.h"

#include <gtest/gtest.h>

#include <cstring>

namespace qz::test {
namespace {

const QString kNotResponding = "Device Not Responding";
const QString kUnableToOpen = "Unable to open com port";

TEST(Transactions, ReadsFillTheirBuffersFromTheRightAddresses)
{
    LinkRig r;
    for (int i = 0; i < 65536; ++i)
        r.logger.memory[i] = std::uint8_t(i * 7 + (i >> 8));
    auto q = r.make();
    struct Case {
        const char* name;
        std::function<bool(std::uint8_t*)> read;
        int address;
        int size;
    } cases[] = {
        {"ident", [&](std::uint8_t* b) { return q->ReadIdent(b); }, 0, 8},
        {"calibration", [&](std::uint8_t* b) { return q->ReadCalibration(b); }, 8, 32},
        {"program", [&](std::uint8_t* b) { return q->ReadProgram(b); }, 40, 88},
        {"input table", [&](std::uint8_t* b) { return q->ReadInputTable(b); }, 128, 256},
        {"block 0", [&](std::uint8_t* b) { return q->GetDataBloc(0, b); }, 384, 128},
        {"block 507", [&](std::uint8_t* b) { return q->GetDataBloc(507, b); }, 65280, 128},
        {"hex", [&](std::uint8_t* b) { return q->DataHex(1000, b); }, 1000, 128},
    };
    for (const auto& c : cases) {
        std::uint8_t buf[256] = {};
        ASSERT_TRUE(c.read(buf)) << c.name;
        EXPECT_EQ(std::memcmp(buf, r.logger.memory.data() + c.address, c.size), 0) << c.name;
    }
    EXPECT_TRUE(r.prompt.records().empty());
}

TEST(Transactions, ClockReadingsAndBattery)
{
    LinkRig r;
    for (int i = 0; i < 16; ++i)
        r.logger.clock[i] = std::uint8_t(0x10 + i);
    for (int i = 0; i < 9; ++i)
        r.logger.readings[i] = std::uint8_t(100 + i);
    auto q = r.make();
    std::uint8_t clock[16];
    ASSERT_TRUE(q->ReadClock(clock));
    EXPECT_EQ(clock[15], 0x1F);
    std::uint8_t readings[9];
    ASSERT_TRUE(q->ReadRealTimeAC(readings));
    EXPECT_EQ(readings[0], 100);
    ASSERT_TRUE(q->ReadRealTimeDC(readings));
    EXPECT_EQ(q->ReadBatteryCount(), 108);
    EXPECT_EQ(r.framesOf('F'), 1);
    EXPECT_EQ(r.framesOf('G'), 2);
}

TEST(Transactions, WritesPutTheirBytesIntoTheLoggerMemory)
{
    LinkRig r;
    auto q = r.make();
    std::uint8_t program[88], table[256], block[128], clock[16];
    for (int i = 0; i < 256; ++i) {
        table[i] = std::uint8_t(255 - i);
        if (i < 88) program[i] = std::uint8_t(i + 1);
        if (i < 128) block[i] = std::uint8_t(i ^ 0x33);
        if (i < 16) clock[i] = std::uint8_t(i * 2);
    }
    EXPECT_TRUE(q->WriteProgram(program));
    EXPECT_TRUE(q->WriteInputTable(table));
    EXPECT_TRUE(q->SetDataBloc(2, block));
    EXPECT_TRUE(q->WriteClock(clock));
    EXPECT_TRUE(q->ResetLogger());
    EXPECT_EQ(std::memcmp(r.logger.memory.data() + 40, program, 88), 0);
    EXPECT_EQ(std::memcmp(r.logger.memory.data() + 128, table, 256), 0);
    EXPECT_EQ(std::memcmp(r.logger.memory.data() + 384 + 256, block, 128), 0);
    EXPECT_EQ(std::memcmp(r.logger.clock.data(), clock, 16), 0);
    EXPECT_EQ(r.logger.resets, 1);
    EXPECT_EQ(r.logger.frames[1].size(), 263u);
}

TEST(Transactions, ASilentLoggerCostsFiveEchoLimitsAndOneMessage)
{
    LinkRig r;
    r.logger.silentFrames = 1000;
    auto q = r.make();
    std::uint8_t ident[8] = {9, 9, 9, 9, 9, 9, 9, 9};
    const std::int64_t start = r.clock.tickMs();
    EXPECT_FALSE(q->ReadIdent(ident));
    const std::int64_t took = r.clock.tickMs() - start;
    // 500 ms to settle the port at the first attempt, then about 300 ms per attempt.
    EXPECT_GE(took, 500 + 5 * 300);
    EXPECT_LE(took, 500 + 5 * 310);
    EXPECT_EQ(r.logger.framesBegun, 5);
    EXPECT_EQ(r.prompt.texts(), QStringList{kNotResponding});
    EXPECT_EQ(r.prompt.records()[0].symbol, PromptSymbol::Warning);
    EXPECT_TRUE(q->NotResponding());
    EXPECT_EQ(ident[0], 9); // the caller's buffer is left as it was
}

TEST(Transactions, PingAndRunStateFailSilently)
{
    LinkRig r;
    r.logger.silentFrames = 1000;
    auto q = r.make();
    EXPECT_FALSE(q->Ping());
    EXPECT_EQ(r.logger.framesBegun, 5);
    EXPECT_EQ(q->ReadRunState(), 2);
    EXPECT_TRUE(r.prompt.records().empty());
    std::uint8_t out[128];
    EXPECT_FALSE(q->DataHex(0, out));
    EXPECT_TRUE(r.prompt.records().empty());
}

TEST(Transactions, APortThatDoesNotOpenIsReportedAtEveryAttempt)
{
    LinkRig r;
    r.logger.refuseOpen = true;
    auto q = r.make();
    std::uint8_t program[88];
    EXPECT_FALSE(q->ReadProgram(program));
    QStringList expected(5, kUnableToOpen);
    expected << kNotResponding;
    EXPECT_EQ(r.prompt.texts(), expected);
    EXPECT_EQ(r.prompt.records()[0].symbol, PromptSymbol::Error);
    EXPECT_EQ(r.logger.opens, 5);
    EXPECT_EQ(r.clock.tickMs(), 5 * 500);
}

TEST(Transactions, AWrongEchoInAWriteFailsFiveTimesEachAfterAPause)
{
    LinkRig r;
    auto q = r.make();
    ASSERT_TRUE(q->Ping());
    r.logger.wrongEchoIndex = 20;
    r.logger.wrongEchoFrames = 5;
    std::uint8_t program[88] = {};
    const std::int64_t start = r.clock.tickMs();
    EXPECT_FALSE(q->WriteProgram(program));
    EXPECT_GE(r.clock.tickMs() - start, 5 * 1000);
    EXPECT_LT(r.clock.tickMs() - start, 5 * 1000 + 100);
    EXPECT_EQ(r.logger.framesBegun, 6);
    EXPECT_EQ(r.framesOf('H'), 0);
    EXPECT_EQ(r.prompt.texts(), QStringList{kNotResponding});
}

TEST(Transactions, ABadChecksumIsRetried)
{
    LinkRig r;
    r.logger.memory[2] = 'Q';
    r.logger.badChecksumReplies = 4;
    auto q = r.make();
    std::uint8_t ident[8] = {};
    EXPECT_TRUE(q->ReadIdent(ident));
    EXPECT_EQ(ident[2], 'Q');
    EXPECT_EQ(r.framesOf('D'), 5);
    EXPECT_TRUE(r.prompt.records().empty());
}

TEST(Transactions, WriteClockAndResetTryOnce)
{
    LinkRig r;
    auto q = r.make();
    r.logger.silentFrames = 2;
    std::uint8_t clock[16] = {};
    EXPECT_FALSE(q->WriteClock(clock));
    EXPECT_EQ(r.prompt.texts(), QStringList{kNotResponding});
    EXPECT_FALSE(q->ResetLogger());
    EXPECT_EQ(r.prompt.texts().size(), 1); // the reset fails silently
    EXPECT_EQ(r.logger.framesBegun, 2);
}

TEST(StopLogger, RewritesTheClockStopped)
{
    LinkRig r;
    const std::uint8_t running[16] = {7, 0x42, 0x09, 0x07, 0x14, 0x45, 0x03, 0x99,
                                      0xC2, 0, 0, 0, 0, 0, 0, 0x55};
    std::copy(std::begin(running), std::end(running), r.logger.clock.begin());
    auto q = r.make();
    EXPECT_TRUE(q->StopLogger());
    const std::uint8_t stopped[16] = {4, 0x42, 0x09, 0x07, 0x14, 0x45, 0x03, 0,
                                      0, 0x42, 0x09, 0x07, 0x14, 0x45, 0x03, 1};
    EXPECT_EQ(std::memcmp(r.logger.clock.data(), stopped, 16), 0);
}

TEST(StopLogger, NeverSendsAClockItCouldNotRead)
{
    LinkRig r;
    r.logger.silentReplies = 5; // the clock read is echoed but never answered
    auto q = r.make();
    EXPECT_FALSE(q->StopLogger());
    EXPECT_EQ(r.framesOf('C'), 0);
    EXPECT_EQ(r.prompt.texts(), QStringList{kNotResponding});
}

TEST(RunState, FromTheClockRecord)
{
    struct Case {
        std::uint8_t runState;
        int expected;
        bool recording;
    } cases[] = {{0x00, 0, false}, {0xC2, 1, true}, {0xB0, 1, false}};
    for (const auto& c : cases) {
        LinkRig r;
        r.logger.clock[8] = c.runState;
        auto q = r.make();
        EXPECT_EQ(q->ReadRunState(), c.expected) << int(c.runState);
        EXPECT_EQ(q->IsRecording(), c.recording) << int(c.runState);
    }
}

TEST(VerifyProgram, AProgramAlreadyHeldNeedsOneRead)
{
    LinkRig r;
    std::uint8_t program[88];
    for (int i = 0; i < 88; ++i)
        r.logger.memory[40 + i] = program[i] = std::uint8_t(i + 5);
    auto q = r.make();
    EXPECT_TRUE(q->VerifyProgram(program));
    EXPECT_EQ(r.logger.frames.size(), 1u);
    EXPECT_EQ(r.framesOf('H'), 0);
}

TEST(VerifyProgram, ADifferentProgramIsStoppedAndRewritten)
{
    LinkRig r;
    r.logger.clock[8] = 0xC2;
    std::uint8_t program[88];
    for (int i = 0; i < 88; ++i)
        program[i] = std::uint8_t(i + 5);
    auto q = r.make();
    EXPECT_TRUE(q->VerifyProgram(program));
    EXPECT_EQ(r.framesOf('H'), 1);
    EXPECT_EQ(r.framesOf('C'), 1);
    EXPECT_EQ(r.logger.clock[8], 0); // stopped on the way
    EXPECT_EQ(std::memcmp(r.logger.memory.data() + 40, program, 88), 0);
}

TEST(VerifyProgram, ALoggerThatNeverTakesTheProgramFailsAfterThreeWrites)
{
    LinkRig r;
    std::uint8_t program[88];
    std::fill(program, program + 88, 0x5A);
    auto q = r.make();
    // Every write frame is cut short by a wrong echo in its data.
    r.logger.wrongEchoIndex = 50;
    r.logger.wrongEchoFrames = 1000;
    EXPECT_FALSE(q->VerifyProgram(program));
    EXPECT_EQ(r.framesOf('H'), 0);
    EXPECT_EQ(r.prompt.texts(), QStringList{kNotResponding}); // the first failed write
}

TEST(CheckData, PlausibleHeaders)
{
    struct Case {
        std::uint8_t header[7];
        bool plausible;
    } cases[] = {
        {{120, 0x26, 0x03, 0x05, 0x14, 0x07, 0x09}, true},
        {{121, 0x26, 0x03, 0x05, 0x14, 0x07, 0x09}, false},
        {{0, 0x99, 0x12, 0x31, 0x23, 0x59, 0x59}, true},
        {{0, 0x26, 0x00, 0x05, 0x14, 0x07, 0x09}, false},
        {{0, 0x26, 0x13, 0x05, 0x14, 0x07, 0x09}, false},
        {{0, 0x26, 0x03, 0x00, 0x14, 0x07, 0x09}, false},
        {{0, 0x26, 0x03, 0x32, 0x14, 0x07, 0x09}, false},
        {{0, 0x26, 0x03, 0x05, 0x24, 0x07, 0x09}, false},
        {{0, 0x26, 0x03, 0x05, 0x14, 0x60, 0x09}, false},
        {{0, 0x26, 0x03, 0x05, 0x14, 0x07, 0x60}, false},
        {{0, 0xA0, 0x03, 0x05, 0x14, 0x07, 0x09}, false},
        {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, false},
    };
    for (const auto& c : cases) {
        std::uint8_t block[128] = {};
        std::copy(std::begin(c.header), std::end(c.header), block);
        EXPECT_EQ(LoggerProtocol::CheckData(block), c.plausible)
            << int(c.header[0]) << " " << int(c.header[2]) << " " << int(c.header[3]);
    }
}

TEST(ConfirmConnect, AsksWithYesAndNo)
{
    LinkRig r;
    auto q = r.make();
    r.prompt.script({PromptAnswer::Yes});
    EXPECT_TRUE(q->ConfirmConnect());
    EXPECT_FALSE(q->ConfirmConnect());
    ASSERT_EQ(r.prompt.records().size(), 2u);
    EXPECT_EQ(r.prompt.records()[0].text, "Please Connect The Quorvant");
    EXPECT_EQ(r.prompt.records()[0].symbol, PromptSymbol::Warning);
    EXPECT_EQ(r.prompt.records()[0].buttons, PromptButtons::YesNo);
}

} // namespace
} // namespace qz::test
