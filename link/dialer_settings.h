#pragma once
// The dialer's settings in section "Modem" of the settings file (QUORZK.INI): the dial
// mode, the last number called and the modem initialisation file.
#include "model/ini_file.h"

#include <QString>

namespace qz {

enum class DialMode {
    Tone = 0,
    Pulse = 1
};

struct DialerSettings {
    DialMode mode = DialMode::Tone;
    QString lastNumber;
    QString initFile; // full path; empty: no initialisation commands

    // Reads the keys; a dial method that names no mode (-1, -2, anything but 0 and 1)
    // reads as tone.
    static DialerSettings load(const QString& iniPath);
    // Writes the three keys, keeping the rest of the file.
    IniResult save(const QString& iniPath) const;
};

} // namespace qz
