#pragma once
// Command-line options of quorzk-sim.
#include "sim/emulator.h"
#include "sim/faults.h"
#include "sim/presets.h"

#include <string>
#include <vector>

namespace qz::sim::tool {

struct Options {
    MemoryPreset memory;
    EmulatorOptions emulator;
    std::vector<Fault> faults;
    double byteErrorRate = 0.0;
    std::uint64_t byteErrorSeed = 1;
    bool silent = false;
    int battery = -1;
    bool setClock = false; // --clock given: the logger's clock after its recording
    CivilTime clock;
    int fleet = 0; // --fleet N: N loggers, each on a pseudo-terminal of its own
    bool help = false;
};

// The serial number of logger i (from 0) of a fleet: "SIM" (or the first three characters
// of --serial, so that several fleets have serial numbers of their own) and a digit or
// letter.
std::string fleetSerial(int i, const std::string& given = {});
inline constexpr int kMaxFleet = 36;

// Parses argv; on a bad option returns false with a message in error.
bool parseOptions(int argc, char** argv, Options& out, std::string& error);

// The text of --help.
std::string helpText();

} // namespace qz::sim::tool
