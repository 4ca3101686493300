#pragma once
// The images of the model tests: a header of chosen raw fields, and a reader over an
// image that the test keeps.
#include "model/byte_view.h"
#include "model/image_reader.h"
#include "model/memory_image.h"
#include "support/image_builder.h"

#include <cstdint>
#include <vector>

namespace qz::test {

// Device code, input count (as stored, even outside 1..8), the mask of the first inputs
// and the interval, written raw.
inline ImageBuilder header(std::uint16_t code, int inputs, int samplingPeriod = 1,
                           int samplesPerInterval = 60)
{
    return ImageBuilder()
        .set16(mem::kDeviceCode, code)
        .set8(mem::kInputCount, std::uint8_t(inputs))
        .set8(mem::kInputMask, std::uint8_t((1u << (inputs > 8 ? 8 : inputs)) - 1))
        .set8(mem::kSamplingPeriod, std::uint8_t(samplingPeriod))
        .set16(mem::kSamplesPerInterval, std::uint16_t(samplesPerInterval));
}

// The bytes of an image and a reader made over the first size of them. The test may
// change the bytes; the reader keeps the record layout it was made with.
struct ReadImage {
    explicit ReadImage(const ImageBuilder& image, std::size_t size = mem::kImageSize)
        : bytes(image.bytes()), reader(ConstByteView{bytes.data(), size})
    {}
    ReadImage(const ReadImage&) = delete;
    ReadImage& operator=(const ReadImage&) = delete;

    ByteView view() { return {bytes.data(), bytes.size()}; }

    std::vector<std::uint8_t> bytes;
    ImageReader reader;
};

} // namespace qz::test
