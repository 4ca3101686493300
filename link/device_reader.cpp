#include "link/device_reader.h"

#include "link/link_texts.h"
#include "model/values.h"

namespace qz {

bool GetDeviceData(LoggerProtocol& q, std::uint8_t* image, Progress& progress, EventPump& pump,
                   Prompt& prompt)
{
    progress.setCaption(texts::connectionCaption());
    progress.setMaximum(100);
    progress.setPosition(0);
    progress.setCancelEnabled(false);
    pump.processPending();

    // Each step runs only while the previous ones were answered, so one failure costs
    // one message.
    struct Step {
        int bar;
        bool (LoggerProtocol::*read)(std::uint8_t*);
        int offset;
    };
    const Step steps[] = {
        {0, &LoggerProtocol::ReadIdent, 0},
        {5, &LoggerProtocol::ReadCalibration, 8},
        {10, &LoggerProtocol::ReadProgram, 40},
        {40, &LoggerProtocol::ReadInputTable, 128},
        {90, &LoggerProtocol::ReadClock, 384},
    };
    for (const Step& s : steps) {
        if (s.offset != 0) {
            if (q.NotResponding())
                return false;
            progress.setPosition(s.bar);
            pump.processPending();
        }
        (q.*s.read)(image + s.offset);
    }
    if (q.NotResponding())
        return false;
    progress.setPosition(100);
    pump.processPending();
    const int count = q.ReadBatteryCount();
    if (count > 0 && AdcToVolts(count) <= LowBatteryLimit())
        prompt.tell(texts::lowBattery(), PromptSymbol::Warning);
    return true;
}

} // namespace qz
