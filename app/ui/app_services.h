#pragma once
// What the main window needs from the platform, handed in by the program entry (real
// services) or by a test (scripted prompt, virtual clock, scripted dialogs).
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/program_folder.h"
#include "platform/prompt.h"

namespace qz {

class DocumentDialogs;
class JobRunner;
class LineRegistry;

struct AppServices {
    Prompt& prompt;
    Clock& clock;
    EventPump& pump;
    ProgramFolder folder;
    DocumentDialogs& dialogs;
    // Lines behind port names (the simulated logger and the serial devices).
    LineRegistry& lines;
    // Where the logger jobs run: a worker per port in the program, at once in tests.
    JobRunner& jobs;
};

} // namespace qz
