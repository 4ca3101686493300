#include "image_builder.h"

#include "model/real48.h"
#include "model/values.h"

#include <QFile>

#include <algorithm>

namespace qz::test {

namespace {

void put16(QByteArray& a, std::size_t at, unsigned v)
{
    a[int(at)] = char(v & 0xFF);
    a[int(at + 1)] = char((v >> 8) & 0xFF);
}

std::uint8_t* bytes(QByteArray& a, std::size_t at)
{
    return reinterpret_cast<std::uint8_t*>(a.data()) + at;
}

} // namespace

ImageBuilder::ImageBuilder() : image_(int(mem::kImageSize), '\0')
{
    serial("1234");
    recordName("Test recording");
    interval(1, 60);
}

ImageBuilder& ImageBuilder::serial(const char* text)
{
    StrToBytes(QString::fromLatin1(text), bytes(image_, mem::kSerialNumber), int(mem::kSerialNumberSize));
    return *this;
}

ImageBuilder& ImageBuilder::deviceCode(std::uint16_t code)
{
    code_ = code;
    put16(image_, mem::kDeviceCode, code);
    return *this;
}

ImageBuilder& ImageBuilder::recordName(const QString& name)
{
    StrToBytes(name.leftJustified(int(mem::kRecordNameSize), ' '), bytes(image_, mem::kRecordName),
               int(mem::kRecordNameSize));
    return *this;
}

ImageBuilder& ImageBuilder::interval(int samplingPeriod, int samplesPerInterval)
{
    image_[int(mem::kSamplingPeriod)] = char(samplingPeriod);
    image_[int(mem::kSamplingReload)] = char(samplingPeriod);
    image_[int(mem::kSamplingInterval)] = char(samplingPeriod);
    put16(image_, mem::kSamplesPerInterval, unsigned(samplesPerInterval));
    return *this;
}

ImageBuilder& ImageBuilder::input(int i, const InputSpec& preset)
{
    mask_ |= std::uint8_t(1u << i);
    const std::size_t d = mem::DescriptorAddress(i);
    StrToBytes(preset.name, bytes(image_, d + mem::kInputName), int(mem::kInputNameSize));
    StrToBytes(preset.unit, bytes(image_, d + mem::kInputUnit), int(mem::kInputUnitSize));
    DoubleToReal48(preset.scaleLow, bytes(image_, d + mem::kScaleLow));
    DoubleToReal48(preset.scaleHigh, bytes(image_, d + mem::kScaleHigh));
    put16(image_, mem::kCalLow + 2 * std::size_t(i), preset.calLow);
    put16(image_, mem::kCalHigh + 2 * std::size_t(i), preset.calHigh);
    return *this;
}

ImageBuilder& ImageBuilder::start(int yy, int mo, int dd, int hh, int mi, int ss)
{
    stamp_ = {IntToBcd(yy), IntToBcd(mo), IntToBcd(dd), IntToBcd(hh), IntToBcd(mi), IntToBcd(ss)};
    return *this;
}

ImageBuilder& ImageBuilder::firstBlock(int physical)
{
    first_ = physical;
    return *this;
}

ImageBuilder& ImageBuilder::battery(std::uint8_t count)
{
    battery_ = count;
    return *this;
}

ImageBuilder& ImageBuilder::measurements(int count, const SampleFn& sample)
{
    count_ = count;
    sample_ = sample;
    return *this;
}

QByteArray ImageBuilder::build() const
{
    QByteArray a = image_;
    put16(a, mem::kDeviceCode, code_);
    int width = 0;
    for (int i = 0; i < mem::kInputs; ++i)
        width += (mask_ >> i) & 1;
    if (width == 0)
        width = 1;
    a[int(mem::kInputMask)] = char(mask_);
    a[int(mem::kInputCount)] = char(width);

    const int perBlock = 120 / width;
    const int blocks = (count_ + perBlock - 1) / perBlock;
    const int memBlocks = MemoryBlocks(code_);
    for (int j = 0; j < blocks; ++j) {
        const int phys = (first_ + j) % memBlocks;
        const std::size_t b = mem::BlockAddress(phys);
        const int firstRecord = j * perBlock;
        const int records = std::min(perBlock, count_ - firstRecord);
        a[int(b + mem::kSampleBytes)] = char(records * width);
        std::copy(stamp_.begin(), stamp_.end(), bytes(a, b + mem::kBlockStamp));
        a[int(b + mem::kBatteryCount)] = char(battery_);
        for (int r = 0; r < records; ++r) {
            int pos = 0;
            for (int i = 0; i < mem::kInputs; ++i) {
                if (!((mask_ >> i) & 1))
                    continue;
                a[int(b + mem::kSamples + std::size_t(r * width + pos))] = char(sample_(firstRecord + r + 1, i));
                ++pos;
            }
        }
    }
    // A ring that has wrapped uses every block of the memory.
    put16(a, mem::kBlocksUsed, unsigned(first_ != 0 ? memBlocks : blocks));
    put16(a, mem::kFirstBlock, unsigned(blocks ? first_ % memBlocks : 0));
    return a;
}

CatalogueFolder::CatalogueFolder()
{
    QFile f(dir_.filePath(QStringLiteral("devices.ini")));
    if (f.open(QIODevice::WriteOnly)) {
        f.write("[Device 0]\r\nType=ZK\r\nDeviceDesc=ZK-110\r\n"
                "[Device 224]\r\nType=ZK\r\nDeviceDesc=ZK-380\r\n"
                "[Device 293]\r\nType=ZK\r\nDeviceDesc=ZK-293\r\n"
                "[Device 32]\r\nType=XR\r\nDeviceDesc=Other line\r\n");
    }
}

} // namespace qz::test
