#include "link/logger_protocol.h"

#include "link/logger_frames.h"
#include "model/memory_image.h"

#include <array>
#include <cstring>

namespace qz {

namespace {

using mem::kBlockSize;
using mem::kCalibrationSize;
using mem::kClockRecordSize;
using mem::kIdentificationSize;
using mem::kInputTableSize;
using mem::kProgramSize;

constexpr int kProgramPasses = 3;

bool ok(LinkStatus s)
{
    return s == LinkStatus::Ok;
}

} // namespace

LinkStatus LoggerProtocol::readExchange(const std::uint8_t* frame, std::uint16_t frameLength,
                                        std::uint8_t* out, std::uint16_t dataLength)
{
    std::array<std::uint8_t, frames::kMaxTransfer + frames::kChecksumSize> reply{};
    const auto replyLength = static_cast<std::uint16_t>(dataLength + frames::kChecksumSize);
    LinkStatus status = LinkStatus::Ok;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        // A port that does not open now will not open at the next attempt either.
        if (status = ensureOpen(); !ok(status))
            return status;
        status = send(frame, frameLength);
        if (ok(status))
            status = receive(reply.data(), replyLength);
        if (ok(status)) {
            std::memcpy(out, reply.data(), dataLength);
            return status;
        }
    }
    return status;
}

LinkStatus LoggerProtocol::sendAttempts(const std::uint8_t* frame, std::uint16_t frameLength, int attempts)
{
    LinkStatus status = LinkStatus::Ok;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (status = ensureOpen(); !ok(status))
            return status;
        status = send(frame, frameLength);
        if (ok(status))
            return status;
    }
    return status;
}

LinkStatus LoggerProtocol::writeExchange(const std::uint8_t* frame, std::uint16_t frameLength, int attempts)
{
    const LinkStatus status = sendAttempts(frame, frameLength, attempts);
    // A write has no reply: its exchange ends with the frame.
    return ok(status) ? ended(status) : status;
}

LinkStatus LoggerProtocol::ping()
{
    std::uint8_t record[kClockRecordSize];
    return readClock(record);
}

LinkStatus LoggerProtocol::readIdent(std::uint8_t* out8)
{
    std::uint8_t frame[frames::kMemoryHeader];
    return readExchange(frame, frames::readIdent(frame), out8, kIdentificationSize);
}

LinkStatus LoggerProtocol::readCalibration(std::uint8_t* out32)
{
    std::uint8_t frame[frames::kMemoryHeader];
    const std::uint16_t length =
        frames::readMemory(frame, mem::kCalibration, frames::countByte(kCalibrationSize));
    return readExchange(frame, length, out32, kCalibrationSize);
}

LinkStatus LoggerProtocol::readProgram(std::uint8_t* out88)
{
    std::uint8_t frame[frames::kMemoryHeader];
    return readExchange(frame, frames::readProgram(frame), out88, kProgramSize);
}

LinkStatus LoggerProtocol::readInputTable(std::uint8_t* out256)
{
    std::uint8_t frame[frames::kMemoryHeader];
    return readExchange(frame, frames::readInputTable(frame), out256, kInputTableSize);
}

LinkStatus LoggerProtocol::readClock(std::uint8_t* out16)
{
    std::uint8_t frame[frames::kPrefixSize];
    return readExchange(frame, frames::readClock(frame), out16, kClockRecordSize);
}

LinkStatus LoggerProtocol::readReadingsAC(std::uint8_t* out9)
{
    std::uint8_t frame[frames::kPrefixSize];
    return readExchange(frame, frames::readReadingsAC(frame), out9, frames::kReadingsSize);
}

LinkStatus LoggerProtocol::readReadingsDC(std::uint8_t* out9)
{
    std::uint8_t frame[frames::kPrefixSize];
    return readExchange(frame, frames::readReadingsDC(frame), out9, frames::kReadingsSize);
}

LinkStatus LoggerProtocol::readBattery(std::uint8_t& count)
{
    std::uint8_t readings[frames::kReadingsSize];
    const LinkStatus status = readReadingsDC(readings);
    if (ok(status))
        count = readings[frames::kBatteryInReadings];
    return status;
}

LinkStatus LoggerProtocol::readDataBlock(int block, std::uint8_t* out128)
{
    std::uint8_t frame[frames::kMemoryHeader];
    const std::uint16_t length =
        frames::readMemory(frame, mem::loggerBlockAddress(block), frames::countByte(kBlockSize));
    return readExchange(frame, length, out128, kBlockSize);
}

