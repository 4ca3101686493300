#pragma once
// The logger's command frames: "$#$" and a command letter, then for memory commands the
// 16-bit address (low byte first) and a count byte (0 means 256). Each builder writes its
// frame from byte 0 of frame and returns the frame length; setClock and writeMemory leave
// the payload to the caller. Replies end in the 16-bit sum of their data bytes.
#include <cstdint>

namespace qz::frames {

inline constexpr std::uint16_t kPrefixSize = 4; // "$#$" and the letter
inline constexpr std::uint16_t kMemoryHeader = 7; // prefix, address, count
inline constexpr std::uint16_t kMaxTransfer = 256; // data bytes of one memory command
inline constexpr std::uint16_t kChecksumSize = 2;
// A current-readings reply: the eight inputs' converter counts, then the battery's.
inline constexpr std::uint16_t kReadingsSize = 9;
inline constexpr std::uint16_t kBatteryInReadings = 8;
// Longest frame the program sends: a memory write of 256 bytes.
inline constexpr std::uint16_t kMaxFrame = kMemoryHeader + kMaxTransfer;

// The count byte for n data bytes (1..256).
constexpr std::uint8_t countByte(int n)
{
    return static_cast<std::uint8_t>(n & 0xFF);
}

std::uint16_t reset(std::uint8_t* frame); // "$#$A"
std::uint16_t reserve(std::uint8_t* frame); // "$#$B": the program never sends it
std::uint16_t setClock(std::uint8_t* frame); // "$#$C": the caller lays the clock at 4..19
std::uint16_t readClock(std::uint8_t* frame); // "$#$E"
std::uint16_t readReadingsAC(std::uint8_t* frame); // "$#$F"
std::uint16_t readReadingsDC(std::uint8_t* frame); // "$#$G"
// "$#$D": count bytes (0 means 256) from address.
std::uint16_t readMemory(std::uint8_t* frame, std::uint16_t address, std::uint8_t count);
std::uint16_t readIdent(std::uint8_t* frame);
std::uint16_t readProgram(std::uint8_t* frame);
std::uint16_t readInputTable(std::uint8_t* frame);
// "$#$H": header only; the caller appends the count data bytes from byte 7 on.
std::uint16_t writeMemory(std::uint8_t* frame, std::uint16_t address, std::uint8_t count);

// Whether bytes 0..lastIndex add up (modulo 65536) to the little-endian word that follows
// them. A lastIndex of -1 sums no bytes.
bool checksumMatches(const std::uint8_t* data, int lastIndex);

} // namespace qz::frames
