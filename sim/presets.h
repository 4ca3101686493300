#pragma once
// Ready-made logger memories, all generated: a header for the model of a device code
// (serial number, calibration, program block, input table with names, units and scale
// values) and data blocks recorded by the logger's own recorder, so a ready-made memory
// is exactly what the logger would hold after recording that long.
//
// The catalogue's models and their defaults (any other code: 4 inputs every 5 minutes):
//   code 1   (124 blocks): 1 input,  every 10 min: temperatures, humidity
//   code 69  (188 blocks): 2 inputs, every 5 min:  temperature and humidity
//   code 101 (252 blocks): 4 inputs, every 5 min:  temperatures
//   code 197 (444 blocks): 3 inputs, every 2 min:  humidity, temperature, air pressure
//   code 293 (124 blocks): 2 inputs, every 15 min: supply voltage and loop current
//   code 485 (508 blocks): 8 inputs, every minute: one of each sensor
#include "sim/logger.h"
#include "sim/sensors.h"

#include <cstdint>
#include <string>

namespace qz::sim {

enum class Content {
    Erased, // programmed, data blocks erased (0xFF)
    Linear, // a stop-when-full recording of `blocks` blocks, the last one half full
    Wrapped, // a cyclic recording that filled the memory and went on for `blocks` blocks
};

struct MemoryPreset {
    std::uint16_t deviceCode = 485;
    Content content = Content::Linear;
    int inputs = 0; // 1..8; 0 = the model's
    int blocks = 0; // 0 = a third of the memory (Linear), 3/8 of it (Wrapped)
    std::int64_t records = 0; // when above 0: exactly this many records, overriding blocks
    int intervalSeconds = 0; // 0 = the model's
    CivilTime start{2026, 2, 27, 8, 0, 0, 0}; // recording start on the logger's clock
    bool running = false; // leave the logger recording (otherwise stopped, state 0)
    std::string serial = {}; // 4 characters; empty = "SIM" and the code's last digit
    int damagedBlock = -1; // this data block's stamp reads month 13: damaged memory
    // These data blocks' stamps read 31 February, a date that does not exist.
    int impossibleDatesFrom = -1;
    int impossibleDates = 0;
};

// The model defaults for a device code.
struct ModelDefaults {
    int inputs;
    int intervalSeconds;
    const char* recordName;
    SensorKinds kinds; // the sensor on each input
};
ModelDefaults defaultsFor(std::uint16_t deviceCode);

// Replaces the logger's memory as described and fits the model's sensors; its clock ends
// at the last record (or at preset.start for an erased memory).
void loadMemory(Logger& logger, const MemoryPreset& preset);

// The programs' simulated logger as it is made new: a four-input greenhouse logger (code
// 101), stopped, whose recording of a third of its memory ends at now, its clock at now.
void loadFreshSimulatedLogger(Logger& logger, const CivilTime& now);

// Writes the header of the model (everything below address 384) for the given inputs
// and interval, cyclic (Wrapped) or stop-when-full, with the start instant as StartStamp.
void writeHeader(std::uint8_t* memory, const MemoryPreset& preset);

} // namespace qz::sim
