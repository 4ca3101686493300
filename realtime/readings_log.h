#pragma once
// The current readings as lines of text, one reading per period, for the command-line
// tool: per enabled input its number, function name, value (as the window shows it) and
// unit; or, as CSV, a header and one row per reading stamped with the local time.
#include "realtime/input_conversion.h"
#include "realtime/reading_cycle.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

namespace qz {

class Clock;
class LoggerProtocol;

struct ReadingsLogOptions {
    int count = 0; // readings to take; 0: until stopped
    std::int64_t periodMs = 1000;
    bool raw = false; // the diagnostic reading: raw counts and the battery
    bool csv = false;
};

// "3 Temp      21.5 °C" per enabled input (with raw: then "  AD Cnt 128"), and with raw a
// last line "Vbatt : 3.32 V". Values with the locale's decimal point.
QStringList readingLines(const InputConversions& inputs, const Reading& reading, bool raw);
// "time,3 Temp (°C),..." (with raw: each input's "AD Cnt" column after its value, then
// "Vbatt"). Fields with a comma or a quote are quoted.
QString csvHeader(const InputConversions& inputs, bool raw);
// A row of that header: the local time in ISO 8601 with its offset, then the values with
// '.' as decimal point whatever the locale.
QString csvRow(const QDateTime& local, const InputConversions& inputs, const Reading& reading, bool raw);
// "2026-03-05T14:07:09+01:00".
QString isoLocalTime(const QDateTime& local);

enum class LogEnd {
    Done, // the readings asked for were taken
    Stopped, // stopRequested said so
    NotResponding, // a reading failed after its attempts
};

// Takes the readings on a logger that has answered, writing each one's lines through
// write as soon as it is read. Between readings it waits on the clock in short steps,
// asking stopRequested at each. A reading that fails ends it; failed holds its status.
LogEnd runReadingsLog(LoggerProtocol& logger, const InputConversions& inputs,
                      const ReadingsLogOptions& options, Clock& clock,
                      const std::function<bool()>& stopRequested,
                      const std::function<void(const QStringList& lines)>& write, LinkStatus& failed);

} // namespace qz
