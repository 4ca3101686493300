#pragma once
// A protocol object on the in-process logger emulator, on a virtual clock.
#include "link/logger_protocol.h"
#include "link_rig.h"
#include "model/byte_view.h"
#include "model/memory_image.h"
#include "sim/emulator.h"
#include "sim/emulator_line.h"
#include "sim/presets.h"
#include "support/recording_prompt.h"
#include "support/virtual_clock.h"

#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace qz::test {

struct EmulatorRig {
    VirtualClock clock;
    RecordingPrompt prompt;
    RecordingProgress progress;
    sim::Emulator emulator;

    explicit EmulatorRig(const sim::MemoryPreset& preset = {}) { sim::loadMemory(emulator.logger(), preset); }

    std::unique_ptr<LoggerProtocol> make(bool modem = false)
    {
        return std::make_unique<LoggerProtocol>(LinkSettings{"sim", modem},
                                                std::make_unique<sim::EmulatorLine>(emulator, clock), clock);
    }
    Session open(bool modem = false) { return Session(make(modem), prompt); }
    std::uint8_t* memory() { return emulator.logger().memory(); }

    // Whether image holds the logger's bytes at [from, to).
    bool sameAsLogger(const std::vector<std::uint8_t>& image, std::size_t from, std::size_t to)
    {
        return image.size() >= to && std::memcmp(image.data() + from, memory() + from, to - from) == 0;
    }
};

} // namespace qz::test
