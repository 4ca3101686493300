#pragma once
// The platform services a core operation needs, handed down by its caller.
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/program_folder.h"
#include "platform/prompt.h"

namespace qz {

struct Services {
    Prompt& prompt;
    Clock& clock;
    EventPump& pump;
    ProgramFolder folder;
};

} // namespace qz
