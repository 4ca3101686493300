// Which blocks a recording file cut short keeps: the longest run of consecutive blocks it
// holds whole, moved to the start of the data area.
#include "recording/complete_blocks.h"

#include "model/image_reader.h"
#include "support/image_builder.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace qz::test {
namespace {

struct KeepCase {
    const char* name;
    int used; // BlocksUsed
    int first; // FirstBlock
    int held; // physical blocks the file holds whole
    std::vector<int> kept; // the physical blocks kept, oldest first
};

void PrintTo(const KeepCase& c, std::ostream* os)
{
    *os << c.name << " (used " << c.used << ", first " << c.first << ", held " << c.held << ")";
}

class KeepCompleteBlocksTest : public ::testing::TestWithParam<KeepCase> {};

std::vector<int> range(int from, int to)
{
    std::vector<int> v;
    for (int k = from; k <= to; ++k)
        v.push_back(k);
    return v;
}

std::vector<int> join(std::vector<int> a, const std::vector<int>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_P(KeepCompleteBlocksTest, KeepsTheLongestRunHeldWhole)
{
    const KeepCase& c = GetParam();
    // A 60-block memory whose every sample byte tells the block it came from.
    QByteArray image = ImageBuilder().markSamples(60).ring(c.used, c.first).build();
    const QByteArray before = image;
    const CompleteBlocks result = keepCompleteBlocks(
        {reinterpret_cast<std::uint8_t*>(image.data()), std::size_t(image.size())}, c.held);

    EXPECT_EQ(result.declared, c.used);
    EXPECT_EQ(result.kept, int(c.kept.size()));
    EXPECT_EQ(result.missing(), c.used - int(c.kept.size()));
    if (result.missing() == 0) {
        EXPECT_EQ(image, before); // nothing to drop: the image stays as loaded
        return;
    }
    const ImageReader reader(
        ConstByteView{reinterpret_cast<const std::uint8_t*>(image.constData()), std::size_t(image.size())});
    EXPECT_EQ(reader.blocksUsed(), c.kept.size());
    EXPECT_EQ(reader.firstBlock(), 0);
    for (std::size_t n = 0; n < c.kept.size(); ++n) {
        const ConstByteView block = reader.block(int(n));
        EXPECT_EQ(block.u8(mem::kSamples), ImageBuilder::mark(c.kept[n], 0)) << "block " << n;
        EXPECT_EQ(block.u8(mem::kSamples + 119), ImageBuilder::mark(c.kept[n], 119)) << "block " << n;
    }
    // Nothing of a dropped block stays behind the run.
    for (int k = int(c.kept.size()); k < 60; ++k)
        EXPECT_EQ(reader.block(k).u8(mem::kSamples + 1), 0) << "block " << k;
}

INSTANTIATE_TEST_SUITE_P(
    Files, KeepCompleteBlocksTest,
    ::testing::Values(KeepCase{"complete linear", 3, 0, 3, range(0, 2)},
                      KeepCase{"extra blocks in the file", 3, 0, 10, range(0, 2)},
                      KeepCase{"complete ring", 60, 58, 60, join(range(58, 59), range(0, 57))},
                      KeepCase{"linear cut in its last block", 3, 0, 2, range(0, 1)},
                      KeepCase{"linear without a whole block", 3, 0, 0, {}},
                      // The oldest block is beyond the cut: what is held is the newest part, in order.
                      KeepCase{"ring whose first block is beyond the cut", 60, 58, 30, range(0, 29)},
                      // Two runs: the oldest block alone (58), then 0..57 after the gap of block 59.
                      KeepCase{"ring cut after its oldest block", 60, 58, 59, range(0, 57)},
                      // Two runs: 10..48 (the oldest, longer) and 0..9 (the newest).
                      KeepCase{"ring whose older run is longer", 60, 10, 49, range(10, 48)},
                      // Equal runs keep the older one.
                      KeepCase{"ring of two equal runs", 60, 20, 40, range(20, 39)},
                      // A ring declaring fewer blocks than it wraps over: only held blocks are used.
                      KeepCase{"partial ring past the file's end", 10, 5, 10, range(5, 9)}),
    [](const ::testing::TestParamInfo<KeepCase>& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

} // namespace
} // namespace qz::test
