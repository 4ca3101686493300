#pragma once
// The ports a user can choose: the platform's serial devices, listed by the platform
// instead of probing numbers one by one.
#include "link/line_registry.h"

#include <QString>
#include <QStringList>

namespace qz {

// Device paths of the serial ports the platform knows (/dev/ttyUSB0, /dev/ttyS0, ...).
QStringList availablePorts();

// Whether the port opens for reading and writing now; it is closed again at once.
bool portExists(const QString& name, const LineRegistry& lines);
// The same, with the system's error number when it does not open (0 when none was given
// or it opens).
bool portOpens(const QString& name, const LineRegistry& lines, int& osError);

// The first platform port that opens, or an empty name when there is none.
QString firstAvailablePort(const LineRegistry& lines);

} // namespace qz
