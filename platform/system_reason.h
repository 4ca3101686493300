#pragma once
// The operating system's own text for an error number ("No space left on device"), and
// the reason to report for a failed operation on a device.
#include <QString>

class QIODevice;

namespace qz {

QString systemReason(int errorNumber);

// The device's error text, unless that is empty or the generic "Unknown error" and the
// system left an error number: then the system's text for it.
QString failureReason(const QString& deviceText, int errorNumber);

} // namespace qz
