#include "recording/display_settings.h"

namespace qz {

ColourTable defaultColours()
{
    ColourTable t{};
    t[0] = 0x000000; // time column
    t[1] = 0x000000; // black
    t[2] = 0x008000; // green
    t[3] = 0x0000FF; // red
    t[4] = 0xFF0000; // blue
    t[5] = 0x000080; // maroon
    t[6] = 0x008080; // olive
    t[7] = 0x800000; // navy
    t[8] = 0x808000; // teal
    return t;
}

DisplaySettings initDisplaySettings(std::uint8_t inputMask)
{
    DisplaySettings s;
    s.autoScale = true;
    s.leftAxisInput = -1;
    s.rightAxisInput = -1;
    for (int i = 0; i < mem::kInputs; ++i) {
        const bool on = (inputMask >> i) & 1u;
        s.shown[i] = on;
        s.enabled[i] = on;
        if (!on)
            continue;
        if (s.leftAxisInput < 0)
            s.leftAxisInput = i;
        else if (s.rightAxisInput < 0)
            s.rightAxisInput = i;
    }
    return s;
}

bool isInputDrawn(const DisplaySettings& settings, int input)
{
    if (input < 0 || input >= mem::kInputs)
        return false;
    return settings.enabled[input] && settings.shown[input];
}

} // namespace qz
