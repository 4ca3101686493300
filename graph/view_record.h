#pragma once
// One zoom level of a graph view: the measurements shown, their extreme and average raw
// values, and the raw range plotted per input.
#include "recording/display_settings.h"

#include <array>
#include <cstdint>

namespace qz {

inline constexpr int kViewLevels = 17; // level 0 is the whole recording

struct ViewRecord {
    std::int32_t first = 0; // measurements are numbered from 1
    std::int32_t last = 0;
    std::array<std::int32_t, mem::kInputs> rawMax{}; // after the exchange for a falling scale
    std::array<std::int32_t, mem::kInputs> rawMin{};
    std::array<double, mem::kInputs> top{}; // raw value at the plot's top edge
    std::array<double, mem::kInputs> bottom{}; // raw value at the plot's bottom edge
    std::array<double, mem::kInputs> average{};

    std::int32_t count() const { return last - first + 1; }
};

} // namespace qz
