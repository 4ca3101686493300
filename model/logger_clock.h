#pragma once
// The logger's clock as a date and time. The clock record keeps the year only modulo 4
// (the top bits of its day byte); the header's YearBcd holds the year the program last
// wrote. The year is YearBcd's when that agrees with the clock's bits, otherwise the year
// nearest the computer's that does (a logger whose year passed since it was configured).
#include <QDateTime>

#include <cstdint>
#include <optional>
#include <span>

namespace qz {

// The clock record's time (to the hundredth) as a date-time without time zone (UTC as a
// label only, so no daylight-saving rule moves it); nothing when its fields are no date.
std::optional<QDateTime> loggerClockTime(std::span<const std::uint8_t> clockRecord, std::uint8_t yearBcd,
                                         int computerYear);

// The logger's clock minus the computer's local time, both read as wall-clock times, in
// whole seconds (rounded to the nearest).
std::int64_t clockDriftSeconds(const QDateTime& loggerTime, const QDateTime& computerLocal);

// "in step with this computer's clock", or "3 s ahead of ...", "1 h 2 min 5 s behind
// ...", "400 d 0 h 0 min 1 s ahead of ...".
QString clockDriftText(std::int64_t seconds);

} // namespace qz
