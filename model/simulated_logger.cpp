#include "model/simulated_logger.h"

namespace qz {

bool isSimulatedSerial(const QString& serial)
{
    return serial.startsWith(QLatin1String(kSimulatedSerialPrefix));
}

QString serialNumberText(const QString& serial)
{
    if (!isSimulatedSerial(serial))
        return serial;
    return serial + QStringLiteral(" (") + simulatedLoggerText() + QLatin1Char(')');
}

} // namespace qz
