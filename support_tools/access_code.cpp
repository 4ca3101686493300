#include "support_tools/access_code.h"

namespace qz {

namespace {

constexpr int kDigit1 = 4;
constexpr int kDigit2 = 0;
constexpr int kDigit3 = 7;
constexpr int kDigit4 = 3;
constexpr int kDigit5 = 9;
constexpr int kDigit6 = 1;

QChar codeDigit(int position)
{
    static_assert(kAccessCodeLength == 6);
    const int digits[kAccessCodeLength] = {kDigit1, kDigit2, kDigit3, kDigit4, kDigit5, kDigit6};
    return QString::number(digits[position]).at(0);
}

} // namespace

bool accessCodeMatches(const QString& typed)
{
    if (typed.size() < kAccessCodeLength)
        return false;
    bool match = true;
    for (int i = 0; i < kAccessCodeLength; ++i)
        match = match && typed.at(i) == codeDigit(i);
    return match;
}

} // namespace qz
