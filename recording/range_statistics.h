#pragma once
// What the texts and the exports describe: a range of measurements of a recording and the
// inputs shown, and the extremes and averages of each input over that range. Pure
// functions of the data; the graph view hands in its zoom level's range.
#include "model/memory_image.h"

#include <array>
#include <cstdint>

namespace qz {

class RecordingData;

struct DataRange {
    std::int32_t first = 1; // measurements are numbered from 1
    std::int32_t last = 0;
    std::array<bool, mem::kInputs> inputs{}; // the inputs shown, written and described

    std::int32_t count() const { return last - first + 1; }
};

// Every measurement and every recorded input.
DataRange wholeRecording(const RecordingData& data);

struct InputStatistics {
    // Extreme raw values; for a falling conversion exchanged, so that rawMax is the raw
    // value of the physically highest point.
    std::int32_t rawMin = 0;
    std::int32_t rawMax = 0;
    long double rawSum = 0;
    double average = 0; // raw, rawSum over the range's count
};

using RangeStatistics = std::array<InputStatistics, mem::kInputs>;

// The statistics of every recorded input over first..last. Only measurements that exist
// are read, whatever the range says; the average divides by the range's own count. A
// range without measurements gives rawMin 255 and rawMax 0. Inputs not recorded stay 0.
RangeStatistics rangeStatistics(const RecordingData& data, int first, int last);

} // namespace qz
