// quorzk-cli status: the logger's identification, clock, run state and battery.
#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/link_common.h"
#include "link/link_report.h"
#include "model/device_catalog.h"
#include "model/image_reader.h"
#include "model/memory_image.h"
#include "model/simulated_logger.h"
#include "model/values.h"
#include "platform/program_folder.h"

#include <QTextStream>

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

// What the logger told: its header (identification and program block), clock and battery.
struct LoggerState {
    std::uint8_t header[mem::kHeaderSize] = {};
    std::uint8_t clock[mem::kClockRecordSize] = {};
    std::uint8_t battery = 0;
    bool batteryRead = false;
};

// Each read runs only while the ones before were answered; the report tells a failure once.
bool readState(LoggerProtocol& logger, LinkReport& report, LoggerState& s)
{
    if (!report.ok(logger.readIdent(s.header + mem::kIdentification))
        || !report.ok(logger.readProgram(s.header + mem::kProgram)) || !report.ok(logger.readClock(s.clock)))
        return false;
    // Without the battery the rest is still worth showing.
    s.batteryRead = report.ok(logger.readBattery(s.battery));
    return true;
}

void printState(LoggerState& s)
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
    // The clock record keeps only the year mod 4.
    const std::uint8_t* c = s.clock;
    out << "Clock:         " << twoDigits(bcdToInt(c[mem::kClockDay] & 0x3F)) << "/"
        << twoDigits(bcdToInt(c[mem::kClockMonth])) << " " << twoDigits(bcdToInt(c[mem::kClockHour])) << ":"
        << twoDigits(bcdToInt(c[mem::kClockMinute])) << ":" << twoDigits(bcdToInt(c[mem::kClockSecond]))
        << "\n";
    out << "Run state:     " << runStateText(c[mem::kRunState]) << "\n";
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
    LoggerState state;
    LinkStatus ping = LinkStatus::Ok;
    bool read = false;
    {
        auto logger = link.open(o.port);
        LinkReport report(*logger, prompt);
        ping = logger->ping();
        read = ping == LinkStatus::Ok && readState(*logger, report, state);
    }
    // A port that did not open has been told with its reason.
    if (ping != LinkStatus::Ok && ping != LinkStatus::CannotOpen)
        err << "no logger answers on " << o.port << "\n";
    if (read)
        printState(state);
    const bool traced = link.finish();
    return read && traced ? 0 : 1;
}

} // namespace qz::cli
