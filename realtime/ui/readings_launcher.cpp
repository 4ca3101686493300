#include "realtime/ui/readings_launcher.h"

#include "realtime/ui/readings_window.h"
#include "ui/internal_messages.h"

namespace qz {

ReadingsLauncher::ReadingsLauncher(ReadingsWindow* window, QObject* parent) : QObject(parent), window_(window)
{
    setObjectName(QStringLiteral("rtLauncher"));
}

bool ReadingsLauncher::initialize(const QString& port, ConstByteView deviceImage)
{
    prepared_ = window_->initialize(port, deviceImage);
    return prepared_;
}

void ReadingsLauncher::show()
{
    if (!prepared_)
        return;
    window_->show();
    window_->raise();
    window_->activateWindow();
}

bool ReadingsLauncher::event(QEvent* event)
{
    if (internalMessageOf(event->type()) == kMsgTimerTick) {
        if (prepared_ && window_->isVisible())
            postInternal(window_, kMsgTimerTick);
        return true;
    }
    return QObject::event(event);
}

} // namespace qz
