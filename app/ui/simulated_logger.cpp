#include "app/ui/simulated_logger.h"

#include "sim/emulator_line.h"
#include "sim/presets.h"

#include <cerrno>

namespace qz {

namespace {

// A line on the emulator held for itself from open to close.
class ExclusiveLine final : public LineBackend {
public:
    ExclusiveLine(sim::Emulator& emulator, Clock& clock, std::mutex& inUse)
        : line_(emulator, clock), inUse_(inUse)
    {}
    ~ExclusiveLine() override { close(); }

    bool open(const QString& name) override
    {
        if (!held_ && !inUse_.try_lock()) {
            error_ = EWOULDBLOCK;
            return false;
        }
        held_ = true;
        error_ = 0;
        return line_.open(name);
    }
    int openError() const override { return error_; }
    void close() override
    {
        line_.close();
        if (held_)
            inUse_.unlock();
        held_ = false;
    }
    bool isOpen() const override { return line_.isOpen(); }
    bool raiseDtr() override { return line_.raiseDtr(); }
    std::int64_t write(const std::uint8_t* data, std::int64_t count) override
    {
        return line_.write(data, count);
    }
    std::int64_t bytesWaiting() override { return line_.bytesWaiting(); }
    std::int64_t waitForBytes(std::int64_t count, std::int64_t timeoutMs) override
    {
        return line_.waitForBytes(count, timeoutMs);
    }
    std::int64_t read(std::uint8_t* data, std::int64_t count) override { return line_.read(data, count); }
    void purge() override { line_.purge(); }

private:
    sim::EmulatorLine line_;
    std::mutex& inUse_;
    bool held_ = false;
    int error_ = 0;
};

} // namespace

SimulatedLogger::SimulatedLogger()
{
    // A four-input greenhouse logger that has recorded for a while.
    sim::loadMemory(emulator_.logger(), {.deviceCode = 101, .content = sim::Content::Linear});
}

void SimulatedLogger::registerIn(LineRegistry& lines, Clock& clock)
{
    lines.addNamed(LineRegistry::simulatedPortName(),
                   [this, &clock] { return std::make_unique<ExclusiveLine>(emulator_, clock, inUse_); });
}

} // namespace qz
