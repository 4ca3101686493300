// Whatever arrives on the line, the emulator echoes it, stays inside its memory and keeps
// answering frames afterwards. Run under the sanitizers this also proves the absence of
// out-of-range accesses.
#include "sim_driver.h"

#include "sim/presets.h"

#include <gtest/gtest.h>

#include <random>

namespace qz::sim {
namespace {

using test::Bytes;
using test::Driver;
using test::frame;

TEST(RobustnessTest, RandomBytesAndFramesNeverBreakTheLogger)
{
    Emulator e;
    loadMemory(e.logger(), {.deviceCode = 485, .content = Content::Wrapped, .running = true});
    Driver pc{e};
    pc.gapUs = 50;
    std::mt19937 rng(12345);
    const char letters[] = "ABCDEFGHZ$";
    std::int64_t sent = 0;
    for (int round = 0; round < 3000; ++round) {
        Bytes chunk;
        if (rng() % 2) {
            chunk = frame(letters[rng() % 10]);
        }
        const int extra = int(rng() % 300);
        for (int i = 0; i < extra; ++i)
            chunk.push_back(std::uint8_t(rng()));
        const Bytes got = pc.exchange(chunk, rng() % 4 ? 10 : 300000);
        sent += std::int64_t(chunk.size());
        // Every byte is echoed; a frame's reply may come in between.
        ASSERT_GE(got.size(), chunk.size()) << "round " << round;
    }
    EXPECT_EQ(e.bytesIn(), sent);
    pc.collect(1000000); // the parser forgets whatever was half received
    EXPECT_EQ(pc.reply(frame('E')).size(), 18u);
}

} // namespace
} // namespace qz::sim
