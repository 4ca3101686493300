#pragma once
// How a protocol object reaches the logger: the chosen port and whether a telephone modem
// sits in the path. Handed to each protocol object by its creator instead of being read
// from program-wide variables.
#include <QString>

namespace qz {

struct LinkSettings {
    // The chosen port (CurrentPort): a device path, or the name of an in-process line.
    QString port;
    // The link runs through a modem (ModemLink): slower echo and frame limits.
    bool modemLink = false;
};

} // namespace qz
