#pragma once
// The logger the program offers as "Simulated logger": one emulator for the whole run,
// reached through the port name "sim", so a machine without a logger can still run
// every command end to end.
//
// Its lines are exclusive, as a serial device is: while one is open (a job on the port's
// worker), another does not open ("In use by another program"), so two threads never work
// the emulator at once.
#include "link/line_registry.h"
#include "platform/clock.h"
#include "sim/emulator.h"

#include <mutex>

namespace qz {

class SimulatedLogger {
public:
    SimulatedLogger();
    // Registers the "sim" port; the lines it makes wait on clock.
    void registerIn(LineRegistry& lines, Clock& clock);

private:
    sim::Emulator emulator_;
    std::mutex inUse_;
};

} // namespace qz
