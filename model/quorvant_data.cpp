#include "model/quorvant_data.h"

#include "model/memory_image.h"
#include "model/real48.h"
#include "model/values.h"

namespace qz {

using namespace mem;

// ---- identification -------------------------------------------------------------------

QString TDevType::GetSerialNumber() const
{
    return BytesToStr(ident_.at(kSerialNumber, kSerialNumberSize), kSerialNumberSize);
}

std::uint16_t TDevType::GetDeviceCode() const { return ident_.u16(kDeviceCode); }

QString TDevType::GetDeviceCodeText() const { return QString::number(GetDeviceCode()); }

int TDevType::ComputeMemoryBlocks() const { return MemoryBlocks(GetDeviceCode()); }

// ---- calibration ----------------------------------------------------------------------

double TCalibration::GetCalLow() const
{
    if (!CurrentInputValid())
        return 0;
    return cal_.u16(kCalLow - kCalibration + 2 * std::size_t(CurrentInput)) / 256.0;
}

double TCalibration::GetCalHigh() const
{
    if (!CurrentInputValid())
        return 0;
    return cal_.u16(kCalHigh - kCalibration + 2 * std::size_t(CurrentInput)) / 256.0;
}

// ---- program block --------------------------------------------------------------------

namespace {
constexpr std::size_t P(std::size_t address) { return address - kProgram; }
} // namespace

QString TProgramInfos::GetRecordName() const
{
    return BytesToStr(prog_.at(P(kRecordName), kRecordNameSize), kRecordNameSize);
}

void TProgramInfos::SetRecordName(const QString& text)
{
    StrToBytes(text, prog_.at(P(kRecordName), kRecordNameSize), kRecordNameSize);
}

std::uint8_t TProgramInfos::GetSamplingPeriod() const { return prog_.u8(P(kSamplingPeriod)); }
void TProgramInfos::SetSamplingPeriod(std::uint8_t v) { prog_.setU8(P(kSamplingPeriod), v); }
void TProgramInfos::SetSamplingReload(std::uint8_t v) { prog_.setU8(P(kSamplingReload), v); }

std::uint16_t TProgramInfos::GetSamplesPerInterval() const
{
    return prog_.u16(P(kSamplesPerInterval));
}

void TProgramInfos::SetSamplesPerInterval(std::uint16_t v)
{
    prog_.setU16(P(kSamplesPerInterval), v);
}

std::uint8_t TProgramInfos::GetInputMask() const { return prog_.u8(P(kInputMask)); }

void TProgramInfos::SetInputMask(const std::uint8_t flags[8])
{
    std::uint8_t mask = 0;
    for (int i = 0; i < 8; ++i)
        if (flags[i] == 1)
            mask = std::uint8_t(mask | (1u << i));
    prog_.setU8(P(kInputMask), mask);
}

bool TProgramInfos::IsInputEnabled() const
{
    return CurrentInputValid() && (GetInputMask() >> CurrentInput) & 1;
}

std::uint8_t TProgramInfos::GetInputCount() const
{
    const std::uint8_t n = prog_.u8(P(kInputCount));
    return n >= 1 && n <= 8 ? n : 1;
}

void TProgramInfos::SetInputCount(std::uint8_t n) { prog_.setU8(P(kInputCount), n); }
void TProgramInfos::SetYearBits(std::uint8_t b) { prog_.setU8(P(kYearBits), b); }
void TProgramInfos::SetYearBcd(int year) { prog_.setU8(P(kYearBcd), IntToBcd(year)); }

std::uint8_t TProgramInfos::GetSamplingInterval() const
{
    return prog_.u8(P(kSamplingInterval));
}

void TProgramInfos::SetSamplingInterval(std::uint8_t v) { prog_.setU8(P(kSamplingInterval), v); }
std::uint16_t TProgramInfos::GetStopMode() const { return prog_.u16(P(kStopMode)); }
void TProgramInfos::SetStopMode(std::uint16_t v) { prog_.setU16(P(kStopMode), v); }

void TProgramInfos::GetStartStamp(std::uint8_t out[6]) const
{
    for (std::size_t i = 0; i < kStartStampSize; ++i)
        out[i] = prog_.u8(P(kStartStamp) + i);
}

void TProgramInfos::SetStartStamp(const std::uint8_t stamp[6])
{
    for (std::size_t i = 0; i < kStartStampSize; ++i)
        prog_.setU8(P(kStartStamp) + i, stamp[i]);
}

std::uint16_t TProgramInfos::GetBlocksUsed() const { return prog_.u16(P(kBlocksUsed)); }
void TProgramInfos::SetBlocksUsed(std::uint16_t v) { prog_.setU16(P(kBlocksUsed), v); }
void TProgramInfos::SetFirstBlock(std::uint16_t v) { prog_.setU16(P(kFirstBlock), v); }
void TProgramInfos::SetResetWord1(std::uint16_t v) { prog_.setU16(P(kResetWord1), v); }
void TProgramInfos::SetResetWord2(std::uint16_t v) { prog_.setU16(P(kResetWord2), v); }

int TProgramInfos::GetInterval() const
{
    return int(GetSamplesPerInterval()) * int(GetSamplingPeriod());
}

void TProgramInfos::SetInterval(int seconds)
{
    SetSamplingPeriod(GetSamplingInterval());
    SetSamplingReload(GetSamplingPeriod());
    const int period = GetSamplingPeriod();
    // A zero period would divide by zero; no samples per interval is the safe reading.
    SetSamplesPerInterval(std::uint16_t(period > 0 && seconds > 0 ? seconds / period : 0));
}

// ---- input table ----------------------------------------------------------------------

std::uint8_t* TChannelData::Descriptor(std::size_t offset, std::size_t length) const
{
    if (!CurrentInputValid())
        return nullptr;
    return inputs_.at(kInputDescriptorSize * std::size_t(CurrentInput) + offset, length);
}

QString TChannelData::GetInputName() const
{
    return BytesToStr(Descriptor(kInputName, kInputNameSize), kInputNameSize);
}

void TChannelData::SetInputName(const QString& text)
{
    StrToBytes(text, Descriptor(kInputName, kInputNameSize), kInputNameSize);
}

QString TChannelData::GetInputUnit() const
{
    return BytesToStr(Descriptor(kInputUnit, kInputUnitSize), kInputUnitSize);
}

void TChannelData::SetInputUnit(const QString& text)
{
    StrToBytes(text, Descriptor(kInputUnit, kInputUnitSize), kInputUnitSize);
}

double TChannelData::GetScaleLow() const
{
    return Real48ToDouble(Descriptor(kScaleLow, kReal48Size));
}

double TChannelData::GetScaleHigh() const
{
    return Real48ToDouble(Descriptor(kScaleHigh, kReal48Size));
}

bool TChannelData::SetScaleLow(double v)
{
    std::uint8_t* at = Descriptor(kScaleLow, kReal48Size);
    return at && DoubleToReal48(v, at);
}

bool TChannelData::SetScaleHigh(double v)
{
    std::uint8_t* at = Descriptor(kScaleHigh, kReal48Size);
    return at && DoubleToReal48(v, at);
}

QString TChannelData::GetScaleLowText() const { return FormatValueShort(GetScaleLow()); }
QString TChannelData::GetScaleHighText() const { return FormatValueShort(GetScaleHigh()); }

// ---- clock record ---------------------------------------------------------------------

void TRtcData::SetClockControl(std::uint8_t b) { clock_.setU8(kClockControl, b); }

void TRtcData::SetClockByte(int i, int value)
{
    if (i >= 1 && i <= 7 && i != 5)
        clock_.setU8(std::size_t(i), IntToBcd(value));
}

void TRtcData::SetClockDay(int day)
{
    clock_.setU8(kClockDay, std::uint8_t(IntToBcd(day) | yearBits_));
}

void TRtcData::SetRunState(std::uint8_t b) { clock_.setU8(kRunState, b); }

void TRtcData::SetStartByte(int i, int value)
{
    if (i >= 9 && i <= 15)
        clock_.setU8(std::size_t(i), IntToBcd(value));
}

// ---- catalogue binding ----------------------------------------------------------------

TQuorvantData::TQuorvantData() : folder_(ProgramFolder::forApplication()) {}

TQuorvantData::TQuorvantData(ProgramFolder folder) : folder_(std::move(folder)) {}

void TQuorvantData::BindHeader(std::uint8_t* image, std::size_t size)
{
    auto part = [&](std::size_t address) -> std::pair<std::uint8_t*, std::size_t> {
        if (!image || address >= size)
            return {nullptr, 0};
        return {image + address, size - address};
    };
    SetIdentView(image, image ? size : 0);
    auto [cal, calSize] = part(kCalibration);
    SetCalibrationView(cal, calSize);
    auto [prog, progSize] = part(kProgram);
    SetProgramView(prog, progSize);
    auto [table, tableSize] = part(kInputTable);
    SetInputTableView(table, tableSize);
}

void TQuorvantData::BindDeviceImage(std::uint8_t* image, std::size_t size)
{
    const std::size_t header = size < kHeaderSize ? size : kHeaderSize;
    BindHeader(image, header);
    if (image && size >= kClockInImage + kClockRecordSize)
        SetClockView(image + kClockInImage, kClockRecordSize);
    else
        SetClockView(nullptr, 0);
}

void TQuorvantData::BindImage(std::uint8_t* image, std::size_t size)
{
    BindHeader(image, size);
    SetImageView(image, image ? size : 0);
}

} // namespace qz
