#pragma once
// The logger the program offers as "Simulated logger": one emulator for the whole run,
// reached through the port name "sim", so a machine without a logger can still run
// every command end to end.
#include "link/line_registry.h"
#include "platform/clock.h"
#include "sim/emulator.h"

namespace qz {

class SimulatedLogger {
public:
    SimulatedLogger();
    sim::Emulator& emulator() { return emulator_; }
    // Registers the "sim" port; the lines it makes wait on clock.
    void registerIn(LineRegistry& lines, Clock& clock);

private:
    sim::Emulator emulator_;
};

} // namespace qz
