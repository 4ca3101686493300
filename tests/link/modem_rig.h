#pragma once
// A protocol object on the emulated logger behind its telephone modem, on a virtual
// clock, with a tap that keeps every byte written to the modem and when.
#include "link/dial_outcome.h"
#include "link/logger_protocol.h"
#include "link/modem_dialer.h"
#include "sim/emulator.h"
#include "sim/emulator_line.h"
#include "sim/presets.h"
#include "support/link_teller.h"
#include "support/print_link.h"
#include "support/recording_prompt.h"
#include "support/tap_line.h"
#include "support/virtual_clock.h"

#include <memory>

namespace qz::test {

inline sim::EmulatorOptions modemOptions(sim::ModemOptions modem, sim::EmulatorOptions o = {})
{
    modem.enabled = true;
    o.modem = modem;
    return o;
}

struct ModemRig {
    explicit ModemRig(const sim::ModemOptions& modem = {}, const sim::MemoryPreset& preset = {},
                      const sim::EmulatorOptions& logger = {})
        : emulator(modemOptions(modem, logger))
    {
        sim::loadMemory(emulator.logger(), preset);
    }

    // A protocol object on the modem's port; modemLink: the slower timings of a modem.
    std::unique_ptr<LoggerProtocol> make(bool modemLink = true)
    {
        return std::make_unique<LoggerProtocol>(
            LinkSettings{"modem", modemLink},
            std::make_unique<TapLine>(std::make_unique<sim::EmulatorLine>(emulator, clock), clock, tap),
            clock);
    }
    // Initialises (with commands), dials and waits for the modem's answer.
    DialOutcome dialAndWait(const QList<QByteArray>& commands = {}, const QString& number = "5551234",
                            bool pulse = false)
    {
        auto port = make();
        ModemDialer dialer(*port);
        const DialOutcome started = dialer.call(commands, number, pulse);
        return started == DialOutcome::Waiting ? dialer.waitForAnswer() : started;
    }
    // Hangs up on a port of its own, as the main window does.
    LinkStatus hangUp()
    {
        auto port = make();
        return ModemDialer(*port).hangUp();
    }

    VirtualClock clock;
    RecordingPrompt prompt;
    sim::Emulator emulator;
    TapLog tap;
};

} // namespace qz::test
