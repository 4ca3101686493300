#pragma once
// The hourglass while a blocking modem operation runs (a hang-up takes seconds).
#include <QCursor>
#include <QGuiApplication>

namespace qz {

class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace qz
