#include "sim_driver.h"

#include "model/memory_image.h"
#include "sim/presets.h"

#include <gtest/gtest.h>

#include <bitset>

namespace qz::sim {
namespace {

using test::Bytes;
using test::Driver;
using test::frame;
using test::readFrame;
using test::withChecksum;

class FaultsTest : public ::testing::Test {
protected:
    FaultsTest() { loadMemory(emulator.logger(), {.deviceCode = 1}); }
    Bytes ident() const
    {
        const std::uint8_t* m = emulator.logger().memory();
        return withChecksum(Bytes(m, m + 8));
    }
    Emulator emulator;
    Driver pc{emulator};
};

TEST_F(FaultsTest, EachFaultChangesOneExchange)
{
    const Bytes frame = readFrame(0, 8);
    const Bytes good = [&] {
        Bytes all = frame;
        const Bytes r = ident();
        all.insert(all.end(), r.begin(), r.end());
        return all;
    }();
    struct Case {
        const char* name;
        Fault fault;
        Bytes want; // what the PC receives for the frame
        std::int64_t commands; // frames carried out
    };
    Bytes wrongEcho = good;
    wrongEcho[3] = std::uint8_t(~frame[3]);
    Bytes badSum = good;
    badSum[15] = std::uint8_t(badSum[15] + 1);
    const Case cases[] = {
        {"no echo from byte 2",
         {.kind = FaultKind::NoEcho, .byte = 2},
         [&] {
             Bytes b(good.begin(), good.begin() + 2);
             b.insert(b.end(), good.begin() + 7, good.end());
             return b;
         }(),
         1},
        {"wrong echo of byte 3", {.kind = FaultKind::WrongEcho, .byte = 3}, wrongEcho, 1},
        {"bad checksum", {.kind = FaultKind::BadChecksum}, badSum, 1},
        {"short reply",
         {.kind = FaultKind::ShortReply, .withheld = 3},
         Bytes(good.begin(), good.end() - 3),
         1},
        {"silence", {.kind = FaultKind::Silence}, {}, 0},
        {"slow echo (only late)", {.kind = FaultKind::SlowEcho, .delayUs = 200000}, good, 1},
        {"ignored: echoed, never answered", {.kind = FaultKind::Ignored}, frame, 0},
    };
    for (const Case& c : cases) {
        Emulator e;
        loadMemory(e.logger(), {.deviceCode = 1});
        Driver d{e};
        e.addFault(c.fault);
        EXPECT_EQ(d.exchange(frame), c.want) << c.name;
        EXPECT_EQ(e.commands(), c.commands) << c.name;
        EXPECT_EQ(d.exchange(frame), good) << c.name << ": the next frame is sound";
    }
}

TEST_F(FaultsTest, FramesAreCountedFromWhenTheFaultIsAdded)
{
    pc.exchange(frame('E'));
    emulator.addFault({.kind = FaultKind::BadChecksum, .frame = 1, .frames = 2});
    const Bytes frame = readFrame(0, 8);
    const Bytes sound = pc.reply(frame);
    EXPECT_EQ(sound, ident()) << "frame 0 after adding";
    EXPECT_NE(pc.reply(frame), ident()) << "frame 1";
    EXPECT_NE(pc.reply(frame), ident()) << "frame 2";
    EXPECT_EQ(pc.reply(frame), ident()) << "frame 3";
}

TEST_F(FaultsTest, FramesZeroMeansEveryFrameOn)
{
    emulator.addFault({.kind = FaultKind::Silence, .frames = 0});
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(pc.exchange(frame('E')).empty());
    emulator.clearFaults();
    EXPECT_EQ(pc.reply(frame('E')).size(), 18u);
}

TEST_F(FaultsTest, SlowEchoArrivesLate)
{
    emulator.addFault({.kind = FaultKind::SlowEcho, .delayUs = 200000});
    emulator.receive('$', 0);
    EXPECT_EQ(emulator.available(199999), 0);
    EXPECT_EQ(emulator.arrivalOf(1), 200000);
    EXPECT_EQ(emulator.available(200000), 1);
}

TEST_F(FaultsTest, AnIgnoredWriteIsEchoedButLeavesTheMemoryAndTheLogSaysSo)
{
    emulator.keepFrameLog(true);
    const Bytes data = {1, 2, 3};
    const Bytes write = test::writeFrame(40, data);
    emulator.addFault({.kind = FaultKind::Ignored});
    EXPECT_EQ(pc.exchange(write), write) << "every byte echoed";
    EXPECT_NE(Bytes(emulator.logger().memory() + 40, emulator.logger().memory() + 43), data);
    EXPECT_EQ(pc.exchange(write), write);
    EXPECT_EQ(Bytes(emulator.logger().memory() + 40, emulator.logger().memory() + 43), data);
    pc.exchange(frame('E'));
    const std::vector<LoggedFrame> expected = {
        {'H', 40, 3, false, data}, {'H', 40, 3, true, data}, {'E', 0, 0, true, {}}};
    EXPECT_EQ(emulator.frameLog(), expected);
    emulator.keepFrameLog(false);
    pc.exchange(frame('E'));
    EXPECT_EQ(emulator.frameLog().size(), 3u) << "kept only while asked for";
}

TEST_F(FaultsTest, SilentLoggerAnswersNothing)
{
    emulator.setSilent(true);
    EXPECT_TRUE(pc.exchange(readFrame(0, 8)).empty());
    EXPECT_EQ(emulator.commands(), 0);
    emulator.setSilent(false);
    EXPECT_EQ(pc.reply(readFrame(0, 8)), ident());
}

Bytes noisyBytes(double rate, std::uint64_t seed)
{
    Emulator e;
    loadMemory(e.logger(), {.deviceCode = 1});
    e.setByteErrors(rate, seed);
    Driver d{e};
    return d.exchange(readFrame(mem::loggerBlockAddress(0), 0));
}

TEST_F(FaultsTest, ByteErrorsFlipOneBitAtTheRateAndRepeatWithTheSeed)
{
    const Bytes clean = noisyBytes(0.0, 1);
    ASSERT_EQ(clean.size(), 7u + 258u);
    EXPECT_EQ(noisyBytes(0.1, 7), noisyBytes(0.1, 7)) << "same seed, same errors";
    EXPECT_NE(noisyBytes(0.1, 7), noisyBytes(0.1, 8));
    for (double rate : {0.05, 0.2, 1.0}) {
        const Bytes noisy = noisyBytes(rate, 3);
        ASSERT_EQ(noisy.size(), clean.size());
        int hit = 0;
        for (std::size_t i = 0; i < clean.size(); ++i) {
            const int bits = int(std::bitset<8>(clean[i] ^ noisy[i]).count());
            EXPECT_LE(bits, 1);
            hit += bits;
        }
        EXPECT_NEAR(double(hit) / double(clean.size()), rate, 0.06) << rate;
    }
}

} // namespace
} // namespace qz::sim
