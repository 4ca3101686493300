// Transactions: attempts, statuses, what the user is told through the report, and what
// reaches the logger.
#include "emulator_rig.h"
#include "link/link_texts.h"
#include "link_rig.h"
#include "model/block_check.h"
#include "model/memory_image.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace qz::test {
namespace {

const QString kNotResponding = "Device Not Responding";
const QString kUnableToOpen = "Unable to open com port fake";

TEST(Transactions, ReadsFillTheirBuffersFromTheRightAddresses)
{
    LinkRig r;
    for (int i = 0; i < 65536; ++i)
        r.logger.memory[i] = std::uint8_t(i * 7 + (i >> 8));
    auto q = r.make();
    struct Case {
        const char* name;
        std::function<LinkStatus(std::uint8_t*)> read;
        int address; // where the logger keeps the bytes
        int size;
    } cases[] = {
        {"ident", [&](std::uint8_t* b) { return q->readIdent(b); }, 0, 8},
        {"calibration", [&](std::uint8_t* b) { return q->readCalibration(b); }, 8, 32},
        {"program", [&](std::uint8_t* b) { return q->readProgram(b); }, 40, 88},
        {"input table", [&](std::uint8_t* b) { return q->readInputTable(b); }, 128, 256},
        {"block 0", [&](std::uint8_t* b) { return q->readDataBlock(0, b); }, 384, 128},
        {"block 507", [&](std::uint8_t* b) { return q->readDataBlock(507, b); }, 65280, 128},
        {"any 128 bytes", [&](std::uint8_t* b) { return q->readMemory(1000, b); }, 1000, 128},
    };
    for (const auto& c : cases) {
        std::uint8_t buf[256] = {};
        ASSERT_EQ(c.read(buf), LinkStatus::Ok) << c.name;
        EXPECT_EQ(std::memcmp(buf, r.logger.memory.data() + c.address, c.size), 0) << c.name;
    }
}

TEST(Transactions, ClockReadingsAndBattery)
{
    LinkRig r;
    for (int i = 0; i < 16; ++i)
        r.logger.clock[i] = std::uint8_t(0x10 + i);
    for (int i = 0; i < 9; ++i)
        r.logger.readings[i] = std::uint8_t(100 + i);
    auto q = r.make();
    std::uint8_t clock[mem::kClockRecordSize];
    ASSERT_EQ(q->readClock(clock), LinkStatus::Ok);
    EXPECT_EQ(clock[mem::kClockLast], 0x1F);
    std::uint8_t readings[9];
    ASSERT_EQ(q->readReadingsAC(readings), LinkStatus::Ok);
    EXPECT_EQ(readings[0], 100);
    ASSERT_EQ(q->readReadingsDC(readings), LinkStatus::Ok);
    std::uint8_t battery = 0;
    ASSERT_EQ(q->readBattery(battery), LinkStatus::Ok);
    EXPECT_EQ(battery, 108);
    EXPECT_EQ(r.framesOf('F'), 1);
    EXPECT_EQ(r.framesOf('G'), 2);
}

TEST(Transactions, WritesPutTheirBytesIntoTheLoggerMemory)
{
    LinkRig r;
    auto q = r.make();
    std::uint8_t program[mem::kProgramSize], table[mem::kInputTableSize], block[mem::kBlockSize],
        clock[mem::kClockRecordSize];
    for (int i = 0; i < 256; ++i) {
        table[i] = std::uint8_t(255 - i);
        if (i < 88)
            program[i] = std::uint8_t(i + 1);
        if (i < 128)
            block[i] = std::uint8_t(i ^ 0x33);
        if (i < 16)
            clock[i] = std::uint8_t(i * 2);
    }
    EXPECT_EQ(q->writeProgram(program), LinkStatus::Ok);
    EXPECT_EQ(q->writeInputTable(table), LinkStatus::Ok);
    EXPECT_EQ(q->writeDataBlock(2, block), LinkStatus::Ok);
    EXPECT_EQ(q->writeClock(clock), LinkStatus::Ok);
    EXPECT_EQ(q->resetLogger(), LinkStatus::Ok);
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
    auto s = r.open();
    std::uint8_t ident[8] = {9, 9, 9, 9, 9, 9, 9, 9};
    const std::int64_t start = r.clock.tickMs();
    const LinkStatus status = s->readIdent(ident);
    EXPECT_EQ(status, LinkStatus::NoEcho);
    const std::int64_t took = r.clock.tickMs() - start;
    // 500 ms to settle the port at the first attempt, then about 300 ms per attempt.
    EXPECT_GE(took, 500 + 5 * 300);
    EXPECT_LE(took, 500 + 5 * 310);
    EXPECT_EQ(r.logger.framesBegun, 5);
    EXPECT_TRUE(r.prompt.records().empty()) << "the transaction itself tells nothing";
    EXPECT_FALSE(s.report.ok(status));
    EXPECT_EQ(r.prompt.texts(), QStringList{kNotResponding});
    EXPECT_EQ(r.prompt.records()[0].symbol, PromptSymbol::Warning);
    EXPECT_EQ(ident[0], 9); // the caller's buffer is left as it was
}

TEST(Transactions, PingRunStateAndMemoryReadsFailWithoutAMessage)
{
    LinkRig r;
    r.logger.silentFrames = 1000;
    auto s = r.open();
    EXPECT_EQ(s->ping(), LinkStatus::NoEcho);
    EXPECT_EQ(r.logger.framesBegun, 5);
    RunState state = RunState::Stopped;
    EXPECT_EQ(s->readRunState(state), LinkStatus::NoEcho);
    EXPECT_EQ(state, RunState::NotAnswering);
    std::uint8_t out[128];
    EXPECT_EQ(s->readMemory(0, out), LinkStatus::NoEcho);
    EXPECT_TRUE(r.prompt.records().empty());
}

TEST(Transactions, APortThatDoesNotOpenEndsTheTransactionWithOneMessage)
{
    LinkRig r;
    r.logger.refuseOpen = true;
    auto s = r.open();
    std::uint8_t program[88];
    const LinkStatus status = s->readProgram(program);
    EXPECT_EQ(status, LinkStatus::CannotOpen);
    EXPECT_FALSE(s.report.ok(status));
    // Tried once, told once (without a reason: this line gives none), and no more: the
    // logger was never asked, so it is not "Device Not Responding".
    EXPECT_EQ(r.prompt.texts(), QStringList{kUnableToOpen});
    EXPECT_EQ(r.prompt.records()[0].symbol, PromptSymbol::Error);
    EXPECT_EQ(r.logger.opens, 1);
    EXPECT_EQ(r.clock.tickMs(), 0);
    // A later transaction of the same command tries again, silently.
    EXPECT_FALSE(s.report.ok(s->readProgram(program)));
    EXPECT_EQ(r.prompt.texts(), QStringList{kUnableToOpen});
    EXPECT_EQ(r.logger.opens, 2);
}

TEST(Transactions, AWatchHearsOfThePortOnceAndOnlyWhileItLasts)
{
    LinkRig r;
    r.logger.refuseOpen = true;
    auto q = r.make();
    std::uint8_t clock[16];
    QStringList heard;
    {
        const LinkWatch outer(*q, [&](const LinkFailure& f) { heard << "outer " + f.port; });
        {
            const LinkWatch inner(*q, [&](const LinkFailure&) { heard << "inner"; });
        }
        EXPECT_EQ(q->readClock(clock), LinkStatus::CannotOpen);
        EXPECT_EQ(heard, QStringList{"outer fake"}) << "the outer watch watches again";
        {
            const LinkWatch inner(*q, [&](const LinkFailure&) { heard << "inner"; });
            EXPECT_EQ(q->readClock(clock), LinkStatus::CannotOpen);
        }
        EXPECT_EQ(heard, (QStringList{"outer fake", "inner"})) << "each watch hears of it once";
        EXPECT_EQ(outer.failure(LinkStatus::CannotOpen).port, "fake");
    }
    heard.clear();
    EXPECT_EQ(q->readClock(clock), LinkStatus::CannotOpen);
    EXPECT_TRUE(heard.isEmpty()) << "a watch that has gone no longer hears";
}

TEST(Transactions, AWrongEchoInAWriteFailsFiveTimesEachAfterAPause)
{
    LinkRig r;
    auto s = r.open();
    ASSERT_EQ(s->ping(), LinkStatus::Ok);
    r.logger.wrongEchoIndex = 20;
    r.logger.wrongEchoFrames = 5;
    std::uint8_t program[88] = {};
    const std::int64_t start = r.clock.tickMs();
    const LinkStatus status = s->writeProgram(program);
    EXPECT_EQ(status, LinkStatus::BadEcho);
    EXPECT_GE(r.clock.tickMs() - start, 5 * 1000);
    EXPECT_LT(r.clock.tickMs() - start, 5 * 1000 + 100);
    EXPECT_EQ(r.logger.framesBegun, 6);
    EXPECT_EQ(r.framesOf('H'), 0);
    EXPECT_FALSE(s.report.ok(status));
    EXPECT_EQ(r.prompt.texts(), QStringList{kNotResponding});
}

TEST(Transactions, ABadChecksumIsRetried)
{
    LinkRig r;
    r.logger.memory[mem::kSerialNumber] = 'Q';
    r.logger.badChecksumReplies = 4;
    auto q = r.make();
    std::uint8_t ident[mem::kIdentificationSize] = {};
    EXPECT_EQ(q->readIdent(ident), LinkStatus::Ok);
    EXPECT_EQ(ident[mem::kSerialNumber], 'Q');
    EXPECT_EQ(r.framesOf('D'), 5);
}

TEST(Transactions, TheLastAttemptDecidesTheStatus)
{
    struct Case {
        const char* name;
        std::function<void(FakeLoggerState&)> fault;
        LinkStatus status;
    } cases[] = {
        {"bad checksums", [](FakeLoggerState& l) { l.badChecksumReplies = 5; }, LinkStatus::BadChecksum},
        {"no replies", [](FakeLoggerState& l) { l.silentReplies = 5; }, LinkStatus::ShortReply},
        {"wrong echoes",
         [](FakeLoggerState& l) {
             l.wrongEchoIndex = 4;
             l.wrongEchoFrames = 5;
         },
         LinkStatus::BadEcho},
        {"silence", [](FakeLoggerState& l) { l.silentFrames = 5; }, LinkStatus::NoEcho},
        {"one bad checksum", [](FakeLoggerState& l) { l.badChecksumReplies = 4; }, LinkStatus::Ok},
    };
    for (const auto& c : cases) {
        LinkRig r;
        c.fault(r.logger);
        auto q = r.make();
        std::uint8_t ident[8];
        EXPECT_EQ(q->readIdent(ident), c.status) << c.name;
    }
}

TEST(Transactions, WriteClockAndResetTryOnce)
{
    LinkRig r;
    auto s = r.open();
    r.logger.silentFrames = 2;
    std::uint8_t clock[16] = {};
    EXPECT_FALSE(s.report.ok(s->writeClock(clock)));
    EXPECT_EQ(r.prompt.texts(), QStringList{kNotResponding});
    EXPECT_EQ(s->resetLogger(), LinkStatus::NoEcho);
    EXPECT_EQ(r.logger.framesBegun, 2);
}

TEST(StopLogger, RewritesTheClockStopped)
{
    LinkRig r;
    const std::uint8_t running[16] = {7,    0x42, 0x09, 0x07, 0x14, 0x45, 0x03, 0x99,
                                      0xC2, 0,    0,    0,    0,    0,    0,    0x55};
    std::copy(std::begin(running), std::end(running), r.logger.clock.begin());
    auto q = r.make();
    EXPECT_EQ(q->stopLogger(), LinkStatus::Ok);
    const std::uint8_t stopped[16] = {4, 0x42, 0x09, 0x07, 0x14, 0x45, 0x03, 0,
                                      0, 0x42, 0x09, 0x07, 0x14, 0x45, 0x03, 1};
    EXPECT_EQ(std::memcmp(r.logger.clock.data(), stopped, 16), 0);
}

TEST(StopLogger, NeverSendsAClockItCouldNotRead)
{
    LinkRig r;
    r.logger.silentReplies = 5; // the clock read is echoed but never answered
    auto s = r.open();
    const LinkStatus status = s->stopLogger();
    EXPECT_EQ(status, LinkStatus::ShortReply);
    EXPECT_EQ(r.framesOf('C'), 0);
    EXPECT_FALSE(s.report.ok(status));
    EXPECT_EQ(r.prompt.texts(), QStringList{kNotResponding});
}

TEST(RunState, FromTheClockRecord)
{
    struct Case {
        std::uint8_t runState;
        RunState expected;
        bool recording;
    } cases[] = {{mem::kRunStopped, RunState::Stopped, false},
                 {mem::kRunRecording, RunState::Running, true},
                 {mem::kRunWaiting, RunState::Running, false}};
    for (const auto& c : cases) {
        LinkRig r;
        r.logger.clock[mem::kRunState] = c.runState;
        auto q = r.make();
        RunState state = RunState::NotAnswering;
        EXPECT_EQ(q->readRunState(state), LinkStatus::Ok);
        EXPECT_EQ(state, c.expected) << int(c.runState);
        bool recording = !c.recording;
        EXPECT_EQ(q->isRecording(recording), LinkStatus::Ok);
        EXPECT_EQ(recording, c.recording) << int(c.runState);
    }
}

TEST(RunState, AClockThatCannotBeReadAfterThePingIsUnknown)
{
    EmulatorRig r;
    sim::Fault f;
    f.kind = sim::FaultKind::Silence;
    f.frame = 1; // the ping answers, the clock reads after it do not
    f.frames = 0;
    r.emulator.addFault(f);
    auto q = r.make();
    RunState state = RunState::Stopped;
    EXPECT_EQ(q->readRunState(state), LinkStatus::NoEcho);
    EXPECT_EQ(state, RunState::Unknown);
}

TEST(VerifyProgram, AProgramAlreadyHeldNeedsOneRead)
{
    LinkRig r;
    std::uint8_t program[mem::kProgramSize];
    for (std::size_t i = 0; i < mem::kProgramSize; ++i)
        r.logger.memory[mem::kProgram + i] = program[i] = std::uint8_t(i + 5);
    auto q = r.make();
    EXPECT_EQ(q->verifyProgram(program), LinkStatus::Ok);
    EXPECT_EQ(r.logger.frames.size(), 1u);
    EXPECT_EQ(r.framesOf('H'), 0);
}

TEST(VerifyProgram, ADifferentProgramIsStoppedAndRewritten)
{
    LinkRig r;
    r.logger.clock[mem::kRunState] = mem::kRunRecording;
    std::uint8_t program[mem::kProgramSize];
    for (std::size_t i = 0; i < mem::kProgramSize; ++i)
        program[i] = std::uint8_t(i + 5);
    auto q = r.make();
    EXPECT_EQ(q->verifyProgram(program), LinkStatus::Ok);
    EXPECT_EQ(r.framesOf('H'), 1);
    EXPECT_EQ(r.framesOf('C'), 1);
    EXPECT_EQ(r.logger.clock[mem::kRunState], mem::kRunStopped); // stopped on the way
    EXPECT_EQ(std::memcmp(r.logger.memory.data() + mem::kProgram, program, mem::kProgramSize), 0);
}

TEST(VerifyProgram, AWriteThatNeverGoesThroughEndsTheCheck)
{
    LinkRig r;
    std::uint8_t program[mem::kProgramSize];
    std::fill(std::begin(program), std::end(program), 0x5A);
    auto s = r.open();
    // Every write frame is cut short by a wrong echo in its data.
    r.logger.wrongEchoIndex = 50;
    r.logger.wrongEchoFrames = 1000;
    const LinkStatus status = s->verifyProgram(program);
    EXPECT_EQ(status, LinkStatus::BadEcho);
    EXPECT_EQ(r.framesOf('H'), 0);
    EXPECT_FALSE(s.report.ok(status));
    EXPECT_EQ(r.prompt.texts(), QStringList{kNotResponding}); // the first failed write
}

TEST(VerifyProgram, ALoggerThatKeepsItsOldProgramIsNotTakenAfterThreeWrites)
{
    LinkRig r;
    std::uint8_t program[mem::kProgramSize];
    std::fill(std::begin(program), std::end(program), 0x5A);
    auto s = r.open();
    r.logger.ignoreWrites = true; // echoed, and the memory stays as it was

    const LinkStatus status = s->verifyProgram(program);
    EXPECT_EQ(status, LinkStatus::NotTaken);
    EXPECT_EQ(r.framesOf('H'), 3);
    EXPECT_EQ(r.framesOf('D'), 3) << "no read after the third write";
    EXPECT_FALSE(s.report.ok(status));
    EXPECT_TRUE(r.prompt.records().empty()) << "the check tells nothing of its own";
}

TEST(BlockCheck, PlausibleHeaders)
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
        std::uint8_t block[mem::kBlockSize] = {};
        std::copy(std::begin(c.header), std::end(c.header), block);
        EXPECT_EQ(isPlausibleBlock(block), c.plausible)
            << int(c.header[0]) << " " << int(c.header[2]) << " " << int(c.header[3]);
    }
}

