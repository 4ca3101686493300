#pragma once
// A logger emulator on a virtual clock, a protocol object on it and the 400-byte device
// image the Configuration command reads, for the configuration tests.
#include "jobs/device_read_job.h"
#include "link/logger_protocol.h"
#include "model/byte_view.h"
#include "model/memory_image.h"
#include "platform/progress.h"
#include "sim/emulator.h"
#include "sim/emulator_line.h"
#include "sim/presets.h"
#include "support/print_link.h"
#include "support/print_qt.h"
#include "support/recording_prompt.h"
#include "support/virtual_clock.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qz::test {

// A progress display that keeps what it was shown, and runs an action at each position.
class KeptProgress final : public Progress {
public:
    void setCaption(const QString& c) override { caption = c; }
    void setMaximum(int) override {}
    void setPosition(int p) override
    {
        positions.push_back(p);
        if (onPosition)
            onPosition(p);
    }
    void setCancelEnabled(bool e) override { cancelEnabled.push_back(e); }
    bool cancelled() override { return false; }

    QString caption;
    std::vector<int> positions;
    std::vector<bool> cancelEnabled;
    std::function<void(int position)> onPosition;
};

struct ConfigRig {
    VirtualClock clock; // 2026-03-05 14:07:09, as the emulator's clock starts
    RecordingPrompt prompt;
    KeptProgress progress;
    sim::Emulator emulator;
    std::array<std::uint8_t, mem::kDeviceImageSize> image{};

    explicit ConfigRig(const sim::MemoryPreset& preset = {.deviceCode = 101})
    {
        sim::loadMemory(emulator.logger(), preset);
    }

    std::unique_ptr<LoggerProtocol> make()
    {
        return std::make_unique<LoggerProtocol>(LinkSettings{"sim", false},
                                                std::make_unique<sim::EmulatorLine>(emulator, clock), clock);
    }
    ByteView view() { return {image.data(), image.size()}; }
    std::uint8_t* memory() { return emulator.logger().memory(); }

    // Reads the logger as the Configuration command does, then logs the frames that follow.
    void readLogger()
    {
        auto q = make();
        KeptProgress reading;
        const DeviceReadResult read = deviceReadJob(*q, ConnectPolicy::Ask, reading);
        ASSERT_EQ(read.status, DeviceReadStatus::Read);
        image = read.image;
        emulator.keepFrameLog(true);
        emulator.clearFrameLog();
    }

    // The frames the logger took since readLogger, as "A H40 H128 D40 C".
    std::string frames() const
    {
        std::string out;
        for (const sim::LoggedFrame& f : emulator.frameLog()) {
            if (!out.empty())
                out += ' ';
            out += f.letter;
            if (f.letter == 'D' || f.letter == 'H')
                out += std::to_string(f.address);
        }
        return out;
    }
    // The data of the last frame with this letter (and address), or nothing.
    std::vector<std::uint8_t> lastData(char letter, int address = -1) const
    {
        const auto& log = emulator.frameLog();
        for (auto it = log.rbegin(); it != log.rend(); ++it)
            if (it->letter == letter && (address < 0 || it->address == address))
                return it->data;
        return {};
    }
};

} // namespace qz::test
