#include "model/logger_seconds.h"

#include "model/memory_image.h"

#include <QDate>
#include <QRegularExpression>

namespace qz {

namespace {

constexpr std::int64_t kDay = 86400;
// QDate's Julian day of 1970-01-01.
constexpr std::int64_t kEpochDay = 2440588;

// A BCD byte's value, or -1 when a nibble is not a decimal digit.
int bcd(std::uint8_t b)
{
    const int hi = b >> 4, lo = b & 0x0F;
    return hi > 9 || lo > 9 ? -1 : hi * 10 + lo;
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

} // namespace

std::optional<LoggerSeconds> civilSeconds(int year, int month, int day, int hour, int minute, int second)
{
    const QDate date(year, month, day);
    if (!date.isValid() || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return std::nullopt;
    return (date.toJulianDay() - kEpochDay) * kDay + hour * 3600 + minute * 60 + second;
}

BlockStamp stampOf(const std::uint8_t* block)
{
    BlockStamp s{};
    for (std::size_t i = 0; i < s.size(); ++i)
        s[i] = block[mem::kBlockStamp + i];
    return s;
}

std::optional<LoggerSeconds> stampSeconds(const BlockStamp& s)
{
    const int yy = bcd(s[0]);
    if (yy < 0)
        return std::nullopt;
    return civilSeconds(yy < 80 ? 2000 + yy : 1900 + yy, bcd(s[1]), bcd(s[2]), bcd(s[3]), bcd(s[4]),
                        bcd(s[5]));
}

std::optional<std::int64_t> clockRecordMs(const std::uint8_t* r, int nearYear)
{
    const int yearBits = r[mem::kClockDay] >> 6;
    int year = nearYear;
    for (int d : {0, -1, 1, 2}) {
        if (((nearYear + d) % 4 + 4) % 4 == yearBits) {
            year = nearYear + d;
            break;
        }
    }
    const int hundredths = bcd(r[mem::kClockHundredths]);
    const auto s =
        civilSeconds(year, bcd(r[mem::kClockMonth]), bcd(std::uint8_t(r[mem::kClockDay] & 0x3F)),
                     bcd(r[mem::kClockHour]), bcd(r[mem::kClockMinute]), bcd(r[mem::kClockSecond]));
    if (!s || hundredths < 0)
        return std::nullopt;
    return *s * 1000 + hundredths * 10;
}

QString isoText(LoggerSeconds s)
{
    const std::int64_t day = floorDiv(s, kDay);
    const std::int64_t inDay = s - day * kDay;
    const QDate date = QDate::fromJulianDay(day + kEpochDay);
    return QStringLiteral("%1-%2-%3T%4:%5:%6")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(inDay / 3600, 2, 10, QLatin1Char('0'))
        .arg(inDay / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(inDay % 60, 2, 10, QLatin1Char('0'));
}

std::optional<LoggerSeconds> parseIsoText(const QString& text)
{
    static const QRegularExpression form(
        QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})[ T](\\d{2}):(\\d{2})(?::(\\d{2}))?$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const auto n = [&m](int i) { return m.captured(i).toInt(); };
    return civilSeconds(n(1), n(2), n(3), n(4), n(5), m.captured(6).isEmpty() ? 0 : n(6));
}

} // namespace qz
