#include "config/send_configuration.h"

#include "config/config_texts.h"

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

LinkStatus writeConfiguration(LoggerProtocol& q, const ConfigurationBytes& bytes, Progress& progress)
{
    progress.setCaption(texts::sendingCaption());
    progress.setMaximum(100);
    progress.setPosition(0);
    progress.setCancelEnabled(false);
    // Each step runs only once the one before succeeded.
    LinkStatus status = q.resetLogger();
    const auto done = [&](int bar) {
        if (status == LinkStatus::Ok)
            progress.setPosition(bar);
        return status == LinkStatus::Ok;
    };
    if (done(10))
        status = q.writeProgram(bytes.program.data());
    if (done(40))
        status = q.writeInputTable(bytes.inputs.data());
    if (done(70))
        status = q.verifyProgram(bytes.program.data());
    if (done(90))
        status = q.writeClock(bytes.clock.data());
    done(100);
    return status;
}

} // namespace qz
