// The Download command against the emulator: linear and ring memories, the date rule,
// cancel, faults, and what reaches the receiver of the image.
#include "emulator_rig.h"
#include "link/link_report.h"
#include "link/link_texts.h"
#include "model/byte_view.h"
#include "model/memory_image.h"
#include "model/values.h"

#include <QDateTime>
#include <algorithm>
#include <gtest/gtest.h>

namespace qz::test {
namespace {

const QString kNotAQuorvant = "This device is not a QuorvantZK";
const QString kNotResponding = "Device Not Responding";

sim::MemoryPreset linear(int blocks, std::uint16_t code = 485)
{
    sim::MemoryPreset s;
    s.deviceCode = code;
    s.content = sim::Content::Linear;
    s.blocks = blocks;
    return s;
}

sim::MemoryPreset erased(std::uint16_t code = 485)
{
    sim::MemoryPreset s;
    s.deviceCode = code;
    s.content = sim::Content::Erased;
    return s;
}

std::uint8_t bcd(int v) { return IntToBcd(v); }

// Writes data block k with the given stamp and a full sample area.
void writeBlock(std::uint8_t* memory, int k, const QDateTime& t)
{
    std::uint8_t* b = memory + mem::BlockAddress(k);
    b[mem::kSampleBytes] = mem::kSampleArea;
    std::uint8_t* stamp = b + mem::kBlockStamp;
    stamp[0] = bcd(t.date().year() % 100);
    stamp[1] = bcd(t.date().month());
    stamp[2] = bcd(t.date().day());
    stamp[3] = bcd(t.time().hour());
    stamp[4] = bcd(t.time().minute());
    stamp[5] = bcd(t.time().second());
    b[mem::kBatteryCount] = 180;
    for (std::size_t i = mem::kSamples; i < mem::kBlockSize; ++i)
        b[i] = std::uint8_t(k + int(i));
}

// The logger reports a wrapped ring of this many blocks.
void reportRing(std::uint8_t* memory, int blocks)
{
    ByteView{memory, mem::kLoggerMemorySize}.setU16(mem::kBlocksUsed, std::uint16_t(blocks));
}

// The header bytes a download takes as they are: all but BlocksUsed and FirstBlock.
constexpr std::size_t kAfterFirstBlock = mem::kFirstBlock + 2;

const QDateTime kStart(QDate(2026, 2, 27), QTime(8, 0, 0));

TEST(Download, ALinearRecordingArrivesByteForByte)
{
    EmulatorRig r(linear(23));
    EXPECT_EQ(r.download(), DownloadOutcome::Accepted);
    ASSERT_TRUE(r.image);
    EXPECT_EQ(r.image->size(), 65408u);
    EXPECT_EQ(r.word(mem::kBlocksUsed), 23);
    EXPECT_EQ(r.word(mem::kFirstBlock), 0);
    EXPECT_TRUE(r.sameAsLogger(0, mem::kBlocksUsed));
    EXPECT_TRUE(r.sameAsLogger(kAfterFirstBlock, mem::BlockAddress(23)));
    EXPECT_TRUE(r.prompt.records().empty());
    EXPECT_EQ(r.progress.caption, "Downloading Quorvant ...");
    EXPECT_EQ(r.progress.cancelEnabled.front(), true);
    // Block 0 is read twice: once to start the date chain.
    EXPECT_EQ(r.emulator.commands('D'), 4 + 1 + 24);
}

TEST(Download, TheBarCyclesEveryElevenBlocks)
{
    EmulatorRig r(linear(23));
    r.download();
    const std::vector<int> header{0, 33, 66, 100};
    std::vector<int> expected = header;
    for (int i = 0; i <= 23; ++i)
        expected.push_back((i % 11) * 9 + 10);
    expected.push_back(100);
    EXPECT_EQ(r.progress.positions, expected);
    EXPECT_EQ(expected[4 + 10], 100);
    EXPECT_EQ(expected[4 + 11], 10);
}

TEST(Download, AWrappedRingStartsAtItsOldestBlock)
{
    sim::MemoryPreset preset;
    preset.deviceCode = 101;
    preset.content = sim::Content::Wrapped;
    preset.blocks = 40;
    EmulatorRig r(preset);
    const int blocks = MemoryBlocks(101);
    const int first = ByteView{r.memory(), mem::kLoggerMemorySize}.u16(mem::kFirstBlock);
    ASSERT_GT(first, 0);
    EXPECT_EQ(r.download(), DownloadOutcome::Accepted);
    ASSERT_TRUE(r.image);
    EXPECT_EQ(r.word(mem::kBlocksUsed), blocks);
    EXPECT_EQ(r.word(mem::kFirstBlock), first);
    EXPECT_TRUE(r.sameAsLogger(0, mem::BlockAddress(blocks)));
}

TEST(Download, AHandMadeRingOfSixtyBlocksWithItsOldestInBlock37)
{
    EmulatorRig r(erased(0x00));
    ASSERT_EQ(MemoryBlocks(0), 60);
    std::uint8_t* m = r.memory();
    reportRing(m, 60);
    for (int k = 0; k < 60; ++k)
        writeBlock(m, k, kStart.addSecs(3600 * ((k - 37 + 60) % 60)));
    EXPECT_EQ(r.download(), DownloadOutcome::Accepted);
    EXPECT_EQ(r.word(mem::kBlocksUsed), 60);
    EXPECT_EQ(r.word(mem::kFirstBlock), 37);
}

TEST(Download, TheOldestBlockSearchSkipsBlocksNotReadAndStampsThatAreNoDate)
{
    EmulatorRig r(erased(0x00));
    std::uint8_t* m = r.memory();
    reportRing(m, 60);
    // Blocks 0..29 recorded, oldest in block 10; block 30 erased ends the loop, so blocks
    // 30..59 are never read. Block 12 carries 30 February, which is no date.
    for (int k = 0; k < 30; ++k)
        writeBlock(m, k, kStart.addSecs(3600 * ((k - 10 + 30) % 30)));
    m[mem::BlockAddress(12) + mem::kBlockStamp + 1] = 0x02;
    m[mem::BlockAddress(12) + mem::kBlockStamp + 2] = 0x30;
    EXPECT_EQ(r.download(), DownloadOutcome::Accepted);
    EXPECT_EQ(r.word(mem::kBlocksUsed), 60);
    EXPECT_EQ(r.word(mem::kFirstBlock), 10);
    // Block 30 was read (and refused); the blocks after it stay empty in the image.
    EXPECT_EQ(std::count(r.image->begin() + mem::BlockAddress(31), r.image->end(), 0),
              mem::kBlockSize * (mem::kMaxBlocks - 31));
}

TEST(Download, TheRecordingEndsAtTheFirstBlockThatDoesNotContinueTheDate)
{
    const qint64 fiveDays = 5 * 24 * 3600;
    struct Case {
        const char* name;
        qint64 gap;      // from block 3 to block 4
        int expected;    // blocks taken
    } cases[] = {
        {"one hour", 3600, 10},
        {"exactly five days", fiveDays, 10},
        {"five days and 59 minutes", fiveDays + 3540, 10},
        {"five days and one hour", fiveDays + 3600, 4},
        {"five days and two hours", fiveDays + 7200, 4},
        {"one second back", -1, 4},
    };
    for (const auto& c : cases) {
        EmulatorRig r(erased());
        QDateTime t = kStart;
        for (int k = 0; k < 10; ++k) {
            writeBlock(r.memory(), k, t);
            t = t.addSecs(k == 3 ? c.gap : 3600);
        }
        EXPECT_EQ(r.download(), DownloadOutcome::Accepted) << c.name;
        EXPECT_EQ(r.word(mem::kBlocksUsed), c.expected) << c.name;
        EXPECT_EQ(r.word(mem::kFirstBlock), 0) << c.name;
        EXPECT_TRUE(r.prompt.records().empty()) << c.name;
    }
}

TEST(Download, AStampThatIsNoDateWarnsAndIsTaken)
{
    EmulatorRig r(erased());
    for (int k = 0; k < 4; ++k)
        writeBlock(r.memory(), k, kStart.addSecs(3600 * k));
    r.memory()[mem::BlockAddress(2) + mem::kBlockStamp + 2] = 0x31; // 31 February
    r.memory()[mem::BlockAddress(2) + mem::kBlockStamp + 1] = 0x02;
    EXPECT_EQ(r.download(), DownloadOutcome::Accepted);
    // Once for the block, once more when the next block is compared with it.
    EXPECT_EQ(r.prompt.texts(), QStringList(2, "Measurements date error"));
    EXPECT_EQ(r.prompt.records()[0].symbol, PromptSymbol::Warning);
    EXPECT_EQ(r.prompt.records()[0].buttons, PromptButtons::Ok);
    EXPECT_EQ(r.word(mem::kBlocksUsed), 4);
}

TEST(Download, AnErasedMemoryIsNoQuorvant)
{
    EmulatorRig r(erased());
    EXPECT_EQ(r.download(), DownloadOutcome::Failed);
    EXPECT_FALSE(r.image);
    EXPECT_EQ(r.prompt.texts(), QStringList{kNotAQuorvant});
    EXPECT_EQ(r.prompt.records()[0].symbol, PromptSymbol::Error);
}

TEST(Download, CancelEndsWithoutMessageAndWithoutImage)
{
    EmulatorRig r(linear(30));
    r.progress.cancelAt = 5;
    EXPECT_EQ(r.download(), DownloadOutcome::Ended);
    EXPECT_FALSE(r.image);
    EXPECT_TRUE(r.prompt.records().empty());
    EXPECT_EQ(r.progress.cancelChecks, 5);
}

TEST(Download, WhatTheReceiverRefuses)
{
    struct Case {
        ImageAcceptance answer;
        DownloadOutcome outcome;
        QStringList texts;
    } cases[] = {
        {{false, 1}, DownloadOutcome::Ended,
         {"   Cannot display a record\rwith less than two measurements "}},
        {{false, 0}, DownloadOutcome::Ended,
         {"   Cannot display a record\rwith less than two measurements "}},
        {{false, 50}, DownloadOutcome::Failed, {kNotAQuorvant}},
        {{true, 2}, DownloadOutcome::Accepted, {}},
    };
    for (const auto& c : cases) {
        EmulatorRig r(linear(3));
        EXPECT_EQ(r.download(c.answer), c.outcome) << c.answer.measurementCount;
        EXPECT_EQ(r.prompt.texts(), c.texts) << c.answer.measurementCount;
    }
}

TEST(Download, ALoggerThatDoesNotAnswerAsksToBeConnected)
{
    {
        EmulatorRig r(linear(3));
        r.emulator.setSilent(true);
        EXPECT_EQ(r.download(), DownloadOutcome::NotConnected);
        EXPECT_EQ(r.prompt.texts(), QStringList{"Please Connect The Quorvant"});
        EXPECT_EQ(r.prompt.records()[0].buttons, PromptButtons::YesNo);
    }
    {
        // Yes goes on without a second ping, and fails once.
        EmulatorRig r(linear(3));
        r.emulator.setSilent(true);
        r.prompt.script({PromptAnswer::Yes});
        EXPECT_EQ(r.download(), DownloadOutcome::Failed);
        EXPECT_EQ(r.prompt.texts(),
                  (QStringList{"Please Connect The Quorvant", kNotResponding, kNotAQuorvant}));
        EXPECT_FALSE(r.image);
    }
    {
        // Connected in the meantime.
        EmulatorRig r(linear(3));
        r.emulator.setSilent(true);
        r.prompt.script({PromptAnswer::Yes});
        auto s = r.open();
        ASSERT_NE(s->ping(), LinkStatus::Ok);
        r.emulator.setSilent(false);
        EXPECT_TRUE(s.report.confirmConnect());
        EXPECT_EQ(downloadRecording(*s, r.progress, s.report,
                                    [&](const std::vector<std::uint8_t>&) {
                                        return ImageAcceptance{true, 10};
                                    }),
                  DownloadEnd::Accepted);
    }
}

TEST(Download, SilenceMidDownloadGivesNoImage)
{
    EmulatorRig r(linear(40));
    // Frames: ping, 4 header reads, block 0 twice, then blocks 1, 2, ... Silence from
    // the eleventh block read on.
    sim::Fault f;
    f.kind = sim::FaultKind::Silence;
    f.frame = 5 + 1 + 11;
    f.frames = 0;
    r.emulator.addFault(f);
    EXPECT_EQ(r.download(), DownloadOutcome::Failed);
    EXPECT_FALSE(r.image);
    EXPECT_EQ(r.prompt.texts(), (QStringList{kNotResponding, kNotAQuorvant}));
}

TEST(Download, ByteErrorsEitherHealThroughRetriesOrLeaveNoImage)
{
    for (std::uint64_t seed = 1; seed <= 6; ++seed) {
        EmulatorRig r(linear(40));
        r.emulator.setByteErrors(0.01, seed);
        const DownloadOutcome o = r.download();
        EXPECT_GT(r.emulator.byteErrors(), 0) << seed;
        if (o == DownloadOutcome::Accepted) {
            EXPECT_EQ(r.word(mem::kBlocksUsed), 40) << seed;
            EXPECT_TRUE(r.sameAsLogger(0, mem::kBlocksUsed)) << seed;
            EXPECT_TRUE(r.sameAsLogger(kAfterFirstBlock, mem::BlockAddress(40))) << seed;
            EXPECT_TRUE(r.prompt.records().empty()) << seed;
        } else {
            EXPECT_FALSE(r.image) << seed;
            EXPECT_EQ(r.prompt.texts().last(), kNotAQuorvant) << seed;
        }
    }
}

} // namespace
} // namespace qz::test
