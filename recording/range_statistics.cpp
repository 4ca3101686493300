#include "recording/range_statistics.h"

#include "recording/recording_data.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace qz {

DataRange wholeRecording(const RecordingData& data)
{
    DataRange range;
    range.first = 1;
    range.last = data.measurementCount();
    for (int i = 0; i < mem::kInputs; ++i)
        range.inputs[std::size_t(i)] = data.isEnabled(i);
    return range;
}

RangeStatistics rangeStatistics(const RecordingData& data, int first, int last)
{
    RangeStatistics stats{};
    const int from = std::max(first, 1);
    const int to = std::min(last, data.measurementCount());
    const long double n = static_cast<long double>(last) + 1 - first;
    for (int i = 0; i < mem::kInputs; ++i) {
        if (!data.isEnabled(i))
            continue;
        InputStatistics& s = stats[std::size_t(i)];
        long double sum = 0;
        int lo = 255;
        int hi = 0;
        std::vector<std::uint8_t> raws(std::size_t(std::max(0, to - from + 1)));
        data.samples(i, from, int(raws.size()), raws.data());
        // Whole numbers: an integer sum is exact and far faster than one in long double.
        std::int64_t total = 0;
        for (const std::uint8_t r : raws) {
            total += r;
            lo = std::min(lo, int(r));
            hi = std::max(hi, int(r));
        }
        sum = static_cast<long double>(total);
        s.rawSum = sum;
        s.rawMin = lo;
        s.rawMax = hi;
        if (data.conversion(i).gain < 0)
            std::swap(s.rawMin, s.rawMax);
        s.average = n > 0 ? static_cast<double>(sum / n) : 0.0;
    }
    return stats;
}

} // namespace qz