TEST(LinkFailure, EveryLinkFailureIsDeviceNotRespondingAndTheRestTellNothing)
{
    const LinkStatus failures[] = {LinkStatus::PortClosed, LinkStatus::InvalidLength, LinkStatus::NoEcho,
                                   LinkStatus::BadEcho,    LinkStatus::Timeout,       LinkStatus::ShortReply,
                                   LinkStatus::BadChecksum};
    for (LinkStatus s : failures)
        EXPECT_EQ(failureText(s), kNotResponding) << linkStatusName(s);
    // A port that did not open is told with the port and its reason.
    for (LinkStatus s : {LinkStatus::Ok, LinkStatus::Cancelled, LinkStatus::NotTaken, LinkStatus::CannotOpen})
        EXPECT_TRUE(failureText(s).isEmpty()) << linkStatusName(s);
    const struct {
        LinkFailure failure;
        const char* text; // none: nothing is told
        MessageSymbol symbol;
    } cases[] = {
        {{LinkStatus::CannotOpen, "/dev/ttyUSB0", ENOENT},
         "Unable to open com port /dev/ttyUSB0: No such file or directory",
         MessageSymbol::Error},
        {{LinkStatus::CannotOpen, "/dev/null", ENOTTY},
         "Unable to open com port /dev/null: Not a serial port",
         MessageSymbol::Error},
        {{LinkStatus::CannotOpen, "/dev/ttyS1", 0},
         "Unable to open com port /dev/ttyS1",
         MessageSymbol::Error},
        {{LinkStatus::CannotOpen, "", 0}, "Unable to open com port: no port is chosen", MessageSymbol::Error},
        {{LinkStatus::NoEcho, "/dev/ttyS1", 0}, "Device Not Responding", MessageSymbol::Warning},
        {{LinkStatus::Cancelled, "/dev/ttyS1", 0}, nullptr, MessageSymbol::Warning},
        {{LinkStatus::Ok, "/dev/ttyS1", 0}, nullptr, MessageSymbol::Warning},
    };
    for (const auto& c : cases) {
        const std::optional<Message> m = linkMessage(c.failure);
        ASSERT_EQ(m.has_value(), c.text != nullptr) << linkStatusName(c.failure.status);
        if (m) {
            EXPECT_EQ(m->text, QString::fromLatin1(c.text));
            EXPECT_EQ(m->symbol, c.symbol) << c.text;
        }
    }
}

} // namespace
} // namespace qz::test
