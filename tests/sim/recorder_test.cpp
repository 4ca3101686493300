#include "model/memory_image.h"
#include "model/values.h"
#include "sim/logger.h"
#include "sim/presets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace qz::sim {
namespace {

constexpr std::int64_t kSec = kUsPerSecond;
const CivilTime kStart{2026, 2, 27, 8, 0, 0, 0};

// A 60-block logger (device code 0) programmed for the given inputs and interval.
struct Rig {
    explicit Rig(int inputs, int interval, bool cyclic)
    {
        writeHeader(logger.memory(),
                    {.deviceCode = 0,
                     .content = cyclic ? Content::Wrapped : Content::Linear,
                     .inputs = inputs,
                     .intervalSeconds = interval,
                     .start = kStart});
        logger.setClock(kStart);
    }
    const std::uint8_t* block(int k) const { return logger.memory() + mem::blockAddress(k); }
    unsigned word(std::size_t at) const
    {
        return logger.memory()[at] | unsigned(logger.memory()[at + 1]) << 8;
    }
    void run(std::int64_t seconds) { logger.advance(logger.elapsedUs() + seconds * kSec); }
    std::vector<std::uint8_t> stamp(int k) const
    {
        return {block(k) + mem::kBlockStamp, block(k) + mem::kBlockStamp + 6};
    }

