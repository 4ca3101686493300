#include "platform/clock.h"

#include <QElapsedTimer>
#include <QThread>

namespace qz {

std::int64_t SystemClock::tickMs()
{
    static const QElapsedTimer started = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return started.elapsed();
}

void SystemClock::sleepMs(std::int64_t ms)
{
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}

QDateTime SystemClock::localNow()
{
    return QDateTime::currentDateTime();
}

} // namespace qz