LinkStatus LoggerProtocol::readMemory(std::uint16_t address, std::uint8_t* out128)
{
    std::uint8_t frame[frames::kMemoryHeader];
    const std::uint16_t length = frames::readMemory(frame, address, frames::countByte(kBlockSize));
    LinkStatus status = sendAttempts(frame, length, kAttempts);
    if (!ok(status))
        return status;
    std::array<std::uint8_t, kBlockSize + frames::kChecksumSize> reply{};
    status = receive(reply.data(), reply.size());
    if (ok(status))
        std::memcpy(out128, reply.data(), kBlockSize);
    return status;
}

LinkStatus LoggerProtocol::writeProgram(const std::uint8_t* program88)
{
    std::uint8_t frame[frames::kMemoryHeader + kProgramSize];
    frames::writeMemory(frame, mem::kProgram, frames::countByte(kProgramSize));
    std::memcpy(frame + frames::kMemoryHeader, program88, kProgramSize);
    return writeExchange(frame, sizeof frame, kAttempts);
}

LinkStatus LoggerProtocol::writeInputTable(const std::uint8_t* table256)
{
    std::uint8_t frame[frames::kMemoryHeader + kInputTableSize];
    frames::writeMemory(frame, mem::kInputTable, frames::countByte(kInputTableSize));
    std::memcpy(frame + frames::kMemoryHeader, table256, kInputTableSize);
    return writeExchange(frame, sizeof frame, kAttempts);
}

LinkStatus LoggerProtocol::writeDataBlock(int block, const std::uint8_t* data128)
{
    std::uint8_t frame[frames::kMemoryHeader + kBlockSize];
    frames::writeMemory(frame, mem::loggerBlockAddress(block), frames::countByte(kBlockSize));
    std::memcpy(frame + frames::kMemoryHeader, data128, kBlockSize);
    return writeExchange(frame, sizeof frame, kAttempts);
}

LinkStatus LoggerProtocol::writeClock(const std::uint8_t* clock16)
{
    std::uint8_t frame[frames::kPrefixSize + kClockRecordSize];
    frames::setClock(frame);
    std::memcpy(frame + frames::kPrefixSize, clock16, kClockRecordSize);
    return writeExchange(frame, sizeof frame, 1);
}

LinkStatus LoggerProtocol::resetLogger()
{
    std::uint8_t frame[frames::kPrefixSize];
    return writeExchange(frame, frames::reset(frame), 1);
}

LinkStatus LoggerProtocol::stopLogger()
{
    std::uint8_t record[kClockRecordSize];
    // Without a clock read there is no record to send: never send an undefined clock.
    if (const LinkStatus status = readClock(record); !ok(status))
        return status;
    record[mem::kClockControl] = mem::kClockControlFromPc;
    record[mem::kClockReserved] = 0;
    record[mem::kRunState] = mem::kRunStopped;
    // The start time becomes the current time.
    std::memmove(record + mem::kClockStart, record + mem::kClockHundredths, mem::kClockTimeSize);
    record[mem::kClockLast] = mem::kClockLastFromPc;
    return writeClock(record);
}

LinkStatus LoggerProtocol::verifyProgram(const std::uint8_t* program88)
{
    for (int pass = 0; pass < kProgramPasses; ++pass) {
        std::uint8_t held[kProgramSize];
        // A failed read must not let stale bytes pass as a match.
        if (const LinkStatus status = readProgram(held); !ok(status))
            return status;
        if (std::memcmp(held, program88, kProgramSize) == 0)
            return LinkStatus::Ok;
        if (const LinkStatus status = stopLogger(); !ok(status))
            return status;
        if (const LinkStatus status = writeProgram(program88); !ok(status))
            return status;
    }
    return ended(LinkStatus::NotTaken);
}

LinkStatus LoggerProtocol::readRunState(RunState& state)
{
    state = RunState::NotAnswering;
    if (const LinkStatus status = ping(); !ok(status))
        return status;
    state = RunState::Unknown;
    std::uint8_t record[kClockRecordSize];
    const LinkStatus status = readClock(record);
    if (ok(status))
        state = record[mem::kRunState] != mem::kRunStopped ? RunState::Running : RunState::Stopped;
    return status;
}

LinkStatus LoggerProtocol::isRecording(bool& recording)
{
    std::uint8_t record[kClockRecordSize];
    const LinkStatus status = readClock(record);
    if (ok(status))
        recording = record[mem::kRunState] == mem::kRunRecording;
    return status;
}

} // namespace qz
