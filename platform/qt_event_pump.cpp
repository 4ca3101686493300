#include "platform/event_pump.h"

#include <QCoreApplication>

namespace qz {

void QtEventPump::processPending()
{
    QCoreApplication::processEvents();
}

} // namespace qz
