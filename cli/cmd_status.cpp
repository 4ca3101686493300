// quorzk-cli status: the logger's identification, clock, run state and battery.
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/link_common.h"
#include "jobs/device_read_job.h"
#include "jobs/job_messages.h"
#include "model/device_catalog.h"
#include "model/image_reader.h"
#include "model/logger_clock.h"
#include "model/memory_image.h"
#include "model/simulated_logger.h"
#include "model/values.h"
#include "platform/program_folder.h"

#include <QTextStream>

#include <algorithm>
#include <optional>

namespace qz::cli {

namespace {

QString twoDigits(int v)
{
    return QString::number(v).rightJustified(2, '0');
}

QString runStateText(std::uint8_t state)
{
    switch (state) {
    case mem::kRunStopped:
        return QStringLiteral("stopped");
    case mem::kRunRecording:
        return QStringLiteral("recording");
    case mem::kRunWaiting:
        return QStringLiteral("waiting for a delayed start");
    default:
        return QStringLiteral("unknown (0x%1)").arg(state, 2, 16, QLatin1Char('0'));
    }
}

// What the logger told: its header (identification and program block), clock and battery,
// and this computer's time when the clock was read.
struct LoggerState {
    std::uint8_t header[mem::kHeaderSize] = {};
    std::uint8_t clock[mem::kClockRecordSize] = {};
    QDateTime computer;
    std::uint8_t battery = 0;
    bool batteryRead = false;
};

LoggerState stateOf(const DeviceReadResult& r)
{
    LoggerState s;
    std::copy_n(r.image.begin(), mem::kHeaderSize, s.header);
    std::copy_n(r.image.begin() + mem::kClockInImage, mem::kClockRecordSize, s.clock);
    if (r.clock.read()) {
        std::copy(r.clock.logger.begin(), r.clock.logger.end(), s.clock);
        s.computer = r.clock.host;
    }
    // Without the battery the rest is still worth showing.
    s.batteryRead = r.battery >= 0;
    s.battery = std::uint8_t(s.batteryRead ? r.battery : 0);
    return s;
}

// The clock with its year, and how far it is from this computer's.
void printClock(QTextStream& out, const LoggerState& s)
{
    const std::uint8_t* c = s.clock;
    const QDateTime computer = s.computer.isValid() ? s.computer : QDateTime::currentDateTime();
    const std::optional<QDateTime> logger =
        loggerClockTime({c, mem::kClockRecordSize}, s.header[mem::kYearBcd], computer.date().year());
    if (!logger) {
        out << "Clock:         not a date (" << twoDigits(bcdToInt(c[mem::kClockDay] & 0x3F)) << "/"
            << twoDigits(bcdToInt(c[mem::kClockMonth])) << " " << twoDigits(bcdToInt(c[mem::kClockHour]))
            << ":" << twoDigits(bcdToInt(c[mem::kClockMinute])) << ":"
            << twoDigits(bcdToInt(c[mem::kClockSecond])) << ")\n";
        return;
    }
    out << "Clock:         " << logger->toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) << "\n";
    if (s.computer.isValid())
        out << "Clock drift:   " << clockDriftText(clockDriftSeconds(*logger, s.computer)) << "\n";
}

void printState(const LoggerState& s)
{
    const ImageReader data = ImageReader::header({s.header, sizeof s.header});
    const LoggerModel model = DeviceCatalog(ProgramFolder::forApplication()).lookUp(data.deviceCode());
    QTextStream out(stdout);
    out << "Serial number: " << serialNumberText(data.serialNumber()) << "\n";
    out << "Device code:   " << data.deviceCode();
    if (model.accepted)
        out << " (" << model.description << ")";
    else
        out << " (not a model this program accepts)";
    out << "\n";
    out << "Memory:        " << data.memoryBlocks() << " blocks\n";
    printClock(out, s);
    out << "Run state:     " << runStateText(s.clock[mem::kRunState]) << "\n";
    out << "Comment:       " << data.recordName().trimmed() << "\n";
    if (s.batteryRead)
        out << "Battery:       " << QString::number(adcToVolts(s.battery), 'f', 2) << " V\n";
}

} // namespace

int runStatus(const QStringList& args)
{
    LinkOptions o;
    CommandLine line(usage::kStatus);
    addLinkOptions(line);
    if (const auto done = line.parse(args))
        return *done;
    if (const QString error = readLinkCommand(line, o); !error.isEmpty())
        return line.usageError(error);
    QTextStream err(stderr);
    CliLink link(o);
    if (!link.call(o.port)) {
        link.finish();
        return 1;
    }
    StderrPrompt prompt(false);
    DeviceReadResult r;
    {
        auto logger = link.open(o.port);
        NullProgress progress;
        r = deviceReadJob(*logger, ConnectPolicy::Ask, progress);
    }
    // A port that did not open is told with its reason, and nothing follows it.
    prompt.tell(messagesOf(r));
    if (r.question == Question::Connect)
        err << "no logger answers on " << o.port << "\n";
    const bool read = r.status == DeviceReadStatus::Read;
    if (read) {
        printState(stateOf(r));
    }
    const bool traced = link.finish();
    return read && traced ? 0 : 1;
}

} // namespace qz::cli
