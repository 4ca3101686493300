#pragma once
// Conversions between the logger's packed encodings and numbers, number patterns, and
// the small text helpers every unit uses. No state.
#include <QString>
#include <cstdint>

namespace qz {

// Battery converter count -> volts.
double adcToVolts(std::int32_t count);
// At or below this voltage a logger's battery is reported as low.
double lowBatteryLimit();

// High nibble x 10 + low nibble; the nibbles are not checked.
int bcdToInt(std::uint8_t value);
// 0..99 -> packed BCD (low 8 bits of the result).
std::uint8_t intToBcd(int value);

// The first count bytes of buffer as text (Latin-1); a zero byte ends the text early.
QString bytesToStr(const std::uint8_t* buffer, int count);
// The first count characters of text into buffer, no terminator. A shorter text is
// followed by zero bytes up to count; characters outside Latin-1 become '?'.
void strToBytes(const QString& text, std::uint8_t* buffer, int count);

// More than one significant digit among the first eight decimals of x.
bool hasSeveralDigits(double x);
// A decimal pattern ("0", "0.0", ... "0.00000000") that suits the magnitude of x.
QString chooseFloatFormat(double x);
// x formatted with a pattern of '0' (and '#' for optional decimals) and '.', rounded half
// away from zero at the pattern's last decimal, with the locale's decimal separator.
// A value that rounds to zero is shown without a sign.
QString formatValue(const QString& pattern, double x);
// x with seven decimals, padded or cut to exactly 8 characters.
QString formatValue8(double x);
// FormatValue8 without trailing zeros (and without a bare decimal separator).
QString formatValueShort(double x);

std::int32_t max2(std::int32_t a, std::int32_t b);
std::int32_t min2(std::int32_t a, std::int32_t b);
// Decimal logarithm; 0 for x <= 0.
double log10(double x);
// 10 raised to x.
double power10(double x);
// A power of ten used as a step for the magnitude of x, p decades apart.
double decadeStep(double p, double x);

// Remove leading (at least the last character stays) or trailing blanks (code 32 only).
QString trimLeadingBlanks(const QString& text);
QString trimTrailingBlanks(const QString& text);
// "Quorvant Delayed Start" + "ZK-101" -> "Quorvant  ZK-101 Delayed Start": the trimmed
// model name, framed by blanks, after the caption's first word and its blank. An empty
// model name leaves the caption as it is.
QString insertModelInCaption(const QString& modelName, const QString& caption);

// Number of 128-byte data blocks of a logger's memory from its device code.
int memoryBlocks(std::uint16_t code);

} // namespace qz
