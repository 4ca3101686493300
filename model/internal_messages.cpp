#include "model/internal_messages.h"

#include <QCoreApplication>
#include <QObject>

namespace qz {

QEvent::Type InternalEventType(int message)
{
    return QEvent::Type(QEvent::User + (message - kInternalMessageBase));
}

int InternalMessageOf(QEvent::Type type)
{
    const int message = int(type) - int(QEvent::User) + kInternalMessageBase;
    return message > kInternalMessageBase && message <= kMsgDialCancel ? message : 0;
}

int SendInternal(QObject* window, int message)
{
    if (window) {
        InternalEvent event(message);
        QCoreApplication::sendEvent(window, &event);
    }
    return 0;
}

int PostInternal(QObject* window, int message)
{
    if (window)
        QCoreApplication::postEvent(window, new InternalEvent(message));
    return 0;
}

} // namespace qz
