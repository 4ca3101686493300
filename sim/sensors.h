#pragma once
// The logger's sensors: what each of the eight converters reads at a given instant of the
// logger's clock. Signals look like real measurements (a daily temperature cycle, the
// humidity that falls as it warms, a supply voltage, ...) with a little converter noise
// that depends only on the seed and the instant, so every run gives the same bytes.
//
// Each input has a fixed transfer from its physical quantity to converter counts; the
// ready-made memories write that transfer into the calibration table and the input
// table, so the PC's value = raw x gain + offset gives back the physical quantity.
#include <array>
#include <cstdint>

namespace qz::sim {

struct InputProfile {
    const char* name; // at most 9 characters
    const char* unit; // at most 5 bytes, Latin-1 (0xB0 is the degree sign)
    double scaleLow; // physical value at the low reference count
    double scaleHigh; // physical value at the high reference count
    std::uint16_t calLow; // reference counts in 1/256 of a count
    std::uint16_t calHigh;
};

// The kinds of sensor (0..7): inside temperature, humidity, supply voltage, outside
// temperature, loop current, air pressure, light, enclosure temperature.
enum SensorKind {
    TempIn,
    Humidity,
    Supply,
    TempOut,
    Current,
    Pressure,
    Light,
    TempBox
};
using SensorKinds = std::array<int, 8>;
inline constexpr SensorKinds kAllKinds{TempIn, Humidity, Supply, TempOut, Current, Pressure, Light, TempBox};

// What the sensors are set to, as a saved logger keeps it.
struct SensorsState {
    std::uint64_t seed = 1;
    SensorKinds kinds = kAllKinds;
    std::array<int, 8> held{-1, -1, -1, -1, -1, -1, -1, -1};
    int battery = 183;
};

const InputProfile& profileOf(int kind);

class Sensors {
public:
    explicit Sensors(std::uint64_t seed = 1) : seed_(seed) {}

    // Which kind of sensor sits on each input (a model's fitting).
    void setKinds(const SensorKinds& kinds) { kinds_ = kinds; }
    const InputProfile& profile(int input) const { return profileOf(kinds_[std::size_t(input & 7)]); }

    // Physical value of input i at a clock instant (microseconds since 2000-01-01).
    double physical(int input, std::int64_t clockUs) const;
    // Converter count (0..255) of input i at that instant, noise included.
    std::uint8_t raw(int input, std::int64_t clockUs) const;
    // A count held fixed by a test (-1 returns the input to its signal).
    void hold(int input, int count);

    int batteryCount() const { return battery_; }
    void setBatteryCount(int count) { battery_ = count < 0 ? 0 : (count > 255 ? 255 : count); }

    SensorsState state() const { return {seed_, kinds_, held_, battery_}; }
    // Kinds, held counts and the battery are brought into their ranges.
    void restore(const SensorsState& s);

private:
    std::uint64_t seed_;
    SensorKinds kinds_ = kAllKinds;
    std::array<int, 8> held_{-1, -1, -1, -1, -1, -1, -1, -1};
    int battery_ = 183; // 3.60 V
};

// Converter count for a physical value through an input's transfer, clamped to 0..255.
std::uint8_t countFor(const InputProfile& p, double value);

} // namespace qz::sim
