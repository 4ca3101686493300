#include "link/link_status.h"

namespace qz {

const char* linkStatusName(LinkStatus status)
{
    switch (status) {
    case LinkStatus::Ok:
        return "ok";
    case LinkStatus::CannotOpen:
        return "cannot open";
    case LinkStatus::PortClosed:
        return "port closed";
    case LinkStatus::InvalidLength:
        return "invalid length";
    case LinkStatus::NoEcho:
        return "no echo";
    case LinkStatus::BadEcho:
        return "bad echo";
    case LinkStatus::Timeout:
        return "time-out";
    case LinkStatus::ShortReply:
        return "short reply";
    case LinkStatus::BadChecksum:
        return "bad checksum";
    case LinkStatus::NotTaken:
        return "not taken";
    case LinkStatus::Cancelled:
        return "cancelled";
    }
    return "?";
}

} // namespace qz
