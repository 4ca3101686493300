#pragma once
// Layout of the logger's memory image (byte addresses; little-endian words) and of the
// 16-byte clock record.
#include <cstddef>
#include <cstdint>

namespace qz::mem {

// Whole image.
inline constexpr std::size_t kHeaderSize = 384;
inline constexpr std::size_t kBlockSize = 128;
inline constexpr int kMaxBlocks = 508;
inline constexpr std::size_t kImageSize = kHeaderSize + kBlockSize * kMaxBlocks; // 65,408
inline constexpr std::size_t kLoggerMemorySize = 65536;

// Identification.
inline constexpr std::size_t kIdentification = 0;
inline constexpr std::size_t kIdentificationSize = 8;
inline constexpr std::size_t kSerialNumber = 2; // 4 chars
inline constexpr std::size_t kSerialNumberSize = 4;
inline constexpr std::size_t kDeviceCode = 6; // u16

// Calibration table: CalLow[8] then CalHigh[8], u16 each, in 1/256 of a count.
inline constexpr std::size_t kCalibration = 8;
inline constexpr std::size_t kCalLow = 8;
inline constexpr std::size_t kCalHigh = 24;
inline constexpr std::size_t kCalibrationSize = 32;

// Program block: addresses below are absolute; kProgram is where the block begins.
inline constexpr std::size_t kProgram = 40;
inline constexpr std::size_t kProgramSize = 88;
inline constexpr std::size_t kRecordName = 40; // 50 chars
inline constexpr std::size_t kRecordNameSize = 50;
inline constexpr std::size_t kSamplingPeriod = 97; // u8
inline constexpr std::size_t kSamplingReload = 98; // u8
inline constexpr std::size_t kSamplesPerInterval = 99; // u16
inline constexpr std::size_t kInputMask = 101; // u8
inline constexpr std::size_t kInputCount = 103; // u8
inline constexpr std::size_t kYearBits = 104; // u8
inline constexpr std::size_t kYearBcd = 105; // u8
inline constexpr std::size_t kSamplingInterval = 106; // u8
inline constexpr std::size_t kStopMode = 110; // u16
inline constexpr std::size_t kStartStamp = 112; // 6 bytes
inline constexpr std::size_t kStartStampSize = 6;
inline constexpr std::size_t kBlocksUsed = 118; // u16
inline constexpr std::size_t kFirstBlock = 120; // u16
inline constexpr std::size_t kResetWord1 = 122; // u16
inline constexpr std::size_t kResetWord2 = 124; // u16

inline constexpr unsigned kStopWhenFull = 0x0101;
inline constexpr unsigned kCyclic = 0;

// Input table: one descriptor per input at kInputTable + kInputDescriptorSize * i,
// followed by 48 bytes that travel with the table.
inline constexpr std::size_t kInputTable = 128;
inline constexpr std::size_t kInputDescriptorSize = 26;
inline constexpr int kInputs = 8;
inline constexpr std::size_t kInputTableSize = kHeaderSize - kInputTable; // 256, with the tail
// Offsets inside a descriptor.
inline constexpr std::size_t kInputName = 0; // 9 chars
inline constexpr std::size_t kInputNameSize = 9;
inline constexpr std::size_t kInputUnit = 9; // 5 chars
inline constexpr std::size_t kInputUnitSize = 5;
inline constexpr std::size_t kScaleLow = 14; // Real48
inline constexpr std::size_t kScaleHigh = 20; // Real48

// Data block k at kHeaderSize + kBlockSize * k. Offsets inside a block.
inline constexpr std::size_t kSampleBytes = 0; // u8, 0..120
inline constexpr std::size_t kBlockStamp = 1; // 6 BCD: yy mm dd hh mm ss
inline constexpr std::size_t kBatteryCount = 7; // u8
inline constexpr std::size_t kSamples = 8;
inline constexpr std::size_t kSampleArea = 120;

constexpr std::size_t blockAddress(int k)
{
    return kHeaderSize + kBlockSize * std::size_t(k);
}
constexpr std::size_t calLowAddress(int input)
{
    return kCalLow + 2 * std::size_t(input);
}
constexpr std::size_t calHighAddress(int input)
{
    return kCalHigh + 2 * std::size_t(input);
}
// The logger's own 16-bit address of data block k: its addresses wrap at 65536.
constexpr std::uint16_t loggerBlockAddress(int k)
{
    return std::uint16_t(blockAddress(k) % kLoggerMemorySize);
}
constexpr std::size_t descriptorAddress(int input)
{
    return kInputTable + kInputDescriptorSize * std::size_t(input);
}

// Clock record (16 bytes, kept by the configuration dialog right after the header).
inline constexpr std::size_t kClockRecordSize = 16;
inline constexpr std::size_t kClockInImage = 384;
inline constexpr std::size_t kDeviceImageSize = kHeaderSize + kClockRecordSize; // 400
inline constexpr std::size_t kClockControl = 0;
inline constexpr std::size_t kClockHundredths = 1;
inline constexpr std::size_t kClockSecond = 2;
inline constexpr std::size_t kClockMinute = 3;
inline constexpr std::size_t kClockHour = 4;
inline constexpr std::size_t kClockDay = 5; // BCD day | (year mod 4) << 6
inline constexpr std::size_t kClockMonth = 6;
inline constexpr std::size_t kClockTimeSize = 6; // bytes 1..6, hundredths to month
inline constexpr std::size_t kClockReserved = 7; // the PC writes 0
inline constexpr std::size_t kRunState = 8;
inline constexpr std::size_t kClockStart = 9; // 9..14 as bytes 1..6
inline constexpr std::size_t kClockLast = 15;

inline constexpr unsigned kRunStopped = 0x00;
inline constexpr unsigned kRunRecording = 0xC2;
inline constexpr unsigned kRunWaiting = 0xB0;
// What the PC writes into the control and last bytes of a clock record.
inline constexpr std::uint8_t kClockControlFromPc = 0x04;
inline constexpr std::uint8_t kClockLastFromPc = 0x01;

} // namespace qz::mem
