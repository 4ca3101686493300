#include "app/ui/simulated_logger.h"

#include "sim/emulator_line.h"

namespace qz {

SimulatedLogger::SimulatedLogger()
{
}

void SimulatedLogger::registerIn(LineRegistry& lines, Clock& clock)
{
    lines.addNamed(LineRegistry::simulatedPortName(),
                   [this, &clock] { return std::make_unique<sim::EmulatorLine>(emulator_, clock); });
}

} // namespace qz
