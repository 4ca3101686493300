#pragma once
// The fleet file: which loggers a collection reads and into which store. An INI file in the
// program's own format (the rules of model/ini_file.h):
//
//   [Store]
//   Url=sqlite:/var/lib/quorzk/fleet.sqlite    optional; relative paths from this file's folder
//
//   [Logger Cold room 1]                       one section per logger; the label is the rest
//   Port=/dev/ttyUSB0                          a serial device, or sim
//   Verify=1                                   read every area twice (default 1)
//
//   [Logger Pump station]
//   Port=/dev/ttyS1
//   Dial=0123456789                            through a telephone modem on Port
//   Pulse=0                                    pulse dialing (default 0)
//   Init=Modem.mdm                             the modem's commands before dialing (default none)
//
// A file with anything else (an unknown section or key, a key twice, a line that is no
// section, key or comment, a logger without a port, two loggers on one cable) is refused as
// a whole, with its line and the reason, before any port is opened.
#include "store/store_url.h"

#include <QString>

#include <optional>
#include <vector>

namespace qz {

struct FleetLogger {
    QString label;
    QString port; // a device, or "sim"
    QString dial; // empty: on the cable
    bool pulse = false;
    QString initFile; // empty: no commands before dialing
    bool verify = true;
    int line = 0; // of its section
};

struct FleetFile {
    QString path;
    std::optional<StoreUrl> store; // nullopt: not given
    std::vector<FleetLogger> loggers;
};

struct FleetError {
    QString file;
    int line = 0; // 0: the file as a whole
    QString reason;

    // "FILE:LINE: reason", or "FILE: reason".
    QString text() const;
};

std::optional<FleetFile> readFleetFile(const QString& path, FleetError& error);

} // namespace qz
