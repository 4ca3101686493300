#include "cli/interrupt.h"

namespace qz::cli {

namespace {

// The one piece of state a signal handler may touch.
volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int)
{
    interrupted = 1;
}

} // namespace

InterruptGuard::InterruptGuard()
{
    interrupted = 0;
    struct sigaction action = {};
    action.sa_handler = onInterrupt;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previous_);
}

InterruptGuard::~InterruptGuard()
{
    sigaction(SIGINT, &previous_, nullptr);
}

bool interruptRequested()
{
    return interrupted != 0;
}

} // namespace qz::cli
