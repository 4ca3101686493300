#pragma once
// How values the store keeps are written in its tables.
#include "model/logger_seconds.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace qz {

// Six stamp bytes as twelve hexadecimal digits ("260227080000"), read back exactly.
QString stampText(const std::array<std::uint8_t, 6>& stamp);
std::optional<std::array<std::uint8_t, 6>> stampFromText(const QString& text);

// The host's local time in the logger's count of seconds (no zone), and its milliseconds.
LoggerSeconds hostSeconds(const QDateTime& local);
std::int64_t hostMs(const QDateTime& local);
QDateTime hostTimeOf(LoggerSeconds seconds);

} // namespace qz
