#include "sim_driver.h"

#include "model/memory_image.h"
#include "model/values.h"
#include "sim/presets.h"

#include <gtest/gtest.h>

namespace qz::sim {
namespace {

using test::Bytes;
using test::Driver;
using test::frame;
using test::withChecksum;

constexpr std::int64_t kSec = 1000000;

// The clock record the PC writes: time, run state and start as the configuration does.
Bytes pcClockRecord(const CivilTime& now, std::uint8_t runState, const CivilTime& start)
{
    return {0x04,
            0x00,
            intToBcd(now.second),
            intToBcd(now.minute),
            intToBcd(now.hour),
            std::uint8_t(intToBcd(now.day) | (now.year % 4) << 6),
            intToBcd(now.month),
            0x00,
            runState,
            0x00,
            intToBcd(start.second),
            intToBcd(start.minute),
            intToBcd(start.hour),
            intToBcd(start.day),
            intToBcd(start.month),
            0x01};
}

Bytes clockFrame(const Bytes& record)
{
    Bytes f = frame('C');
    f.insert(f.end(), record.begin(), record.end());
    return f;
}

class ClockTest : public ::testing::Test {
protected:
    ClockTest()
    {
        loadMemory(emulator.logger(),
                   {.deviceCode = 0,
                    .content = Content::Erased,
                    .inputs = 1,
                    .intervalSeconds = 10,
                    .start = {2024, 5, 1, 0, 0, 0, 0}});
    }
    Bytes readClock() { return pc.reply(frame('E'), 1000); }
    void setClock(const Bytes& record) { pc.exchange(clockFrame(record), 1000); }
    void pass(std::int64_t us) { pc.collect(us); }
    std::uint8_t runState() { return emulator.logger().runState(); }
    const std::uint8_t* block(int k) { return emulator.logger().memory() + mem::blockAddress(k); }

