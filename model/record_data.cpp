// The ring of data blocks and the record times.
#include "model/quorvant_data.h"

#include "model/memory_image.h"
#include "model/logger_date.h"
#include "model/values.h"

#include <QLocale>

namespace qz {

using namespace mem;

int TRecordData::RingBlocks() const
{
    int blocks = GetMemoryBlocks();
    if (image_.bound()) {
        const std::size_t held = image_.size > kHeaderSize ? (image_.size - kHeaderSize) / kBlockSize : 0;
        if (std::size_t(blocks) > held)
            blocks = int(held);
    }
    return blocks;
}

int TRecordData::PhysicalBlock(int j) const
{
    const int blocks = RingBlocks();
    if (j < 0 || j >= blocks)
        return -1;
    int first = GetFirstBlock();
    if (first >= blocks)
        first = 0;
    int p = j + first;
    if (p >= blocks)
        p -= blocks;
    return p;
}

int TRecordData::UsedBlocks() const
{
    const int used = GetBlocksUsed();
    const int blocks = RingBlocks();
    return used < blocks ? used : blocks;
}

const std::uint8_t* TRecordData::BlockAt(int k) const
{
    if (k < 0)
        return nullptr;
    return image_.at(BlockAddress(k), kBlockSize);
}

int TRecordData::GetRecordCount() const
{
    const int used = UsedBlocks();
    long bytes = 0;
    for (int k = 0; k < used; ++k) {
        const std::uint8_t* block = BlockAt(k);
        const int n = block ? block[kSampleBytes] : 0;
        bytes += n < int(kSampleArea) ? n : int(kSampleArea);
    }
    const int width = GetInputCount();
    const long records = bytes / width;
    const long room = long(used) * (long(kSampleArea) / width);
    return int(records < room ? records : room);
}

double TRecordData::GetRecordDateTime(int n) const
{
    const std::uint8_t* block = BlockAt(PhysicalBlock(0));
    if (!block)
        return 0;
    LoggerDate start;
    start.SetFromStamp({block, kBlockSize});
    double base = 0;
    if (!start.TryAsDateTime(base))
        return 0;
    const int interval = GetInterval();
    const int stepSeconds = interval >= 3600 ? 3600 : (interval / 60) * 60 + interval % 60;
    return base + double(n) * stepSeconds / 86400.0;
}

QString TRecordData::GetRecordDateText(int n) const
{
    LoggerDate d;
    d.SetDateTime(GetRecordDateTime(n));
    return d.DateText();
}

QString TRecordData::GetRecordTimeText(int n) const
{
    LoggerDate d;
    d.SetDateTime(GetRecordDateTime(n));
    return d.TimeText();
}

double TRecordData::GetRecordDateTimeRounded(int n, int mode, double limit) const
{
    LoggerDate d;
    d.SetDateTime(GetRecordDateTime(n));
    return d.RoundUp(mode, limit);
}

QString TRecordData::GetBatteryText() const
{
    const int used = UsedBlocks();
    if (used <= 1)
        return QStringLiteral("-");
    const std::uint8_t* block = BlockAt(PhysicalBlock(used - 2));
    if (!block)
        return QStringLiteral("-");
    const double volts = AdcToVolts(block[kBatteryCount]);
    return QLocale().toString(volts, 'g', 3) + QStringLiteral(" V");
}

// ---- samples --------------------------------------------------------------------------

template <int Width>
std::uint8_t TLoggerData::ReadSample(const TLoggerData& d, int n)
{
    constexpr unsigned kPerBlock = unsigned(kSampleArea) / Width;
    if (n < 1 || unsigned(d.CurrentOffset) >= unsigned(Width))
        return 0;
    const unsigned m = unsigned(n - 1);
    const int p = d.PhysicalBlock(int(m / kPerBlock));
    if (p < 0)
        return 0;
    const std::size_t address =
        BlockAddress(p) + kSamples + (m % kPerBlock) * Width + unsigned(d.CurrentOffset);
    return address < d.image_.size ? d.image_.data[address] : 0;
}

TLoggerData::TLoggerData() : reader_(&ReadSample<1>) {}

void TLoggerData::BindRecord()
{
    static constexpr SampleReader readers[8] = {
        &ReadSample<1>, &ReadSample<2>, &ReadSample<3>, &ReadSample<4>,
        &ReadSample<5>, &ReadSample<6>, &ReadSample<7>, &ReadSample<8>,
    };
    const int width = GetInputCount();
    recordsPerBlock_ = int(kSampleArea) / width;
    reader_ = readers[width - 1];
}

} // namespace qz
