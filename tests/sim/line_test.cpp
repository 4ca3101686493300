// The emulator behind the port, as every other layer's tests use it: LoggerProtocol over the
// in-process line on a virtual clock.
#include "link/link_texts.h"
#include "link/logger_protocol.h"
#include "model/memory_image.h"
#include "sim/emulator.h"
#include "sim/emulator_line.h"
#include "sim/presets.h"
#include "support/link_teller.h"
#include "support/print_link.h"
#include "support/recording_prompt.h"
#include "support/virtual_clock.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

namespace qz::sim {
namespace {

using qz::test::RecordingPrompt;
using qz::test::VirtualClock;

class LineTest : public ::testing::Test {
protected:
    explicit LineTest(bool paced = false) : emulator(EmulatorOptions{.paced = paced})
    {
        loadMemory(emulator.logger(), {.deviceCode = 101});
    }
    std::unique_ptr<LoggerProtocol> connect()
    {
        auto q = std::make_unique<LoggerProtocol>(LinkSettings{"sim", false},
                                                  std::make_unique<EmulatorLine>(emulator, clock), clock);
        std::uint8_t clockRecord[mem::kClockRecordSize];
        q->readClock(clockRecord); // opens the port and settles
        return q;
    }
    const std::uint8_t* memory() const { return emulator.logger().memory(); }

