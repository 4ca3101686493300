#pragma once
// Ctrl-C as a request to end a command cleanly: while an InterruptGuard lives, Ctrl-C only
// sets a flag that the command looks at (between readings, between blocks, while the modem
// dials), so that it can still hang up or close what it opened. A second Ctrl-C ends the
// program at once (the handler resets itself).
#include <csignal>

namespace qz::cli {

class InterruptGuard {
public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

private:
    struct sigaction previous_ = {};
};

// Whether Ctrl-C was pressed since the innermost guard began.
bool interruptRequested();

} // namespace qz::cli
