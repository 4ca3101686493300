#include "config/send_configuration.h"

#include "config/config_texts.h"
#include "platform/prompt.h"

#include <algorithm>

namespace qz {

ConfigurationBytes ConfigurationBytes::of(ConstByteView image)
{
    ConfigurationBytes b;
    const auto copy = [&](std::size_t offset, auto& to) {
        if (const std::uint8_t* from = image.at(offset, to.size()))
            std::copy(from, from + to.size(), to.begin());
    };
    copy(mem::kProgram, b.program);
    copy(mem::kInputTable, b.inputs);
    copy(mem::kClockInImage, b.clock);
    return b;
}

SendOutcome writeConfiguration(LoggerProtocol& q, const ConfigurationBytes& bytes, Progress& progress,
                               EventPump& pump, LinkReport& report)
{
    progress.setCaption(texts::sendingCaption());
    progress.setMaximum(100);
    progress.setPosition(0);
    progress.setCancelEnabled(false);
    pump.processPending();
    const auto step = [&](LinkStatus status, int bar) {
        if (!report.ok(status))
            return false;
        progress.setPosition(bar);
        pump.processPending();
        return true;
    };
    if (!step(q.resetLogger(), 10) || !step(q.writeProgram(bytes.program.data()), 40)
        || !step(q.writeInputTable(bytes.inputs.data()), 70))
        return SendOutcome::LinkFailed;
    const LinkStatus verified = q.verifyProgram(bytes.program.data());
    if (verified == LinkStatus::NotTaken) {
        report.prompt().tell(texts::configurationNotKept(), PromptSymbol::Error);
        return SendOutcome::NotKept;
    }
    if (!step(verified, 90) || !step(q.writeClock(bytes.clock.data()), 100))
        return SendOutcome::LinkFailed;
    return SendOutcome::Sent;
}

SendOutcome sendConfiguration(LoggerProtocol& q, ByteView image, const StartRequest& start,
                              const std::function<bool()>& updateConfiguration, Clock& clock,
                              Progress& progress, EventPump& pump, LinkReport& report)
{
    Prompt& prompt = report.prompt();
    if (!programTimeVars(image, clock, start.delayed, start.plan).inFuture) {
        prompt.tell(texts::startElapsed(), PromptSymbol::Error);
        return SendOutcome::StartElapsed;
    }
    if (!updateConfiguration())
        return SendOutcome::Refused;
    bool recording = false;
    // Without the run state the logger has not answered: one message, nothing sent.
    if (!report.ok(q.isRecording(recording)))
        return SendOutcome::LinkFailed;
    if (recording && !prompt.confirm(texts::recorderRunning()))
        return SendOutcome::NotConfirmed;
    return writeConfiguration(q, ConfigurationBytes::of(image), progress, pump, report);
}

} // namespace qz
