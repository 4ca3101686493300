#include "model/block_check.h"

#include "model/memory_image.h"
#include "model/values.h"

#include <span>

namespace qz {

bool isPlausibleBlock(const std::uint8_t* block)
{
    const std::uint8_t* stamp = block + mem::kBlockStamp;
    const int year = bcdToInt(stamp[0]);
    const int month = bcdToInt(stamp[1]);
    const int day = bcdToInt(stamp[2]);
    const int hour = bcdToInt(stamp[3]);
    const int minute = bcdToInt(stamp[4]);
    const int second = bcdToInt(stamp[5]);
    return block[mem::kSampleBytes] <= mem::kSampleArea && year < 100 && month >= 1 && month <= 12 && day >= 1
        && day <= 31 && hour <= 23 && minute <= 59 && second <= 59;
}

bool isErasedBlock(const std::uint8_t* block)
{
    for (std::size_t i = 0; i < mem::kSamples; ++i)
        if (block[i] != 0xFF)
            return false;
    return true;
}

BlockJudgement judgeBlock(const std::uint8_t* block, int i, bool ring, LoggerDate& date)
{
    if (isErasedBlock(block))
        return {BlockKind::Erased};
    if (!isPlausibleBlock(block))
        return {BlockKind::Damaged};
    if (ring)
        return {BlockKind::Recorded};
    const std::span<const std::uint8_t> stamp{block, mem::kBlockSize};
    if (i == 0) {
        date.setFromStamp(stamp);
        date.previousDay();
    }
    const StampContinuity c = date.continuity(stamp);
    return {c == StampContinuity::Breaks ? BlockKind::Damaged : BlockKind::Recorded, c};
}

DeclaredBlocks declareBlocks(const std::uint8_t* blocks, bool ring, int taken, int memoryBlocks)
{
    if (!ring)
        return {taken, 0};
    LoggerDate date;
    date.Year = 3000;
    double best = date.asDateTime();
    int first = 0;
    for (int j = 0; j < taken; ++j) {
        date.setFromStamp(
            std::span<const std::uint8_t>{blocks + std::size_t(j) * mem::kBlockSize, mem::kBlockSize});
        double t = 0;
        if (date.tryAsDateTime(t) && t < best) {
            best = t;
            first = j;
        }
    }
    if (taken == memoryBlocks)
        return {memoryBlocks, first};
    return {taken - first, first};
}

int linearBlocksInUse(const std::uint8_t* blocks, int count)
{
    LoggerDate date;
    for (int i = 0; i < count; ++i) {
        const std::uint8_t* block = blocks + std::size_t(i) * mem::kBlockSize;
        if (judgeBlock(block, i, false, date).kind != BlockKind::Recorded)
            return i;
        date.setFromStamp(std::span<const std::uint8_t>{block, mem::kBlockSize});
    }
    return count;
}

} // namespace qz
