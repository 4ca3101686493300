#include "model/real48.h"

#include <cmath>

namespace qz {

namespace {
constexpr int kBias = 129;
constexpr int kFractionBits = 39;
} // namespace

double real48ToDouble(const std::uint8_t* b)
{
    if (!b || b[0] == 0)
        return 0.0;
    std::uint64_t fraction = std::uint64_t(b[1]) | (std::uint64_t(b[2]) << 8) | (std::uint64_t(b[3]) << 16)
        | (std::uint64_t(b[4]) << 24) | (std::uint64_t(b[5] & 0x7F) << 32);
    const std::uint64_t mantissa = (std::uint64_t(1) << kFractionBits) | fraction;
    // 40 significant bits and an exponent well inside double's: exact.
    const double magnitude = std::ldexp(double(mantissa), int(b[0]) - kBias - kFractionBits);
    return (b[5] & 0x80) ? -magnitude : magnitude;
}

double real48Max()
{
    const std::uint8_t largest[6] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F};
    return real48ToDouble(largest);
}

double real48Min()
{
    const std::uint8_t smallest[6] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00};
    return real48ToDouble(smallest);
}

bool doubleToReal48(double x, std::uint8_t* b)
{
    if (!b || !std::isfinite(x))
        return false;
    const bool negative = std::signbit(x);
    const double a = std::fabs(x);
    std::uint8_t out[6] = {0, 0, 0, 0, 0, 0};
    if (a != 0) {
        int exp2 = 0;
        const double m = std::frexp(a, &exp2); // a = m x 2^exp2, 0.5 <= m < 1
        // 40 significant bits, ties to even.
        double mant = std::nearbyint(std::ldexp(m, kFractionBits + 1));
        if (mant >= std::ldexp(1.0, kFractionBits + 1)) {
            mant = std::ldexp(1.0, kFractionBits);
            ++exp2;
        }
        const int biased = exp2 - 1 + kBias;
        if (biased > 255)
            return false;
        if (biased >= 1) {
            // Smaller magnitudes have no Real48 form and are stored as 0.
            const std::uint64_t fraction = std::uint64_t(mant) & ((std::uint64_t(1) << kFractionBits) - 1);
            out[0] = std::uint8_t(biased);
            out[1] = std::uint8_t(fraction);
            out[2] = std::uint8_t(fraction >> 8);
            out[3] = std::uint8_t(fraction >> 16);
            out[4] = std::uint8_t(fraction >> 24);
            out[5] = std::uint8_t(((fraction >> 32) & 0x7F) | (negative ? 0x80 : 0));
        }
    }
    for (int i = 0; i < 6; ++i)
        b[i] = out[i];
    return true;
}

} // namespace qz
