// Default colours, the initial display settings of a recording and the drawn test.
#include "recording/display_settings.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(DefaultColours, FixedTable)
{
    const ColourTable expected = {0x000000, 0x000000, 0x008000, 0x0000FF, 0xFF0000, 0x000080,
                                  0x008080, 0x800000, 0x808000, 0,        0,        0,
                                  0,        0,        0,        0};
    EXPECT_EQ(defaultColours(), expected);
}

TEST(InitDisplaySettings, AxesGoToTheFirstTwoRecordedInputs)
{
    const struct {
        std::uint8_t mask;
        int left;
        int right;
    } cases[] = {
        {0x04, 2, -1}, // only input 3
        {0x52, 1, 4}, // inputs 2, 5 and 7
        {0x00, -1, -1}, {0xFF, 0, 1}, {0x80, 7, -1},
    };
    for (const auto& c : cases) {
        const DisplaySettings s = initDisplaySettings(c.mask);
        EXPECT_EQ(s.leftAxisInput, c.left) << int(c.mask);
        EXPECT_EQ(s.rightAxisInput, c.right) << int(c.mask);
        EXPECT_TRUE(s.autoScale);
        for (int i = 0; i < mem::kInputs; ++i) {
            const bool on = (c.mask >> i) & 1;
            EXPECT_EQ(s.shown[i], on);
            EXPECT_EQ(s.enabled[i], on);
        }
    }
}

TEST(IsInputDrawn, NeedsEnabledAndShown)
{
    DisplaySettings s = initDisplaySettings(0x13); // inputs 1, 2, 5
    s.shown[1] = false;
    EXPECT_TRUE(isInputDrawn(s, 0));
    EXPECT_FALSE(isInputDrawn(s, 1));
    EXPECT_FALSE(isInputDrawn(s, 2));
    EXPECT_TRUE(isInputDrawn(s, 4));
    s.shown[2] = true; // shown but not recorded
    EXPECT_FALSE(isInputDrawn(s, 2));
    EXPECT_FALSE(isInputDrawn(s, -1));
    EXPECT_FALSE(isInputDrawn(s, 8));
}

} // namespace
} // namespace qz
