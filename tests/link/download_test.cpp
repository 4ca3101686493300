// The Download command against the emulator: linear and ring memories, the date rule,
// cancel, link failures, and what reaches the receiver of the image. What a download does
// with damaged, unsteady and unread blocks is in download_integrity_test.cpp.
#include "download_memory.h"
#include "emulator_rig.h"
#include "link/download_progress.h"
#include "link/link_report.h"
#include "link/link_texts.h"
#include "model/byte_view.h"
#include "model/memory_image.h"
#include "model/values.h"
#include "support/virtual_clock.h"

#include <QDateTime>
#include <algorithm>
#include <gtest/gtest.h>

namespace qz::test {
namespace {

const QString kNotAQuorvant = "This device is not a QuorvantZK";
const QString kNotResponding = "Device Not Responding";

TEST(Download, ALinearRecordingArrivesByteForByte)
{
    EmulatorRig r(linear(23));
    EXPECT_EQ(r.download(), DownloadOutcome::Accepted);
    ASSERT_TRUE(r.image);
    EXPECT_EQ(r.image->size(), 65408u);
    EXPECT_EQ(r.word(mem::kBlocksUsed), 23);
    EXPECT_EQ(r.word(mem::kFirstBlock), 0);
    EXPECT_TRUE(r.sameAsLogger(0, mem::kBlocksUsed));
    EXPECT_TRUE(r.sameAsLogger(kAfterFirstBlock, mem::blockAddress(23)));
    EXPECT_TRUE(r.prompt.records().empty());
    EXPECT_EQ(r.progress.caption, "Downloading Quorvant ...");
    EXPECT_EQ(r.progress.cancelEnabled.front(), true);
    // The header, each block once, and the erased block after them.
    EXPECT_EQ(r.emulator.commands('D'), 4 + 24);
}

TEST(Download, TheBarOnlyMovesForwardAndTheLineCountsTheBlocks)
{
    EmulatorRig r(linear(23));
    r.download();
    const int blocks = memoryBlocks(ByteView{r.memory(), mem::kLoggerMemorySize}.u16(mem::kDeviceCode));
    const std::vector<int>& p = r.progress.positions;
    EXPECT_EQ(r.progress.maximum, 1000);
    // The start, 4 header steps, 24 blocks (the last one erased), the end.
    ASSERT_EQ(p.size(), 1u + 4u + 24u + 1u);
    EXPECT_EQ(p.front(), 0);
    EXPECT_EQ(p.back(), 1000);
    EXPECT_TRUE(std::is_sorted(p.begin(), p.end()));
    for (std::size_t k = 6; k < p.size(); ++k)
        EXPECT_GT(p[k], p[k - 1]) << "step " << k << " did not move the bar";

    // The line: cleared at the start, then one per block.
    const std::vector<QString>& t = r.progress.texts;
    ASSERT_EQ(t.size(), 1u + 24u);
    EXPECT_EQ(t[0], QString());
    for (std::size_t k = 1; k < t.size(); ++k)
        EXPECT_TRUE(t[k].startsWith("Block " + QString::number(k) + " of " + QString::number(blocks)))
            << t[k].toStdString();
}

TEST(DownloadProgress, TheTimeLeftFollowsThePaceOfTheBlocksRead)
{
    RecordingProgress shown;
    VirtualClock clock;
    DownloadProgress progress(shown, clock);
    progress.begin();
    for (int step = 0; step <= DownloadProgress::kHeaderSteps; ++step)
        progress.header(step);
    for (int i = 0; i < 4; ++i) {
        progress.block(i, 508);
        clock.advance(250);
    }
    // A block read again after a failed check does not move the bar back.
    progress.block(2, 508);
    progress.end();
    EXPECT_EQ(
        shown.texts,
        (std::vector<QString>{"", "Block 1 of 508", "Block 2 of 508, 2:07 left", "Block 3 of 508, 2:07 left",
                              "Block 4 of 508, 2:07 left", "Block 3 of 508, 4:13 left"}));
    EXPECT_TRUE(std::is_sorted(shown.positions.begin(), shown.positions.end()));
    EXPECT_EQ(shown.positions.back(), DownloadProgress::kMaximum);
}

TEST(Download, BlockLineTellsTheTimeLeftInMinutesOrHours)
{
    const struct {
        int block, count;
        std::int64_t left;
        const char* text;
    } cases[] = {
        {37, 508, -1, "Block 37 of 508"},
        {37, 508, 125, "Block 37 of 508, 2:05 left"},
        {1, 508, 3725, "Block 1 of 508, 1:02:05 left"},
        {60, 60, 0, "Block 60 of 60, 0:00 left"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(blockProgressText(c.block, c.count, c.left), QString::fromLatin1(c.text));
}

TEST(Download, AWrappedRingStartsAtItsOldestBlock)
{
    sim::MemoryPreset preset;
    preset.deviceCode = 101;
    preset.content = sim::Content::Wrapped;
    preset.blocks = 40;
    EmulatorRig r(preset);
    const int blocks = memoryBlocks(101);
    const int first = ByteView{r.memory(), mem::kLoggerMemorySize}.u16(mem::kFirstBlock);
    ASSERT_GT(first, 0);
    EXPECT_EQ(r.download(), DownloadOutcome::Accepted);
    ASSERT_TRUE(r.image);
    EXPECT_EQ(r.word(mem::kBlocksUsed), blocks);
    EXPECT_EQ(r.word(mem::kFirstBlock), first);
    EXPECT_TRUE(r.sameAsLogger(0, mem::blockAddress(blocks)));
}

TEST(Download, AHandMadeRingOfSixtyBlocksWithItsOldestInBlock37)
{
    EmulatorRig r(erased(0x00));
    ASSERT_EQ(memoryBlocks(0), 60);
    std::uint8_t* m = r.memory();
    reportRing(m, 60);
    for (int k = 0; k < 60; ++k)
        writeBlock(m, k, kStart.addSecs(3600 * ((k - 37 + 60) % 60)));
    EXPECT_EQ(r.download(), DownloadOutcome::Accepted);
    EXPECT_EQ(r.word(mem::kBlocksUsed), 60);
    EXPECT_EQ(r.word(mem::kFirstBlock), 37);
}

TEST(Download, ABlockThatDoesNotContinueTheDateEndsTheRecordingAsDamaged)
{
    // A linear memory is recorded without gaps: a block whose stamp lies outside 5 days
    // and 1 hour after the one before is not a recording's end but damage (an erased block
    // is the end). The user keeps the blocks before it or not.
    const qint64 fiveDays = 5 * 24 * 3600;
    const QString damaged = "Block 4 of the logger's memory is damaged; the recording ends before it\n"
                            "Keep what was read before it?";
    struct Case {
        const char* name;
        qint64 gap; // from block 3 to block 4
        int taken; // blocks taken when the user keeps what was read
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
        r.prompt.script({PromptAnswer::Yes});
        EXPECT_EQ(r.download(), DownloadOutcome::Accepted) << c.name;
        EXPECT_EQ(r.word(mem::kBlocksUsed), c.taken) << c.name;
        EXPECT_EQ(r.word(mem::kFirstBlock), 0) << c.name;
        EXPECT_EQ(r.prompt.texts(), c.taken == 10 ? QStringList() : QStringList{damaged}) << c.name;
    }
}

TEST(Download, AStampThatIsNoDateWarnsAndIsTaken)
{
    EmulatorRig r(erased());
    for (int k = 0; k < 4; ++k)
        writeBlock(r.memory(), k, kStart.addSecs(3600 * k));
    r.memory()[mem::blockAddress(2) + mem::kBlockStamp + 2] = 0x31; // 31 February
    r.memory()[mem::blockAddress(2) + mem::kBlockStamp + 1] = 0x02;
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
    const QString unknownModel = "This device is not a QuorvantZK\n"
                                 "The logger catalogue does not know device code 485.";
    const QString saveAnyway = "Save the downloaded memory to a file anyway?";
    struct Case {
        const char* name;
        ImageUse use;
        DownloadOptions options;
        PromptAnswer answer; // to a question
        DownloadOutcome outcome;
        QStringList texts;
        bool saved; // the image went to the saver
    } cases[] = {
        {"shown", ImageUse::Shown, {}, PromptAnswer::No, DownloadOutcome::Accepted, {}, false},
        {"too few measurements",
         ImageUse::TooFewMeasurements,
         {},
         PromptAnswer::No,
         DownloadOutcome::Ended,
         {"   Cannot display a record\rwith less than two measurements "},
         false},
        {"unknown model, not saved",
         ImageUse::UnknownModel,
         {},
         PromptAnswer::No,
         DownloadOutcome::Failed,
         {unknownModel + "\n" + saveAnyway},
         false},
        {"unknown model, saved",
         ImageUse::UnknownModel,
         {},
         PromptAnswer::Yes,
         DownloadOutcome::SavedAnyway,
         {unknownModel + "\n" + saveAnyway},
         true},
        {"unknown model, saved without a question",
         ImageUse::UnknownModel,
         {.saveUnknownModel = Decision::Yes},
         PromptAnswer::No,
         DownloadOutcome::SavedAnyway,
         {unknownModel},
         true},
        {"unknown model, refused without a question",
         ImageUse::UnknownModel,
         {.saveUnknownModel = Decision::No},
         PromptAnswer::Yes,
         DownloadOutcome::Failed,
         {unknownModel},
         false},
    };
    for (const auto& c : cases) {
        EmulatorRig r(linear(3));
        r.prompt.script({c.answer});
        EXPECT_EQ(r.download(c.use, c.options), c.outcome) << c.name;
        EXPECT_EQ(r.prompt.texts(), c.texts) << c.name;
        EXPECT_EQ(r.savedAnyway.has_value(), c.saved) << c.name;
        if (c.saved) {
            EXPECT_EQ(r.savedAnyway, r.image) << c.name << ": saved as it was handed over";
        }
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
        // Yes goes on without a second ping, and fails once: a logger that does not
        // answer is no logger of another kind.
        EmulatorRig r(linear(3));
        r.emulator.setSilent(true);
        r.prompt.script({PromptAnswer::Yes});
        EXPECT_EQ(r.download(), DownloadOutcome::Stopped);
        EXPECT_EQ(r.prompt.texts(), (QStringList{"Please Connect The Quorvant", kNotResponding}));
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
        EXPECT_EQ(downloadRecording(*s, r.progress, s.report, {},
                                    {[&](const std::vector<std::uint8_t>&) { return ImageUse::Shown; }}),
                  DownloadEnd::Accepted);
    }
}

TEST(Download, ALineThatFailsMidDownloadIsDeviceNotRespondingOnly)
{
    // Frames: ping, 4 header reads, then blocks 0, 1, ... From the eleventh block read on
    // the line fails for good: the transaction gives up, and the user hears that the
    // device does not respond, not that it is of another kind.
    struct Case {
        const char* name;
        sim::FaultKind kind;
    } cases[] = {
        {"silence", sim::FaultKind::Silence},
        {"bad checksums", sim::FaultKind::BadChecksum},
        {"short replies", sim::FaultKind::ShortReply},
        {"wrong echoes", sim::FaultKind::WrongEcho},
    };
    for (const auto& c : cases) {
        EmulatorRig r(linear(40));
        sim::Fault f;
        f.kind = c.kind;
        f.frame = 5 + 11;
        f.frames = 0;
        f.byte = 4;
        r.emulator.addFault(f);
        EXPECT_EQ(r.download(), DownloadOutcome::Stopped) << c.name;
        EXPECT_FALSE(r.image) << c.name;
        EXPECT_EQ(r.prompt.texts(), QStringList{kNotResponding}) << c.name;
    }
}

TEST(Download, ByteErrorsEitherHealThroughRetriesOrLeaveNoImage)
{
    // These seeds give no pair of bit errors that cancel out in one reply, so even a
    // plain download is exact (the checksum misses such pairs; the integrity tests
    // show one).
    for (const bool verify : {false, true})
        for (std::uint64_t seed = 1; seed <= 6; ++seed) {
            SCOPED_TRACE(verify ? "verified" : "plain");
            EmulatorRig r(linear(40));
            r.emulator.setByteErrors(0.01, seed);
            const DownloadOutcome o = r.download(DownloadOptions{.verify = verify});
            EXPECT_GT(r.emulator.byteErrors(), 0) << seed;
            if (o == DownloadOutcome::Accepted) {
                EXPECT_EQ(r.word(mem::kBlocksUsed), 40) << seed;
                EXPECT_TRUE(r.sameAsLogger(0, mem::kBlocksUsed)) << seed;
                EXPECT_TRUE(r.sameAsLogger(kAfterFirstBlock, mem::blockAddress(40))) << seed;
                EXPECT_TRUE(r.prompt.records().empty()) << seed;
            } else {
                EXPECT_FALSE(r.image) << seed;
                ASSERT_FALSE(r.prompt.texts().isEmpty()) << seed;
                EXPECT_NE(r.prompt.texts().last(), kNotAQuorvant) << seed;
            }
        }
}

} // namespace
} // namespace qz::test
