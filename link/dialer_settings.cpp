#include "link/dialer_settings.h"

namespace qz {

namespace {

const QString kModem = QStringLiteral("Modem");
const QString kDialMethod = QStringLiteral("DialMethod");
const QString kLastNumber = QStringLiteral("LastNumberCalled");
const QString kInitFile = QStringLiteral("InitStringFile");

} // namespace

DialerSettings DialerSettings::load(const QString& iniPath)
{
    IniFile ini;
    ini.load(iniPath);
    DialerSettings s;
    bool ok = false;
    const int method = ini.value(kModem, kDialMethod).toInt(&ok);
    s.mode = ok && method == int(DialMode::Pulse) ? DialMode::Pulse : DialMode::Tone;
    s.lastNumber = ini.value(kModem, kLastNumber);
    s.initFile = ini.value(kModem, kInitFile);
    return s;
}

IniResult DialerSettings::save(const QString& iniPath) const
{
    return IniFile::update(iniPath, [this](IniFile& ini) {
        ini.setValue(kModem, kDialMethod, QString::number(int(mode)));
        ini.setValue(kModem, kLastNumber, lastNumber);
        ini.setValue(kModem, kInitFile, initFile);
    });
}

} // namespace qz
