#include "sim/wire.h"

#include <gtest/gtest.h>

namespace qz::sim {
namespace {

TEST(WireTest, ByteTimesAt19200Baud)
{
    EXPECT_EQ(wireTimeUs(1), 521); // 520.83 rounded up
    EXPECT_EQ(wireTimeUs(6), 3125); // exact
    EXPECT_EQ(wireTimeUs(19200), 10000000);
}

TEST(WireTest, BackToBackBytesDoNotDrift)
{
    Wire w;
    std::int64_t last = 0;
    for (int i = 0; i < 1200; ++i)
        last = w.send(0);
    EXPECT_EQ(last, 625000); // 1200 bytes = 0.625 s exactly
}

TEST(WireTest, IdleWireStartsANewRun)
{
    Wire w;
    EXPECT_EQ(w.send(1000), 1521);
    EXPECT_EQ(w.send(1100), 2042); // queued behind the first
    EXPECT_EQ(w.send(5000), 5521); // the wire was idle
}

} // namespace
} // namespace qz::sim
