#include "model/image_writer.h"

#include "model/real48.h"
#include "model/values.h"

namespace qz {

using namespace mem;

ImageWriter::ImageWriter(ByteView image) : ImageWriter(image.part(0, kHeaderSize), ByteView{})
{}

ImageWriter ImageWriter::deviceImage(ByteView bytes)
{
    const ByteView clock =
        bytes.has(kClockInImage, kClockRecordSize) ? bytes.part(kClockInImage, kClockRecordSize) : ByteView{};
    return ImageWriter(bytes.part(0, kHeaderSize), clock);
}

// ---- program block --------------------------------------------------------------------

void ImageWriter::setRecordName(const QString& text)
{
    strToBytes(text, header_.at(kRecordName, kRecordNameSize), kRecordNameSize);
}

void ImageWriter::setSamplingPeriod(std::uint8_t v)
{
    header_.setU8(kSamplingPeriod, v);
}
void ImageWriter::setSamplingReload(std::uint8_t v)
{
    header_.setU8(kSamplingReload, v);
}
void ImageWriter::setSamplesPerInterval(std::uint16_t v)
{
    header_.setU16(kSamplesPerInterval, v);
}

void ImageWriter::setInputMask(const std::array<std::uint8_t, kInputs>& flags)
{
    std::uint8_t mask = 0;
    for (int i = 0; i < kInputs; ++i)
        if (flags[std::size_t(i)] == 1)
            mask = std::uint8_t(mask | (1u << i));
    header_.setU8(kInputMask, mask);
}

void ImageWriter::setInputCount(std::uint8_t n)
{
    header_.setU8(kInputCount, n);
}
void ImageWriter::setYearBits(std::uint8_t bits)
{
    header_.setU8(kYearBits, bits);
}
void ImageWriter::setYearBcd(int year)
{
    header_.setU8(kYearBcd, intToBcd(year));
}
void ImageWriter::setSamplingInterval(std::uint8_t v)
{
    header_.setU8(kSamplingInterval, v);
}
void ImageWriter::setStopMode(std::uint16_t v)
{
    header_.setU16(kStopMode, v);
}

void ImageWriter::setStartStamp(const std::array<std::uint8_t, kStartStampSize>& stamp)
{
    for (std::size_t i = 0; i < kStartStampSize; ++i)
        header_.setU8(kStartStamp + i, stamp[i]);
}

void ImageWriter::setBlocksUsed(std::uint16_t v)
{
    header_.setU16(kBlocksUsed, v);
}
void ImageWriter::setFirstBlock(std::uint16_t v)
{
    header_.setU16(kFirstBlock, v);
}
void ImageWriter::setResetWord1(std::uint16_t v)
{
    header_.setU16(kResetWord1, v);
}
void ImageWriter::setResetWord2(std::uint16_t v)
{
    header_.setU16(kResetWord2, v);
}

void ImageWriter::setInterval(int seconds)
{
    const std::uint8_t period = header_.u8(kSamplingInterval);
    setSamplingPeriod(period);
    setSamplingReload(period);
    // A zero period would divide by zero; no samples per interval is the safe reading.
    setSamplesPerInterval(std::uint16_t(period > 0 && seconds > 0 ? seconds / period : 0));
}

// ---- inputs ---------------------------------------------------------------------------

std::uint8_t* ImageWriter::descriptor(int input, std::size_t offset, std::size_t length) const
{
    if (input < 0 || input >= kInputs)
        return nullptr;
    return header_.at(descriptorAddress(input) + offset, length);
}

void ImageWriter::setInputName(int input, const QString& text)
{
    strToBytes(text, descriptor(input, kInputName, kInputNameSize), kInputNameSize);
}

void ImageWriter::setInputUnit(int input, const QString& text)
{
    strToBytes(text, descriptor(input, kInputUnit, kInputUnitSize), kInputUnitSize);
}

bool ImageWriter::setScaleLow(int input, double v)
{
    std::uint8_t* at = descriptor(input, kScaleLow, kReal48Size);
    return at && doubleToReal48(v, at);
}

bool ImageWriter::setScaleHigh(int input, double v)
{
    std::uint8_t* at = descriptor(input, kScaleHigh, kReal48Size);
    return at && doubleToReal48(v, at);
}

// ---- clock record ---------------------------------------------------------------------

void ImageWriter::setClockControl(std::uint8_t b)
{
    clock_.setU8(kClockControl, b);
}

void ImageWriter::setClockByte(int i, int value)
{
    if (i >= 1 && i <= 7 && std::size_t(i) != kClockDay)
        clock_.setU8(std::size_t(i), intToBcd(value));
}

void ImageWriter::setClockDay(int day, std::uint8_t yearBits)
{
    clock_.setU8(kClockDay, std::uint8_t(intToBcd(day) | yearBits));
}

void ImageWriter::setRunState(std::uint8_t b)
{
    clock_.setU8(kRunState, b);
}

void ImageWriter::setStartByte(int i, int value)
{
    if (std::size_t(i) >= kClockStart && std::size_t(i) <= kClockLast)
        clock_.setU8(std::size_t(i), intToBcd(value));
}

} // namespace qz
