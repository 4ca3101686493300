#include "app/ui/simulated_logger.h"

#include "sim/emulator_line.h"
#include "sim/presets.h"

namespace qz {

SimulatedLogger::SimulatedLogger()
{
    // A four-input greenhouse logger that has recorded for a while.
    sim::loadMemory(emulator_.logger(), {.deviceCode = 101, .content = sim::Content::Linear});
}

void SimulatedLogger::registerIn(LineRegistry& lines, Clock& clock)
{
    lines.addNamed(LineRegistry::simulatedPortName(),
                   [this, &clock] { return std::make_unique<sim::EmulatorLine>(emulator_, clock); });
}

} // namespace qz
