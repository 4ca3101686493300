#include "link/logger_protocol.h"

namespace qz {

namespace {

std::uint16_t prefix(std::uint8_t* frame, char letter)
{
    frame[0] = '$';
    frame[1] = '#';
    frame[2] = '$';
    frame[3] = static_cast<std::uint8_t>(letter);
    return 4;
}

std::uint16_t memory(std::uint8_t* frame, char letter, std::uint16_t address, std::uint8_t count)
{
    prefix(frame, letter);
    frame[4] = static_cast<std::uint8_t>(address & 0xFF);
    frame[5] = static_cast<std::uint8_t>(address >> 8);
    frame[6] = count; // 0 means 256
    return 7;
}

} // namespace

std::uint16_t LoggerProtocol::SetResetMsg(std::uint8_t* frame) { return prefix(frame, 'A'); }
std::uint16_t LoggerProtocol::SetReserveMsg(std::uint8_t* frame) { return prefix(frame, 'B'); }

std::uint16_t LoggerProtocol::SetTimeMsg(std::uint8_t* frame)
{
    prefix(frame, 'C');
    return 20;
}

std::uint16_t LoggerProtocol::GetBlocMsg(std::uint8_t* frame, std::uint16_t address, std::uint8_t count)
{
    return memory(frame, 'D', address, count);
}

std::uint16_t LoggerProtocol::GetIdentMsg(std::uint8_t* frame) { return memory(frame, 'D', 0, 8); }
std::uint16_t LoggerProtocol::GetProgramMsg(std::uint8_t* frame) { return memory(frame, 'D', 40, 88); }
std::uint16_t LoggerProtocol::GetChannelDataMsg(std::uint8_t* frame) { return memory(frame, 'D', 128, 0); }
std::uint16_t LoggerProtocol::GetTimeMsg(std::uint8_t* frame) { return prefix(frame, 'E'); }
std::uint16_t LoggerProtocol::GetRealTimeACDataMsg(std::uint8_t* frame) { return prefix(frame, 'F'); }
std::uint16_t LoggerProtocol::GetRealTimeDCDataMsg(std::uint8_t* frame) { return prefix(frame, 'G'); }

std::uint16_t LoggerProtocol::SetBlocMsg(std::uint8_t* frame, std::uint16_t address, std::uint8_t count)
{
    return memory(frame, 'H', address, count);
}

} // namespace qz
