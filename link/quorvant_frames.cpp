#include "link/quorvant.h"

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

std::uint16_t TQuorvant::SetResetMsg(std::uint8_t* frame) { return prefix(frame, 'A'); }
std::uint16_t TQuorvant::SetReserveMsg(std::uint8_t* frame) { return prefix(frame, 'B'); }

std::uint16_t TQuorvant::SetTimeMsg(std::uint8_t* frame)
{
    prefix(frame, 'C');
    return 20;
}

std::uint16_t TQuorvant::GetBlocMsg(std::uint8_t* frame, std::uint16_t address, std::uint8_t count)
{
    return memory(frame, 'D', address, count);
}

std::uint16_t TQuorvant::GetIdentMsg(std::uint8_t* frame) { return memory(frame, 'D', 0, 8); }
std::uint16_t TQuorvant::GetProgramMsg(std::uint8_t* frame) { return memory(frame, 'D', 40, 88); }
std::uint16_t TQuorvant::GetChannelDataMsg(std::uint8_t* frame) { return memory(frame, 'D', 128, 0); }
std::uint16_t TQuorvant::GetTimeMsg(std::uint8_t* frame) { return prefix(frame, 'E'); }
std::uint16_t TQuorvant::GetRealTimeACDataMsg(std::uint8_t* frame) { return prefix(frame, 'F'); }
std::uint16_t TQuorvant::GetRealTimeDCDataMsg(std::uint8_t* frame) { return prefix(frame, 'G'); }

std::uint16_t TQuorvant::SetBlocMsg(std::uint8_t* frame, std::uint16_t address, std::uint8_t count)
{
    return memory(frame, 'H', address, count);
}

} // namespace qz
