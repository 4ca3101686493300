#pragma once
// The logger's calendar. Logger time is kept as microseconds since 2000-01-01 00:00:00
// of the logger's own clock (which knows no time zones), so that pacing, recording
// intervals and the clock record all come from one integer.
#include <cstdint>

namespace qz::sim {

struct CivilTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int hundredths = 0;
};

inline constexpr std::int64_t kUsPerSecond = 1000000;
inline constexpr std::int64_t kUsPerDay = 86400 * kUsPerSecond;

bool isValidCivil(const CivilTime& t);
// The fields must be valid (IsValidCivil).
std::int64_t civilToUs(const CivilTime& t);
CivilTime usToCivil(std::int64_t us);

// Value of a packed BCD byte, or -1 when a nibble is not a decimal digit (the logger
// checks what it is given; IntToBcd of model/values.h packs).
int bcdValue(std::uint8_t bcd);

} // namespace qz::sim
