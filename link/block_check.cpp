#include "link/block_check.h"

#include "model/memory_image.h"
#include "model/values.h"

namespace qz {

bool isPlausibleBlock(const std::uint8_t* block)
{
    const std::uint8_t* stamp = block + mem::kBlockStamp;
    const int year = BcdToInt(stamp[0]);
    const int month = BcdToInt(stamp[1]);
    const int day = BcdToInt(stamp[2]);
    const int hour = BcdToInt(stamp[3]);
    const int minute = BcdToInt(stamp[4]);
    const int second = BcdToInt(stamp[5]);
    return block[mem::kSampleBytes] <= mem::kSampleArea && year < 100 && month >= 1
        && month <= 12 && day >= 1 && day <= 31 && hour <= 23 && minute <= 59 && second <= 59;
}

} // namespace qz

namespace qz {

bool isErasedBlock(const std::uint8_t* block)
{
    for (std::size_t i = 0; i < mem::kSamples; ++i)
        if (block[i] != 0xFF)
            return false;
    return true;
}

} // namespace qz
