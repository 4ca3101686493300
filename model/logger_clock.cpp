#include "model/logger_clock.h"

#include "model/memory_image.h"

#include <cmath>
#include <cstdlib>

namespace qz {

namespace {

// Value of a packed BCD byte, or -1 when a nibble is not a decimal digit.
int bcd(std::uint8_t b)
{
    const int hi = b >> 4;
    const int lo = b & 0x0F;
    return hi > 9 || lo > 9 ? -1 : hi * 10 + lo;
}

} // namespace

std::optional<QDateTime> loggerClockTime(std::span<const std::uint8_t> r, std::uint8_t yearBcd,
                                         int computerYear)
{
    if (r.size() < mem::kClockRecordSize)
        return std::nullopt;
    const int bits = r[mem::kClockDay] >> 6;
    int year = -1;
    if (const int stored = bcd(yearBcd); stored >= 0) {
        const int y = stored < 80 ? 2000 + stored : 1900 + stored;
        if (y % 4 == bits)
            year = y;
    }
    for (int d : {0, 1, -1, 2}) {
        if (year < 0 && (computerYear + d) % 4 == bits)
            year = computerYear + d;
    }
    const QDate date(year, bcd(r[mem::kClockMonth]), bcd(std::uint8_t(r[mem::kClockDay] & 0x3F)));
    const int hundredths = bcd(r[mem::kClockHundredths]);
    const QTime time(bcd(r[mem::kClockHour]), bcd(r[mem::kClockMinute]), bcd(r[mem::kClockSecond]),
                     hundredths < 0 ? -1 : hundredths * 10);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time, Qt::UTC);
}

std::int64_t clockDriftSeconds(const QDateTime& loggerTime, const QDateTime& computerLocal)
{
    const QDateTime computer(computerLocal.date(), computerLocal.time(), Qt::UTC);
    const QDateTime logger(loggerTime.date(), loggerTime.time(), Qt::UTC);
    return std::llround(double(computer.msecsTo(logger)) / 1000.0);
}

QString clockDriftText(std::int64_t seconds)
{
    if (seconds == 0)
        return QStringLiteral("in step with this computer's clock");
    const std::int64_t s = std::llabs(seconds);
    QString text;
    if (s >= 86400)
        text = QStringLiteral("%1 d %2 h %3 min %4 s").arg(s / 86400).arg(s / 3600 % 24).arg(s / 60 % 60).arg(s % 60);
    else if (s >= 3600)
        text = QStringLiteral("%1 h %2 min %3 s").arg(s / 3600).arg(s / 60 % 60).arg(s % 60);
    else if (s >= 60)
        text = QStringLiteral("%1 min %2 s").arg(s / 60).arg(s % 60);
    else
        text = QStringLiteral("%1 s").arg(s);
    return text + (seconds > 0 ? QStringLiteral(" ahead of") : QStringLiteral(" behind"))
        + QStringLiteral(" this computer's clock");
}

} // namespace qz
