#include "cli/link_options.h"

#include "cli/command_line.h"
#include "link/comm_settings.h"
#include "link/line_registry.h"
#include "link/modem_dialer.h"
#include "link/modem_init.h"
#include "link/wire_trace.h"
#include "platform/program_folder.h"

#include <QTextStream>

#include <cstdio>

namespace qz::cli {

namespace {

const QString kPort = QStringLiteral("port");
const QString kTrace = QStringLiteral("trace");
const QString kDial = QStringLiteral("dial");
const QString kPulse = QStringLiteral("pulse");
const QString kInit = QStringLiteral("init");
const QString kSimReset = QStringLiteral("sim-reset");

} // namespace

void addLinkOptions(CommandLine& line)
{
    line.addOption({kPort},
                   QStringLiteral("the logger's serial port: a device such as /dev/ttyUSB0, a "
                                  "pseudo-terminal of quorzk-sim, or sim (a logger simulated in this "
                                  "program); without it, the port chosen in the program's Options, "
                                  "kept in its settings file QUORZK.INI"),
                   QStringLiteral("PORT"));
    line.addOption({kTrace},
                   QStringLiteral("append every byte sent to and received from the logger to FILE, "
                                  "time-stamped, as hex lines (> to the logger, < from it, * for events "
                                  "and failed exchanges); at %1 MiB FILE becomes FILE.1, replacing an "
                                  "older one, and a new FILE begins")
                       .arg(WireTrace::kRotationBytes / (1024 * 1024)),
                   QStringLiteral("FILE"));
    line.addOption({kDial},
                   QStringLiteral("reach the logger through a telephone modem on PORT: dial NUMBER, run "
                                  "the command, hang up (also after a failure or Ctrl-C)"),
                   QStringLiteral("NUMBER"));
    line.addOption({kPulse}, QStringLiteral("dial with pulses instead of tones (with --dial)"));
    line.addOption({kInit},
                   QStringLiteral("send the modem the AT lines of FILE.mdm before dialing (with --dial)"),
                   QStringLiteral("FILE.mdm"));
    line.addOption({kSimReset},
                   QStringLiteral("with --port sim: start the simulated logger afresh (a new recording "
                                  "ending now, its clock set to this computer's); it otherwise keeps what "
                                  "earlier commands and the program sent it"));
}

QString readLinkOptions(const CommandLine& line, LinkOptions& o)
{
    o.command = line.name();
    o.port = line.value(kPort);
    o.trace = line.value(kTrace);
    const bool dialGiven = line.isSet(kDial);
    o.dial.number = line.value(kDial).trimmed();
    o.dial.pulse = line.isSet(kPulse);
    o.dial.initFile = line.value(kInit);
    o.simReset = line.isSet(kSimReset);
    if (dialGiven && (o.dial.number.isEmpty() || !isDialable(o.dial.number)))
        return QStringLiteral("--dial needs a telephone number of printable characters");
    if ((o.dial.pulse || line.isSet(kInit)) && !dialGiven)
        return QStringLiteral("--pulse and --init go with --dial NUMBER");
    if (!o.dial.initFile.isEmpty() && !isModemInitFile(o.dial.initFile))
        return QStringLiteral("--init: Not a file with the mdm extension");
    if (line.isSet(kPort) && o.port.isEmpty())
        return QStringLiteral("--port needs a port");
    if (line.isSet(kTrace) && o.trace.isEmpty())
        return QStringLiteral("--trace needs a file");
    return {};
}

QString readLinkCommand(const CommandLine& line, LinkOptions& o)
{
    if (const QString error = readLinkOptions(line, o); !error.isEmpty())
        return error;
    if (!line.positional().isEmpty())
        return QStringLiteral("unexpected argument '%1'").arg(line.positional().constFirst());
    return choosePort(o);
}

QString choosePort(LinkOptions& o, const QString& missing)
{
    if (o.port.isEmpty()) {
        const QString settings = ProgramFolder::forApplication().settingsFile();
        o.port = CommSettings::readPort(settings);
        if (o.port.isEmpty())
            return missing + QStringLiteral("; no port is saved in ") + settings;
        QTextStream(stderr) << "using port " << o.port << " from " << settings << "\n";
    }
    if (o.simReset && o.port != LineRegistry::simulatedPortName())
        return QStringLiteral("--sim-reset goes with the simulated logger (--port sim), not %1").arg(o.port);
    return {};
}

} // namespace qz::cli