    Logger logger{kStart};
};

std::vector<std::uint8_t> stampOf(const CivilTime& t)
{
    return {intToBcd(t.year % 100), intToBcd(t.month),  intToBcd(t.day),
            intToBcd(t.hour),       intToBcd(t.minute), intToBcd(t.second)};
}

TEST(RecorderTest, StartOpensBlockZeroAndErasesTheRest)
{
    Rig r(3, 60, false);
    r.logger.startRecording();
    EXPECT_EQ(r.logger.runState(), mem::kRunRecording);
    EXPECT_EQ(r.block(0)[mem::kSampleBytes], 0);
    EXPECT_EQ(r.stamp(0), stampOf(kStart));
    EXPECT_EQ(r.block(0)[mem::kBatteryCount], 183);
    EXPECT_EQ(r.block(0)[mem::kSamples], 0xFF);
    EXPECT_EQ(r.block(1)[mem::kSampleBytes], 0xFF);
    EXPECT_EQ(r.word(mem::kBlocksUsed), 0u);
}

TEST(RecorderTest, OneRecordPerIntervalInMaskOrder)
{
    Rig r(3, 60, false);
    r.logger.memory()[mem::kInputMask] = 0b10100100; // inputs 2, 5, 7
    r.logger.startRecording();
    r.run(59);
    EXPECT_EQ(r.block(0)[mem::kSampleBytes], 0) << "the first record comes one interval in";
    r.run(1 + 60);
    ASSERT_EQ(r.block(0)[mem::kSampleBytes], 6);
    const std::int64_t t0 = civilToUs(kStart);
    const int order[] = {2, 5, 7};
    for (int n = 0; n < 2; ++n)
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(r.block(0)[mem::kSamples + std::size_t(3 * n + k)],
                      r.logger.sensors().raw(order[k], t0 + (n + 1) * 60 * kSec))
                << "record " << n << " input " << order[k];
}

TEST(RecorderTest, RecordsFillUpFromTheNextInputsWhenTheMaskHasTooFew)
{
    Rig r(3, 60, false);
    r.logger.memory()[mem::kInputMask] = 0b00010000; // input 4 only
    EXPECT_EQ(readRecorderSetup(r.logger.memory()).order[0], 4);
    EXPECT_EQ(readRecorderSetup(r.logger.memory()).order[1], 0);
    EXPECT_EQ(readRecorderSetup(r.logger.memory()).order[2], 1);
    for (std::uint8_t count : {0, 9, 255}) {
        r.logger.memory()[mem::kInputCount] = count;
        EXPECT_EQ(readRecorderSetup(r.logger.memory()).inputs, 1) << int(count);
    }
}

TEST(RecorderTest, CrossesABlockBoundary)
{
    Rig r(3, 60, false); // 40 records per block
    r.logger.startRecording();
    r.run(40 * 60);
    EXPECT_EQ(r.block(0)[mem::kSampleBytes], mem::kSampleArea);
    EXPECT_EQ(r.block(1)[mem::kSampleBytes], 0xFF) << "the next block opens with its record";
    r.run(60);
    EXPECT_EQ(r.block(1)[mem::kSampleBytes], 3);
    CivilTime second = kStart;
    second.minute = 40; // 40 records x 60 s after the start
    EXPECT_EQ(r.stamp(1), stampOf(second));
    EXPECT_EQ(r.block(1)[mem::kSamples + 3], 0xFF);
}

TEST(RecorderTest, StopWhenFullStopsAtTheLastBlock)
{
    Rig r(1, 1, false); // 60 blocks x 120 records
    r.logger.startRecording();
    r.run(60 * 120 - 1);
    EXPECT_EQ(r.logger.runState(), mem::kRunRecording);
    r.run(1);
    EXPECT_EQ(r.logger.runState(), mem::kRunStopped);
    EXPECT_EQ(r.block(59)[mem::kSampleBytes], mem::kSampleArea);
    const std::vector<std::uint8_t> before(r.logger.memory(), r.logger.memory() + mem::kLoggerMemorySize);
    r.run(3600);
    EXPECT_EQ(std::vector<std::uint8_t>(r.logger.memory(), r.logger.memory() + mem::kLoggerMemorySize),
              before);
    EXPECT_EQ(r.word(mem::kBlocksUsed) & 0xFF, 0u) << "read as a linear recording";
}

TEST(RecorderTest, CyclicWrapsAndReportsTheRing)
{
    Rig r(1, 1, true);
    r.logger.startRecording();
    r.run(60 * 120);
    EXPECT_EQ(r.word(mem::kBlocksUsed), 0u) << "full but not wrapped yet";
    r.run(5);
    EXPECT_EQ(r.logger.runState(), mem::kRunRecording);
    EXPECT_EQ(r.word(mem::kBlocksUsed), 60u);
    EXPECT_EQ(r.word(mem::kFirstBlock), 1u);
    EXPECT_EQ(r.block(0)[mem::kSampleBytes], 5);
    CivilTime t = kStart;
    t.hour = 10; // 7200 s later
    EXPECT_EQ(r.stamp(0), stampOf(t));
    // One more block: the oldest moves on.
    r.run(120);
    EXPECT_EQ(r.word(mem::kFirstBlock), 2u);
    EXPECT_EQ(r.block(1)[mem::kSampleBytes], 5);
}

TEST(RecorderTest, WrappedRingHasItsOldestStampAfterTheNewestBlock)
{
    Rig r(2, 10, true); // 60 records per block
    r.logger.startRecording();
    r.run(std::int64_t(60 + 37) * 60 * 10 + 50);
    const unsigned first = r.word(mem::kFirstBlock);
    EXPECT_EQ(first, 38u);
    // Every block is plausible and the stamps rise from the oldest around the ring.
    std::int64_t previous = -1;
    for (int j = 0; j < 60; ++j) {
        const std::uint8_t* b = r.block(int((first + unsigned(j)) % 60));
        ASSERT_LE(b[mem::kSampleBytes], mem::kSampleArea);
        std::int64_t t = 0;
        for (int i = 0; i < 6; ++i)
            t = t * 100 + bcdToInt(b[mem::kBlockStamp + std::size_t(i)]);
        EXPECT_GT(t, previous) << "logical block " << j;
        previous = t;
    }
}

TEST(RecorderTest, ClockSetKeepsTheCadence)
{
    Rig r(1, 60, false);
    r.logger.startRecording();
    r.run(30);
    CivilTime later = kStart;
    later.hour = 20;
    r.logger.setClock(later);
    r.run(30);
    EXPECT_EQ(r.block(0)[mem::kSampleBytes], 1) << "still one interval after the start";
}

TEST(RecorderTest, ARingLeftForManyRoundsHoldsWhatRecordByRecordWouldHave)
{
    // 60 blocks x 120 records, one a second: a round of the ring is 2 hours. The long run
    // ends in the middle of a block; before it, the recorder has just started, is in the
    // middle of a block, or has just filled one.
    const struct {
        const char* name;
        std::int64_t before; // seconds recorded before the long run
    } cases[] = {{"just started", 0}, {"within a block", 50}, {"a block just filled", 120}};
    const std::int64_t longRun = 2 * 24 * 3600 + 1234; // 24 rounds and a little
    for (const auto& c : cases) {
        Rig once(1, 1, true);
        Rig steps(1, 1, true);
        for (Rig* r : {&once, &steps}) {
            r->logger.startRecording();
            r->run(c.before);
        }
        once.run(longRun);
        for (std::int64_t done = 0; done < longRun; done += 3000) // each step shorter than a round
            steps.run(std::min<std::int64_t>(3000, longRun - done));
        EXPECT_EQ(std::memcmp(once.logger.memory(), steps.logger.memory(), Logger::kMemorySize), 0) << c.name;
        EXPECT_EQ(once.logger.recorder().records(), steps.logger.recorder().records()) << c.name;
        EXPECT_EQ(once.logger.clockRecord(), steps.logger.clockRecord()) << c.name;
    }
}

} // namespace
} // namespace qz::sim
