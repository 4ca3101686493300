#include "platform/system_reason.h"

#include <QCoreApplication>

#include <cstring>

namespace qz {

QString SystemReason(int errorNumber)
{
    return qt_error_string(errorNumber);
}

QString FailureReason(const QString& deviceText, int errorNumber)
{
    // The text a device gives when nothing set a better one.
    const QString generic = QCoreApplication::translate("QIODevice", "Unknown error");
    if ((deviceText.isEmpty() || deviceText == generic) && errorNumber != 0)
        return SystemReason(errorNumber);
    return deviceText.isEmpty() ? generic : deviceText;
}

} // namespace qz
