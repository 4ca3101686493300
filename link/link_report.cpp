#include "link/link_report.h"

#include "link/link_texts.h"
#include "link/logger_protocol.h"

namespace qz {

QString failureText(LinkStatus status)
{
    switch (status) {
    case LinkStatus::Ok:
    case LinkStatus::Cancelled:
    case LinkStatus::NotTaken:
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

LinkReport::LinkReport(LoggerProtocol& protocol, Prompt& prompt)
    : protocol_(protocol), prompt_(prompt)
{
    outer_ = protocol_.onOpenFailed(
        [this](const QString& port, int osError) { portDidNotOpen(port, osError); });
}

LinkReport::~LinkReport()
{
    protocol_.onOpenFailed(std::move(outer_));
}

bool LinkReport::ok(LinkStatus status)
{
    if (status == LinkStatus::Ok)
        return true;
    if (const QString text = failureText(status); !text.isEmpty())
        prompt_.tell(text, PromptSymbol::Warning);
    return false;
}

bool LinkReport::confirmConnect()
{
    return prompt_.confirm(texts::pleaseConnect(), PromptSymbol::Warning);
}

void LinkReport::portDidNotOpen(const QString&, int)
{
    // The port name and the system's reason are here for a fuller message.
    prompt_.tell(texts::unableToOpenPort(), PromptSymbol::Error);
}

} // namespace qz
