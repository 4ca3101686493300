#include "model/image_reader.h"

#include "model/real48.h"
#include "model/values.h"

namespace qz {

using namespace mem;

ImageReader::ImageReader() : ImageReader(ConstByteView{}, ConstByteView{}, ConstByteView{})
{}

ImageReader::ImageReader(ConstByteView image)
    : ImageReader(image.part(0, kHeaderSize), image, ConstByteView{})
{}

ImageReader ImageReader::header(ConstByteView bytes)
{
    return ImageReader(bytes.part(0, kHeaderSize), ConstByteView{}, ConstByteView{});
}

ImageReader ImageReader::deviceImage(ConstByteView bytes)
{
    const ConstByteView clock = bytes.has(kClockInImage, kClockRecordSize)
        ? bytes.part(kClockInImage, kClockRecordSize)
        : ConstByteView{};
    return ImageReader(bytes.part(0, kHeaderSize), ConstByteView{}, clock);
}

ImageReader::ImageReader(ConstByteView header, ConstByteView image, ConstByteView clock)
    : header_(header), image_(image), clock_(clock)
{
    memoryBlocks_ = qz::memoryBlocks(deviceCode());
    if (image_.bound()) {
        const std::size_t held = image_.size > kHeaderSize ? (image_.size - kHeaderSize) / kBlockSize : 0;
        ringBlocks_ = std::size_t(memoryBlocks_) < held ? memoryBlocks_ : int(held);
    }

    width_ = inputCount();
    recordsPerBlock_ = int(kSampleArea) / width_;
    readSample_ = sampleReaderFor(width_);
    int position = 0;
    for (int i = 0; i < kInputs; ++i) {
        position_[std::size_t(i)] = position;
        const bool recorded = isInputRecorded(i);
        // A mask with more inputs than the record holds leaves the extra ones out.
        inRecord_[std::size_t(i)] = recorded && position < width_;
        if (recorded)
            ++position;
    }
}

// ---- identification -------------------------------------------------------------------

QString ImageReader::serialNumber() const
{
    return bytesToStr(header_.at(kSerialNumber, kSerialNumberSize), kSerialNumberSize);
}

std::uint16_t ImageReader::deviceCode() const
{
    return header_.u16(kDeviceCode);
}

QString ImageReader::deviceCodeText() const
{
    return QString::number(deviceCode());
}

// ---- program block --------------------------------------------------------------------

QString ImageReader::recordName() const
{
    return bytesToStr(header_.at(kRecordName, kRecordNameSize), kRecordNameSize);
}

std::uint8_t ImageReader::samplingPeriod() const
{
    return header_.u8(kSamplingPeriod);
}
std::uint8_t ImageReader::samplingReload() const
{
    return header_.u8(kSamplingReload);
}
std::uint16_t ImageReader::samplesPerInterval() const
{
    return header_.u16(kSamplesPerInterval);
}
std::uint8_t ImageReader::inputMask() const
{
    return header_.u8(kInputMask);
}

bool ImageReader::isInputRecorded(int input) const
{
    return input >= 0 && input < kInputs && (inputMask() >> input) & 1;
}

int ImageReader::inputCount() const
{
    const int n = header_.u8(kInputCount);
    return n >= 1 && n <= kInputs ? n : 1;
}

std::uint8_t ImageReader::samplingInterval() const
{
    return header_.u8(kSamplingInterval);
}
std::uint16_t ImageReader::stopMode() const
{
    return header_.u16(kStopMode);
}

std::array<std::uint8_t, kStartStampSize> ImageReader::startStamp() const
{
    std::array<std::uint8_t, kStartStampSize> stamp{};
    for (std::size_t i = 0; i < kStartStampSize; ++i)
        stamp[i] = header_.u8(kStartStamp + i);
    return stamp;
}

std::uint16_t ImageReader::blocksUsed() const
{
    return header_.u16(kBlocksUsed);
}
std::uint16_t ImageReader::firstBlock() const
{
    return header_.u16(kFirstBlock);
}

int ImageReader::interval() const
{
    return int(samplesPerInterval()) * int(samplingPeriod());
}

// ---- inputs ---------------------------------------------------------------------------

ConstByteView ImageReader::descriptor(int input, std::size_t offset, std::size_t length) const
{
    if (input < 0 || input >= kInputs)
        return {};
    const std::size_t at = descriptorAddress(input) + offset;
    return header_.has(at, length) ? header_.part(at, length) : ConstByteView{};
}

QString ImageReader::inputName(int input) const
{
    return bytesToStr(descriptor(input, kInputName, kInputNameSize).data, kInputNameSize);
}

QString ImageReader::inputUnit(int input) const
{
    return bytesToStr(descriptor(input, kInputUnit, kInputUnitSize).data, kInputUnitSize);
}

double ImageReader::scaleLow(int input) const
{
    return real48ToDouble(descriptor(input, kScaleLow, kReal48Size).data);
}

double ImageReader::scaleHigh(int input) const
{
    return real48ToDouble(descriptor(input, kScaleHigh, kReal48Size).data);
}

QString ImageReader::scaleLowText(int input) const
{
    return formatValueShort(scaleLow(input));
}
QString ImageReader::scaleHighText(int input) const
{
    return formatValueShort(scaleHigh(input));
}

double ImageReader::calLow(int input) const
{
    return input >= 0 && input < kInputs ? header_.u16(calLowAddress(input)) / 256.0 : 0;
}

double ImageReader::calHigh(int input) const
{
    return input >= 0 && input < kInputs ? header_.u16(calHighAddress(input)) / 256.0 : 0;
}

// ---- clock record ---------------------------------------------------------------------

std::uint8_t ImageReader::runState() const
{
    return clock_.u8(kRunState);
}

} // namespace qz
