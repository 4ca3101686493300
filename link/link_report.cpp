#include "link/link_report.h"

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

LinkReport::LinkReport(LoggerProtocol& protocol, Prompt& prompt) : protocol_(protocol), prompt_(prompt)
{
    outer_ =
        protocol_.onOpenFailed([this](const QString& port, int osError) { portDidNotOpen(port, osError); });
}

LinkReport::~LinkReport()
{
    protocol_.onOpenFailed(std::move(outer_));
}

bool LinkReport::ok(LinkStatus status)
{
    if (status == LinkStatus::Ok)
        return true;
    if (status == LinkStatus::CannotOpen && !openFailureTold_)
        portDidNotOpen(protocol_.settings().port, 0);
    if (const QString text = failureText(status); !text.isEmpty())
        prompt_.tell(text, PromptSymbol::Warning);
    return false;
}

bool LinkReport::confirmConnect()
{
    return prompt_.confirm(texts::pleaseConnect(), PromptSymbol::Warning);
}

void LinkReport::portDidNotOpen(const QString& port, int osError)
{
    if (openFailureTold_)
        return;
    openFailureTold_ = true;
    const QString reason = port.isEmpty() ? QStringLiteral("no port is chosen") : openFailureReason(osError);
    prompt_.tell(texts::unableToOpenPort(port, reason), PromptSymbol::Error);
}

} // namespace qz
