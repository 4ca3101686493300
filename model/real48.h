#pragma once
// The logger's 6-byte floating type: byte 0 the exponent biased by 129 (0 means zero),
// bytes 1..5 a 39-bit fraction, low byte first, sign in the top bit of byte 5.
#include <cstdint>

namespace qz {

inline constexpr int kReal48Size = 6;

// Exact: every Real48 value is a double.
double real48ToDouble(const std::uint8_t* bytes);

// Rounds x to the nearest Real48 (ties to even) and writes it. A value whose magnitude
// rounds below the smallest Real48 (2^-128) is written as 0. NaN, infinities and
// magnitudes above the largest Real48 (just below 2^127) are refused: false, and the
// bytes are left as they were.
bool doubleToReal48(double x, std::uint8_t* bytes);

// Largest magnitude a Real48 holds.
double real48Max();
// Smallest magnitude above zero a Real48 holds (2^-128).
double real48Min();

} // namespace qz
