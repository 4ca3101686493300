// What a download never takes for a recording: blocks whose bytes a verified download did
// not read the same twice, damaged blocks (re-read first; the part before them is kept
// only when the user says so), and blocks of a ring that were never read.
#include "download_memory.h"
#include "emulator_rig.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qz::test {
namespace {

// Frames of a download on the emulator: the ping, 4 header reads (twice each when
// verified), then the block reads.
constexpr std::int64_t kFirstBlockFrame = 5;
constexpr std::int64_t kFirstVerifiedBlockFrame = 1 + 2 * 4;

// Ten blocks one hour apart, whose neighbouring sample bytes all differ.
void tenHourlyBlocks(EmulatorRig& r)
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
    EmulatorRig r(erased());
    tenHourlyBlocks(r);
    EXPECT_EQ(r.download(DownloadOptions{.verify = true}), DownloadOutcome::Accepted);
    EXPECT_TRUE(r.sameAsLogger(kAfterFirstBlock, mem::blockAddress(10)));
    // The 4 header areas, blocks 0..9 and the erased block 10, twice each.
    EXPECT_EQ(r.emulator.commands('D'), 2 * 4 + 2 * 11);
    EXPECT_TRUE(r.prompt.records().empty());
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
        EmulatorRig r(erased());
        tenHourlyBlocks(r);
        r.emulator.addFault(pairedBitErrors(c.frame, 20));
        EXPECT_EQ(r.download(DownloadOptions{.verify = c.verify}), DownloadOutcome::Accepted) << c.name;
        EXPECT_EQ(r.sameAsLogger(kAfterFirstBlock, mem::blockAddress(10)), c.exact) << c.name;
        EXPECT_TRUE(r.sameAsLogger(kAfterFirstBlock, mem::blockAddress(7))) << c.name;
        EXPECT_EQ(r.emulator.commands('D'), c.reads) << c.name;
        EXPECT_TRUE(r.prompt.records().empty()) << c.name;
    }
}

TEST(VerifiedDownload, ABlockThatNeverReadsTheSameTwiceEndsItWithoutImage)
{
    EmulatorRig r(erased());
    tenHourlyBlocks(r);
    // Three reads of block 7, each with its own pair of errors.
    r.emulator.addFault(pairedBitErrors(kFirstVerifiedBlockFrame + 2 * 7, 20, 3));
    EXPECT_EQ(r.download(DownloadOptions{.verify = true}), DownloadOutcome::Stopped);
    EXPECT_FALSE(r.image);
    EXPECT_EQ(r.prompt.texts(),
              QStringList{"Block 7 of the logger's memory read differently each time; "
                          "the download is stopped"});
    EXPECT_EQ(r.prompt.records()[0].symbol, PromptSymbol::Error);
}

