#include "platform/system_reason.h"

#include <QCoreApplication>

#include <cstring>

namespace qz {

QString systemReason(int errorNumber)
{
    return qt_error_string(errorNumber);
}

QString failureReason(const QString& deviceText, int errorNumber)
{
    // The text a device gives when nothing set a better one.
    const QString generic = QCoreApplication::translate("QIODevice", "Unknown error");
    if ((deviceText.isEmpty() || deviceText == generic) && errorNumber != 0)
        return systemReason(errorNumber);
    return deviceText.isEmpty() ? generic : deviceText;
}

} // namespace qz
