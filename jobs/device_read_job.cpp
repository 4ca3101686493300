#include "jobs/device_read_job.h"

#include "link/link_texts.h"
#include "model/values.h"

#include <algorithm>

namespace qz {

DeviceReadResult deviceReadJob(LoggerProtocol& q, ConnectPolicy connect, Progress& progress)
{
    DeviceReadResult r;
    const LinkWatch watch(q);
    if (!loggerIsThere(q, connect, watch, r)) {
        r.status =
            r.question == Question::Connect ? DeviceReadStatus::NotConnected : DeviceReadStatus::LinkFailed;
        return r;
    }
    progress.setCaption(texts::connectionCaption());
    progress.setMaximum(100);
    progress.setPosition(0);
    progress.setCancelEnabled(false);

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
    };
    for (const Step& s : steps) {
        if (s.bar != 0)
            progress.setPosition(s.bar);
        if (const LinkStatus status = (q.*s.read)(r.image.data() + s.offset); status != LinkStatus::Ok) {
            r.link = watch.failure(status);
            return r;
        }
    }
    progress.setPosition(90);
    if (const LinkStatus status = readClock(q, r.clock); status != LinkStatus::Ok) {
        r.link = watch.failure(status);
        return r;
    }
    std::copy(r.clock.logger.begin(), r.clock.logger.end(), r.image.begin() + mem::kClockInImage);
    r.status = DeviceReadStatus::Read;
    progress.setPosition(100);
    std::uint8_t count = 0;
    if (const LinkStatus status = q.readBattery(count); status != LinkStatus::Ok) {
        r.link = watch.failure(status);
        return r;
    }
    r.battery = count;
    if (count > 0 && adcToVolts(count) <= lowBatteryLimit())
        addFinding(r.findings, FindingKind::BatteryLow, count);
    return r;
}

} // namespace qz
