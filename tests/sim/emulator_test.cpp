#include "sim_driver.h"

#include "link/logger_frames.h"
#include "model/memory_image.h"
#include "sim/presets.h"

#include <gtest/gtest.h>

namespace qz::sim {
namespace {

using test::Bytes;
using test::Driver;
using test::frame;
using test::readFrame;
using test::withChecksum;
using test::writeFrame;

class EmulatorTest : public ::testing::Test {
protected:
    EmulatorTest() { loadMemory(emulator.logger(), {.deviceCode = 101, .content = Content::Linear}); }
    Bytes memoryAt(unsigned address, int count)
    {
        Bytes b;
        for (int i = 0; i < count; ++i)
            b.push_back(emulator.logger().memory()[(address + unsigned(i)) & 0xFFFF]);
        return b;
    }

    Emulator emulator;
    Driver pc{emulator};
};

TEST_F(EmulatorTest, EchoesEveryByteAtOnceOneAtATime)
{
    const Bytes frame = readFrame(0, 8);
    for (std::size_t i = 0; i < frame.size(); ++i) {
        emulator.receive(frame[i], pc.nowUs);
        std::uint8_t echo = 0;
        ASSERT_EQ(emulator.read(&echo, 1, pc.nowUs), 1) << "byte " << i;
        EXPECT_EQ(echo, frame[i]);
        if (i + 1 < frame.size()) {
            EXPECT_EQ(emulator.available(pc.nowUs), 0) << "nothing more before the frame ends";
        }
        pc.nowUs += 1000;
    }
    EXPECT_EQ(emulator.available(pc.nowUs), 10);
}

TEST_F(EmulatorTest, EchoesBytesThatAreNoCommand)
{
    const Bytes junk = {0x00, 0xFF, '$', 'x', '#', 0x55};
    EXPECT_EQ(pc.exchange(junk), junk);
    EXPECT_EQ(emulator.commands(), 0);
}

TEST_F(EmulatorTest, ReadsAnswerMemoryWithTheAdditiveChecksum)
{
    struct Case {
        unsigned address;
        std::uint8_t count;
        int bytes;
    };
    const Case cases[] = {
        {mem::kIdentification, 8, 8},
        {mem::kCalibration, 32, 32},
        {mem::kProgram, 88, 88},
        {mem::kInputTable, 0, 256}, // count 0 is 256
        {mem::loggerBlockAddress(0), 128, 128},
        {mem::loggerBlockAddress(507), 128, 128},
        {65500, 100, 100}, // wraps past 65535 to address 0
    };
    for (const Case& c : cases) {
        const Bytes want = withChecksum(memoryAt(c.address, c.bytes));
        EXPECT_EQ(pc.reply(readFrame(c.address, c.count)), want) << "address " << c.address;
    }
}

TEST_F(EmulatorTest, ErasedMemoryReadsFFAndItsChecksumIs00FF)
{
    emulator.logger().eraseData();
    const Bytes r = pc.reply(readFrame(mem::loggerBlockAddress(507), 0));
    ASSERT_EQ(r.size(), 258u);
    EXPECT_EQ(Bytes(r.begin(), r.begin() + 256), Bytes(256, 0xFF));
    EXPECT_EQ(r[256], 0x00);
    EXPECT_EQ(r[257], 0xFF);
}

TEST_F(EmulatorTest, ClockReadGivesTheRecordAndChecksum)
{
    Emulator fresh; // clock 2026-03-05 14:07:09
    Driver d{fresh};
    const Bytes r = d.reply(frame('E'));
    ASSERT_EQ(r.size(), 18u);
    const Bytes want = {0x04, 0x00, 0x09, 0x07, 0x14, 0x05 | (2026 % 4) << 6, 0x03, 0x00, 0x00, 0, 0,
                        0,    0,    0,    0,    0x01};
    EXPECT_EQ(r, withChecksum(want));
}

TEST_F(EmulatorTest, ReadingsGiveEightInputsAndTheBattery)
{
    emulator.logger().sensors().setBatteryCount(168);
    emulator.logger().sensors().hold(0, 42);
    emulator.logger().sensors().hold(7, 200);
    for (char letter : {'F', 'G'}) {
        const Bytes r = pc.reply(frame(letter));
        ASSERT_EQ(r.size(), 11u) << letter;
        EXPECT_EQ(r[0], 42);
        EXPECT_EQ(r[7], 200);
        EXPECT_EQ(r[frames::kBatteryInReadings], 168);
        EXPECT_EQ(r, withChecksum(Bytes(r.begin(), r.begin() + 9)));
    }
}

TEST_F(EmulatorTest, WritesChangeMemoryAndGetNoReply)
{
    Bytes program(mem::kProgramSize);
    for (std::size_t i = 0; i < program.size(); ++i)
        program[i] = std::uint8_t(i * 3);
    Bytes table(mem::kInputTableSize, 0x5A);
    const Bytes frame = writeFrame(mem::kProgram, program);
    EXPECT_EQ(pc.exchange(frame), frame); // the echo only
    EXPECT_EQ(memoryAt(mem::kProgram, mem::kProgramSize), program);
    EXPECT_EQ(pc.exchange(writeFrame(mem::kInputTable, table)).size(), 263u);
    EXPECT_EQ(memoryAt(mem::kInputTable, mem::kInputTableSize), table);
    EXPECT_EQ(pc.reply(readFrame(mem::kProgram, mem::kProgramSize)), withChecksum(program));
}

TEST_F(EmulatorTest, WriteWrapsAtTheEndOfTheAddressSpace)
{
    pc.exchange(writeFrame(65534, {1, 2, 3, 4}));
    EXPECT_EQ(memoryAt(65534, 4), (Bytes{1, 2, 3, 4}));
}

TEST_F(EmulatorTest, ReservedCommandIsOnlyEchoed)
{
    const Bytes before = memoryAt(0, mem::kHeaderSize);
    EXPECT_EQ(pc.exchange(frame('B')), frame('B'));
    EXPECT_EQ(memoryAt(0, mem::kHeaderSize), before);
    EXPECT_EQ(emulator.commands('B'), 1);
}

} // namespace
} // namespace qz::sim
