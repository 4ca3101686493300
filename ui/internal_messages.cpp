#include "ui/internal_messages.h"

#include <QCoreApplication>
#include <QObject>

namespace qz {

QEvent::Type internalEventType(int message)
{
    return QEvent::Type(QEvent::User + (message - kInternalMessageBase));
}

int internalMessageOf(QEvent::Type type)
{
    const int message = int(type) - int(QEvent::User) + kInternalMessageBase;
    return message > kInternalMessageBase && message <= kMsgDialCancel ? message : 0;
}

int sendInternal(QObject* window, int message)
{
    if (window) {
        InternalEvent event(message);
        QCoreApplication::sendEvent(window, &event);
    }
    return 0;
}

int postInternal(QObject* window, int message)
{
    if (window)
        QCoreApplication::postEvent(window, new InternalEvent(message));
    return 0;
}

} // namespace qz
