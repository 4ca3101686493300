#include "link/link_failure.h"

#include "link/link_texts.h"
#include "link/logger_protocol.h"

#include <cerrno>

namespace qz {

QString failureText(LinkStatus status)
{
    switch (status) {
    case LinkStatus::Ok:
    case LinkStatus::Cancelled:
    case LinkStatus::NotTaken:
    case LinkStatus::CannotOpen:
        return {};
    case LinkStatus::PortClosed:
    case LinkStatus::InvalidLength:
    case LinkStatus::NoEcho:
    case LinkStatus::BadEcho:
    case LinkStatus::Timeout:
    case LinkStatus::ShortReply:
    case LinkStatus::BadChecksum:
        break;
    }
    return texts::deviceNotResponding();
}

QString openFailureReason(int osError)
{
    switch (osError) {
    case 0:
        return {};
    case ENOTTY: // /dev/null, a regular file: the terminal settings do not apply
        return QStringLiteral("Not a serial port");
    case EWOULDBLOCK: // the lock that keeps a second program off the port
        return QStringLiteral("In use by another program");
    default:
        return qt_error_string(osError);
    }
}

std::optional<Message> linkMessage(const LinkFailure& failure)
{
    if (failure.status == LinkStatus::CannotOpen) {
        const QString reason =
            failure.port.isEmpty() ? QStringLiteral("no port is chosen") : openFailureReason(failure.osError);
        return Message{texts::unableToOpenPort(failure.port, reason), MessageSymbol::Error};
    }
    if (const QString text = failureText(failure.status); !text.isEmpty())
        return Message{text, MessageSymbol::Warning};
    return std::nullopt;
}

LinkWatch::LinkWatch(LoggerProtocol& protocol, PortFailed portFailed)
    : protocol_(protocol), portFailed_(std::move(portFailed))
{
    outer_ = protocol_.onOpenFailed([this](const QString& port, int osError) {
        osError_ = osError;
        if (portFailed_ && !failedOnce_)
            portFailed_(LinkFailure{LinkStatus::CannotOpen, port, osError});
        failedOnce_ = true;
        if (outer_)
            outer_(port, osError);
    });
}

LinkWatch::~LinkWatch()
{
    protocol_.onOpenFailed(std::move(outer_));
}

LinkFailure LinkWatch::failure(LinkStatus status) const
{
    LinkFailure f;
    f.status = status;
    f.port = protocol_.settings().port;
    if (status == LinkStatus::CannotOpen)
        f.osError = osError_;
    return f;
}

} // namespace qz
