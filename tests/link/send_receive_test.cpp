// Send with its echo pacing and limits, Receive with its checksum.
#include "link_rig.h"

#include <gtest/gtest.h>

namespace qz::test {
namespace {

TEST(Send, AFrameEchoedByteForByteIsSent)
{
    LinkRig r;
    auto q = r.make();
    q->DeviceIsOpen();
    std::uint8_t frame[7 + 88] = {};
    LoggerProtocol::SetBlocMsg(frame, 40, 88);
    for (int i = 0; i < 88; ++i)
        frame[7 + i] = std::uint8_t(i * 3);
    EXPECT_TRUE(q->Send(frame, sizeof frame));
    ASSERT_EQ(r.logger.frames.size(), 1u);
    EXPECT_EQ(r.logger.frames[0], std::vector<std::uint8_t>(frame, frame + sizeof frame));
    EXPECT_EQ(r.logger.memory[40 + 10], 30);
}

TEST(Send, OnAClosedPortFailsAtOnce)
{
    LinkRig r;
    auto q = r.make();
    std::uint8_t frame[4];
    EXPECT_FALSE(q->Send(frame, LoggerProtocol::GetTimeMsg(frame)));
    EXPECT_EQ(r.clock.tickMs(), 0);
    EXPECT_EQ(r.logger.framesBegun, 0);
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
        q->DeviceIsOpen();
        r.logger.silentFrames = 1;
        const std::int64_t start = r.clock.tickMs();
        std::uint8_t frame[4];
        EXPECT_FALSE(q->Send(frame, LoggerProtocol::GetTimeMsg(frame)));
        const std::int64_t took = r.clock.tickMs() - start;
        EXPECT_GT(took, c.limit) << c.modem;
        EXPECT_LE(took, c.limit + 5) << c.modem;
    }
}

TEST(Send, WrongEchoesOfTheFirstTwoBytesFailAtTheEndAndLaterOnesAtOnceAfterAPause)
{
    struct Case {
        int index;
        int bytesOut;          // bytes that reached the logger
        std::int64_t minTime;  // the pause after a wrong echo from the third byte on
    } cases[] = {{0, 7, 0}, {1, 7, 0}, {2, 3, 1000}, {5, 6, 1000}};
    for (const auto& c : cases) {
        LinkRig r;
        auto q = r.make();
        q->DeviceIsOpen();
        r.logger.wrongEchoIndex = c.index;
        r.logger.wrongEchoFrames = 1;
        r.logger.memory[384] = 0x11;
        const std::int64_t start = r.clock.tickMs();
        std::uint8_t frame[7];
        EXPECT_FALSE(q->Send(frame, LoggerProtocol::GetBlocMsg(frame, 384, 128))) << c.index;
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
    q->DeviceIsOpen();
    r.logger.noLastEchoFrames = 1;
    const std::int64_t start = r.clock.tickMs();
    std::uint8_t frame[4];
    EXPECT_TRUE(q->Send(frame, LoggerProtocol::SetResetMsg(frame)));
    EXPECT_EQ(r.logger.resets, 1);
    EXPECT_EQ(r.clock.tickMs() - start, 8000);
}

TEST(Receive, ChecksumAndLength)
{
    LinkRig r;
    auto q = r.make();
    q->DeviceIsOpen();
    for (int i = 0; i < 256; ++i)
        r.logger.memory[128 + i] = 0xFF;
    std::uint8_t table[256] = {};
    // All 0xFF: the sum 0xFF00 travels as 00 FF.
    EXPECT_TRUE(q->ReadInputTable(table));
    EXPECT_EQ(table[255], 0xFF);

    std::uint8_t frame[7];
    std::uint8_t reply[130];
    r.logger.badChecksumReplies = 1;
    ASSERT_TRUE(q->Send(frame, LoggerProtocol::GetBlocMsg(frame, 384, 128)));
    EXPECT_FALSE(q->Receive(reply, 130)); // all bytes came, the sum is off by one

    r.logger.silentReplies = 1;
    ASSERT_TRUE(q->Send(frame, LoggerProtocol::GetBlocMsg(frame, 384, 128)));
    const std::int64_t start = r.clock.tickMs();
    EXPECT_FALSE(q->Receive(reply, 130));
    EXPECT_GE(r.clock.tickMs() - start, 1000);
    EXPECT_LE(r.clock.tickMs() - start, 1000 + 100 + 5 * 130);

    ASSERT_TRUE(q->Send(frame, LoggerProtocol::GetBlocMsg(frame, 384, 128)));
    EXPECT_FALSE(q->Receive(reply, 1)); // too short to hold a sum
}

} // namespace
} // namespace qz::test
