#pragma once
// Logger memories for download tests: ready-made ones, and hand-made blocks with chosen
// stamps.
#include "model/byte_view.h"
#include "model/memory_image.h"
#include "model/values.h"
#include "sim/presets.h"

#include <QDateTime>

namespace qz::test {

inline sim::MemoryPreset linear(int blocks, std::uint16_t code = 485)
{
    sim::MemoryPreset s;
    s.deviceCode = code;
    s.content = sim::Content::Linear;
    s.blocks = blocks;
    return s;
}

inline sim::MemoryPreset erased(std::uint16_t code = 485)
{
    sim::MemoryPreset s;
    s.deviceCode = code;
    s.content = sim::Content::Erased;
    return s;
}

// Writes data block k with the given stamp and a full sample area whose neighbouring
// bytes all differ.
inline void writeBlock(std::uint8_t* memory, int k, const QDateTime& t)
{
    std::uint8_t* b = memory + mem::blockAddress(k);
    b[mem::kSampleBytes] = mem::kSampleArea;
    std::uint8_t* stamp = b + mem::kBlockStamp;
    stamp[0] = intToBcd(t.date().year() % 100);
    stamp[1] = intToBcd(t.date().month());
    stamp[2] = intToBcd(t.date().day());
    stamp[3] = intToBcd(t.time().hour());
    stamp[4] = intToBcd(t.time().minute());
    stamp[5] = intToBcd(t.time().second());
    b[mem::kBatteryCount] = 180;
    for (std::size_t i = mem::kSamples; i < mem::kBlockSize; ++i)
        b[i] = std::uint8_t(k + int(i));
}

// The logger reports a wrapped ring of this many blocks.
inline void reportRing(std::uint8_t* memory, int blocks)
{
    ByteView{memory, mem::kLoggerMemorySize}.setU16(mem::kBlocksUsed, std::uint16_t(blocks));
}

// Block k's stamp reads month 13: no plausible header, and no erased one either.
inline void damage(std::uint8_t* memory, int k)
{
    memory[mem::blockAddress(k) + mem::kBlockStamp + 1] = 0x13;
}

// The header bytes a download takes as they are: all but BlocksUsed and FirstBlock.
constexpr std::size_t kAfterFirstBlock = mem::kFirstBlock + 2;

inline const QDateTime kStart(QDate(2026, 2, 27), QTime(8, 0, 0));

} // namespace qz::test
