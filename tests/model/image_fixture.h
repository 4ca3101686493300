#pragma once
// A small builder of logger memory images for tests.
#include "model/memory_image.h"

#include <cstdint>
#include <vector>

namespace qz::test {

struct ImageFixture {
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(mem::kImageSize, 0);

    void u8(std::size_t at, std::uint8_t v) { bytes.at(at) = v; }
    void u16(std::size_t at, std::uint16_t v)
    {
        bytes.at(at) = std::uint8_t(v & 0xFF);
        bytes.at(at + 1) = std::uint8_t(v >> 8);
    }
    // Device code, input count and interval in one go.
    ImageFixture& header(std::uint16_t code, int inputs, int samplingPeriod = 1,
                         int samplesPerInterval = 60)
    {
        u16(mem::kDeviceCode, code);
        u8(mem::kInputCount, std::uint8_t(inputs));
        u8(mem::kInputMask, std::uint8_t((1u << (inputs > 8 ? 8 : inputs)) - 1));
        u8(mem::kSamplingPeriod, std::uint8_t(samplingPeriod));
        u16(mem::kSamplesPerInterval, std::uint16_t(samplesPerInterval));
        return *this;
    }
    ImageFixture& ring(int used, int first)
    {
        u16(mem::kBlocksUsed, std::uint16_t(used));
        u16(mem::kFirstBlock, std::uint16_t(first));
        return *this;
    }
    // Block k: used bytes, BCD stamp (yy mm dd hh mm ss), battery count.
    ImageFixture& block(int k, int sampleBytes, std::initializer_list<std::uint8_t> stamp = {},
                        std::uint8_t battery = 0)
    {
        const std::size_t at = mem::BlockAddress(k);
        u8(at + mem::kSampleBytes, std::uint8_t(sampleBytes));
        std::size_t i = 0;
        for (std::uint8_t b : stamp)
            u8(at + mem::kBlockStamp + i++, b);
        u8(at + mem::kBatteryCount, battery);
        return *this;
    }
    // Every sample byte of block k gets the value (k + position) & 0xFF, so a test can
    // tell which block and byte a sample came from.
    ImageFixture& markSamples(int blocks)
    {
        for (int k = 0; k < blocks; ++k)
            for (std::size_t i = 0; i < mem::kSampleArea; ++i)
                bytes.at(mem::BlockAddress(k) + mem::kSamples + i) = Mark(k, int(i));
        return *this;
    }
    static std::uint8_t Mark(int block, int position)
    {
        return std::uint8_t((block * 7 + position) & 0xFF);
    }
};

} // namespace qz::test
