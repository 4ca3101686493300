#pragma once
// How a recording of the simulated logger is known: its serial number begins with "SIM".
// The emulator gives its memories such serial numbers and a real logger never has one,
// so the mark travels with the memory image into recording files and exports, and a
// recording of the simulated logger is never taken for a real logger's.
#include <QString>

namespace qz {

inline constexpr char kSimulatedSerialPrefix[] = "SIM";

inline QString simulatedLoggerText()
{
    return QStringLiteral("Simulated logger");
}

bool isSimulatedSerial(const QString& serial);

// The serial number as the window title and the information text show it:
// "SIM1 (Simulated logger)" for the simulated logger, the serial number alone otherwise.
QString serialNumberText(const QString& serial);

} // namespace qz
