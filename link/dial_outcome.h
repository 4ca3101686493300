#pragma once
// Where a modem call stands, and what the user is told of it.
#include <QString>

namespace qz {

// Where a call stands.
enum class DialOutcome {
    Waiting, // dialed; no result word yet
    Connected, // CONNECT
    TimedOut, // 60 polls without a byte from the modem
    Busy, // BUSY
    NoCarrier, // NO CARRIER
    NoDialTone, // NO DIAL (NO DIALTONE, NO DIAL TONE)
    CannotOpen, // the port did not open (told by the report that watches the port)
    InitFailed, // an initialisation command was not echoed, or its file not read
    DialFailed, // the dial command was not echoed
    Cancelled, // the user stopped the wait
};

// The message for an outcome ("Connected", "The line is busy", ...); empty for Waiting,
// CannotOpen (the report has told it) and Cancelled.
QString dialOutcomeText(DialOutcome outcome);
// A short English name, for test output.
const char* dialOutcomeName(DialOutcome outcome);

} // namespace qz
