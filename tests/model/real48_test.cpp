#include "model/real48.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>

namespace qz {
namespace {

using Bytes = std::array<std::uint8_t, 6>;

Bytes encode(double x)
{
    Bytes b{};
    EXPECT_TRUE(doubleToReal48(x, b.data())) << x;
    return b;
}

TEST(Real48, KnownEncodings)
{
    struct Case {
        double value;
        Bytes bytes;
    };
    const Case cases[] = {
        {0.0, {0, 0, 0, 0, 0, 0}},
        {1.0, {0x81, 0, 0, 0, 0, 0}},
        {-1.0, {0x81, 0, 0, 0, 0, 0x80}},
        {0.5, {0x80, 0, 0, 0, 0, 0}},
        {2.0, {0x82, 0, 0, 0, 0, 0}},
        {100.0, {0x87, 0, 0, 0, 0, 0x48}},
        {-273.25, {0x89, 0, 0, 0, 0xA0, 0x88}},
        {std::ldexp(1.0, -128), {0x01, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(encode(c.value), c.bytes) << c.value;
        EXPECT_EQ(real48ToDouble(c.bytes.data()), c.value) << c.value;
    }
}

TEST(Real48, ZeroExponentIsZeroWhateverTheFraction)
{
    const Bytes b = {0, 0xFF, 0x12, 0x34, 0x56, 0xFF};
    EXPECT_EQ(real48ToDouble(b.data()), 0.0);
    EXPECT_EQ(encode(-0.0), (Bytes{0, 0, 0, 0, 0, 0}));
}

TEST(Real48, EveryStoredValueRoundTripsExactly)
{
    std::mt19937_64 random(48);
    for (int exponent = 1; exponent <= 255; ++exponent) {
        for (int k = 0; k < 64; ++k) {
            Bytes b{};
            b[0] = std::uint8_t(exponent);
            const std::uint64_t r = random();
            for (int i = 1; i < 6; ++i)
                b[std::size_t(i)] = std::uint8_t(r >> (8 * i));
            if (k == 0)
                b = {std::uint8_t(exponent), 0, 0, 0, 0, 0};
            if (k == 1)
                b = {std::uint8_t(exponent), 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
            const double v = real48ToDouble(b.data());
            ASSERT_EQ(encode(v), b) << "exponent " << exponent;
        }
    }
}

TEST(Real48, DoublesAreRoundedToNearest)
{
    // 40 significant bits: 1 + 2^-40 is a tie and goes to even (1), 1 + 3 x 2^-41 rounds up.
    EXPECT_EQ(real48ToDouble(encode(1 + std::ldexp(1.0, -40)).data()), 1.0);
    EXPECT_EQ(real48ToDouble(encode(1 + 3 * std::ldexp(1.0, -41)).data()), 1 + std::ldexp(1.0, -39));
    for (double x : {0.1, -0.1, 3.14159265358979, 1e-30, -1e30, 12345.678}) {
        const double back = real48ToDouble(encode(x).data());
        EXPECT_LE(std::fabs(back - x), std::fabs(x) * std::ldexp(1.0, -40)) << x;
    }
    // Rounding up can carry into the exponent.
    EXPECT_EQ(encode(2 - std::ldexp(1.0, -45)), encode(2.0));
}

TEST(Real48, RangeEdges)
{
    const double max = real48Max();
    EXPECT_EQ(max, (2 - std::ldexp(1.0, -39)) * std::ldexp(1.0, 126));
    EXPECT_EQ(encode(max), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}));
    EXPECT_EQ(encode(-max), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(encode(std::nextafter(max, HUGE_VAL)), encode(max)); // rounds back to max
    // Too small for the type: stored as zero.
    EXPECT_EQ(encode(std::ldexp(1.0, -129)), (Bytes{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(encode(-1e-300), (Bytes{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(encode(std::ldexp(1.0, -128) * (1 - std::ldexp(1.0, -45))), (Bytes{0x01, 0, 0, 0, 0, 0}));
}

TEST(Real48, RefusesWhatItCannotHoldAndKeepsTheBytes)
{
    const double max = real48Max();
    const double refused[] = {std::ldexp(1.0, 127),
                              -std::ldexp(1.0, 127),
                              1e39,
                              -1e300,
                              max + std::ldexp(1.0, 126 - 40),
                              HUGE_VAL,
                              -HUGE_VAL,
                              std::nan("")};
    for (double x : refused) {
        Bytes b = {1, 2, 3, 4, 5, 6};
        EXPECT_FALSE(doubleToReal48(x, b.data())) << x;
        EXPECT_EQ(b, (Bytes{1, 2, 3, 4, 5, 6})) << x;
    }
    EXPECT_FALSE(doubleToReal48(1.0, nullptr));
    EXPECT_EQ(real48ToDouble(nullptr), 0.0);
}

} // namespace
} // namespace qz
