#pragma once
// The link's messages to the user, exactly as shown.
#include <QString>

namespace qz::texts {

inline QString unableToOpenPort() { return QStringLiteral("Unable to open com port"); }
inline QString deviceNotResponding() { return QStringLiteral("Device Not Responding"); }
inline QString pleaseConnect() { return QStringLiteral("Please Connect The Quorvant"); }
inline QString notAQuorvant() { return QStringLiteral("This device is not a QuorvantZK"); }
inline QString lowBattery() { return QStringLiteral("Low Battery \r  (< 3.3 V) "); }
inline QString tooFewMeasurements()
{
    return QStringLiteral("   Cannot display a record\rwith less than two measurements ");
}
inline QString measurementsDateError() { return QStringLiteral("Measurements date error"); }
inline QString connectionCaption() { return QStringLiteral("Connection..."); }
inline QString downloadingCaption() { return QStringLiteral("Downloading Quorvant ..."); }

} // namespace qz::texts