struct DamageCase {
    const char* name;
    DownloadOptions options;
    std::vector<PromptAnswer> answers;
    DownloadOutcome outcome;
    PromptButtons buttons; // of the one message
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
    EmulatorRig r(preset);
    for (PromptAnswer a : c.answers)
        r.prompt.script({a});
    EXPECT_EQ(r.download(c.options), c.outcome);
    ASSERT_EQ(r.prompt.records().size(), 1u);
    const QString damaged = "Block 5 of the logger's memory is damaged; the recording ends before it";
    EXPECT_EQ(r.prompt.texts()[0],
              c.buttons == PromptButtons::YesNo ? damaged + "\nKeep what was read before it?" : damaged);
    EXPECT_EQ(r.prompt.records()[0].buttons, c.buttons);
    EXPECT_EQ(r.prompt.records()[0].symbol, PromptSymbol::Warning);
    // Read again up to a transaction's attempts before it counts as damaged.
    const int reads = c.options.verify ? 2 : 1;
    EXPECT_EQ(r.emulator.commands('D'), reads * (4 + 5 + 5));
    if (c.outcome == DownloadOutcome::Accepted) {
        ASSERT_TRUE(r.image);
        EXPECT_EQ(r.word(mem::kBlocksUsed), 5);
        EXPECT_TRUE(r.sameAsLogger(kAfterFirstBlock, mem::blockAddress(5)));
    } else {
        EXPECT_FALSE(r.image);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Choices, DamagedBlock,
    ::testing::Values(
        DamageCase{"asked_kept", {}, {PromptAnswer::Yes}, DownloadOutcome::Accepted, PromptButtons::YesNo},
        DamageCase{
            "asked_not_kept", {}, {PromptAnswer::No}, DownloadOutcome::PartNotKept, PromptButtons::YesNo},
        DamageCase{"kept_without_a_question",
                   {.keepPartial = Decision::Yes},
                   {},
                   DownloadOutcome::Accepted,
                   PromptButtons::Ok},
        DamageCase{"refused_without_a_question",
                   {.keepPartial = Decision::No},
                   {},
                   DownloadOutcome::PartNotKept,
                   PromptButtons::Ok},
        DamageCase{"verified_asked_kept",
                   {.verify = true},
                   {PromptAnswer::Yes},
                   DownloadOutcome::Accepted,
                   PromptButtons::YesNo}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VerifiedDownload, TheHeaderIsReadTwiceAsWell)
{
    // Two bit errors that cancel out in the input table (names, units, scales) would give
    // every value of an input a wrong scale.
    struct Case {
        const char* name;
        int frames; // reads of the input table hit, each with its own pair
        DownloadOutcome outcome;
    } cases[] = {
        {"one read hit", 1, DownloadOutcome::Accepted},
        {"every read hit", 3, DownloadOutcome::Stopped},
    };
    for (const auto& c : cases) {
        EmulatorRig r(erased());
        tenHourlyBlocks(r);
        // Frames: ping, identification twice, calibration twice, program twice, input table.
        r.emulator.addFault(pairedBitErrors(7, 0, c.frames));
        EXPECT_EQ(r.download(DownloadOptions{.verify = true}), c.outcome) << c.name;
        if (c.outcome == DownloadOutcome::Accepted) {
            EXPECT_TRUE(r.sameAsLogger(kAfterFirstBlock, mem::blockAddress(10))) << c.name;
            EXPECT_TRUE(r.prompt.records().empty()) << c.name;
        } else {
            EXPECT_FALSE(r.image) << c.name;
            EXPECT_EQ(r.prompt.texts(),
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
    EmulatorRig r(preset);
    EXPECT_EQ(r.download(), DownloadOutcome::Stopped);
    EXPECT_FALSE(r.image);
    EXPECT_EQ(r.prompt.texts(),
              QStringList{"Block 0 of the logger's memory is damaged; "
                          "the recording ends before it"});
    EXPECT_EQ(r.prompt.records()[0].buttons, PromptButtons::Ok);
}

TEST(DamagedBlockOnTheLine, HealsWhenTheBlockIsReadAgain)
{
    // The first read of block 5 (27 February) exchanges a bit between month and day:
    // 26 March, far beyond the block before. The second read is right.
    EmulatorRig r(erased());
    tenHourlyBlocks(r);
    r.emulator.addFault(pairedBitErrors(kFirstBlockFrame + 5, 2));
    EXPECT_EQ(r.download(), DownloadOutcome::Accepted);
    EXPECT_EQ(r.word(mem::kBlocksUsed), 10);
    EXPECT_TRUE(r.sameAsLogger(kAfterFirstBlock, mem::blockAddress(10)));
    EXPECT_EQ(r.emulator.commands('D'), 4 + 11 + 1);
    EXPECT_TRUE(r.prompt.records().empty()) << r.prompt.texts().join("|").toStdString();
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
        EmulatorRig r(erased(0x00));
        ASSERT_EQ(memoryBlocks(0), 60);
        std::uint8_t* m = r.memory();
        reportRing(m, 60);
        for (int k = 0; k < 60; ++k)
            writeBlock(m, k, kStart.addSecs(3600 * ((k - c.oldest + 60) % 60)));
        if (c.damaged)
            damage(m, 30);
        else
            std::fill_n(m + mem::blockAddress(30), mem::kBlockSize, std::uint8_t(0xFF));
        r.prompt.script({PromptAnswer::Yes});
        EXPECT_EQ(r.download(), DownloadOutcome::Accepted) << c.name;
        EXPECT_EQ(r.word(mem::kBlocksUsed), c.used) << c.name;
        EXPECT_EQ(r.word(mem::kFirstBlock), c.first) << c.name;
        EXPECT_EQ(r.prompt.records().size(), c.damaged ? 1u : 0u) << c.name;
        // The declared blocks are the logger's; the blocks after the stop were not read.
        EXPECT_TRUE(r.sameAsLogger(mem::blockAddress(c.first), mem::blockAddress(c.first + c.used)))
            << c.name;
        EXPECT_EQ(std::count(r.image->begin() + mem::blockAddress(31), r.image->end(), 0),
                  mem::kBlockSize * (mem::kMaxBlocks - 31))
            << c.name;
    }
}

TEST(RingDownload, AStampThatIsNoDateTakesNoPartInTheOldestBlockSearch)
{
    EmulatorRig r(erased(0x00));
    std::uint8_t* m = r.memory();
    reportRing(m, 60);
    for (int k = 0; k < 60; ++k)
        writeBlock(m, k, kStart.addSecs(3600 * ((k - 37 + 60) % 60)));
    // Block 12 carries 30 February, which is no date and would sort first as a number.
    m[mem::blockAddress(12) + mem::kBlockStamp + 1] = 0x02;
    m[mem::blockAddress(12) + mem::kBlockStamp + 2] = 0x30;
    m[mem::blockAddress(12) + mem::kBlockStamp] = 0x00;
    EXPECT_EQ(r.download(), DownloadOutcome::Accepted);
    EXPECT_EQ(r.word(mem::kBlocksUsed), 60);
    EXPECT_EQ(r.word(mem::kFirstBlock), 37);
}

} // namespace
} // namespace qz::test
