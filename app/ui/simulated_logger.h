#pragma once
// The logger the program offers as "Simulated logger", reached through the port name
// "sim", so a machine without a logger can still run every command end to end. It is the
// logger quorzk-cli's --port sim talks to (sim/stored_logger.h): kept in the user's cache
// folder, so a configuration sent from either shows in the other.
//
// Its lines are exclusive, as a serial device is: while one is open (a job on the port's
// worker, or another program), another does not open ("In use by another program"), so two
// threads never work the emulator at once.
#include "link/line_registry.h"
#include "platform/clock.h"
#include "sim/stored_logger.h"

#include <QString>

#include <functional>
#include <memory>

namespace qz {

class SimulatedLogger {
public:
    // The logger kept in stateFile (by default the user's cache folder); nothing is read
    // before a line opens.
    explicit SimulatedLogger(const QString& stateFile = sim::StoredLogger::defaultStateFile());
    // Registers the "sim" port; the lines it makes wait on clock, whose local time the
    // logger's clock follows. A warning (a damaged state replaced) goes to warn, on the
    // thread of the job.
    void registerIn(LineRegistry& lines, Clock& clock, std::function<void(const QString&)> warn = {});

private:
    QString stateFile_;
    std::unique_ptr<sim::StoredLogger> logger_;
};

} // namespace qz
