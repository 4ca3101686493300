// quorzk-cli status: the logger's identification, clock, run state and battery.
#include "cli/commands.h"
#include "cli/link_common.h"
#include "model/device_catalog.h"
#include "model/image_reader.h"
#include "model/values.h"
#include "platform/program_folder.h"

#include <QTextStream>

namespace qz::cli {

namespace {

QString twoDigits(int v) { return QString::number(v).rightJustified(2, '0'); }

QString runStateText(std::uint8_t state)
{
    switch (state) {
    case 0x00: return QStringLiteral("stopped");
    case 0xC2: return QStringLiteral("recording");
    case 0xB0: return QStringLiteral("waiting for a delayed start");
    default: return QStringLiteral("unknown (0x%1)").arg(state, 2, 16, QLatin1Char('0'));
    }
}

} // namespace

int runStatus(const QStringList& args)
{
    const LinkOptions o = ParseLinkOptions(args, false);
    QTextStream err(stderr);
    if (!o.ok) {
        err << "quorzk-cli status: " << o.error << "\nusage: quorzk-cli status --port PORT\n";
        return 2;
    }
    CliLink link;
    StderrPrompt prompt(false);
    auto q = link.open(o.port, prompt);
    if (!q->Ping()) {
        err << "no logger answers on " << o.port << "\n";
        return 1;
    }
    std::uint8_t header[384] = {};
    std::uint8_t clock[16] = {};
    if (!q->ReadIdent(header) || !q->ReadProgram(header + 40) || !q->ReadClock(clock))
        return 1;
    const int battery = q->ReadBatteryCount();

    const ImageReader data = ImageReader::header({header, sizeof header});
    const LoggerModel model = DeviceCatalog(ProgramFolder::forApplication()).lookUp(data.deviceCode());
    QTextStream out(stdout);
    out << "Serial number: " << data.serialNumber() << "\n";
    out << "Device code:   " << data.deviceCode();
    if (model.accepted)
        out << " (" << model.description << ")";
    else
        out << " (not a model this program accepts)";
    out << "\n";
    out << "Memory:        " << data.memoryBlocks() << " blocks\n";
    // The clock record keeps only the year mod 4.
    out << "Clock:         " << twoDigits(BcdToInt(clock[5] & 0x3F)) << "/"
        << twoDigits(BcdToInt(clock[6])) << " " << twoDigits(BcdToInt(clock[4])) << ":"
        << twoDigits(BcdToInt(clock[3])) << ":" << twoDigits(BcdToInt(clock[2])) << "\n";
    out << "Run state:     " << runStateText(clock[8]) << "\n";
    out << "Comment:       " << data.recordName().trimmed() << "\n";
    if (battery >= 0)
        out << "Battery:       " << QString::number(AdcToVolts(battery), 'f', 2) << " V\n";
    return 0;
}

} // namespace qz::cli
