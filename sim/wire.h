#pragma once
// One direction of the serial wire at 19200 baud, 8N1: a byte occupies the wire for
// 10 bit times, 3125/6 = 520.83 microseconds. Bytes handed over while the wire is busy
// queue behind the ones already on it. Arrival times are computed from the start of
// each run of back-to-back bytes, so long runs do not drift by rounding.
#include <cstdint>

namespace qz::sim {

inline constexpr std::int64_t kBaud = 19200;
inline constexpr std::int64_t kBitsPerByte = 10;

// Microseconds that n back-to-back bytes need on the wire, rounded up.
constexpr std::int64_t wireTimeUs(std::int64_t n)
{
    return (n * kBitsPerByte * 1000000 + kBaud - 1) / kBaud;
}

class Wire {
public:
    // A byte handed to the wire at sentUs; returns when its last bit has arrived.
    std::int64_t send(std::int64_t sentUs);
    // When the wire is free again (the end of the last byte).
    std::int64_t freeAt() const { return runStartUs_ + wireTimeUs(runBytes_); }
    void reset()
    {
        runStartUs_ = 0;
        runBytes_ = 0;
    }

private:
    std::int64_t runStartUs_ = 0;
    std::int64_t runBytes_ = 0;
};

} // namespace qz::sim
