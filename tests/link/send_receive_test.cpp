// send with its echo pacing and limits, receive with its checksum.
#include "link/logger_frames.h"
#include "link_rig.h"
#include "model/memory_image.h"

#include <gtest/gtest.h>

namespace qz::test {
namespace {

TEST(Send, AFrameEchoedByteForByteIsSent)
{
    LinkRig r;
    auto q = r.make();
    q->ensureOpen();
    std::uint8_t frame[frames::kMemoryHeader + mem::kProgramSize] = {};
    frames::writeMemory(frame, mem::kProgram, mem::kProgramSize);
    for (std::size_t i = 0; i < mem::kProgramSize; ++i)
        frame[frames::kMemoryHeader + i] = std::uint8_t(i * 3);
    EXPECT_EQ(q->send(frame, sizeof frame), LinkStatus::Ok);
    ASSERT_EQ(r.logger.frames.size(), 1u);
    EXPECT_EQ(r.logger.frames[0], std::vector<std::uint8_t>(frame, frame + sizeof frame));
    EXPECT_EQ(r.logger.memory[mem::kProgram + 10], 30);
}

TEST(Send, OnAClosedPortFailsAtOnce)
{
    LinkRig r;
    auto q = r.make();
    std::uint8_t frame[frames::kPrefixSize];
    EXPECT_EQ(q->send(frame, frames::readClock(frame)), LinkStatus::PortClosed);
    EXPECT_EQ(r.clock.tickMs(), 0);
    EXPECT_EQ(r.logger.framesBegun, 0);
}

TEST(Send, LengthsOutsideAFrameAreRefused)
{
    LinkRig r;
    auto q = r.make();
    q->ensureOpen();
    std::uint8_t frame[frames::kMaxFrame + 1] = {'$', '#', '$', 'H'};
    EXPECT_EQ(q->send(frame, 0), LinkStatus::InvalidLength);
    EXPECT_EQ(q->send(frame, frames::kMaxFrame + 1), LinkStatus::InvalidLength);
    EXPECT_EQ(r.logger.framesBegun, 0) << "nothing reached the line";
    std::uint8_t reply[2];
    EXPECT_EQ(q->receive(reply, 1), LinkStatus::InvalidLength) << "too short to hold a sum";
}

TEST(Send, ALoggerThatEchoesNothingFailsAfterTheEchoLimit)
{
    struct Case {
        bool modem;
        std::int64_t limit;
    } cases[] = {{false, 300}, {true, 2000}};
    for (const auto& c : cases) {
        LinkRig r;
        auto q = r.make(c.modem);
        q->ensureOpen();
        r.logger.silentFrames = 1;
        const std::int64_t start = r.clock.tickMs();
        std::uint8_t frame[frames::kPrefixSize];
        EXPECT_EQ(q->send(frame, frames::readClock(frame)), LinkStatus::NoEcho) << c.modem;
        const std::int64_t took = r.clock.tickMs() - start;
        EXPECT_GT(took, c.limit) << c.modem;
        EXPECT_LE(took, c.limit + 5) << c.modem;
    }
}

TEST(Send, WrongEchoesOfTheFirstTwoBytesFailAtTheEndAndLaterOnesAtOnceAfterAPause)
{
    struct Case {
        int index;
        int bytesOut; // bytes that reached the logger
        std::int64_t minTime; // the pause after a wrong echo from the third byte on
    } cases[] = {{0, 7, 0}, {1, 7, 0}, {2, 3, 1000}, {5, 6, 1000}};
    for (const auto& c : cases) {
        LinkRig r;
        auto q = r.make();
        q->ensureOpen();
        r.logger.wrongEchoIndex = c.index;
        r.logger.wrongEchoFrames = 1;
        r.logger.memory[mem::blockAddress(0)] = 0x11;
        const std::int64_t start = r.clock.tickMs();
        std::uint8_t frame[frames::kMemoryHeader];
        EXPECT_EQ(q->send(frame, frames::readMemory(frame, mem::loggerBlockAddress(0), mem::kBlockSize)),
                  LinkStatus::BadEcho)
            << c.index;
        const std::int64_t took = r.clock.tickMs() - start;
        EXPECT_GE(took, c.minTime) << c.index;
        EXPECT_LT(took, c.minTime + 10) << c.index;
        EXPECT_EQ(r.logger.framesBegun, 1);
        EXPECT_EQ(int(r.logger.frames.size()), c.bytesOut == 7 ? 1 : 0) << c.index;
    }
}

TEST(Send, AMissingLastEchoIsAwaitedUpToTheOverallLimitAndStillCounts)
{
    // The logger stays silent once the last byte is in: only that echo is missing.
    LinkRig r;
    auto q = r.make();
    q->ensureOpen();
    r.logger.noLastEchoFrames = 1;
    const std::int64_t start = r.clock.tickMs();
    std::uint8_t frame[frames::kPrefixSize];
    EXPECT_EQ(q->send(frame, frames::reset(frame)), LinkStatus::Ok);
    EXPECT_EQ(r.logger.resets, 1);
    EXPECT_EQ(r.clock.tickMs() - start, 8000);
}

TEST(Send, AnEchoTooSlowForWhatIsLeftOfTheFrameTimeIsATimeOut)
{
    // Each echo comes after 150 ms, well inside the echo limit: a 95-byte frame runs out
    // of its 8 seconds before the last byte goes out.
    LinkRig r;
    auto q = r.make();
    q->ensureOpen();
    r.logger.echoDelayMs = 150;
    std::uint8_t frame[frames::kMemoryHeader + mem::kProgramSize] = {};
    frames::writeMemory(frame, mem::kProgram, mem::kProgramSize);
    const std::int64_t start = r.clock.tickMs();
    EXPECT_EQ(q->send(frame, sizeof frame), LinkStatus::Timeout);
    EXPECT_LE(r.clock.tickMs() - start, 8000 + 1);
    EXPECT_TRUE(r.logger.frames.empty());
}

TEST(Receive, ChecksumAndLength)
{
    LinkRig r;
    auto q = r.make();
    q->ensureOpen();
    for (std::size_t i = 0; i < mem::kInputTableSize; ++i)
        r.logger.memory[mem::kInputTable + i] = 0xFF;
    std::uint8_t table[mem::kInputTableSize] = {};
    // All 0xFF: the sum 0xFF00 travels as 00 FF.
    EXPECT_EQ(q->readInputTable(table), LinkStatus::Ok);
    EXPECT_EQ(table[255], 0xFF);

    std::uint8_t frame[frames::kMemoryHeader];
    std::uint8_t reply[mem::kBlockSize + 2];
    const std::uint16_t length = frames::readMemory(frame, mem::loggerBlockAddress(0), mem::kBlockSize);
    r.logger.badChecksumReplies = 1;
    ASSERT_EQ(q->send(frame, length), LinkStatus::Ok);
    EXPECT_EQ(q->receive(reply, sizeof reply), LinkStatus::BadChecksum)
        << "all bytes came, the sum is off by one";

    r.logger.silentReplies = 1;
    ASSERT_EQ(q->send(frame, length), LinkStatus::Ok);
    const std::int64_t start = r.clock.tickMs();
    EXPECT_EQ(q->receive(reply, sizeof reply), LinkStatus::ShortReply);
    EXPECT_GE(r.clock.tickMs() - start, 1000);
    EXPECT_LE(r.clock.tickMs() - start, 1000 + 100 + 5 * 130);

    ASSERT_EQ(q->send(frame, length), LinkStatus::Ok);
    EXPECT_EQ(q->receive(reply, 1), LinkStatus::InvalidLength); // too short to hold a sum
}

} // namespace
} // namespace qz::test
