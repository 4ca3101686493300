#pragma once
// The service tools' line formats: memory as lines of sixteen bytes, and the logger's
// clock record on one line.
//
//    0080  24 23 24 44 80 01 80 00 00 00 00 00 00 00 00 00
//   RTC->  04 00 09 07 14 05 03 00 C2 00 00 00 08 27 02 01
#include <QString>
#include <QStringList>

#include <cstdint>
#include <span>

namespace qz {

inline constexpr int kHexLineBytes = 16;

// Zeros in front of text until it is at least width characters long, then one blank.
QString padHex(const QString& text, int width);

// One line per sixteen bytes, the first at address: a blank, the address in upper-case
// hexadecimal of at least four digits, a blank, then a blank and two digits per byte. With
// wrapAt above 0 the line addresses wrap there (the logger's addresses wrap at 65536). A
// short last line holds the bytes there are.
QStringList hexDumpLines(std::span<const std::uint8_t> bytes, std::uint32_t address,
                         std::uint32_t wrapAt = 0);

// "RTC-> " and the sixteen bytes of a clock record, each as a blank and two digits.
QString clockLine(std::span<const std::uint8_t> record);

} // namespace qz
