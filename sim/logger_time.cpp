#include "sim/logger_time.h"

#include <chrono>

namespace qz::sim {

namespace {
using namespace std::chrono;

const sys_days kEpoch = sys_days{year{2000} / January / 1};

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}
} // namespace

bool isValidCivil(const CivilTime& t)
{
    if (t.year < 1900 || t.year > 2199)
        return false;
    const year_month_day d{year{t.year}, month{unsigned(t.month)}, day{unsigned(t.day)}};
    return t.month >= 1 && t.month <= 12 && t.day >= 1 && d.ok() && t.hour >= 0 && t.hour < 24
        && t.minute >= 0 && t.minute < 60 && t.second >= 0 && t.second < 60 && t.hundredths >= 0
        && t.hundredths < 100;
}

std::int64_t civilToUs(const CivilTime& t)
{
    const sys_days d{year{t.year} / month{unsigned(t.month)} / day{unsigned(t.day)}};
    const std::int64_t days = (d - kEpoch).count();
    const std::int64_t seconds = days * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
    return seconds * kUsPerSecond + std::int64_t(t.hundredths) * 10000;
}

CivilTime usToCivil(std::int64_t us)
{
    const std::int64_t days = floorDiv(us, kUsPerDay);
    const std::int64_t inDay = us - days * kUsPerDay;
    const year_month_day d{kEpoch + std::chrono::days{days}};
    CivilTime t;
    t.year = int(d.year());
    t.month = int(unsigned(d.month()));
    t.day = int(unsigned(d.day()));
    const std::int64_t s = inDay / kUsPerSecond;
    t.hour = int(s / 3600);
    t.minute = int(s / 60 % 60);
    t.second = int(s % 60);
    t.hundredths = int(inDay % kUsPerSecond / 10000);
    return t;
}

int bcdValue(std::uint8_t bcd)
{
    const int hi = bcd >> 4;
    const int lo = bcd & 0x0F;
    if (hi > 9 || lo > 9)
        return -1;
    return hi * 10 + lo;
}

} // namespace qz::sim
