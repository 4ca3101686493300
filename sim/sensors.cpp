#include "sim/sensors.h"

#include <cmath>

namespace qz::sim {

namespace {

// Reference points: counts 20 and 220 (slightly off, as a calibrated unit would be).
constexpr std::uint16_t cal(double counts)
{
    return std::uint16_t(counts * 256.0 + 0.5);
}

const std::array<InputProfile, 8> kProfiles = {{
    {"Temp In",
     "\xB0"
     "C",
     -20.0, 60.0, cal(20.15), cal(219.70)},
    {"Humidity", "%RH", 0.0, 100.0, cal(10.05), cal(249.80)},
    {"Supply", "V", 0.0, 15.0, cal(2.10), cal(241.35)},
    {"Temp Out",
     "\xB0"
     "C",
     -40.0, 60.0, cal(19.90), cal(220.25)},
    {"Current", "mA", 0.0, 25.0, cal(4.20), cal(244.60)},
    {"Pressure", "hPa", 900.0, 1100.0, cal(15.30), cal(235.05)},
    {"Light", "lux", 0.0, 2000.0, cal(0.00), cal(240.00)}, // dark reads 0, never less
    {"Temp Box",
     "\xB0"
     "C",
     -20.0, 80.0, cal(20.40), cal(220.10)},
}};

constexpr double kPi = 3.14159265358979323846;

double hourOfDay(std::int64_t clockUs)
{
    const std::int64_t day = 86400LL * 1000000;
    std::int64_t r = clockUs % day;
    if (r < 0)
        r += day;
    return double(r) / 3.6e9;
}

// Smooth day cycle: -1 at 04:00, +1 at 16:00.
double dayCycle(std::int64_t clockUs)
{
    return -std::cos(2.0 * kPi * (hourOfDay(clockUs) - 4.0) / 24.0);
}

double hours(std::int64_t clockUs)
{
    return double(clockUs) / 3.6e9;
}

std::uint64_t mix(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

} // namespace

const InputProfile& profileOf(int kind)
{
    return kProfiles[std::size_t(kind & 7)];
}

std::uint8_t countFor(const InputProfile& p, double value)
{
    const double lo = p.calLow / 256.0;
    const double hi = p.calHigh / 256.0;
    const double count = lo + (value - p.scaleLow) / (p.scaleHigh - p.scaleLow) * (hi - lo);
    const double r = std::round(count);
    return std::uint8_t(r < 0 ? 0 : (r > 255 ? 255 : r));
}

double Sensors::physical(int input, std::int64_t clockUs) const
{
    const double c = dayCycle(clockUs);
    const double h = hours(clockUs);
    switch (kinds_[std::size_t(input & 7)]) {
    case 0:
        return 19.5 + 3.5 * c + 0.6 * std::sin(2.0 * kPi * h / 57.0);
    case 1:
        return 58.0 - 14.0 * c + 3.0 * std::sin(2.0 * kPi * h / 31.0);
    case 2:
        return 12.6 - 0.25 * c - 0.002 * std::fmod(h, 200.0);
    case 3:
        return 7.0 + 8.0 * c + 2.5 * std::sin(2.0 * kPi * h / 83.0);
    case 4:
        return 12.0 + 6.5 * std::sin(2.0 * kPi * h / 7.5);
    case 5:
        return 1013.0 + 9.0 * std::sin(2.0 * kPi * h / 71.0);
    case 6: {
        const double s = std::sin(kPi * (hourOfDay(clockUs) - 6.0) / 12.0);
        return s > 0 ? 1750.0 * s : 0.0;
    }
    default:
        return 27.0 + 4.0 * c;
    }
}

std::uint8_t Sensors::raw(int input, std::int64_t clockUs) const
{
    input &= 7;
    if (held_[std::size_t(input)] >= 0)
        return std::uint8_t(held_[std::size_t(input)]);
    const InputProfile& p = profile(input);
    const std::uint64_t n =
        mix(seed_ * 0x9E3779B97F4A7C15ULL ^ (std::uint64_t(clockUs / 1000000) << 3) ^ std::uint64_t(input));
    const double noise = (double(n % 1000) / 1000.0 - 0.5) * 1.2; // about +-0.6 count
    const double lo = p.calLow / 256.0;
    const double hi = p.calHigh / 256.0;
    const double value = physical(input, clockUs);
    const double count = lo + (value - p.scaleLow) / (p.scaleHigh - p.scaleLow) * (hi - lo) + noise;
    const double r = std::round(count);
    return std::uint8_t(r < 0 ? 0 : (r > 255 ? 255 : r));
}

void Sensors::restore(const SensorsState& s)
{
    seed_ = s.seed;
    for (std::size_t i = 0; i < kinds_.size(); ++i) {
        kinds_[i] = s.kinds[i] & 7;
        hold(int(i), s.held[i]);
    }
    setBatteryCount(s.battery);
}

void Sensors::hold(int input, int count)
{
    held_[std::size_t(input & 7)] = count < 0 ? -1 : (count > 255 ? 255 : count);
}

} // namespace qz::sim
