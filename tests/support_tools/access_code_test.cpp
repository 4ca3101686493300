// The memory panel's access code.
#include "support/print_qt.h"
#include "support_tools/access_code.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(AccessCode, TheSixDigitsOpenWhateverFollowsThem)
{
    const struct {
        QString typed;
        bool opens;
    } cases[] = {
        {"407391", true},
        {"407391abc", true}, // characters after the sixth are not looked at
        {"4073910000", true},
        {"40739", false}, // short
        {"", false},
        {"407392", false}, // last digit wrong
        {"307391", false}, // first digit wrong
        {" 407391", false}, // a blank in front shifts every digit
        {QString::fromUtf8("\xef\xbc\x94"
                           "07391"),
         false}, // a full-width 4
    };
    for (const auto& c : cases)
        EXPECT_EQ(accessCodeMatches(c.typed), c.opens) << c.typed.toStdString();
}

} // namespace
} // namespace qz
