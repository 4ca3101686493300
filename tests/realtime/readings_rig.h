#pragma once
// The emulated logger on a virtual clock for the readings tests: its sensors held at
// chosen counts, protocol objects on it, and what it was asked.
#include "link/logger_protocol.h"
#include "sim/emulator.h"
#include "sim/emulator_line.h"
#include "sim/presets.h"
#include "support/print_qt.h"
#include "support/recording_prompt.h"
#include "support/virtual_clock.h"

#include <memory>

namespace qz::test {

struct ReadingsRig {
    VirtualClock clock;
    RecordingPrompt prompt;
    sim::Emulator emulator;

    explicit ReadingsRig(const sim::MemoryPreset& preset = {.deviceCode = 485,
                                                            .content = sim::Content::Erased})
    {
        sim::loadMemory(emulator.logger(), preset);
    }
    std::unique_ptr<LoggerProtocol> open()
    {
        return std::make_unique<LoggerProtocol>(LinkSettings{"sim", false},
                                                std::make_unique<sim::EmulatorLine>(emulator, clock), clock);
    }
    // Input i (0..7) reads count from now on.
    void hold(int input, int count) { emulator.logger().sensors().hold(input, count); }
    void holdAll(int first)
    {
        for (int i = 0; i < 8; ++i)
            hold(i, first + 10 * i);
    }
    void battery(int count) { emulator.logger().sensors().setBatteryCount(count); }
    // The logger is silent for `frames` frames from the next one on (0: for good).
    void silence(std::int64_t fromFrame, std::int64_t frames)
    {
        sim::Fault f;
        f.kind = sim::FaultKind::Silence;
        f.frame = fromFrame;
        f.frames = frames;
        emulator.addFault(f);
    }
    std::int64_t frames(char letter) const { return emulator.commands(letter); }
};

} // namespace qz::test
