#include "link/dial_outcome.h"

#include "link/dialer_texts.h"

namespace qz {

QString dialOutcomeText(DialOutcome outcome)
{
    switch (outcome) {
    case DialOutcome::Connected:
        return texts::connected();
    case DialOutcome::TimedOut:
        return texts::connectionTimeOut();
    case DialOutcome::Busy:
        return texts::lineBusy();
    case DialOutcome::NoCarrier:
        return texts::noCarrier();
    case DialOutcome::NoDialTone:
        return texts::noDialTone();
    case DialOutcome::InitFailed:
        return texts::modemInitError();
    case DialOutcome::DialFailed:
        return texts::cannotDial();
    case DialOutcome::Waiting:
    case DialOutcome::CannotOpen:
    case DialOutcome::Cancelled:
        break;
    }
    return {};
}

const char* dialOutcomeName(DialOutcome outcome)
{
    switch (outcome) {
    case DialOutcome::Waiting:
        return "waiting";
    case DialOutcome::Connected:
        return "connected";
    case DialOutcome::TimedOut:
        return "timed out";
    case DialOutcome::Busy:
        return "busy";
    case DialOutcome::NoCarrier:
        return "no carrier";
    case DialOutcome::NoDialTone:
        return "no dial tone";
    case DialOutcome::CannotOpen:
        return "cannot open";
    case DialOutcome::InitFailed:
        return "init failed";
    case DialOutcome::DialFailed:
        return "dial failed";
    case DialOutcome::Cancelled:
        return "cancelled";
    }
    return "?";
}

} // namespace qz
