#include "link/logger_frames.h"

#include "model/memory_image.h"

namespace qz::frames {

namespace {

std::uint16_t prefix(std::uint8_t* frame, char letter)
{
    frame[0] = '$';
    frame[1] = '#';
    frame[2] = '$';
    frame[3] = static_cast<std::uint8_t>(letter);
    return kPrefixSize;
}

std::uint16_t memory(std::uint8_t* frame, char letter, std::size_t address, std::uint8_t count)
{
    prefix(frame, letter);
    frame[4] = static_cast<std::uint8_t>(address & 0xFF);
    frame[5] = static_cast<std::uint8_t>((address >> 8) & 0xFF);
    frame[6] = count;
    return kMemoryHeader;
}

} // namespace

std::uint16_t reset(std::uint8_t* frame)
{
    return prefix(frame, 'A');
}
std::uint16_t reserve(std::uint8_t* frame)
{
    return prefix(frame, 'B');
}

std::uint16_t setClock(std::uint8_t* frame)
{
    return static_cast<std::uint16_t>(prefix(frame, 'C') + mem::kClockRecordSize);
}

std::uint16_t readClock(std::uint8_t* frame)
{
    return prefix(frame, 'E');
}
std::uint16_t readReadingsAC(std::uint8_t* frame)
{
    return prefix(frame, 'F');
}
std::uint16_t readReadingsDC(std::uint8_t* frame)
{
    return prefix(frame, 'G');
}

std::uint16_t readMemory(std::uint8_t* frame, std::uint16_t address, std::uint8_t count)
{
    return memory(frame, 'D', address, count);
}

std::uint16_t readIdent(std::uint8_t* frame)
{
    return memory(frame, 'D', mem::kIdentification, countByte(mem::kIdentificationSize));
}

std::uint16_t readProgram(std::uint8_t* frame)
{
    return memory(frame, 'D', mem::kProgram, countByte(mem::kProgramSize));
}

std::uint16_t readInputTable(std::uint8_t* frame)
{
    return memory(frame, 'D', mem::kInputTable, countByte(mem::kInputTableSize));
}

std::uint16_t writeMemory(std::uint8_t* frame, std::uint16_t address, std::uint8_t count)
{
    return memory(frame, 'H', address, count);
}

bool checksumMatches(const std::uint8_t* data, int lastIndex)
{
    std::uint16_t sum = 0;
    for (int i = 0; i <= lastIndex; ++i)
        sum = static_cast<std::uint16_t>(sum + data[i]);
    return sum == data[lastIndex + 1] + 256 * data[lastIndex + 2];
}

} // namespace qz::frames
