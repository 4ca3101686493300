#pragma once
// The address boxes of the memory panel: what a typed address means, where "+" and "-"
// go, and what the box shows afterwards, for the logger and for a recording file.
#include <QString>

#include <cstdint>
#include <optional>

namespace qz {

// Bytes shown by one step of the panel.
inline constexpr std::uint32_t kDumpLength = 128;
// Logger addresses are 16-bit.
inline constexpr std::uint32_t kLoggerAddressSpace = 0x10000;
// Past this image address a file address starts again at 0.
inline constexpr std::uint32_t kFileAddressLimit = 0x10000;

enum class AddressStep {
    Here, // OK: the typed address
    Next, // "+": 128 further on
    Previous, // "-": 128 back
};

// One to eight hexadecimal digits, either case, blanks around them allowed; nothing else.
std::optional<std::uint32_t> parseHexAddress(const QString& text);
// "'12G4' is not a hexadecimal address", for a box that cannot be read.
QString notHexadecimalText(const QString& box);
// Upper-case hexadecimal of at least four digits.
QString addressText(std::uint32_t address);

struct LoggerAddress {
    std::uint16_t address = 0; // what the logger reads
    QString box; // what the box shows afterwards
};
// A text that is not hexadecimal counts as 0 and the box shows "0". "+" and "-" rewrite the
// box with the address read; "-" below 0 and "+" past FFFF wrap round the logger's 64 KiB,
// so the box always names the address the logger reads.
LoggerAddress loggerAddress(const QString& box, AddressStep step);

struct FileAddress {
    bool valid = false; // false: the box is not hexadecimal, nothing is read
    std::uint32_t address = 0; // offset in the memory image
    QString box; // what the box shows afterwards
};
// OK shows the typed address in four digits and reads at 0 when it is above 10000; "+"
// past 10000 and "-" below 0 give 0, and the box shows the address read.
FileAddress fileAddress(const QString& box, AddressStep step);

} // namespace qz