    VirtualClock clock;
    RecordingPrompt prompt;
    Emulator emulator;
};

class PacedLineTest : public LineTest {
protected:
    PacedLineTest() : LineTest(true) {}
};

TEST_F(LineTest, ThreeLineSetUpAnswersThePort)
{
    auto q = std::make_unique<LoggerProtocol>(LinkSettings{"sim", false},
                                              std::make_unique<EmulatorLine>(emulator, clock), clock);
    EXPECT_EQ(q->ping(), LinkStatus::Ok);
    std::uint8_t ident[mem::kIdentificationSize];
    ASSERT_EQ(q->readIdent(ident), LinkStatus::Ok);
    EXPECT_EQ(std::memcmp(ident, memory() + mem::kIdentification, mem::kIdentificationSize), 0);
    EXPECT_TRUE(prompt.records().empty());
}

TEST_F(LineTest, UnpacedExchangesTakeNoTime)
{
    auto q = connect();
    const std::int64_t before = clock.tickMs();
    std::uint8_t block[mem::kBlockSize];
    for (int k = 0; k < 10; ++k)
        ASSERT_EQ(q->readDataBlock(k, block), LinkStatus::Ok);
    EXPECT_EQ(clock.tickMs(), before);
}

TEST_F(PacedLineTest, ExchangesTakeTheirWireTime)
{
    auto q = connect();
    struct Case {
        const char* name;
        int bytes; // on the wire: frame, echoes, reply
        std::function<bool()> run;
    };
    std::uint8_t buffer[mem::kInputTableSize];
    const Case cases[] = {
        {"identification", 7 * 2 + 10, [&] { return q->readIdent(buffer) == LinkStatus::Ok; }},
        {"data block", 7 * 2 + 130, [&] { return q->readDataBlock(3, buffer) == LinkStatus::Ok; }},
        {"input table", 7 * 2 + 258, [&] { return q->readInputTable(buffer) == LinkStatus::Ok; }},
        {"clock", 4 * 2 + 18, [&] { return q->readClock(buffer) == LinkStatus::Ok; }},
    };
    for (const Case& c : cases) {
        const std::int64_t before = clock.tickMs();
        ASSERT_TRUE(c.run()) << c.name;
        const double ms = double(c.bytes) * 10.0 / 19.2;
        EXPECT_NEAR(double(clock.tickMs() - before), ms, 1.0) << c.name;
    }
}

TEST_F(PacedLineTest, DownloadingBlocksStaysWithinFivePercentOfTheWire)
{
    auto q = connect();
    std::uint8_t block[mem::kBlockSize];
    const std::int64_t before = clock.tickMs();
    for (int k = 0; k < 100; ++k)
        ASSERT_EQ(q->readDataBlock(k, block), LinkStatus::Ok);
    const double wireMs = 100 * (7 * 2 + 130) * 10.0 / 19.2;
    const double ms = double(clock.tickMs() - before);
    EXPECT_GE(ms, wireMs - 1);
    EXPECT_LE(ms, wireMs * 1.05);
}

TEST_F(LineTest, WaitingOnASilentLineMovesTheClockByTheTimeOut)
{
    EmulatorLine line(emulator, clock);
    EXPECT_EQ(line.write(reinterpret_cast<const std::uint8_t*>("x"), 1), -1) << "closed";
    ASSERT_TRUE(line.open("sim"));
    emulator.setSilent(true);
    const std::uint8_t b = '$';
    EXPECT_EQ(line.write(&b, 1), 1);
    EXPECT_EQ(line.waitForBytes(1, 300), 0);
    EXPECT_EQ(clock.tickMs(), 300);
    emulator.setSilent(false);
    EXPECT_EQ(line.write(&b, 1), 1);
    EXPECT_EQ(line.waitForBytes(1, 300), 1);
    EXPECT_EQ(clock.tickMs(), 300) << "an unpaced echo is there at once";
    line.purge();
    EXPECT_EQ(line.bytesWaiting(), 0);
    line.close();
    EXPECT_EQ(line.bytesWaiting(), 0);
}

TEST_F(LineTest, RetryAfterAMissingEchoBeginsAFreshFrame)
{
    auto q = connect();
    emulator.addFault({.kind = FaultKind::NoEcho, .byte = 4});
    const std::int64_t before = clock.tickMs();
    const std::int64_t reads = emulator.commands('D');
    std::uint8_t ident[mem::kIdentificationSize];
    ASSERT_EQ(q->readIdent(ident), LinkStatus::Ok);
    EXPECT_EQ(std::memcmp(ident, memory() + mem::kIdentification, mem::kIdentificationSize), 0);
    EXPECT_EQ(emulator.commands('D'), reads + 1) << "the half frame was forgotten";
    EXPECT_GE(clock.tickMs() - before, 300);
    EXPECT_LT(clock.tickMs() - before, 400);
    EXPECT_TRUE(prompt.records().empty());
}

TEST_F(LineTest, TransactionsRecoverFromOneBadExchange)
{
    struct Case {
        const char* name;
        Fault fault;
        std::int64_t minMs; // at least this long, for the PC's pause
    };
    const Case cases[] = {
        {"wrong echo of byte 5", {.kind = FaultKind::WrongEcho, .byte = 5}, 1000},
        {"wrong echo of byte 1", {.kind = FaultKind::WrongEcho, .byte = 1}, 0},
        {"bad checksum", {.kind = FaultKind::BadChecksum}, 0},
        {"short reply", {.kind = FaultKind::ShortReply, .withheld = 1}, 1000},
        {"silence", {.kind = FaultKind::Silence}, 300},
        {"slow echo", {.kind = FaultKind::SlowEcho, .delayUs = 250000}, 250},
    };
    for (const Case& c : cases) {
        auto q = connect();
        emulator.addFault(c.fault);
        const std::int64_t before = clock.tickMs();
        std::uint8_t block[mem::kBlockSize];
        ASSERT_EQ(q->readDataBlock(7, block), LinkStatus::Ok) << c.name;
        EXPECT_EQ(std::memcmp(block, memory() + mem::blockAddress(7), mem::kBlockSize), 0) << c.name;
        EXPECT_GE(clock.tickMs() - before, c.minMs) << c.name;
        EXPECT_TRUE(prompt.records().empty()) << c.name;
        emulator.clearFaults();
    }
}

TEST_F(LineTest, ASilentLoggerEndsInDeviceNotResponding)
{
    auto q = connect();
    emulator.setSilent(true);
    const std::int64_t before = clock.tickMs();
    std::uint8_t ident[mem::kIdentificationSize] = {};
    test::LinkTeller report(*q, prompt);
    const LinkStatus status = q->readIdent(ident);
    EXPECT_EQ(status, LinkStatus::NoEcho);
    EXPECT_FALSE(report.ok(status));
    ASSERT_EQ(prompt.texts(), QStringList{texts::deviceNotResponding()});
    EXPECT_NEAR(double(clock.tickMs() - before), 5 * 300.0, 5 * 2.0);
    EXPECT_NE(q->ping(), LinkStatus::Ok) << "and a ping stays silent";
}

TEST_F(LineTest, TheLoggerRecordsAsVirtualTimePasses)
{
    auto q = connect();
    std::uint8_t record[mem::kClockRecordSize];
    ASSERT_EQ(q->readClock(record), LinkStatus::Ok);
    record[mem::kRunState] = mem::kRunRecording;
    ASSERT_EQ(q->writeClock(record), LinkStatus::Ok);
    clock.advance(3 * 3600 * 1000); // 36 records of 4 inputs, one every 5 minutes
    std::uint8_t block[mem::kBlockSize];
    ASSERT_EQ(q->readDataBlock(0, block), LinkStatus::Ok);
    EXPECT_EQ(block[mem::kSampleBytes], 4 * 30) << "30 records fill block 0";
    ASSERT_EQ(q->readDataBlock(1, block), LinkStatus::Ok);
    EXPECT_EQ(block[mem::kSampleBytes], 4 * 6);
    ASSERT_EQ(q->readClock(record), LinkStatus::Ok);
    EXPECT_EQ(record[mem::kRunState], mem::kRunRecording);
}

} // namespace
} // namespace qz::sim
