#include "support/image_builder.h"

#include "model/byte_view.h"
#include "model/real48.h"
#include "model/values.h"

#include <algorithm>

namespace qz::test {

namespace {

ByteView view(QByteArray& a)
{
    return {reinterpret_cast<std::uint8_t*>(a.data()), std::size_t(a.size())};
}

std::uint8_t* at(QByteArray& a, std::size_t at)
{
    return view(a).at(at, 1);
}

} // namespace

ImageBuilder::ImageBuilder() : header_(int(mem::kHeaderSize), '\0')
{
    serial("1234");
    recordName(QStringLiteral("Test recording"));
    interval(1, 60);
}

ImageBuilder& ImageBuilder::serial(const char* text)
{
    strToBytes(QString::fromLatin1(text), at(header_, mem::kSerialNumber), int(mem::kSerialNumberSize));
    return *this;
}

ImageBuilder& ImageBuilder::deviceCode(std::uint16_t code)
{
    code_ = code;
    return *this;
}

ImageBuilder& ImageBuilder::recordName(const QString& name)
{
    strToBytes(name.leftJustified(int(mem::kRecordNameSize), ' '), at(header_, mem::kRecordName),
               int(mem::kRecordNameSize));
    return *this;
}

ImageBuilder& ImageBuilder::interval(int samplingPeriod, int samplesPerInterval)
{
    const ByteView h = view(header_);
    h.setU8(mem::kSamplingPeriod, std::uint8_t(samplingPeriod));
    h.setU8(mem::kSamplingReload, std::uint8_t(samplingPeriod));
    h.setU8(mem::kSamplingInterval, std::uint8_t(samplingPeriod));
    h.setU16(mem::kSamplesPerInterval, std::uint16_t(samplesPerInterval));
    return *this;
}

ImageBuilder& ImageBuilder::input(int i, const InputSetup& setup)
{
    mask_ = std::uint8_t(mask_ | (1u << i));
    const std::size_t d = mem::descriptorAddress(i);
    strToBytes(setup.name, at(header_, d + mem::kInputName), int(mem::kInputNameSize));
    strToBytes(setup.unit, at(header_, d + mem::kInputUnit), int(mem::kInputUnitSize));
    doubleToReal48(setup.scaleLow, at(header_, d + mem::kScaleLow));
    doubleToReal48(setup.scaleHigh, at(header_, d + mem::kScaleHigh));
    view(header_).setU16(mem::calLowAddress(i), setup.calLow);
    view(header_).setU16(mem::calHighAddress(i), setup.calHigh);
    return *this;
}

ImageBuilder& ImageBuilder::start(int yy, int mo, int dd, int hh, int mi, int ss)
{
    stamp_ = {intToBcd(yy), intToBcd(mo), intToBcd(dd), intToBcd(hh), intToBcd(mi), intToBcd(ss)};
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

ImageBuilder& ImageBuilder::set8(std::size_t at, std::uint8_t v)
{
    edits_.push_back([at, v](QByteArray& a) { view(a).setU8(at, v); });
    return *this;
}

ImageBuilder& ImageBuilder::set16(std::size_t at, std::uint16_t v)
{
    edits_.push_back([at, v](QByteArray& a) { view(a).setU16(at, v); });
    return *this;
}

ImageBuilder& ImageBuilder::fill(std::size_t at, std::size_t length, std::uint8_t v)
{
    edits_.push_back([at, length, v](QByteArray& a) {
        if (std::uint8_t* p = view(a).at(at, length))
            std::fill(p, p + length, v);
    });
    return *this;
}

ImageBuilder& ImageBuilder::ring(int used, int first)
{
    return set16(mem::kBlocksUsed, std::uint16_t(used)).set16(mem::kFirstBlock, std::uint16_t(first));
}

ImageBuilder& ImageBuilder::block(int k, int sampleBytes, std::initializer_list<std::uint8_t> stamp,
                                  std::uint8_t battery)
{
    const std::size_t at = mem::blockAddress(k);
    set8(at + mem::kSampleBytes, std::uint8_t(sampleBytes));
    std::size_t i = 0;
    for (std::uint8_t b : stamp)
        set8(at + mem::kBlockStamp + i++, b);
    return set8(at + mem::kBatteryCount, battery);
}

ImageBuilder& ImageBuilder::markSamples(int blocks)
{
    edits_.push_back([blocks](QByteArray& a) {
        const ByteView v = view(a);
        for (int k = 0; k < blocks; ++k)
            for (std::size_t i = 0; i < mem::kSampleArea; ++i)
                v.setU8(mem::blockAddress(k) + mem::kSamples + i, mark(k, int(i)));
    });
    return *this;
}

void ImageBuilder::layOut(QByteArray& a) const
{
    std::copy(header_.begin(), header_.end(), a.begin());
    const ByteView image = view(a);
    image.setU16(mem::kDeviceCode, code_);
    int width = 0;
    for (int i = 0; i < mem::kInputs; ++i)
        width += (mask_ >> i) & 1;
    if (width == 0)
        width = 1;
    image.setU8(mem::kInputMask, mask_);
    image.setU8(mem::kInputCount, std::uint8_t(width));

    const int perBlock = int(mem::kSampleArea) / width;
    const int blocks = (count_ + perBlock - 1) / perBlock;
    const int memoryBlockCount = memoryBlocks(code_);
    for (int j = 0; j < blocks; ++j) {
        const std::size_t b = mem::blockAddress((first_ + j) % memoryBlockCount);
        const int firstRecord = j * perBlock;
        const int records = std::min(perBlock, count_ - firstRecord);
        image.setU8(b + mem::kSampleBytes, std::uint8_t(records * width));
        std::copy(stamp_.begin(), stamp_.end(), image.at(b + mem::kBlockStamp, stamp_.size()));
        image.setU8(b + mem::kBatteryCount, battery_);
        for (int r = 0; r < records; ++r) {
            int position = 0;
            for (int i = 0; i < mem::kInputs; ++i) {
                if (!((mask_ >> i) & 1))
                    continue;
                image.setU8(b + mem::kSamples + std::size_t(r * width + position),
                            sample_(firstRecord + r + 1, i));
                ++position;
            }
        }
    }
    // A ring that has wrapped uses every block of the memory.
    image.setU16(mem::kBlocksUsed, std::uint16_t(first_ != 0 ? memoryBlockCount : blocks));
    image.setU16(mem::kFirstBlock, std::uint16_t(blocks ? first_ % memoryBlockCount : 0));
}

QByteArray ImageBuilder::build() const
{
    QByteArray a(int(mem::kImageSize), '\0');
    layOut(a);
    for (const auto& edit : edits_)
        edit(a);
    return a;
}

std::vector<std::uint8_t> ImageBuilder::bytes() const
{
    const QByteArray a = build();
    return std::vector<std::uint8_t>(a.begin(), a.end());
}

QByteArray ImageBuilder::file() const
{
    const QByteArray image = build();
    const ConstByteView v{reinterpret_cast<const std::uint8_t*>(image.constData()),
                          std::size_t(image.size())};
    const int used = std::min<int>(v.u16(mem::kBlocksUsed), mem::kMaxBlocks);
    return QByteArray("QUORVANT") + image.left(int(mem::blockAddress(used)));
}

} // namespace qz::test
