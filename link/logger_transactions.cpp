#include "link/logger_protocol.h"

#include <algorithm>
#include <cstring>

namespace qz {

namespace {

int bcd(std::uint8_t b) { return (b >> 4) * 10 + (b & 0x0F); }

} // namespace

bool LoggerProtocol::readExchange(const std::uint8_t* frame, std::uint16_t frameLength,
                             std::uint8_t* out, std::uint16_t dataLength, bool tellFailure)
{
    std::array<std::uint8_t, 256 + 2> reply{};
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        DeviceIsOpen();
        if (Send(frame, frameLength) && Receive(reply.data(), dataLength + 2)) {
            std::memcpy(out, reply.data(), dataLength);
            return true;
        }
    }
    if (tellFailure)
        PopupDeviceNotReady();
    return false;
}

bool LoggerProtocol::writeExchange(const std::uint8_t* frame, std::uint16_t frameLength, int attempts)
{
    for (int attempt = 0; attempt < attempts; ++attempt) {
        DeviceIsOpen();
        if (Send(frame, frameLength))
            return true;
    }
    PopupDeviceNotReady();
    return false;
}

bool LoggerProtocol::Ping()
{
    std::uint8_t frame[4];
    std::uint8_t clock[16];
    return readExchange(frame, GetTimeMsg(frame), clock, 16, false);
}

bool LoggerProtocol::ReadIdent(std::uint8_t* out8)
{
    std::uint8_t frame[7];
    return readExchange(frame, GetIdentMsg(frame), out8, 8, true);
}

bool LoggerProtocol::ReadCalibration(std::uint8_t* out32)
{
    std::uint8_t frame[7];
    return readExchange(frame, GetBlocMsg(frame, 8, 32), out32, 32, true);
}

bool LoggerProtocol::ReadProgram(std::uint8_t* out88)
{
    std::uint8_t frame[7];
    return readExchange(frame, GetProgramMsg(frame), out88, 88, true);
}

bool LoggerProtocol::ReadInputTable(std::uint8_t* out256)
{
    std::uint8_t frame[7];
    return readExchange(frame, GetChannelDataMsg(frame), out256, 256, true);
}

bool LoggerProtocol::ReadClock(std::uint8_t* out16)
{
    std::uint8_t frame[4];
    return readExchange(frame, GetTimeMsg(frame), out16, 16, true);
}

bool LoggerProtocol::ReadRealTimeAC(std::uint8_t* out9)
{
    std::uint8_t frame[4];
    return readExchange(frame, GetRealTimeACDataMsg(frame), out9, 9, true);
}

bool LoggerProtocol::ReadRealTimeDC(std::uint8_t* out9)
{
    std::uint8_t frame[4];
    return readExchange(frame, GetRealTimeDCDataMsg(frame), out9, 9, true);
}

int LoggerProtocol::ReadBatteryCount()
{
    std::uint8_t readings[9];
    if (!ReadRealTimeDC(readings))
        return -1;
    return readings[8];
}

bool LoggerProtocol::GetDataBloc(int block, std::uint8_t* out128)
{
    std::uint8_t frame[7];
    return readExchange(frame, GetBlocMsg(frame, BlockAddress(block), 128), out128, 128, true);
}

bool LoggerProtocol::DataHex(std::uint16_t address, std::uint8_t* out128)
{
    std::uint8_t frame[7];
    const std::uint16_t length = GetBlocMsg(frame, address, 128);
    bool sent = false;
    for (int attempt = 0; attempt < Attempts && !sent; ++attempt) {
        DeviceIsOpen();
        sent = Send(frame, length);
    }
    if (!sent)
        return false;
    std::array<std::uint8_t, 130> reply{};
    if (!Receive(reply.data(), 130))
        return false;
    std::memcpy(out128, reply.data(), 128);
    return true;
}

bool LoggerProtocol::WriteProgram(const std::uint8_t* program88)
{
    std::uint8_t frame[7 + 88];
    SetBlocMsg(frame, 40, 88);
    std::memcpy(frame + 7, program88, 88);
    return writeExchange(frame, sizeof frame, Attempts);
}

bool LoggerProtocol::WriteInputTable(const std::uint8_t* table256)
{
    std::uint8_t frame[7 + 256];
    SetBlocMsg(frame, 128, 0);
    std::memcpy(frame + 7, table256, 256);
    return writeExchange(frame, sizeof frame, Attempts);
}

bool LoggerProtocol::SetDataBloc(int block, const std::uint8_t* data128)
{
    std::uint8_t frame[7 + 128];
    SetBlocMsg(frame, BlockAddress(block), 128);
    std::memcpy(frame + 7, data128, 128);
    return writeExchange(frame, sizeof frame, Attempts);
}

bool LoggerProtocol::WriteClock(const std::uint8_t* clock16)
{
    std::uint8_t frame[20];
    SetTimeMsg(frame);
    std::memcpy(frame + 4, clock16, 16);
    return writeExchange(frame, sizeof frame, 1);
}

bool LoggerProtocol::ResetLogger()
{
    std::uint8_t frame[4];
    const std::uint16_t length = SetResetMsg(frame);
    DeviceIsOpen();
    return Send(frame, length);
}

bool LoggerProtocol::StopLogger()
{
    std::uint8_t record[16];
    // Without a clock read there is no record to send: never send an undefined clock.
    if (!ReadClock(record))
        return false;
    record[0] = 4;
    record[7] = 0;
    record[8] = 0; // RunState: stopped
    std::memmove(record + 9, record + 1, 6); // the start time becomes the current time
    record[15] = 1;
    return WriteClock(record);
}

bool LoggerProtocol::VerifyProgram(const std::uint8_t* program88)
{
    for (int pass = 0; pass < 3; ++pass) {
        std::uint8_t held[88];
        // A failed read has told the user already; stale bytes must not pass as a match.
        if (!ReadProgram(held))
            return false;
        if (std::memcmp(held, program88, 88) == 0)
            return true;
        if (!StopLogger() || !WriteProgram(program88))
            return false;
    }
    return false;
}

int LoggerProtocol::ReadRunState()
{
    if (!Ping())
        return 2;
    std::uint8_t record[16];
    if (!ReadClock(record))
        return 2;
    return record[8] != 0 ? 1 : 0;
}

bool LoggerProtocol::IsRecording()
{
    std::uint8_t record[16];
    return ReadClock(record) && record[8] == 0xC2;
}

bool LoggerProtocol::CheckData(const std::uint8_t* block)
{
    const int month = bcd(block[2]);
    const int day = bcd(block[3]);
    return block[0] <= 120 && bcd(block[1]) < 100 && month >= 1 && month <= 12 && day >= 1
        && day <= 31 && bcd(block[4]) <= 23 && bcd(block[5]) <= 59 && bcd(block[6]) <= 59;
}

} // namespace qz
