#pragma once
// Instants of the logger's own clock as whole seconds since 1970-01-01 00:00:00 of that
// clock. The logger knows no time zone and neither does this count, so a stamp, the clock
// record and the host's local time compare by subtraction and step by adding seconds.
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace qz {

using LoggerSeconds = std::int64_t;

// Seconds of a calendar instant; nullopt for an impossible one (month 13, minute 60, ...).
std::optional<LoggerSeconds> civilSeconds(int year, int month, int day, int hour, int minute, int second);

// A block stamp: six BCD bytes yy mm dd hh mm ss, a year below 80 being 20yy.
using BlockStamp = std::array<std::uint8_t, 6>;
// The stamp of a 128-byte data block.
BlockStamp stampOf(const std::uint8_t* block);
std::optional<LoggerSeconds> stampSeconds(const BlockStamp& stamp);

// The instant of a 16-byte clock record in milliseconds. The record holds the year only
// modulo 4: it is taken as the year nearest to nearYear that agrees.
std::optional<std::int64_t> clockRecordMs(const std::uint8_t* record, int nearYear);

// "YYYY-MM-DDThh:mm:ss".
QString isoText(LoggerSeconds s);
// "YYYY-MM-DD hh:mm:ss" or "YYYY-MM-DDThh:mm:ss" (seconds optional); nullopt otherwise.
std::optional<LoggerSeconds> parseIsoText(const QString& text);

} // namespace qz
