#include "link/device_reader.h"

#include "link/link_report.h"
#include "link/link_texts.h"
#include "model/memory_image.h"
#include "model/values.h"

namespace qz {

bool readDeviceImage(LoggerProtocol& q, std::uint8_t* image, Progress& progress, EventPump& pump,
                     Prompt& prompt)
{
    LinkReport report(q, prompt);
    progress.setCaption(texts::connectionCaption());
    progress.setMaximum(100);
    progress.setPosition(0);
    progress.setCancelEnabled(false);
    pump.processPending();

    // Each step runs only while the previous ones were answered, so one failure costs
    // one message.
    struct Step {
        int bar;
        LinkStatus (LoggerProtocol::*read)(std::uint8_t*);
        std::size_t offset;
    };
    const Step steps[] = {
        {0, &LoggerProtocol::readIdent, mem::kIdentification},
        {5, &LoggerProtocol::readCalibration, mem::kCalibration},
        {10, &LoggerProtocol::readProgram, mem::kProgram},
        {40, &LoggerProtocol::readInputTable, mem::kInputTable},
        {90, &LoggerProtocol::readClock, mem::kClockInImage},
    };
    for (const Step& s : steps) {
        if (s.bar != 0) {
            progress.setPosition(s.bar);
            pump.processPending();
        }
        if (!report.ok((q.*s.read)(image + s.offset)))
            return false;
    }
    progress.setPosition(100);
    pump.processPending();
    std::uint8_t count = 0;
    if (report.ok(q.readBattery(count)) && count > 0 && adcToVolts(count) <= lowBatteryLimit())
        prompt.tell(texts::lowBattery(), PromptSymbol::Warning);
    return true;
}

} // namespace qz
