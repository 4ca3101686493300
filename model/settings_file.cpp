#include "model/settings_file.h"

namespace qz {

IniResult checkSettingsFile(const QString& path)
{
    IniFile ini;
    return ini.read(path);
}

QString settingsReadWarning(const QString& path, const IniResult& result)
{
    if (result.usable() || result.error == IniError::CannotWrite)
        return QString();
    return QStringLiteral("The settings file QUORZK.INI could not be read: ") + path + QStringLiteral(": ")
        + result.reason + QStringLiteral(". Default settings are used; the file is left as it is.");
}

QString settingsWriteMessage(const QString& path, const IniResult& result)
{
    if (result.error != IniError::CannotWrite)
        return QString();
    return QStringLiteral("The settings file QUORZK.INI could not be written: ") + path + QStringLiteral(": ")
        + result.reason;
}

} // namespace qz
