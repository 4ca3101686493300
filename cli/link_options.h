#pragma once
// The options every logger command shares: --port (or the port the program saved),
// --trace, and a call through a telephone modem (--dial, --pulse, --init).
#include <QString>

namespace qz::cli {

class CommandLine;

// A call through a telephone modem on the port: --dial NUMBER [--pulse] [--init FILE.mdm].
struct DialOptions {
    QString number; // empty: no modem, the logger is on the cable
    bool pulse = false;
    QString initFile;
    bool wanted() const { return !number.isEmpty(); }
};

// Options of a logger command.
struct LinkOptions {
    QString command; // the command's name, for messages
    QString port;
    QString trace; // wire trace file, empty for none
    DialOptions dial;
    bool simReset = false; // the simulated logger begins afresh
    // The download's own options.
    QString output;
    bool yes = false;
    bool verify = false; // read every block twice
    bool keepPartial = false; // keep the blocks before a damaged block
    bool force = false; // replace an existing output
};

// How the shared options read in a command's synopsis.
inline const char* linkSynopsis()
{
    return "[--trace FILE] [--dial NUMBER [--pulse] [--init FILE.mdm]]";
}

// Adds --port, --trace, --dial, --pulse, --init and --sim-reset to a command's line.
void addLinkOptions(CommandLine& line);

// The shared options as parsed. An empty string, or the usage error of the first that is
// wrong. The port stays empty when none was given.
QString readLinkOptions(const CommandLine& line, LinkOptions& options);

// A command that takes the shared options and no other argument: readLinkOptions, then
// choosePort. An empty string, or the usage error.
QString readLinkCommand(const CommandLine& line, LinkOptions& options);

// The port given, else the one the program saved in its settings file, which is then told
// on standard error ("using port /dev/ttyUSB0 from ~/.config/quorzk/QUORZK.INI"). An
// empty string, or the usage error when there is neither (missing, and where no port was
// found), or when --sim-reset is given for another port than the simulated logger.
QString choosePort(LinkOptions& options,
                   const QString& missing =
                       QStringLiteral("--port PORT is required (a device such as /dev/ttyUSB0, or sim)"));

} // namespace qz::cli