    Emulator emulator;
    Driver pc{emulator};
};

TEST_F(ClockTest, SetAndReadBack)
{
    const CivilTime now{2024, 3, 15, 14, 7, 9, 0};
    setClock(pcClockRecord(now, 0x00, now));
    pass(2 * kSec);
    const Bytes r = readClock();
    ASSERT_EQ(r.size(), 18u);
    const Bytes want = {0x04, 0x00, 0x11, 0x07, 0x14, 0x15, 0x03, 0x00,
                        0x00, 0x00, 0x09, 0x07, 0x14, 0x15, 0x03, 0x01};
    EXPECT_EQ(Bytes(r.begin() + 2, r.begin() + 16), Bytes(want.begin() + 2, want.end()))
        << "two seconds on; start bytes as written";
    EXPECT_EQ(r[0], 0x04);
    EXPECT_EQ(r, withChecksum(Bytes(r.begin(), r.begin() + 16)));
}

TEST_F(ClockTest, YearComesFromYearBcdWhenItAgreesWithTheYearBits)
{
    struct Case {
        std::uint8_t yearBcd;
        int yearOfRecord; // gives the bits in the day byte
        int want;
    };
    const Case cases[] = {
        {0x24, 2024, 2024}, // agrees
        {0x28, 2028, 2028}, // a later year that agrees
        {0x24, 2027, 2023}, // disagrees: the year nearest the clock (2024) with bits 3
        {0xFF, 2025, 2025}, // not BCD
        {0x97, 2026, 2026}, // 1997 has other bits
        {0x99, 2027, 1999}, // read as the PC reads two-digit years
    };
    for (const Case& c : cases) {
        emulator.logger().setClock({2024, 5, 1, 0, 0, 0, 0});
        emulator.logger().memory()[mem::kYearBcd] = c.yearBcd;
        const CivilTime t{c.yearOfRecord, 6, 2, 10, 0, 0, 0};
        setClock(pcClockRecord(t, 0x00, t));
        EXPECT_EQ(emulator.logger().clock().year, c.want) << std::hex << int(c.yearBcd);
    }
}

TEST_F(ClockTest, ImpossibleTimeLeavesTheClockRunning)
{
    const CivilTime before = emulator.logger().clock();
    Bytes bad = pcClockRecord({2024, 3, 15, 14, 7, 9, 0}, 0x00, {});
    for (auto [index, value] : {std::pair{6, 0x13}, {2, 0x60}, {5, 0x32}, {4, 0x2A}}) {
        Bytes r = bad;
        r[std::size_t(index)] = std::uint8_t(value);
        setClock(r);
        EXPECT_EQ(emulator.logger().clock().month, before.month) << index;
        EXPECT_EQ(emulator.logger().clock().day, before.day) << index;
    }
}

TEST_F(ClockTest, RunStatesFromTheClockRecord)
{
    const CivilTime now{2024, 5, 1, 12, 0, 0, 0};
    setClock(pcClockRecord(now, 0xC2, now));
    EXPECT_EQ(runState(), 0xC2);
    EXPECT_EQ(block(0)[mem::kSampleBytes], 0);
    pass(25 * kSec);
    EXPECT_EQ(block(0)[mem::kSampleBytes], 2);

    setClock(pcClockRecord(now, 0xC2, now)); // already recording: keeps on
    EXPECT_EQ(block(0)[mem::kSampleBytes], 2);

    setClock(pcClockRecord(now, 0x00, now));
    EXPECT_EQ(runState(), 0x00);
    pass(60 * kSec);
    EXPECT_EQ(block(0)[mem::kSampleBytes], 2) << "stopped, the recording is kept";
    EXPECT_EQ(readClock()[mem::kRunState], 0x00);

    setClock(pcClockRecord(now, 0x55, now));
    EXPECT_EQ(readClock()[mem::kRunState], 0x55) << "an unknown state reads back";
    pass(60 * kSec);
    EXPECT_EQ(block(0)[mem::kSampleBytes], 2) << "and does not record";
}

TEST_F(ClockTest, DelayedStartWaitsForItsTime)
{
    const CivilTime now{2024, 5, 1, 12, 0, 0, 0};
    const CivilTime start{2024, 5, 1, 12, 1, 30, 0};
    setClock(pcClockRecord(now, 0xB0, start));
    EXPECT_EQ(runState(), 0xB0);
    pass(89 * kSec);
    EXPECT_EQ(runState(), 0xB0);
    EXPECT_EQ(block(0)[mem::kSampleBytes], 0xFF);
    pass(1 * kSec);
    EXPECT_EQ(runState(), 0xC2);
    const Bytes stamp(block(0) + 1, block(0) + 7);
    EXPECT_EQ(stamp, (Bytes{0x24, 0x05, 0x01, 0x12, 0x01, 0x30}));
}

TEST_F(ClockTest, DelayedStartAcrossTheYearEnd)
{
    emulator.logger().memory()[mem::kYearBcd] = 0x24;
    const CivilTime now{2024, 12, 31, 23, 59, 0, 0};
    setClock(pcClockRecord(now, 0xB0, {2025, 1, 1, 0, 1, 0, 0}));
    pass(119 * kSec);
    EXPECT_EQ(runState(), 0xB0);
    pass(1 * kSec);
    EXPECT_EQ(runState(), 0xC2);
    EXPECT_EQ(block(0)[1], 0x25);
}

TEST_F(ClockTest, StopAsThePcDoesIt)
{
    const CivilTime now{2024, 5, 1, 12, 0, 0, 0};
    setClock(pcClockRecord(now, 0xC2, now));
    pass(30 * kSec);
    // Read the clock, then write it back with the run state cleared and the start time
    // made the current time.
    Bytes r = readClock();
    r.resize(mem::kClockRecordSize);
    r[mem::kClockControl] = mem::kClockControlFromPc;
    r[mem::kClockReserved] = 0;
    r[mem::kRunState] = mem::kRunStopped;
    std::copy_n(r.begin() + mem::kClockHundredths, mem::kClockTimeSize, r.begin() + mem::kClockStart);
    r[mem::kClockLast] = mem::kClockLastFromPc;
    setClock(r);
    EXPECT_EQ(runState(), 0x00);
    EXPECT_EQ(block(0)[mem::kSampleBytes], 3);
}

TEST_F(ClockTest, ResetStopsAndKeepsTheMemory)
{
    const CivilTime now{2024, 5, 1, 12, 0, 0, 0};
    setClock(pcClockRecord(now, 0xC2, now));
    pass(30 * kSec);
    const Bytes before(block(0), block(0) + 128);
    pc.exchange(frame('A'), 1000);
    EXPECT_EQ(runState(), 0x00);
    pass(60 * kSec);
    EXPECT_EQ(Bytes(block(0), block(0) + 128), before);
}

TEST_F(ClockTest, TimeSpeedRunsTheLoggerFaster)
{
    emulator.setTimeSpeed(60.0);
    const CivilTime now{2024, 5, 1, 12, 0, 0, 0};
    setClock(pcClockRecord(now, 0xC2, now));
    pass(10 * kSec); // ten minutes for the logger
    EXPECT_EQ(emulator.logger().clock().minute, 10);
    EXPECT_EQ(block(0)[mem::kSampleBytes], 60);
}

} // namespace
} // namespace qz::sim
