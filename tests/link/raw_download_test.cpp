// The raw download against the emulator: every block of the memory as the logger holds
// it, blocks that do not come, a logger that goes away, a header that does not come, and
// cancel.
#include "emulator_rig.h"
#include "link/raw_download.h"
#include "model/byte_view.h"
#include "model/memory_image.h"
#include "model/values.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ostream>

namespace qz::test {
namespace {

// Frames of the header reads (identification, calibration, program, inputs), each
// answered at its first attempt; data block k is the frame after them.
constexpr int kHeaderFrames = 4;
constexpr std::int64_t blockFrame(int k)
{
    return kHeaderFrames + k;
}

sim::MemoryPreset preset(std::uint16_t code, sim::Content content, int blocks)
{
    sim::MemoryPreset s;
    s.deviceCode = code;
    s.content = content;
    s.blocks = blocks;
    return s;
}

// A frame and the four retries of its transaction get no answer at all.
sim::Fault silentTransaction(std::int64_t frame, std::int64_t frames = LoggerProtocol::kAttempts)
{
    sim::Fault f;
    f.kind = sim::FaultKind::Silence;
    f.frame = frame;
    f.frames = frames;
    return f;
}

// The download, with its link failure told as a command tells it.
RawDownload run(EmulatorRig& r)
{
    auto q = r.make();
    LinkTeller report(*q, r.prompt);
    RawDownload d = rawDownload(*q, r.progress);
    report.ok(d.link);
    return d;
}

bool blockIs(const RawDownload& d, const std::uint8_t* memory, int k)
{
    return std::memcmp(d.image.data() + mem::blockAddress(k), memory + mem::blockAddress(k), mem::kBlockSize)
        == 0;
}

bool blockIsZero(const RawDownload& d, int k)
{
    const auto* b = d.image.data() + mem::blockAddress(k);
    return std::all_of(b, b + mem::kBlockSize, [](std::uint8_t v) { return v == 0; });
}

struct WholeMemoryCase {
    const char* name;
    sim::MemoryPreset memory;
    int blocks; // of the memory size code
};

void PrintTo(const WholeMemoryCase& c, std::ostream* os)
{
    *os << c.name;
}

class RawDownloadWholeMemory : public ::testing::TestWithParam<WholeMemoryCase> {};

TEST_P(RawDownloadWholeMemory, EveryBlockArrivesAsTheLoggerHoldsIt)
{
    EmulatorRig r(GetParam().memory);
    // A damaged block is taken like any other.
    std::uint8_t* damaged = r.memory() + mem::blockAddress(2);
    damaged[mem::kSampleBytes] = 200;
    damaged[mem::kBlockStamp + 1] = 0x13;

    const RawDownload d = run(r);
    EXPECT_EQ(d.end, RawDownloadEnd::Complete);
    EXPECT_EQ(d.blocks, GetParam().blocks);
    EXPECT_EQ(d.missedBlocks, 0);
    ASSERT_EQ(d.image.size(), mem::blockAddress(GetParam().blocks));
    // The logger's own BlocksUsed and FirstBlock come as they are.
    EXPECT_TRUE(std::memcmp(d.image.data(), r.memory(), d.image.size()) == 0);
    EXPECT_TRUE(r.prompt.records().empty());
    // No ping, the header once, every block once.
    EXPECT_EQ(r.emulator.commands('E'), 0);
    EXPECT_EQ(r.emulator.commands('D'), kHeaderFrames + GetParam().blocks);
}

INSTANTIATE_TEST_SUITE_P(
    Memories, RawDownloadWholeMemory,
    ::testing::Values(WholeMemoryCase{"linear_60_blocks", preset(0x00, sim::Content::Linear, 10), 60},
                      WholeMemoryCase{"wrapped_60_blocks", preset(0x00, sim::Content::Wrapped, 25), 60},
                      WholeMemoryCase{"erased_124_blocks", preset(0x01, sim::Content::Erased, 0), 124},
                      WholeMemoryCase{"linear_508_blocks", preset(485, sim::Content::Linear, 3), 508}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RawDownload, ShowsTheDownloadCaptionAndABarThatCyclesEveryElevenBlocks)
{
    EmulatorRig r(preset(0x00, sim::Content::Linear, 5));
    run(r);
    EXPECT_EQ(r.progress.caption, "Downloading Quorvant ...");
    EXPECT_EQ(r.progress.cancelEnabled, (std::vector<bool>{true, false}));
    std::vector<int> want = {0, 33, 66, 100};
    for (int k = 0; k < 60; ++k)
        want.push_back(rawBlockBar(k));
    EXPECT_EQ(r.progress.positions, want);
    EXPECT_EQ(rawBlockBar(0), 19);
    EXPECT_EQ(rawBlockBar(9), 100);
    EXPECT_EQ(rawBlockBar(10), 10);
    EXPECT_EQ(r.progress.cancelChecks, 60) << "the Cancel button is looked at after every block";
}

TEST(RawDownload, ABlockThatDoesNotComeIsZeroAndCountedAndTheLoopGoesOn)
{
    EmulatorRig r(preset(0x00, sim::Content::Linear, 20));
    r.emulator.addFault(silentTransaction(blockFrame(7)));
    r.emulator.addFault(silentTransaction(blockFrame(8) + LoggerProtocol::kAttempts - 1));
    const RawDownload d = run(r);
    EXPECT_EQ(d.end, RawDownloadEnd::BlocksMissed);
    EXPECT_EQ(d.missedBlocks, 2);
    ASSERT_EQ(d.image.size(), mem::blockAddress(60));
    EXPECT_TRUE(blockIsZero(d, 7));
    EXPECT_TRUE(blockIsZero(d, 8));
    for (int k : {0, 6, 9, 59})
        EXPECT_TRUE(blockIs(d, r.memory(), k)) << "block " << k;
    EXPECT_TRUE(r.prompt.records().empty()) << "the command tells, once, with the count";
}

TEST(RawDownload, ALoggerSilentForFiveBlocksInARowIsTakenAsGone)
{
    EmulatorRig r(preset(0x00, sim::Content::Linear, 20));
    r.emulator.addFault(silentTransaction(blockFrame(20), 0));
    const RawDownload d = run(r);
    EXPECT_EQ(d.end, RawDownloadEnd::BlocksMissed);
    EXPECT_EQ(d.missedBlocks, 40);
    EXPECT_TRUE(blockIs(d, r.memory(), 19));
    EXPECT_TRUE(blockIsZero(d, 20));
    EXPECT_TRUE(blockIsZero(d, 59));
    EXPECT_EQ(r.progress.cancelChecks, 20 + kRawDownloadGoneAfter);
}

TEST(RawDownload, AHeaderThatDoesNotComeIsToldOnceAndGivesNothing)
{
    const struct {
        const char* area;
        int frame;
    } cases[] = {{"identification", 0}, {"calibration", 1}, {"input table", 3}};
    for (const auto& c : cases) {
        EmulatorRig r(preset(0x00, sim::Content::Linear, 4));
        r.emulator.addFault(silentTransaction(c.frame));
        const RawDownload d = run(r);
        EXPECT_EQ(d.end, RawDownloadEnd::HeaderFailed) << c.area;
        EXPECT_TRUE(d.image.empty()) << c.area;
        EXPECT_EQ(r.prompt.texts(), QStringList{"Device Not Responding"}) << c.area;
        EXPECT_EQ(r.emulator.commands('D'), c.frame) << c.area << ": no block was asked for";
        EXPECT_EQ(r.progress.cancelEnabled.back(), false) << c.area;
    }
}

TEST(RawDownload, CancelEndsTheLoopAndKeepsNothing)
{
    EmulatorRig r(preset(0x00, sim::Content::Linear, 4));
    r.progress.cancelAt = 3;
    const RawDownload d = run(r);
    EXPECT_EQ(d.end, RawDownloadEnd::Cancelled);
    EXPECT_TRUE(d.image.empty());
    EXPECT_EQ(r.emulator.commands('D'), kHeaderFrames + 3);
    EXPECT_TRUE(r.prompt.records().empty());
}

} // namespace
} // namespace qz::test
