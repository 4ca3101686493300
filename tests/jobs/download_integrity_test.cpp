// What a download never takes for a recording: blocks whose bytes a verified download did
// not read the same twice, damaged blocks (re-read first; the part before them is kept
// only when the user says so), and blocks of a ring that were never read.
#include "job_rig.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qz::test {
namespace {

// Frames of a download on the emulator: the ping, 4 header reads (twice each when
// verified), then the block reads.
constexpr std::int64_t kFirstBlockFrame = 5;
constexpr std::int64_t kFirstVerifiedBlockFrame = 1 + 2 * 4;

// Ten blocks one hour apart, whose neighbouring sample bytes all differ.
void tenHourlyBlocks(JobRig& r)
{
    for (int k = 0; k < 10; ++k)
        writeBlock(r.memory(), k, kStart.addSecs(3600 * k));
}

sim::Fault pairedBitErrors(std::int64_t frame, int byte, std::int64_t frames = 1)
{
    sim::Fault f;
    f.kind = sim::FaultKind::PairedBitErrors;
    f.frame = frame;
    f.frames = frames;
    f.byte = byte;
    return f;
}

TEST(VerifiedDownload, ReadsEveryBlockTwice)
{
    JobRig r(erased());
    tenHourlyBlocks(r);
    const DownloadResult d = r.download({.verify = true});
    EXPECT_EQ(d.status, DownloadStatus::Read);
    EXPECT_TRUE(r.sameAsLogger(d.image, kAfterFirstBlock, mem::blockAddress(10)));
    // The 4 header areas, blocks 0..9 and the erased block 10, twice each.
    EXPECT_EQ(r.emulator.commands('D'), 2 * 4 + 2 * 11);
    EXPECT_TRUE(told(d).isEmpty());
}

TEST(VerifiedDownload, TwoBitErrorsThatCancelOutPassOnlyThePlainDownload)
{
    // The first read of block 7 carries two bit errors in its samples whose sum the
    // checksum cannot tell from the right one.
    struct Case {
        const char* name;
        bool verify;
        std::int64_t frame; // the first read of block 7
        bool exact;
        int reads; // memory reads
    } cases[] = {
        {"plain", false, kFirstBlockFrame + 7, false, 4 + 11},
        {"verified", true, kFirstVerifiedBlockFrame + 2 * 7, true, 2 * 4 + 2 * 11 + 1},
    };
    for (const auto& c : cases) {
        JobRig r(erased());
        tenHourlyBlocks(r);
        r.emulator.addFault(pairedBitErrors(c.frame, 20));
        const DownloadResult d = r.download({.verify = c.verify});
        EXPECT_EQ(d.status, DownloadStatus::Read) << c.name;
        EXPECT_EQ(r.sameAsLogger(d.image, kAfterFirstBlock, mem::blockAddress(10)), c.exact) << c.name;
        EXPECT_TRUE(r.sameAsLogger(d.image, kAfterFirstBlock, mem::blockAddress(7))) << c.name;
        EXPECT_EQ(r.emulator.commands('D'), c.reads) << c.name;
        EXPECT_TRUE(told(d).isEmpty()) << c.name;
    }
}

TEST(VerifiedDownload, ABlockThatNeverReadsTheSameTwiceEndsItWithoutImage)
{
    JobRig r(erased());
    tenHourlyBlocks(r);
    // Three reads of block 7, each with its own pair of errors.
    r.emulator.addFault(pairedBitErrors(kFirstVerifiedBlockFrame + 2 * 7, 20, 3));
    const DownloadResult d = r.download({.verify = true});
    EXPECT_EQ(d.status, DownloadStatus::UnsteadyBlock);
    EXPECT_EQ(d.block, 7);
    EXPECT_EQ(messagesOf(d),
              (Messages{{"Block 7 of the logger's memory read differently each time; "
                         "the download is stopped",
                         MessageSymbol::Error}}));
}

struct DamageCase {
    const char* name;
    DownloadPolicy policy;
    std::optional<bool> answer; // to the question, when one is open
    bool kept;
    MessageSymbol symbol; // of the one message
};

void PrintTo(const DamageCase& c, std::ostream* os)
{
    *os << c.name;
}

class DamagedBlock : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedBlock, EndsTheRecordingAndTheUserKeepsWhatWasReadOrNot)
{
    // A bad month byte in block 5 of a 10-block linear memory of one input.
    const DamageCase& c = GetParam();
    sim::MemoryPreset preset = linear(10, 1);
    preset.damagedBlock = 5;
    JobRig r(preset);
    DownloadResult d = r.download(c.policy);
    const QString damaged = "Block 5 of the logger's memory is damaged; the recording ends before it";
    EXPECT_EQ(d.question, c.answer ? Question::KeepPartial : Question::None);
    const Messages shown = c.answer ? Messages{*questionOf(d)} : messagesOf(d);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, c.answer ? damaged + "\nKeep what was read before it?" : damaged);
    EXPECT_EQ(shown[0].symbol, c.symbol);
    // Read again up to a transaction's attempts before it counts as damaged.
    const int reads = c.policy.verify ? 2 : 1;
    EXPECT_EQ(r.emulator.commands('D'), reads * (4 + 5 + 5));
    if (c.answer && *c.answer) {
        d = keepPartRead(d, r.catalog(), Decision::Ask);
        EXPECT_TRUE(told(d).isEmpty()) << "told with the question";
    }
    if (c.kept) {
        EXPECT_EQ(d.status, DownloadStatus::Read);
        EXPECT_EQ(JobRig::word(d, mem::kBlocksUsed), 5);
        EXPECT_TRUE(r.sameAsLogger(d.image, kAfterFirstBlock, mem::blockAddress(5)));
    } else {
        EXPECT_EQ(d.status, DownloadStatus::Damaged);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Choices, DamagedBlock,
    ::testing::Values(DamageCase{"asked_kept", {}, true, true, MessageSymbol::Warning},
                      DamageCase{"asked_not_kept", {}, false, false, MessageSymbol::Warning},
                      DamageCase{"kept_without_a_question",
                                 {.keepPartial = Decision::Yes},
                                 std::nullopt,
                                 true,
                                 MessageSymbol::Warning},
                      DamageCase{"refused_without_a_question",
                                 {.keepPartial = Decision::No},
                                 std::nullopt,
                                 false,
                                 MessageSymbol::Warning},
                      DamageCase{
                          "verified_asked_kept", {.verify = true}, true, true, MessageSymbol::Warning}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VerifiedDownload, TheHeaderIsReadTwiceAsWell)
{
    // Two bit errors that cancel out in the input table (names, units, scales) would give
    // every value of an input a wrong scale.
    struct Case {
        const char* name;
        int frames; // reads of the input table hit, each with its own pair
        DownloadStatus status;
    } cases[] = {
        {"one read hit", 1, DownloadStatus::Read},
        {"every read hit", 3, DownloadStatus::UnsteadyHeader},
    };
    for (const auto& c : cases) {
        JobRig r(erased());
        tenHourlyBlocks(r);
        // Frames: ping, identification twice, calibration twice, program twice, input table.
        r.emulator.addFault(pairedBitErrors(7, 0, c.frames));
        const DownloadResult d = r.download({.verify = true});
        EXPECT_EQ(d.status, c.status) << c.name;
        if (c.status == DownloadStatus::Read) {
            EXPECT_TRUE(r.sameAsLogger(d.image, kAfterFirstBlock, mem::blockAddress(10))) << c.name;
            EXPECT_TRUE(told(d).isEmpty()) << c.name;
        } else {
            EXPECT_EQ(told(d),
                      QStringList{"The logger's header read differently each time; "
                                  "the download is stopped"})
                << c.name;
        }
    }
}

TEST(DamagedBlockAtTheStart, LeavesNothingToKeep)
{
    sim::MemoryPreset preset = linear(10, 1);
    preset.damagedBlock = 0;
    JobRig r(preset);
    const DownloadResult d = r.download();
    EXPECT_EQ(d.status, DownloadStatus::Damaged);
    EXPECT_EQ(d.question, Question::None) << "nothing to keep: no question";
    EXPECT_EQ(messagesOf(d),
              (Messages{{"Block 0 of the logger's memory is damaged; "
                         "the recording ends before it",
                         MessageSymbol::Error}}));
}

TEST(DamagedBlockOnTheLine, HealsWhenTheBlockIsReadAgain)
{
    // The first read of block 5 (27 February) exchanges a bit between month and day:
    // 26 March, far beyond the block before. The second read is right.
    JobRig r(erased());
    tenHourlyBlocks(r);
    r.emulator.addFault(pairedBitErrors(kFirstBlockFrame + 5, 2));
    const DownloadResult d = r.download();
    EXPECT_EQ(d.status, DownloadStatus::Read);
    EXPECT_EQ(JobRig::word(d, mem::kBlocksUsed), 10);
    EXPECT_TRUE(r.sameAsLogger(d.image, kAfterFirstBlock, mem::blockAddress(10)));
    EXPECT_EQ(r.emulator.commands('D'), 4 + 11 + 1);
    EXPECT_TRUE(told(d).isEmpty()) << told(d).join("|").toStdString();
}

TEST(RingDownload, StoppedEarlyDeclaresOnlyTheBlocksReadFromTheOldest)
{
    // A ring of 60 blocks, one hour apart, whose oldest block is `oldest`; the download
    // stops at block 30 (erased, or damaged and the part before it kept). The blocks not
    // read lie, in time, between block 29 and block 0: only the run from the oldest block
    // read up to block 29 is one piece of the recording.
    struct Case {
        const char* name;
        int oldest;
        bool damaged; // block 30 damaged rather than erased
        int used;
        int first;
    } cases[] = {
        {"oldest read, then the newest", 10, false, 20, 10},
        {"damaged block, part kept", 10, true, 20, 10},
        {"oldest among the blocks not read", 45, false, 30, 0},
        {"oldest in block 0", 0, false, 30, 0},
    };
    for (const auto& c : cases) {
        JobRig r(erased(0x00));
        ASSERT_EQ(memoryBlocks(0), 60);
        std::uint8_t* m = r.memory();
        reportRing(m, 60);
        for (int k = 0; k < 60; ++k)
            writeBlock(m, k, kStart.addSecs(3600 * ((k - c.oldest + 60) % 60)));
        if (c.damaged)
            damage(m, 30);
        else
            std::fill_n(m + mem::blockAddress(30), mem::kBlockSize, std::uint8_t(0xFF));
        DownloadResult d = r.download();
        EXPECT_EQ(told(d).size(), c.damaged ? 1 : 0) << c.name;
        if (d.question == Question::KeepPartial)
            d = keepPartRead(d, r.catalog(), Decision::Ask);
        EXPECT_EQ(d.status, DownloadStatus::Read) << c.name;
        EXPECT_EQ(JobRig::word(d, mem::kBlocksUsed), c.used) << c.name;
        EXPECT_EQ(JobRig::word(d, mem::kFirstBlock), c.first) << c.name;
        // The declared blocks are the logger's; the blocks after the stop were not read.
        EXPECT_TRUE(r.sameAsLogger(d.image, mem::blockAddress(c.first), mem::blockAddress(c.first + c.used)))
            << c.name;
        EXPECT_EQ(std::count(d.image.begin() + mem::blockAddress(31), d.image.end(), 0),
                  mem::kBlockSize * (mem::kMaxBlocks - 31))
            << c.name;
    }
}

TEST(RingDownload, AStampThatIsNoDateTakesNoPartInTheOldestBlockSearch)
{
    JobRig r(erased(0x00));
    std::uint8_t* m = r.memory();
    reportRing(m, 60);
    for (int k = 0; k < 60; ++k)
        writeBlock(m, k, kStart.addSecs(3600 * ((k - 37 + 60) % 60)));
    // Block 12 carries 30 February, which is no date and would sort first as a number.
    m[mem::blockAddress(12) + mem::kBlockStamp + 1] = 0x02;
    m[mem::blockAddress(12) + mem::kBlockStamp + 2] = 0x30;
    m[mem::blockAddress(12) + mem::kBlockStamp] = 0x00;
    const DownloadResult d = r.download();
    EXPECT_EQ(d.status, DownloadStatus::Read);
    EXPECT_EQ(JobRig::word(d, mem::kBlocksUsed), 60);
    EXPECT_EQ(JobRig::word(d, mem::kFirstBlock), 37);
}

} // namespace
} // namespace qz::test
