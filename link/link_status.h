#pragma once
// What became of a link operation. Every send, receive and transaction returns one; the
// command that runs a sequence decides what the user is told (link/link_failure.h).

namespace qz {

enum class LinkStatus {
    Ok,
    CannotOpen, // the port did not open (told once, with the port and the system's reason)
    PortClosed, // the port is not open (it was never opened)
    InvalidLength, // a frame or reply length the protocol cannot carry
    NoEcho, // an echo did not come within the echo limit
    BadEcho, // an echo differed from the byte sent
    Timeout, // the frame's overall time ran out before it was sent
    ShortReply, // fewer reply bytes came than the command gives
    BadChecksum, // the whole reply came, but its sum does not match
    NotTaken, // the logger answered, but does not hold what was written
    Cancelled, // the user cancelled the sequence
};

// A short English name ("no echo"), for traces and test output.
const char* linkStatusName(LinkStatus status);

} // namespace qz
