#include "app/ui/simulated_logger.h"

namespace qz {

SimulatedLogger::SimulatedLogger(const QString& stateFile) : stateFile_(stateFile)
{}

void SimulatedLogger::registerIn(LineRegistry& lines, Clock& clock, std::function<void(const QString&)> warn)
{
    logger_ = std::make_unique<sim::StoredLogger>(stateFile_, clock);
    logger_->onWarning(std::move(warn));
    lines.addNamed(LineRegistry::simulatedPortName(), [this] { return logger_->makeLine(); });
}

} // namespace qz
