// The ring of data blocks, the samples and the record times.
#include "model/image_reader.h"

#include "model/logger_date.h"
#include "model/values.h"

#include <QLocale>

namespace qz {

using namespace mem;

int ImageReader::physicalBlock(int j) const
{
    if (j < 0 || j >= ringBlocks_)
        return -1;
    // Read here rather than through firstBlock(): every sample passes this way.
    int first = header_.u16(kFirstBlock);
    if (first >= ringBlocks_)
        first = 0;
    int p = j + first;
    if (p >= ringBlocks_)
        p -= ringBlocks_;
    return p;
}

int ImageReader::usedBlocks() const
{
    const int used = blocksUsed();
    return used < ringBlocks_ ? used : ringBlocks_;
}

ConstByteView ImageReader::block(int k) const
{
    if (k < 0 || !image_.has(blockAddress(k), kBlockSize))
        return {};
    return image_.part(blockAddress(k), kBlockSize);
}

int ImageReader::recordCount() const
{
    const int used = usedBlocks();
    long bytes = 0;
    for (int k = 0; k < used; ++k) {
        const int n = block(k).u8(kSampleBytes);
        bytes += n < int(kSampleArea) ? n : int(kSampleArea);
    }
    const long records = bytes / width_;
    const long room = long(used) * recordsPerBlock_;
    return int(records < room ? records : room);
}

int ImageReader::recordPosition(int input) const
{
    return input >= 0 && input < kInputs ? position_[std::size_t(input)] : 0;
}

template <int Width> std::uint8_t ImageReader::readSample(const ImageReader& reader, int position, int n)
{
    constexpr unsigned kPerBlock = unsigned(kSampleArea) / Width;
    if (n < 1)
        return 0;
    const unsigned m = unsigned(n - 1);
    const int p = reader.physicalBlock(int(m / kPerBlock));
    if (p < 0)
        return 0;
    const std::size_t address = blockAddress(p) + kSamples + (m % kPerBlock) * Width + unsigned(position);
    return address < reader.image_.size ? reader.image_.data[address] : 0;
}

ImageReader::SampleReader ImageReader::sampleReaderFor(int width)
{
    static constexpr SampleReader readers[kInputs] = {
        &readSample<1>, &readSample<2>, &readSample<3>, &readSample<4>,
        &readSample<5>, &readSample<6>, &readSample<7>, &readSample<8>,
    };
    return readers[width - 1];
}

double ImageReader::recordDateTime(int n) const
{
    const ConstByteView oldest = block(physicalBlock(0));
    if (!oldest.bound())
        return 0;
    LoggerDate start;
    start.setFromStamp({oldest.data, oldest.size});
    double base = 0;
    if (!start.tryAsDateTime(base))
        return 0;
    const int seconds = interval();
    const int stepSeconds = seconds >= 3600 ? 3600 : (seconds / 60) * 60 + seconds % 60;
    return base + double(n) * stepSeconds / 86400.0;
}

QString ImageReader::recordDateText(int n) const
{
    LoggerDate d;
    d.setDateTime(recordDateTime(n));
    return d.dateText();
}

QString ImageReader::recordTimeText(int n) const
{
    LoggerDate d;
    d.setDateTime(recordDateTime(n));
    return d.timeText();
}

double ImageReader::recordDateTimeRounded(int n, int mode, double limit) const
{
    LoggerDate d;
    d.setDateTime(recordDateTime(n));
    return d.roundUp(mode, limit);
}

QString ImageReader::batteryText() const
{
    const int used = usedBlocks();
    if (used <= 1)
        return QStringLiteral("-");
    const ConstByteView last = block(physicalBlock(used - 2));
    if (!last.bound())
        return QStringLiteral("-");
    const double volts = adcToVolts(last.u8(kBatteryCount));
    return QLocale().toString(volts, 'g', 3) + QStringLiteral(" V");
}

} // namespace qz
