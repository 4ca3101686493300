#pragma once
// A graph's display choices: which inputs are drawn, which inputs own the two value axes,
// automatic or fixed value range, and the colours of the time column and the inputs.
// Both records are exchanged whole, by copy, with the graphic configuration dialog.
#include "model/memory_image.h"

#include <array>
#include <cstdint>

namespace qz {

// Colours in blue-green-red byte order (0x00BBGGRR). Entry 0 is the time column of the
// status line, entry 1 + i is input i; entries 9..15 are carried along and never read.
using Colour = std::uint32_t;
using ColourTable = std::array<Colour, 16>;

ColourTable defaultColours();

struct DisplaySettings {
    std::array<bool, mem::kInputs> shown{}; // input is drawn, exported and read out
    std::array<bool, mem::kInputs> enabled{}; // copy of the input's recorded bit
    bool autoScale = true; // range from the data, else the calibrated range
    std::int32_t leftAxisInput = -1; // -1: no axis
    std::int32_t rightAxisInput = -1;
    // Each input fills the plot's height on its own raw scale, with the scales of the two
    // axis inputs drawn; otherwise every input is drawn against one value axis per unit.
    bool ownScales = false;
    bool grid = true; // light lines at the value and time labels (one axis per unit)
    // Several recordings: each one's first measurement at the first recording's, to
    // compare runs; otherwise all on the loggers' clocks.
    bool alignStarts = false;

    bool operator==(const DisplaySettings&) const = default;
};

// Every recorded input shown, automatic range, the first two recorded inputs on the axes,
// one value axis per unit with grid lines.
DisplaySettings initDisplaySettings(std::uint8_t inputMask);

// Enabled and shown; false for an index outside 0..7.
bool isInputDrawn(const DisplaySettings& settings, int input);

} // namespace qz
