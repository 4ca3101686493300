#pragma once
// The access code of the memory panel: six decimal digits, put together at run time so
// that the code is nowhere in the program as one text.
#include <QString>

namespace qz {

inline constexpr int kAccessCodeLength = 6;

// True when the first six characters typed are the code's six digits; what follows them
// is not looked at, and a shorter text never matches.
bool accessCodeMatches(const QString& typed);

} // namespace qz
